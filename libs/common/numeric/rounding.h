// Rounding as the program's numbers round: halves go to the even neighbour.
#pragma once

#include <cstdint>

namespace corvella {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2). Values beyond the 32-bit range are clamped to it; NaN gives 0.
int32_t RoundHalfEven(double value);

}  // namespace corvella
