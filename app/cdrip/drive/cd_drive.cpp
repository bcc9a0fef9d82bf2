#include "app/cdrip/drive/cd_drive.h"

#include <cstring>
#include <stdexcept>

namespace corvella::cdrip {

uint32_t CDHandle = 0;
cdaudio::TOC TOC = {};

cdaudio::CDREC GetCDInfo(int index) {
    if (index < 0 || index > 7) throw std::out_of_range("Subscript out of range");
    cdaudio::CDLIST list;
    std::memset(&list, 0, sizeof list);
    GetCDList(&list);
    return list.cd[index];
}

bool OpenCDDrive(int index) {
    // A TOC left from the drive before must not pass for this one's.
    std::memset(&TOC, 0, sizeof TOC);
    const cdaudio::CDREC rec = GetCDInfo(index);
    // An empty entry is no drive; its zero address would open drive 0:0:0.
    if (ByteArrayToString(rec.id, sizeof rec.id).empty()) {
        CDHandle = 0;
        return false;
    }
    cdaudio::GETCDHAND request;
    std::memset(&request, 0, sizeof request);
    request.size = sizeof request;
    request.ver = 1;
    request.ha = rec.ha;
    request.tgt = rec.tgt;
    request.lun = rec.lun;
    CDHandle = GetCDHandle(&request);
    if (CDHandle == 0) return false;
    ModifyCDParms(uint8_t(CDHandle), cdaudio::kParmAddressMsf, 0);
    if (ReadTOC(uint8_t(CDHandle), &TOC) == 1) return true;
    // A drive whose disc cannot be read is no open drive.
    std::memset(&TOC, 0, sizeof TOC);
    CloseCDHandle(uint8_t(CDHandle));
    CDHandle = 0;
    return false;
}

int16_t CloseCDDrive() {
    const int16_t result = int16_t(CloseCDHandle(uint8_t(CDHandle)));
    CDHandle = 0;
    return result;
}

std::string AKRipErrorText() { return AKRipErrorText(GetAspiLibError()); }

}  // namespace corvella::cdrip
