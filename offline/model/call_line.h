// One call as the model keeps it: a call log line (the export name and its
// arguments in parentheses) or, while a sink is installed, a game's call
// reported with its arguments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model_events.h"

namespace offline_steam {

class CallLine {
public:
    // `exportName` outlives the CallLine (a literal).
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
    // Starts the next argument of the log line; false while reporting instead.
    bool Separate();

    const char* name_;
    bool reported_;
    std::string line_;                     // without a sink
    std::vector<CallArgument> arguments_;  // with one
    bool hasArgument_ = false;
};

}  // namespace offline_steam
