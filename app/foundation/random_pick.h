// A random whole number in a range that is never the one picked last, so
// the tip pane does not show the same tip twice in a row.
#pragma once

#include <cstdint>
#include <random>

namespace corvella {
namespace foundation {

class RandomNoRepeatPicker {
public:
    // Seeded once from the clock and the system's random device.
    RandomNoRepeatPicker();
    explicit RandomNoRepeatPicker(uint32_t seed) : engine_(seed) {}

    // A value from low to high other than the last one returned. With low
    // equal to high that one value (even when it was the last); -1 when low
    // is above high, and then the last pick is kept.
    int32_t Pick(int32_t low, int32_t high);

    int32_t Last() const { return last_; }

private:
    std::mt19937 engine_;
    int32_t last_ = 0;
};

// The program's one picker (the user-interface thread only).
int32_t RandomNoRepeat(int32_t low, int32_t high);

}  // namespace foundation
}  // namespace corvella
