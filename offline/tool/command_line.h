// The command line shared by steambridge-offline's subcommands: options
// with values, usage errors and files written whole.
#pragma once

#include <string>
#include <vector>

#include "atomic_file.h"
#include "exit_statuses.h"

namespace offline_tool {

constexpr const char* kProgram = "steambridge-offline";

using Arguments = std::vector<std::string>;

int UsageError(const std::string& message);
bool IsHelp(const std::string& argument);

// An option that takes a value: "--name VALUE" or "--name=VALUE".
struct ValueOption {
    const char* name;
    std::string* value;
    bool seen = false;
};

// Positional arguments go to `positional`; false with `error` set on a usage error.
bool ParseOptions(const Arguments& arguments, std::vector<ValueOption>& options,
                  Arguments* positional, std::string* error);

// Files written whole and durably, as the state file is (atomic_file.h).
using offline_steam::CanWrite;
using offline_steam::WriteAtomically;

// `line` and a newline to stderr in one write, so that output of another
// process on the same console cannot land inside it.
void WriteLineToStderr(const std::string& line);

}  // namespace offline_tool
