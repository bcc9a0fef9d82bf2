#include "app/cdrip/core/cd_toc.h"

#include <stdexcept>

namespace corvella::cdrip {
namespace {

const char* const kErrorTexts[] = {
    "No error...",
    "Unable to load WNASPI32.DLL (95/98/NT/2000) or use SCSI passthrough (NT/2000)",
    "Could not load ASPI function GetASPI32SupportInfo. Only occurs when an ASPI manager (WNASPI32.DLL) is "
    "found, but cannot be correctly loaded by the system. Most often indicates that ASPI is improperly installed.",
    "Could not load ASPI function SendASPI32Command. Only occurs when an ASPI manager (WNASPI32.DLL) is found, "
    "but cannot be correctly loaded by the system. Most often indicates that ASPI is improperly installed.",
    "An error was returned by the ASPI manager. Use GetAspiLibAspiError to retrieve the actual ASPI error.",
    "Unused in the current implementation",
    "The buffer passed to ReadCDAudioLBA or ReadCDAudioLBAEx is too small for the requested number of frames.",
    "The handle to the CD-ROM unit is invalid.",
    "All available slots for CD-ROM handles have been allocated.",
    "Results from passing a bad buf parameter to GetCDId (ie. a NULL pointer)",
    "The ha:tgt:lun values passed to GetCDHandle do not refer to a CD-ROM device.",
    "Unable to obtain an exclusive lock on a CD handle.",
    "Occurs when attempting to call GetCDHandle for a ha:tgt:lun value that has already been allocated.",
    "Invalid value for the LPGETCDHAND parameter to GetCDHandle",
    "Invalid version or size specified in LPGETCDHAND parameter to GetCDHandle",
    "An automatic jitter adjust failed during a call to ReadCDAudioLBAEx",
};

}  // namespace

int TocTrackCount(const cdaudio::TOC& toc) {
    return toc.firstTrack == 0 || toc.lastTrack < toc.firstTrack ? 0 : toc.lastTrack - toc.firstTrack + 1;
}

int32_t TocAddress(const uint8_t addr[4]) {
    if (addr[0] >= 128) throw std::overflow_error("Overflow");
    return int32_t(uint32_t(addr[0]) << 24 | uint32_t(addr[1]) << 16 | uint32_t(addr[2]) << 8 | addr[3]);
}

std::string AKRipErrorText(int code) {
    if (code > 0 || code < -15) return "";
    return kErrorTexts[-code];
}

std::string ByteArrayToString(const void* bytes, size_t count) {
    const char* p = static_cast<const char*>(bytes);
    std::string out;
    for (size_t i = 0; i < count; ++i)
        if (p[i] != '\0') out += p[i];
    return out;
}

}  // namespace corvella::cdrip
