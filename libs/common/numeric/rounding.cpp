#include "libs/common/numeric/rounding.h"

#include <cmath>
#include <limits>

namespace corvella {

int32_t RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kMin = static_cast<double>(std::numeric_limits<int32_t>::min());
    constexpr double kMax = static_cast<double>(std::numeric_limits<int32_t>::max());
    if (value <= kMin) return std::numeric_limits<int32_t>::min();
    if (value >= kMax) return std::numeric_limits<int32_t>::max();
    // Done by hand rather than with nearbyint: the FPU rounding mode can be
    // changed by other code in the process.
    double floor = std::floor(value);
    double diff = value - floor;
    double result = floor;
    if (diff > 0.5) {
        result = floor + 1.0;
    } else if (diff == 0.5) {
        if (std::fmod(floor, 2.0) != 0.0) result = floor + 1.0;
    }
    if (result >= kMax) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(result);
}

}  // namespace corvella
