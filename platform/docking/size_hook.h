// Bars that dock to their form (the status bar at the bottom, the rebar at
// the top) follow the form's size: this sees the form's WM_SIZE through the
// subclass manager before the form's own handling (so the form's resize code
// finds the bars docked already), and calls back.
#pragma once

#include <windows.h>

#include <functional>

#include "libs/common/subclass/subclass.h"

namespace corvella::platform {

class SizeHook : private ISubclass {
public:
    SizeHook() = default;
    ~SizeHook() { Stop(); }
    SizeHook(const SizeHook&) = delete;
    SizeHook& operator=(const SizeHook&) = delete;

    // Calls `resized` after each WM_SIZE of `window` (false when it cannot
    // be hooked). A second call follows the new window instead.
    bool Follow(HWND window, std::function<void()> resized);
    void Stop();
    HWND Window() const { return window_; }

private:
    void put_MsgResponse(long) override {}
    long get_MsgResponse() override { return kMsgResponseAlongside; }
    LRESULT WindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;

    SubclassManager manager_;
    HWND window_ = nullptr;
    std::function<void()> resized_;
};

}  // namespace corvella::platform
