// Platform side of Trace: line output and the C runtime's formatting.
#pragma once

#include <cstddef>

namespace steambridge {

// Writes the line and a newline where a developer can see it.
void WriteTraceOutput(const char* line);
// printf-style formatting of one int into buffer; always terminated, cut to
// capacity - 1 characters. capacity must be at least 1.
void FormatTraceLine(char* buffer, std::size_t capacity, const char* format, int code);

}  // namespace steambridge
