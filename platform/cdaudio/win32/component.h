// The component behind the exported calls: the drive list (real drives
// first, then the images), the open handles and the last error.
#pragma once

#include <functional>

#include "platform/cdaudio/win32/drives.h"

namespace corvella::cdaudio {

class Component {
public:
    // Finds the drives afresh; `real` gives the system's drives and sets its
    // error code (-1 when no ASPI manager loads, for one).
    using Finder = std::function<Drives(int* error)>;
    Component(Finder real, std::function<Drives()> images)
        : real_(std::move(real)), images_(std::move(images)) {}

    int NumAdapters();
    int List(CDLIST* list);
    uint8_t Open(const GETCDHAND* request);
    int Close(uint8_t handle);
    void Modify(uint8_t handle, int parm, unsigned long value);
    int ReadToc(uint8_t handle, TOC* toc);
    int ReadAudio(uint8_t handle, TRACKBUF* buf);
    // The code of the last failure; a call that succeeds leaves it, so the
    // reason of a failed open survives the close that follows it.
    int LastError() const { return error_; }

private:
    static constexpr int kSlots = 8;
    struct Slot {
        std::shared_ptr<Drive> drive;
        bool msf = true;  // addresses as 0:M:S:F until parameter 0x24 says otherwise
    };
    void Refresh();
    Slot* Find(uint8_t handle);
    int Fail(int code) {
        error_ = code;
        return 0;
    }

    Finder real_;
    std::function<Drives()> images_;
    Drives drives_;
    int realError_ = 0;
    bool listed_ = false;
    Slot slots_[kSlots];
    int error_ = 0;
};

}  // namespace corvella::cdaudio
