// Trace: dispatch of diagnostic lines to the current sink.
#include "text/trace.h"

#include <cstddef>

#include "text/trace_output.h"

namespace steambridge {
namespace {

#ifdef STEAMBRIDGE_TRACE_OUTPUT
constexpr TraceSink kDefaultSink = WriteTraceOutput;
#else
void DiscardTrace(const char*) {}
constexpr TraceSink kDefaultSink = DiscardTrace;
#endif

// Constant-initialised: no static constructor runs in the DLL. The module
// runs on the host's one thread, so a plain pointer serves.
TraceSink g_sink = kDefaultSink;

constexpr std::size_t kTraceLineBytes = 128;

}  // namespace

void Trace(const char* message) {
    if (message == nullptr) return;
    g_sink(message);
}

void TraceResult(const char* format, int code) {
    if (format == nullptr) return;
    char line[kTraceLineBytes];
    FormatTraceLine(line, sizeof line, format, code);
    Trace(line);
}

void SetTraceSink(TraceSink sink) {
    g_sink = sink != nullptr ? sink : kDefaultSink;
}

}  // namespace steambridge
