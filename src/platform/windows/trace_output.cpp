// Trace output on Windows: OutputDebugStringA, which a debugger or DebugView
// shows, each line marked as ours; and the C runtime's _snprintf.
#include "platform/trace_output.h"

#include <cstdio>
#include <cstring>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace steambridge {

void WriteTraceOutput(const char* line) {
    // One call per line where it fits, so a debugger shows it as one message.
    static const char kMark[] = "steambridge: ";
    constexpr std::size_t kMarkLength = sizeof kMark - 1;
    char buffer[512];
    const std::size_t length = std::strlen(line);
    if (kMarkLength + length + 2 <= sizeof buffer) {
        std::memcpy(buffer, kMark, kMarkLength);
        std::memcpy(buffer + kMarkLength, line, length);
        buffer[kMarkLength + length] = '\n';
        buffer[kMarkLength + length + 1] = '\0';
        OutputDebugStringA(buffer);
    } else {
        OutputDebugStringA(kMark);
        OutputDebugStringA(line);
        OutputDebugStringA("\n");
    }
}

void FormatTraceLine(char* buffer, std::size_t capacity, const char* format, int code) {
    // _snprintf leaves the buffer unterminated when the text is cut.
    _snprintf(buffer, capacity, format, code);
    buffer[capacity - 1] = '\0';
}

}  // namespace steambridge
