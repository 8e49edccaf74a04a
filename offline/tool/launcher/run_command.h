// The subcommands that act on a game: run it over the offline Steam, or
// find out why its Steam start fails.
#pragma once

#include "command_line.h"

namespace steam_offline {

int RunRun(const Arguments& arguments);
int RunDoctor(const Arguments& arguments);

}  // namespace steam_offline
