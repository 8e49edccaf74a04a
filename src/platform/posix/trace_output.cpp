// Trace output off Windows: appended to the file STEAMBRIDGE_TRACE_FILE names
// (/dev/stderr for the terminal), nothing when it is unset; and snprintf.
#include "platform/trace_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace steambridge {
namespace {

constexpr int kNotOpenedYet = -2;
// Opened at the first line and kept: lines come on events only, and a game
// that changes its environment later must not move them.
int g_traceFile = kNotOpenedYet;

int TraceFile() {
    if (g_traceFile == kNotOpenedYet) {
        const char* path = std::getenv("STEAMBRIDGE_TRACE_FILE");
        g_traceFile = path != nullptr && *path != '\0'
                          ? open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644)
                          : -1;
    }
    return g_traceFile;
}

}  // namespace

void WriteTraceOutput(const char* line) {
    const int file = TraceFile();
    if (file < 0) return;
    // One write per line, so lines from two processes appending to one file
    // stay whole.
    char buffer[512];
    const std::size_t length = std::strlen(line);
    if (length + 1 <= sizeof buffer) {
        std::memcpy(buffer, line, length);
        buffer[length] = '\n';
        (void)!write(file, buffer, length + 1);
    } else {
        (void)!write(file, line, length);
        (void)!write(file, "\n", 1);
    }
}

void FormatTraceLine(char* buffer, std::size_t capacity, const char* format, int code) {
    if (std::snprintf(buffer, capacity, format, code) < 0) {
        buffer[0] = '\0';
    }
}

}  // namespace steambridge
