// Reading the person's commands from standard input.
#pragma once

#include <string>

// Prints `prompt`, reads one line (without its line ending) into `line`.
// False at end of input, or on a line that starts with Ctrl-D or Ctrl-Z.
// When input does not come from a terminal, the line is echoed after the
// prompt so a piped script reads like a typed session.
bool ReadCommandLine(const char* prompt, std::string* line);
