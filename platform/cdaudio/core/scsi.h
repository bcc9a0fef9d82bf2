// The SCSI-2/MMC command blocks the drive back ends send and the replies they
// read. The NT back end's table of contents comes in the same layout as the
// READ TOC reply, so both go through TocFromReply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/cdaudio/cdaudio.h"

namespace corvella::cdaudio {

constexpr uint8_t kDeviceTypeCdrom = 5;
constexpr size_t kInquiryBytes = 36;
constexpr size_t kTocReplyBytes = 4 + 8 * 100;

void InquiryCdb(uint8_t cdb[6]);
// READ TOC, format 0, from the first track, addresses as MSF when msf.
void ReadTocCdb(uint8_t cdb[10], bool msf);
// READ CD of CD-DA sectors, user data only.
void ReadCdCdb(uint8_t cdb[12], uint32_t frame, uint32_t count);

struct InquiryIds {
    uint8_t deviceType = 0x1F;
    std::string vendor, product, revision;  // blanks at the end cut
};
InquiryIds ParseInquiry(const uint8_t* reply, size_t n);

// A READ TOC (format 0) reply of n bytes, its addresses in MSF when
// replyMsf, as the component's TOC with frame numbers or MSF (wantMsf).
// False for a reply that is short, inconsistent or holds no lead-out.
bool TocFromReply(const uint8_t* reply, size_t n, bool replyMsf, bool wantMsf, TOC* out);

// 0:M:S:F (with its 150-frame offset) from a frame number, and back.
void FrameToMsf(uint32_t frame, uint8_t addr[4]);
int64_t MsfToFrame(const uint8_t addr[4]);

}  // namespace corvella::cdaudio
