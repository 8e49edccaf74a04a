// Formatting of call log lines, or the arguments of a reported call.
#include "call_line.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "call_log.h"
#include "session.h"
#include "session_lifecycle.h"

namespace offline_steam {

// Each form is made only where it goes: the tests' call log runs without a
// sink, a call per frame and more, and an offline run keeps no log in memory.
CallLine::CallLine(const char* exportName)
    : name_(exportName), reported_(InstalledModelEvents() != nullptr) {
    if (reported_) return;
    line_ = exportName;
    line_ += '(';
}

bool CallLine::Separate() {
    if (reported_) return false;
    if (hasArgument_) line_ += ", ";
    hasArgument_ = true;
    return true;
}

CallLine& CallLine::Text(const char* value) {
    if (Separate())
        line_ += value != nullptr ? value : "(null)";
    else if (value != nullptr)
        arguments_.emplace_back(std::string(value));
    else
        arguments_.emplace_back();
    return *this;
}

CallLine& CallLine::Integer(int64_t value) {
    if (Separate())
        line_ += std::to_string(value);
    else
        arguments_.emplace_back(value);
    return *this;
}

CallLine& CallLine::UnsignedInteger(uint64_t value) {
    if (Separate())
        line_ += std::to_string(value);
    else
        arguments_.emplace_back(value);
    return *this;
}

CallLine& CallLine::Flag(bool value) {
    if (Separate())
        line_ += value ? '1' : '0';
    else
        arguments_.emplace_back(value);
    return *this;
}

CallLine& CallLine::Real(double value) {
    if (!Separate()) {
        arguments_.emplace_back(value);
        return *this;
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    line_ += buffer;
    return *this;
}

CallLine& CallLine::IntegerList(const int32_t* values, int count) {
    std::vector<int32_t> list;
    if (values != nullptr && count > 0) list.assign(values, values + count);
    if (!Separate()) {
        arguments_.emplace_back(std::move(list));
        return *this;
    }
    line_ += '[';
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0) line_ += ' ';
        line_ += std::to_string(list[i]);
    }
    line_ += ']';
    return *this;
}

void CallLine::Log() {
    // A method called: whatever was refused before it did not end the start.
    const bool method = std::strncmp(name_, "SteamAPI_", 9) == 0 &&
                        std::strcmp(name_, "SteamAPI_ISteamUtils_RunFrame") != 0;
    if (method) NoteMethodCalled();
    if (!reported_) {
        TheCallLog().Append(line_ + ')');
        return;
    }
    // The game's calls, not the library's own frame clock.
    ModelEvents* sink = InstalledModelEvents();
    if (sink != nullptr && method) sink->Called(TheSession().Frame(), name_, arguments_);
}

}  // namespace offline_steam
