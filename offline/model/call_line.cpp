// Formatting of call log lines.
#include "call_line.h"

#include <cstdio>
#include <cstring>

#include "call_log.h"
#include "journal.h"
#include "session.h"

namespace offline_steam {

// The JSON form of the arguments is made only for a journal: the tests' call
// log runs without one, a call per frame and more.
CallLine::CallLine(const char* exportName) : line_(exportName), journaled_(TheJournal().IsOpen()) {
    line_ += '(';
}

void CallLine::Separate(const std::string& json) {
    if (hasArgument_) {
        line_ += ", ";
        jsonArguments_ += ',';
    }
    hasArgument_ = true;
    jsonArguments_ += json;
}

CallLine& CallLine::Text(const char* value) {
    Separate(!journaled_ ? std::string() : value != nullptr ? JsonString(value) : "null");
    line_ += value != nullptr ? value : "(null)";
    return *this;
}

CallLine& CallLine::Integer(int64_t value) {
    Separate(journaled_ ? std::to_string(value) : std::string());
    line_ += std::to_string(value);
    return *this;
}

CallLine& CallLine::UnsignedInteger(uint64_t value) {
    // As a text: a JSON reader may hold numbers as doubles, which lose 64-bit handles.
    Separate(journaled_ ? JsonString(std::to_string(value)) : std::string());
    line_ += std::to_string(value);
    return *this;
}

CallLine& CallLine::Flag(bool value) {
    Separate(value ? "true" : "false");
    line_ += value ? '1' : '0';
    return *this;
}

CallLine& CallLine::Real(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    Separate(journaled_ ? JsonNumber(value) : std::string());
    line_ += buffer;
    return *this;
}

CallLine& CallLine::IntegerList(const int32_t* values, int count) {
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
    Separate(json + ']');
    line_ += text + ']';
    return *this;
}

void CallLine::Log() {
    if (journaled_) {
        // The game's calls, not the library's own frame clock.
        const std::size_t nameEnd = line_.find('(');
        const std::string name = line_.substr(0, nameEnd);
        if (name.compare(0, 9, "SteamAPI_") == 0 && name != "SteamAPI_ISteamUtils_RunFrame")
            TheJournal().Write(
                "call", TheSession().Frame(),
                ",\"call\":" + JsonString(name) + ",\"args\":[" + jsonArguments_ + "]");
        // A long offline run keeps only its journal, not an in-memory log.
        return;
    }
    TheCallLog().Append(line_ + ')');
}

}  // namespace offline_steam
