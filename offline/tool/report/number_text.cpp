#include "number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace offline_tool {

bool IsWhole(double value) {
    return std::isfinite(value) && value == std::floor(value) &&
           std::fabs(value) < 9007199254740992.0;
}

std::string FormatNumber(double value) {
    if (IsWhole(value)) return std::to_string(static_cast<int64_t>(value));
    char text[32];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

}  // namespace offline_tool
