// The subcommands that act on a game: run it over the offline Steam, or
// find out why its Steam start fails.
#pragma once

#include "command_line.h"

namespace offline_tool {

int RunRun(const Arguments& arguments);
int RunDoctor(const Arguments& arguments);

}  // namespace offline_tool
