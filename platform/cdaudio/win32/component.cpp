#include "platform/cdaudio/win32/component.h"

#include <cstring>

namespace corvella::cdaudio {

void Describe(CDREC* record, const std::string& id, const std::string& vendor, const std::string& product,
              const std::string& revision) {
    auto put = [](char* field, size_t width, const std::string& text) {
        std::memset(field, 0, width);
        std::memcpy(field, text.data(), text.size() < width - 1 ? text.size() : width - 1);
    };
    put(record->id, sizeof record->id, id);
    put(record->vendor, sizeof record->vendor, vendor);
    put(record->prodId, sizeof record->prodId, product);
    put(record->rev, sizeof record->rev, revision);
}

// The list is made again while no handle is open, so a disc image named
// after the first look is seen; open handles keep their drives either way.
void Component::Refresh() {
    for (const Slot& s : slots_)
        if (s.drive && listed_) return;
    drives_ = real_(&realError_);
    Drives images = images_();
    drives_.insert(drives_.end(), images.begin(), images.end());
    if (drives_.size() > 8) drives_.resize(8);  // a CDLIST holds 8
    for (size_t i = 0; i < drives_.size(); ++i) {
        drives_[i]->record.ha = uint8_t(i);
        drives_[i]->record.tgt = 0;
        drives_[i]->record.lun = 0;
    }
    listed_ = true;
}

int Component::NumAdapters() {
    Refresh();
    if (drives_.empty() && realError_) error_ = realError_;
    return int(drives_.size());
}

int Component::List(CDLIST* list) {
    if (!list) return Fail(kErrBadBuffer);
    Refresh();
    list->num = 0;
    std::memset(list->cd, 0, sizeof list->cd);
    for (const auto& d : drives_) list->cd[list->num++] = d->record;
    if (drives_.empty() && realError_) error_ = realError_;
    return 1;
}

uint8_t Component::Open(const GETCDHAND* request) {
    if (!request) return uint8_t(Fail(kErrBadRequest));
    if (request->size != sizeof(GETCDHAND) || request->ver != 1) return uint8_t(Fail(kErrBadVersion));
    Refresh();
    std::shared_ptr<Drive> drive;
    for (const auto& d : drives_)
        if (d->record.ha == request->ha && d->record.tgt == request->tgt && d->record.lun == request->lun) drive = d;
    if (!drive) return uint8_t(Fail(drives_.empty() && realError_ ? realError_ : kErrNotCdrom));
    Slot* free = nullptr;
    for (Slot& s : slots_) {
        if (s.drive == drive) return uint8_t(Fail(kErrInUse));
        if (!s.drive && !free) free = &s;
    }
    if (!free) return uint8_t(Fail(kErrNoSlots));
    const int code = drive->Open();
    if (code != kOk) return uint8_t(Fail(code));
    free->drive = drive;
    free->msf = true;
    return uint8_t(free - slots_ + 1);
}

Component::Slot* Component::Find(uint8_t handle) {
    if (handle < 1 || handle > kSlots || !slots_[handle - 1].drive) return nullptr;
    return &slots_[handle - 1];
}

int Component::Close(uint8_t handle) {
    Slot* s = Find(handle);
    if (!s) return Fail(kErrInvalidHandle);
    s->drive->Close();
    s->drive.reset();
    return 1;
}

void Component::Modify(uint8_t handle, int parm, unsigned long value) {
    Slot* s = Find(handle);
    if (!s) {
        Fail(kErrInvalidHandle);
        return;
    }
    if (parm == kParmAddressMsf) s->msf = value != 0;
}

int Component::ReadToc(uint8_t handle, TOC* toc) {
    Slot* s = Find(handle);
    if (!s) return Fail(kErrInvalidHandle);
    if (!toc) return Fail(kErrBadBuffer);
    std::memset(toc, 0, sizeof *toc);
    const int code = s->drive->ReadToc(s->msf, toc);
    if (code != kOk) {
        std::memset(toc, 0, sizeof *toc);
        return Fail(code);
    }
    return 1;
}

int Component::ReadAudio(uint8_t handle, TRACKBUF* buf) {
    Slot* s = Find(handle);
    if (!s) return Fail(kErrInvalidHandle);
    if (!buf) return Fail(kErrBadBuffer);
    buf->len = 0;
    buf->startOffset = 0;
    if (uint64_t(buf->numFrames) * kFrameBytes > buf->maxLen) {
        buf->status = 1;
        return Fail(kErrBufferTooSmall);
    }
    uint32_t got = 0;
    uint8_t* audio = reinterpret_cast<uint8_t*>(buf) + sizeof(TRACKBUF);
    const int code = s->drive->Read(buf->startFrame, buf->numFrames, audio, &got);
    buf->len = got * kFrameBytes;
    buf->status = code == kOk ? 0 : 1;
    if (code != kOk) return Fail(code);
    return 1;
}

}  // namespace corvella::cdaudio
