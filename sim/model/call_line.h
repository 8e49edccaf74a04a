// Builds one call log line: the export name and its arguments in parentheses.
#pragma once

#include <cstdint>
#include <string>

namespace steam_sim {

class CallLine {
public:
    explicit CallLine(const char* exportName);

    CallLine& text(const char* value);  // unquoted, "(null)" for null
    CallLine& integer(int64_t value);
    CallLine& unsignedInteger(uint64_t value);
    CallLine& flag(bool value);                               // 0 or 1
    CallLine& real(double value);                             // %g
    CallLine& integerList(const int32_t* values, int count);  // "[1 2 3]", "[]" when none

    // Appends the finished line to the call log.
    void log();

private:
    void separate();

    std::string line_;
    bool hasArgument_ = false;
};

}  // namespace steam_sim
