// The text conversions each system does its own way (text/windows,
// text/posix): Steam's UTF-8 to UTF-16 units, and the host's UTF-16 to the C
// locale's narrow text.
#pragma once

#include <cstddef>

namespace steambridge {

// UTF-8 bytes to UTF-16 units, as MultiByteToWideChar(CP_UTF8, 0, ...) does it.
// Same contract on every platform, so the Linux build behaves like the DLL:
// - outCapacity == 0: returns the units needed (out is ignored);
// - otherwise writes the units and returns their count, or 0 when they do
//   not fit (a prefix may have been written);
// - byteCount < 0 means `bytes` is NUL-terminated, terminator converted too;
// - 0 for null bytes, byteCount == 0, outCapacity < 0, or null out with a
//   capacity;
// - each invalid sequence becomes U+FFFD, NUL bytes become unit 0.
int ConvertUtf8ToUtf16(const char* bytes, int byteCount, char16_t* out, int outCapacity);

// Converts the terminated UTF-16 `text` with the C runtime's wide-to-multibyte
// conversion under the current locale, from a reset conversion state, into
// `out` and terminates it. False, with `out` left as the empty text, when
// `text` is null, holds a character the locale cannot convert, or needs more
// than capacity - 1 bytes. The locale is never changed here.
bool ConvertToLocaleNarrow(const char16_t* text, char* out, std::size_t capacity);

}  // namespace steambridge
