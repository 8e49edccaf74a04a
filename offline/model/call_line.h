// Builds one call log line: the export name and its arguments in parentheses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model_events.h"

namespace offline_steam {

class CallLine {
public:
    explicit CallLine(const char* exportName);

    CallLine& Text(const char* value);  // unquoted, "(null)" for null
    CallLine& Integer(int64_t value);
    CallLine& UnsignedInteger(uint64_t value);
    CallLine& Flag(bool value);                               // 0 or 1
    CallLine& Real(double value);                             // %g
    CallLine& IntegerList(const int32_t* values, int count);  // "[1 2 3]", "[]" when none

    // Appends the finished line to the call log; while the model reports its
    // events, reports a game's call (a flat name, "SteamAPI_…") instead.
    void Log();

private:
    void Separate();

    std::string line_;
    bool reported_;
    std::vector<CallArgument> arguments_;
    bool hasArgument_ = false;
};

}  // namespace offline_steam
