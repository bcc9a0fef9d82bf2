// What the encoding progress window shows for done of total frames.
#pragma once

#include <cstdint>
#include <string>

namespace corvella::cdrip {

// "Encoding Progress " + done / total * 100 as "00.0" + " %", halves up.
std::string EncodingCaption(double done, double total);
// done / total * 100 rounded half to even; 0 when total is 0.
int32_t EncodingPercent(double done, double total);

}  // namespace corvella::cdrip
