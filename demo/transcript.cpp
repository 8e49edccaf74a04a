// Transcript lines: one layout for every mode, so calls and effects line up.
#include "transcript.h"

#include <cstdio>

namespace transcript {

void Section(const std::string& title) { std::printf("\n== %s ==\n", title.c_str()); }

void Say(const std::string& text) { std::printf("  %s\n", text.c_str()); }

void Call(const std::string& call, const std::string& result) {
    if (result.empty())
        std::printf("  > %s\n", call.c_str());
    else
        std::printf("  > %s -> %s\n", call.c_str(), result.c_str());
}

void Effect(const std::string& text) { std::printf("      %s\n", text.c_str()); }

void Flush() { std::fflush(stdout); }

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string Int(int64_t value) { return std::to_string(value); }

}  // namespace transcript
