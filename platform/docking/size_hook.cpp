#include "platform/docking/size_hook.h"

namespace corvella::platform {

bool SizeHook::Follow(HWND window, std::function<void()> resized) {
    Stop();
    resized_ = std::move(resized);
    if (!manager_.HookMessage(this, window, WM_SIZE)) return false;
    window_ = window;
    return true;
}

void SizeHook::Stop() {
    if (window_ != nullptr) manager_.UnhookMessage(this, window_, WM_SIZE);
    window_ = nullptr;
}

LRESULT SizeHook::WindowProc(HWND, UINT, WPARAM, LPARAM) {
    // Before the form's own handling, whose result stands.
    if (resized_) resized_();
    return 0;
}

}  // namespace corvella::platform
