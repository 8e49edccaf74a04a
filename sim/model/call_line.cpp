// Formatting of call log lines.
#include "call_line.h"

#include <cstdio>

#include "call_log.h"

namespace steam_sim {

CallLine::CallLine(const char* exportName) : line_(exportName) { line_ += '('; }

void CallLine::separate() {
    if (hasArgument_) line_ += ", ";
    hasArgument_ = true;
}

CallLine& CallLine::text(const char* value) {
    separate();
    line_ += value != nullptr ? value : "(null)";
    return *this;
}

CallLine& CallLine::integer(int64_t value) {
    separate();
    line_ += std::to_string(value);
    return *this;
}

CallLine& CallLine::unsignedInteger(uint64_t value) {
    separate();
    line_ += std::to_string(value);
    return *this;
}

CallLine& CallLine::flag(bool value) {
    separate();
    line_ += value ? '1' : '0';
    return *this;
}

CallLine& CallLine::real(double value) {
    separate();
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    line_ += buffer;
    return *this;
}

CallLine& CallLine::integerList(const int32_t* values, int count) {
    separate();
    line_ += '[';
    for (int i = 0; values != nullptr && i < count; ++i) {
        if (i > 0) line_ += ' ';
        line_ += std::to_string(values[i]);
    }
    line_ += ']';
    return *this;
}

void CallLine::log() { callLog().append(line_ + ')'); }

}  // namespace steam_sim
