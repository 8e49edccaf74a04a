// Numbers as people write them, shared by the expectations' wording, the
// summary and the JSON.
#pragma once

#include <string>

namespace offline_tool {

// A whole number a double holds exactly, to be written without a fraction.
bool IsWhole(double value);

// 10, not 10.000000; 0.1, not 0.10000000000000001.
std::string FormatNumber(double value);

}  // namespace offline_tool
