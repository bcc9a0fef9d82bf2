// Forced into GoogleTest and the tests of the win32 tree. The win32
// thread-model compilers have no std::mutex or std::condition_variable, and
// GoogleTest's Notification (used only by GoogleTest's own thread tests) is
// the one piece of it built on them; this one stands in.
#pragma once

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { notified_.store(true); }
    void WaitForNotification() {
        while (!notified_.load()) {
        }
    }

private:
    std::atomic<bool> notified_{false};
};

}  // namespace internal
}  // namespace testing
