// Formatting of call log lines.
#include "call_line.h"

#include <cstdio>
#include <cstring>

#include "call_log.h"
#include "journal.h"
#include "session.h"

namespace steam_sim {

// The JSON form of the arguments is made only for a journal: the tests' call
// log runs without one, a call per frame and more.
CallLine::CallLine(const char* exportName) : line_(exportName), journaled_(journal().isOpen()) {
    line_ += '(';
}

void CallLine::separate(const std::string& json) {
    if (hasArgument_) {
        line_ += ", ";
        jsonArguments_ += ',';
    }
    hasArgument_ = true;
    jsonArguments_ += json;
}

CallLine& CallLine::text(const char* value) {
    separate(!journaled_ ? std::string() : value != nullptr ? JsonString(value) : "null");
    line_ += value != nullptr ? value : "(null)";
    return *this;
}

CallLine& CallLine::integer(int64_t value) {
    separate(journaled_ ? std::to_string(value) : std::string());
    line_ += std::to_string(value);
    return *this;
}

CallLine& CallLine::unsignedInteger(uint64_t value) {
    // As a text: a JSON reader may hold numbers as doubles, which lose 64-bit handles.
    separate(journaled_ ? JsonString(std::to_string(value)) : std::string());
    line_ += std::to_string(value);
    return *this;
}

CallLine& CallLine::flag(bool value) {
    separate(value ? "true" : "false");
    line_ += value ? '1' : '0';
    return *this;
}

CallLine& CallLine::real(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    separate(journaled_ ? JsonNumber(value) : std::string());
    line_ += buffer;
    return *this;
}

CallLine& CallLine::integerList(const int32_t* values, int count) {
    std::string text = "[";
    std::string json = "[";
    for (int i = 0; values != nullptr && i < count; ++i) {
        if (i > 0) {
            text += ' ';
            json += ',';
        }
        text += std::to_string(values[i]);
        json += std::to_string(values[i]);
    }
    separate(json + ']');
    line_ += text + ']';
    return *this;
}

void CallLine::log() {
    if (journaled_) {
        // The game's calls, not the library's own frame clock.
        const std::size_t nameEnd = line_.find('(');
        const std::string name = line_.substr(0, nameEnd);
        if (name.compare(0, 9, "SteamAPI_") == 0 && name != "SteamAPI_ISteamUtils_RunFrame")
            journal().write("call", session().frame(),
                            ",\"call\":" + JsonString(name) + ",\"args\":[" + jsonArguments_ + "]");
        // A long offline run keeps only its journal, not an in-memory log.
        return;
    }
    callLog().append(line_ + ')');
}

}  // namespace steam_sim
