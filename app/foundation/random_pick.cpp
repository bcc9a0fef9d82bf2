#include "app/foundation/random_pick.h"

#include <chrono>

namespace corvella {
namespace foundation {

RandomNoRepeatPicker::RandomNoRepeatPicker() {
    uint32_t entropy = 0;
    try {
        std::random_device device;
        entropy = device();
    } catch (...) {
        // The clock alone will do.
    }
    const auto ticks = static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::seed_seq seq{entropy, static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
    engine_.seed(seq);
}

int32_t RandomNoRepeatPicker::Pick(int32_t low, int32_t high) {
    if (low > high) return -1;
    if (low == high) return last_ = low;
    // Uniform over the range with the last pick left out: draw from one
    // value fewer and step over the last pick.
    const int64_t span = static_cast<int64_t>(high) - low + 1;
    const bool exclude = last_ >= low && last_ <= high;
    std::uniform_int_distribution<int64_t> draw(0, span - (exclude ? 2 : 1));
    int64_t value = low + draw(engine_);
    if (exclude && value >= last_) ++value;
    last_ = static_cast<int32_t>(value);
    return last_;
}

int32_t RandomNoRepeat(int32_t low, int32_t high) {
    static RandomNoRepeatPicker picker;
    return picker.Pick(low, high);
}

}  // namespace foundation
}  // namespace corvella
