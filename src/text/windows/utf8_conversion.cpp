// ConvertUtf8ToUtf16 on Windows: the system converter itself.
#include "text/utf8_conversion.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace steambridge {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "WCHAR must be a UTF-16 unit");

int ConvertUtf8ToUtf16(const char* bytes, int byteCount, char16_t* out, int outCapacity) {
    // Refused here as documented, whatever a given Windows or Wine version
    // makes of them (32-bit Wine writes through a negative capacity).
    if (!bytes || byteCount == 0 || outCapacity < 0 || (!out && outCapacity > 0)) return 0;
    return MultiByteToWideChar(CP_UTF8, 0, bytes, byteCount < 0 ? -1 : byteCount,
                               reinterpret_cast<wchar_t*>(out), outCapacity);
}

}  // namespace steambridge
