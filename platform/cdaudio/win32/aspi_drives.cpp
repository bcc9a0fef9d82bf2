// CD-ROM devices of Windows 9x, reached through an ASPI manager loaded at run
// time; a system without one has no drives of this kind (code -1).
#include <windows.h>

#include <cstring>

#include "platform/cdaudio/core/scsi.h"
#include "platform/cdaudio/win32/drives.h"

namespace corvella::cdaudio {
namespace {

// The ASPI for Win32 request blocks.
enum : BYTE { kHaInquiry = 0, kGetDevType = 1, kExecScsi = 2 };
enum : BYTE { kPending = 0, kDone = 1, kNoAdapters = 0xE8 };
constexpr BYTE kDirIn = 0x08;
constexpr DWORD kTimeoutMs = 20000;
constexpr uint32_t kFramesPerCommand = 26;

#pragma pack(push, 1)
struct SrbHeader {
    BYTE cmd, status, haId, flags;
    DWORD reserved;
};
struct SrbHaInquiry {
    SrbHeader h;
    BYTE count, scsiId, managerId[16], identifier[16], unique[16];
    WORD reserved;
};
struct SrbDevType {
    SrbHeader h;
    BYTE target, lun, deviceType, reserved;
};
struct SrbExec {
    SrbHeader h;
    BYTE target, lun;
    WORD reserved1;
    DWORD bufLen;
    BYTE* buf;
    BYTE senseLen, cdbLen, haStat, targStat;
    void* postProc;
    BYTE reserved2[20];
    BYTE cdb[16];
    BYTE sense[16];
};
#pragma pack(pop)
static_assert(sizeof(SrbHaInquiry) == 60 && sizeof(SrbDevType) == 12 && sizeof(SrbExec) == 80, "SRB layout");

using SupportInfoFn = DWORD(__cdecl*)(void);
using SendCommandFn = DWORD(__cdecl*)(void*);

struct Manager {
    HMODULE module = nullptr;
    SendCommandFn send = nullptr;
    ~Manager() {
        if (module) FreeLibrary(module);
    }
    // Sends a request and waits for the manager to finish it.
    BYTE Run(void* srb) const {
        SrbHeader* h = static_cast<SrbHeader*>(srb);
        send(srb);
        const DWORD since = GetTickCount();
        while (*static_cast<volatile BYTE*>(&h->status) == kPending) {
            if (GetTickCount() - since > kTimeoutMs) return kPending;
            Sleep(1);
        }
        return h->status;
    }
    bool Exec(BYTE ha, BYTE tgt, BYTE lun, const uint8_t* cdb, BYTE cdbLen, uint8_t* buf, DWORD len) const {
        SrbExec srb;
        std::memset(&srb, 0, sizeof srb);
        srb.h.cmd = kExecScsi;
        srb.h.haId = ha;
        srb.h.flags = kDirIn;
        srb.target = tgt;
        srb.lun = lun;
        srb.bufLen = len;
        srb.buf = buf;
        srb.senseLen = 14;
        srb.cdbLen = cdbLen;
        std::memcpy(srb.cdb, cdb, cdbLen);
        return Run(&srb) == kDone;
    }
};

class AspiDrive : public Drive {
public:
    AspiDrive(std::shared_ptr<Manager> m, BYTE ha, BYTE tgt, BYTE lun)
        : m_(std::move(m)), ha_(ha), tgt_(tgt), lun_(lun) {
        uint8_t cdb[6], reply[kInquiryBytes] = {};
        InquiryCdb(cdb);
        InquiryIds ids;
        if (m_->Exec(ha, tgt, lun, cdb, 6, reply, sizeof reply)) ids = ParseInquiry(reply, sizeof reply);
        std::string id = ids.vendor;
        if (!ids.product.empty()) id += (id.empty() ? "" : " ") + ids.product;
        if (id.empty()) id = std::to_string(ha) + ":" + std::to_string(tgt) + ":" + std::to_string(lun);
        Describe(&record, id, ids.vendor, ids.product, ids.revision);
    }
    int Open() override { return kOk; }
    int ReadToc(bool msf, TOC* toc) override {
        uint8_t cdb[10], reply[kTocReplyBytes] = {};
        ReadTocCdb(cdb, true);
        if (!m_->Exec(ha_, tgt_, lun_, cdb, 10, reply, sizeof reply)) return kErrAspi;
        return TocFromReply(reply, sizeof reply, true, msf, toc) ? kOk : kErrAspi;
    }
    int Read(uint32_t start, uint32_t count, uint8_t* out, uint32_t* got) override {
        *got = 0;
        while (*got < count) {
            const uint32_t n = count - *got < kFramesPerCommand ? count - *got : kFramesPerCommand;
            uint8_t cdb[12];
            ReadCdCdb(cdb, start + *got, n);
            if (!m_->Exec(ha_, tgt_, lun_, cdb, 12, out + size_t(*got) * kFrameBytes, n * kFrameBytes))
                return kErrAspi;
            *got += n;
        }
        return kOk;
    }
    void Close() override {}

private:
    std::shared_ptr<Manager> m_;
    BYTE ha_, tgt_, lun_;
};

}  // namespace

Drives AspiDrives(const char* dll, int* error) {
    *error = kOk;
    Drives drives;
    auto m = std::make_shared<Manager>();
    m->module = LoadLibraryA(dll);
    if (!m->module) {
        *error = kErrNoAspi;
        return drives;
    }
    const auto info = reinterpret_cast<SupportInfoFn>(GetProcAddress(m->module, "GetASPI32SupportInfo"));
    if (!info) {
        *error = kErrNoSupportInfo;
        return drives;
    }
    m->send = reinterpret_cast<SendCommandFn>(GetProcAddress(m->module, "SendASPI32Command"));
    if (!m->send) {
        *error = kErrNoSendCommand;
        return drives;
    }
    const DWORD support = info();
    const BYTE status = BYTE(support >> 8);
    if (status == kNoAdapters) return drives;
    if (status != kDone) {
        *error = kErrAspi;
        return drives;
    }
    const BYTE adapters = BYTE(support);
    for (BYTE ha = 0; ha < adapters; ++ha) {
        SrbHaInquiry inq;
        std::memset(&inq, 0, sizeof inq);
        inq.h.cmd = kHaInquiry;
        inq.h.haId = ha;
        BYTE targets = 8;
        if (m->Run(&inq) == kDone && inq.unique[3]) targets = inq.unique[3];
        for (BYTE tgt = 0; tgt < targets; ++tgt) {
            SrbDevType dev;
            std::memset(&dev, 0, sizeof dev);
            dev.h.cmd = kGetDevType;
            dev.h.haId = ha;
            dev.target = tgt;
            if (m->Run(&dev) == kDone && dev.deviceType == kDeviceTypeCdrom)
                drives.push_back(std::make_shared<AspiDrive>(m, ha, tgt, 0));
        }
    }
    return drives;
}

}  // namespace corvella::cdaudio
