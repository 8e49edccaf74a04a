// Platform seam: UTF-8 bytes to UTF-16 units, as MultiByteToWideChar(CP_UTF8, 0, ...) does it.
#pragma once

namespace steambridge {

// Same contract on every platform, so the Linux build behaves like the DLL:
// - outCapacity == 0: returns the units needed (out is ignored);
// - otherwise writes the units and returns their count, or 0 when they do
//   not fit (a prefix may have been written);
// - byteCount < 0 means `bytes` is NUL-terminated, terminator converted too;
// - 0 for null bytes, byteCount == 0, outCapacity < 0, or null out with a
//   capacity;
// - each invalid sequence becomes U+FFFD, NUL bytes become unit 0.
int ConvertUtf8ToUtf16(const char* bytes, int byteCount, char16_t* out, int outCapacity);

}  // namespace steambridge
