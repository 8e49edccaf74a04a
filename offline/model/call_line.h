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

    // Appends the finished line to the call log, and a game's call (a flat
    // name, "SteamAPI_…") to the journal when one is open.
    void log();

private:
    void separate(const std::string& json);

    std::string line_;
    bool journaled_;
    std::string jsonArguments_;
    bool hasArgument_ = false;
};

}  // namespace steam_sim
