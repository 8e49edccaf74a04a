// ConvertUtf8ToUtf16 on Windows: the system converter itself.
#include "text/utf8_conversion.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace steambridge {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "WCHAR must be a UTF-16 unit");

int ConvertUtf8ToUtf16(const char* bytes, int byteCount, char16_t* out, int outCapacity) {
    return MultiByteToWideChar(CP_UTF8, 0, bytes, byteCount, reinterpret_cast<wchar_t*>(out),
                               outCapacity);
}

}  // namespace steambridge
