// Window handles to the objects that serve them, kept in the process.
// Window properties carry such ties too, but reading one is a trip to the
// window server on some systems, and the ties are read for every message.
// Windows may live on more than one thread, hence the lock.
#pragma once

#include <windows.h>

#include <unordered_map>

namespace corvella::platform {

class WindowTies {
public:
    WindowTies() { InitializeCriticalSection(&lock_); }
    // Instances live as long as the module: no destructor tears the lock
    // down under a late caller.
    WindowTies(const WindowTies&) = delete;
    WindowTies& operator=(const WindowTies&) = delete;

    void* Find(HWND hwnd) {
        Locked held(lock_);
        const auto it = ties_.find(hwnd);
        return it != ties_.end() ? it->second : nullptr;
    }
    void Bind(HWND hwnd, void* object) {
        Locked held(lock_);
        ties_[hwnd] = object;
    }
    // Drops the tie only when it is to `object`: the handle may already
    // serve a newer one.
    void Unbind(HWND hwnd, const void* object) {
        Locked held(lock_);
        const auto it = ties_.find(hwnd);
        if (it != ties_.end() && it->second == object) ties_.erase(it);
    }

private:
    struct Locked {
        explicit Locked(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
        ~Locked() { LeaveCriticalSection(&cs_); }
        CRITICAL_SECTION& cs_;
    };
    CRITICAL_SECTION lock_;
    std::unordered_map<HWND, void*> ties_;
};

}  // namespace corvella::platform
