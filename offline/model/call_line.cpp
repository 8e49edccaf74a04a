// Formatting of call log lines.
#include "call_line.h"

#include <cstdio>
#include <utility>

#include "call_log.h"
#include "event_reports.h"

namespace offline_steam {

// The arguments are kept only for a sink: the tests' call log runs without
// one, a call per frame and more.
CallLine::CallLine(const char* exportName) : line_(exportName), reported_(Reporting()) {
    line_ += '(';
}

void CallLine::Separate() {
    if (hasArgument_) line_ += ", ";
    hasArgument_ = true;
}

CallLine& CallLine::Text(const char* value) {
    Separate();
    if (reported_) {
        if (value != nullptr)
            arguments_.emplace_back(std::string(value));
        else
            arguments_.emplace_back();
    }
    line_ += value != nullptr ? value : "(null)";
    return *this;
}

CallLine& CallLine::Integer(int64_t value) {
    Separate();
    if (reported_) arguments_.emplace_back(value);
    line_ += std::to_string(value);
    return *this;
}

CallLine& CallLine::UnsignedInteger(uint64_t value) {
    Separate();
    if (reported_) arguments_.emplace_back(value);
    line_ += std::to_string(value);
    return *this;
}

CallLine& CallLine::Flag(bool value) {
    Separate();
    if (reported_) arguments_.emplace_back(value);
    line_ += value ? '1' : '0';
    return *this;
}

CallLine& CallLine::Real(double value) {
    Separate();
    if (reported_) arguments_.emplace_back(value);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    line_ += buffer;
    return *this;
}

CallLine& CallLine::IntegerList(const int32_t* values, int count) {
    Separate();
    std::vector<int32_t> list;
    line_ += '[';
    for (int i = 0; values != nullptr && i < count; ++i) {
        if (i > 0) line_ += ' ';
        line_ += std::to_string(values[i]);
        if (reported_) list.push_back(values[i]);
    }
    line_ += ']';
    if (reported_) arguments_.emplace_back(std::move(list));
    return *this;
}

void CallLine::Log() {
    if (reported_) {
        // The game's calls, not the library's own frame clock.
        const std::string name = line_.substr(0, line_.find('('));
        if (name.compare(0, 9, "SteamAPI_") == 0 && name != "SteamAPI_ISteamUtils_RunFrame")
            ReportCall(name, arguments_);
        // A long offline run keeps only what its sink keeps, not an in-memory log.
        return;
    }
    TheCallLog().Append(line_ + ')');
}

}  // namespace offline_steam
