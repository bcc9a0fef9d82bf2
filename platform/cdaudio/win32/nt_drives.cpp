// CD-ROM drives of Windows NT: found by drive letter, opened as \\.\X:, read
// with the CD-ROM class driver's own calls (no administrator rights needed).
#include <windows.h>

#include <cstring>

#include "platform/cdaudio/core/scsi.h"
#include "platform/cdaudio/win32/drives.h"

namespace corvella::cdaudio {
namespace {

// The device calls, as the NT 4.0 DDK defines them.
constexpr DWORD kIoctlReadToc = 0x00024000;    // IOCTL_CDROM_READ_TOC
constexpr DWORD kIoctlRawRead = 0x0002403E;    // IOCTL_CDROM_RAW_READ
constexpr DWORD kIoctlPassThrough = 0x0004D004;  // IOCTL_SCSI_PASS_THROUGH
constexpr uint32_t kMaxRawFrames = 26;         // what the class driver takes at once

#pragma pack(push, 8)
struct RawReadInfo {
    LARGE_INTEGER diskOffset;  // frame * 2048
    ULONG sectorCount;
    ULONG trackMode;           // 2 = CD-DA
};
struct PassThrough {
    USHORT length;
    UCHAR scsiStatus, pathId, targetId, lun, cdbLength, senseInfoLength, dataIn;
    ULONG dataTransferLength, timeOutValue;
    ULONG_PTR dataBufferOffset;
    ULONG senseInfoOffset;
    UCHAR cdb[16];
};
struct PassThroughWithData {
    PassThrough spt;
    ULONG filler;
    UCHAR sense[32];
    UCHAR data[kInquiryBytes];
};
#pragma pack(pop)

std::string DevicePath(char letter) { return std::string("\\\\.\\") + letter + ":"; }

// Vendor and product through an INQUIRY, when the system lets us send one.
InquiryIds Inquire(HANDLE h) {
    PassThroughWithData q;
    std::memset(&q, 0, sizeof q);
    q.spt.length = sizeof q.spt;
    q.spt.cdbLength = 6;
    q.spt.senseInfoLength = sizeof q.sense;
    q.spt.dataIn = 1;
    q.spt.dataTransferLength = sizeof q.data;
    q.spt.timeOutValue = 5;
    q.spt.dataBufferOffset = offsetof(PassThroughWithData, data);
    q.spt.senseInfoOffset = offsetof(PassThroughWithData, sense);
    InquiryCdb(q.spt.cdb);
    DWORD got = 0;
    if (!DeviceIoControl(h, kIoctlPassThrough, &q, sizeof q, &q, sizeof q, &got, nullptr) || q.spt.scsiStatus != 0)
        return {};
    return ParseInquiry(q.data, q.spt.dataTransferLength);
}

class NtDrive : public Drive {
public:
    explicit NtDrive(char letter) : letter_(letter) {
        std::string id = std::string(1, letter) + ":";
        HANDLE h = CreateFileA(DevicePath(letter).c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        InquiryIds ids;
        if (h != INVALID_HANDLE_VALUE) {
            ids = Inquire(h);
            CloseHandle(h);
        }
        std::string name = ids.vendor;
        if (!ids.product.empty()) name += (name.empty() ? "" : " ") + ids.product;
        if (!name.empty()) id += " " + name;
        Describe(&record, id, ids.vendor, ids.product, ids.revision);
    }
    ~NtDrive() override { Close(); }

    int Open() override {
        if (device_ != INVALID_HANDLE_VALUE) return kOk;
        device_ = CreateFileA(DevicePath(letter_).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
        if (device_ == INVALID_HANDLE_VALUE) return kErrNoLock;
        // The raw read wants a buffer aligned for the adapter: a page-aligned
        // block of our own, copied out after each read.
        buffer_ = static_cast<uint8_t*>(
            VirtualAlloc(nullptr, kMaxRawFrames * kFrameBytes, MEM_COMMIT, PAGE_READWRITE));
        if (!buffer_) {
            Close();
            return kErrAspi;
        }
        return kOk;
    }

    int ReadToc(bool msf, TOC* toc) override {
        uint8_t reply[kTocReplyBytes];
        DWORD got = 0;
        if (!DeviceIoControl(device_, kIoctlReadToc, nullptr, 0, reply, sizeof reply, &got, nullptr)) return kErrAspi;
        return TocFromReply(reply, got, true, msf, toc) ? kOk : kErrAspi;
    }

    int Read(uint32_t start, uint32_t count, uint8_t* out, uint32_t* got) override {
        *got = 0;
        while (*got < count) {
            const uint32_t n = count - *got < kMaxRawFrames ? count - *got : kMaxRawFrames;
            RawReadInfo info;
            info.diskOffset.QuadPart = LONGLONG(start + *got) * 2048;
            info.sectorCount = n;
            info.trackMode = 2;
            DWORD bytes = 0;
            if (!DeviceIoControl(device_, kIoctlRawRead, &info, sizeof info, buffer_, n * kFrameBytes, &bytes,
                                 nullptr))
                return kErrAspi;
            const uint32_t frames = bytes / kFrameBytes;
            std::memcpy(out + size_t(*got) * kFrameBytes, buffer_, size_t(frames) * kFrameBytes);
            *got += frames;
            if (frames < n) break;  // the drive gave less: the caller sees it in len
        }
        return kOk;
    }

    void Close() override {
        if (buffer_) VirtualFree(buffer_, 0, MEM_RELEASE);
        buffer_ = nullptr;
        if (device_ != INVALID_HANDLE_VALUE) CloseHandle(device_);
        device_ = INVALID_HANDLE_VALUE;
    }

private:
    char letter_;
    HANDLE device_ = INVALID_HANDLE_VALUE;
    uint8_t* buffer_ = nullptr;
};

}  // namespace

Drives NtDrives() {
    Drives drives;
    const DWORD letters = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(letters & (1u << i))) continue;
        const char root[4] = {char('A' + i), ':', '\\', 0};
        if (GetDriveTypeA(root) == DRIVE_CDROM) drives.push_back(std::make_shared<NtDrive>(root[0]));
    }
    return drives;
}

}  // namespace corvella::cdaudio
