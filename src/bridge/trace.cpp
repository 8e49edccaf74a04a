// Trace: dispatch of diagnostic lines to the current sink.
#include "bridge/trace.h"

#include <cstddef>

#include "platform/os_services.h"

namespace steambridge {
namespace {

void WriteTrace(TraceId, const char* line) { WriteTraceOutput(line); }
constexpr TraceSink kDefaultSink = WriteTrace;

// Constant-initialised: no static constructor runs in the DLL. The module
// runs on the host's one thread, so a plain pointer serves.
TraceSink g_sink = kDefaultSink;

constexpr const char* kTexts[] = {
#define STEAMBRIDGE_TRACE_TEXT(id, text) text,
    STEAMBRIDGE_TRACE_LINES(STEAMBRIDGE_TRACE_TEXT)
#undef STEAMBRIDGE_TRACE_TEXT
};
static_assert(sizeof kTexts / sizeof kTexts[0] == static_cast<std::size_t>(TraceId::Detail),
              "one text per listed line");

constexpr std::size_t kTraceLineBytes = 128;

}  // namespace

const char* TraceText(TraceId id) {
    const auto index = static_cast<std::size_t>(id);
    return index < sizeof kTexts / sizeof kTexts[0] ? kTexts[index] : "";
}

void Trace(TraceId id) { g_sink(id, TraceText(id)); }

void Trace(TraceId id, int code) {
    char line[kTraceLineBytes];
    FormatTraceLine(line, sizeof line, TraceText(id), code);
    g_sink(id, line);
}

void TraceDetail(const char* name) {
    if (name != nullptr) g_sink(TraceId::Detail, name);
}

void SetTraceSink(TraceSink sink) { g_sink = sink != nullptr ? sink : kDefaultSink; }

}  // namespace steambridge
