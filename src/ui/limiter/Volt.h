#pragma once

#include <string>

namespace vindle {

// An A/D count (0 to 255, 255 being 5 volts) as a four-character voltage text:
// 0 -> "0.00", 1 -> ".019", 51 -> "1.00", 255 -> "5.00". The digits are cut,
// not rounded.
std::string VOLT(int count);

} // namespace vindle
