// Trace output off Windows: stderr, and snprintf.
#include "platform/trace_output.h"

#include <cstdio>

namespace steambridge {

void WriteTraceOutput(const char* line) {
    std::fputs(line, stderr);
    std::fputc('\n', stderr);
}

void FormatTraceLine(char* buffer, std::size_t capacity, const char* format, int code) {
    if (std::snprintf(buffer, capacity, format, code) < 0) {
        buffer[0] = '\0';
    }
}

}  // namespace steambridge
