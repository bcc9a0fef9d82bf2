#include "platform/cdaudio/core/scsi.h"

#include <cstring>

namespace corvella::cdaudio {
namespace {

std::string Field(const uint8_t* p, size_t n) {
    std::string s(reinterpret_cast<const char*>(p), n);
    const size_t zero = s.find('\0');
    if (zero != std::string::npos) s.resize(zero);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

}  // namespace

void InquiryCdb(uint8_t cdb[6]) {
    std::memset(cdb, 0, 6);
    cdb[0] = 0x12;
    cdb[4] = uint8_t(kInquiryBytes);
}

void ReadTocCdb(uint8_t cdb[10], bool msf) {
    std::memset(cdb, 0, 10);
    cdb[0] = 0x43;
    cdb[1] = msf ? 0x02 : 0x00;
    cdb[7] = uint8_t(kTocReplyBytes >> 8);
    cdb[8] = uint8_t(kTocReplyBytes);
}

void ReadCdCdb(uint8_t cdb[12], uint32_t frame, uint32_t count) {
    std::memset(cdb, 0, 12);
    cdb[0] = 0xBE;
    cdb[1] = 0x04;  // expected sector type: CD-DA
    cdb[2] = uint8_t(frame >> 24);
    cdb[3] = uint8_t(frame >> 16);
    cdb[4] = uint8_t(frame >> 8);
    cdb[5] = uint8_t(frame);
    cdb[6] = uint8_t(count >> 16);
    cdb[7] = uint8_t(count >> 8);
    cdb[8] = uint8_t(count);
    cdb[9] = 0x10;  // user data: the 2352 bytes of audio
}

InquiryIds ParseInquiry(const uint8_t* reply, size_t n) {
    InquiryIds ids;
    if (n < 1) return ids;
    ids.deviceType = reply[0] & 0x1F;
    if (n >= 16) ids.vendor = Field(reply + 8, 8);
    if (n >= 32) ids.product = Field(reply + 16, 16);
    if (n >= 36) ids.revision = Field(reply + 32, 4);
    return ids;
}

void FrameToMsf(uint32_t frame, uint8_t addr[4]) {
    const uint32_t f = frame + 150;
    addr[0] = 0;
    addr[1] = uint8_t(f / 4500);
    addr[2] = uint8_t(f / 75 % 60);
    addr[3] = uint8_t(f % 75);
}

int64_t MsfToFrame(const uint8_t addr[4]) {
    return (int64_t(addr[1]) * 60 + addr[2]) * 75 + addr[3] - 150;
}

bool TocFromReply(const uint8_t* reply, size_t n, bool replyMsf, bool wantMsf, TOC* out) {
    std::memset(out, 0, sizeof *out);
    if (n < 4) return false;
    const size_t len = size_t(reply[0]) << 8 | reply[1];
    if (len < 2 || (len - 2) % 8 != 0) return false;
    const size_t entries = (len - 2) / 8;
    if (entries < 2 || entries > 100 || 2 + len > n) return false;
    out->tocLen[0] = reply[0];
    out->tocLen[1] = reply[1];
    out->firstTrack = reply[2];
    out->lastTrack = reply[3];
    for (size_t k = 0; k < entries; ++k) {
        const uint8_t* d = reply + 4 + 8 * k;
        TOCTRACK& e = out->tracks[k];
        e.ADR = d[1];
        e.trackNumber = d[2];
        int64_t frame;
        if (replyMsf) {
            if (d[6] > 59 || d[7] > 74) return false;
            frame = MsfToFrame(d + 4);
        } else {
            frame = int64_t(d[4]) << 24 | d[5] << 16 | d[6] << 8 | d[7];
        }
        if (frame < 0 || frame > 0xFFFFFF) return false;
        if (wantMsf) {
            FrameToMsf(uint32_t(frame), e.addr);
        } else {
            e.addr[1] = uint8_t(frame >> 16);
            e.addr[2] = uint8_t(frame >> 8);
            e.addr[3] = uint8_t(frame);
        }
    }
    return out->tracks[entries - 1].trackNumber == kLeadOutTrack;
}

}  // namespace corvella::cdaudio
