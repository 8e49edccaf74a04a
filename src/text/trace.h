// Trace: the one sink of diagnostic lines, silent unless built with trace output or redirected.
#pragma once

namespace steambridge {

using TraceSink = void (*)(const char* message);

// Sends one line (no trailing newline) to the current sink.
void Trace(const char* message);
// Formats `format` with one int (e.g. "RequestStats - failed, %d") into at
// most 127 characters and traces it.
void TraceResult(const char* format, int code);
// Redirects lines to `sink`; null restores the default sink.
void SetTraceSink(TraceSink sink);

}  // namespace steambridge
