// Options and usage errors for every subcommand.
#include "command_line.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cstdio>

namespace offline_tool {

int UsageError(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    std::fprintf(stderr, "try '%s --help'\n", kProgram);
    return kUsage;
}

bool IsHelp(const std::string& argument) { return argument == "--help" || argument == "-h"; }

bool ParseOptions(const Arguments& arguments, std::vector<ValueOption>& options,
                  Arguments* positional, std::string* error) {
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            positional->push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        ValueOption* option = nullptr;
        for (ValueOption& candidate : options) {
            if (name == candidate.name) option = &candidate;
        }
        if (option == nullptr) {
            *error = "unknown option " + name;
            return false;
        }
        if (option->seen) {
            *error = name + " given twice";
            return false;
        }
        option->seen = true;
        if (equals != std::string::npos) {
            *option->value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            *option->value = arguments[++i];
        } else {
            *error = name + " needs a file";
            return false;
        }
        if (option->value->empty()) {
            *error = name + " needs a file";
            return false;
        }
    }
    return true;
}

void WriteLineToStderr(const std::string& line) {
    const std::string whole = line + "\n";
    std::fflush(stderr);
#if defined(_WIN32)
    // _write keeps text mode's CR LF, and msvcrt writes an unbuffered stream
    // a character at a time.
    (void)_write(_fileno(stderr), whole.data(), static_cast<unsigned>(whole.size()));
#else
    (void)!write(STDERR_FILENO, whole.data(), whole.size());
#endif
}

}  // namespace offline_tool
