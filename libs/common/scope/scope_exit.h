// Work that must run however a scope ends (a return, an error): a flag put
// back, a window unlocked, a list read again.
//
//     inTick_ = true;
//     const auto leave = OnScopeExit([this] { inTick_ = false; });
#pragma once

#include <utility>

namespace corvella {

template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ~ScopeExit() { f_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F f_;
};

template <class F>
ScopeExit<F> OnScopeExit(F f) {
    return ScopeExit<F>(std::move(f));
}

}  // namespace corvella
