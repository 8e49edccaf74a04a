// What each system provides (platform/windows, platform/posix): finding the
// client library and looking up its exports, and where trace lines go.
#pragma once

#include <cstddef>

namespace steambridge {

// The client library: a copy the process has already loaded, else the one
// in the directory of this module, else the one in the application's
// directory. Never searched for elsewhere (not in the current directory).
// Null when none is found, with the cause and each path tried traced.
// Once found it is kept for the life of the process and never unloaded.
void* OpenClientLibrary();

void* FindLibrarySymbol(void* library, const char* name);

// Writes the line and a newline where a developer can see it.
void WriteTraceOutput(const char* line);
// printf-style formatting of one int into buffer; always terminated, cut to
// capacity - 1 characters. capacity must be at least 1.
void FormatTraceLine(char* buffer, std::size_t capacity, const char* format, int code);

}  // namespace steambridge
