// Text conversions on Windows: UTF-8 through the system converter itself,
// and UTF-16 to the current locale's narrow text with msvcrt's wcsrtombs.
#include "text/platform_conversion.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cwchar>

namespace steambridge {
static_assert(sizeof(wchar_t) == sizeof(char16_t), "WCHAR must be a UTF-16 unit");

int ConvertUtf8ToUtf16(const char* bytes, int byteCount, char16_t* out, int outCapacity) {
    // Refused here as documented, whatever a given Windows or Wine version
    // makes of them (32-bit Wine writes through a negative capacity).
    if (!bytes || byteCount == 0 || outCapacity < 0 || (!out && outCapacity > 0)) return 0;
    return MultiByteToWideChar(CP_UTF8, 0, bytes, byteCount < 0 ? -1 : byteCount,
                               reinterpret_cast<wchar_t*>(out), outCapacity);
}

// ---- the C locale

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t is a UTF-16 unit on Windows");

bool ConvertToLocaleNarrow(const char16_t* text, char* out, std::size_t capacity) {
    if (capacity == 0) return false;
    out[0] = '\0';
    if (!text) return false;
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text);

    // Measure first: a cut name would name another board.
    std::mbstate_t state{};
    const wchar_t* source = wide;
    const std::size_t length = std::wcsrtombs(nullptr, &source, 0, &state);
    if (length == static_cast<std::size_t>(-1) || length >= capacity) return false;

    state = std::mbstate_t{};
    source = wide;
    if (std::wcsrtombs(out, &source, capacity, &state) != length) {
        out[0] = '\0';
        return false;
    }
    out[length] = '\0';
    return true;
}

}  // namespace steambridge
