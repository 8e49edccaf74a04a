// UTF-16 to the current locale's multibyte text, one character at a time
// (wchar_t holds a whole code point here, so surrogate pairs are joined).
#include "text/locale_narrow.h"

#include <climits>
#include <cstring>
#include <cwchar>

namespace steambridge {
namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

bool ConvertToLocaleNarrow(const char16_t* text, char* out, std::size_t capacity) {
    if (capacity == 0) return false;
    out[0] = '\0';
    if (!text) return false;

    std::mbstate_t state{};
    std::size_t length = 0;
    for (const char16_t* unit = text; *unit; ++unit) {
        char32_t codePoint = *unit;
        if (IsHighSurrogate(*unit) && IsLowSurrogate(unit[1])) {
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (unit[1] - 0xDC00);
            ++unit;
        } else if (IsHighSurrogate(*unit) || IsLowSurrogate(*unit)) {
            out[0] = '\0';
            return false;
        }
        char bytes[MB_LEN_MAX];
        const std::size_t count = std::wcrtomb(bytes, static_cast<wchar_t>(codePoint), &state);
        if (count == static_cast<std::size_t>(-1) || length + count >= capacity) {
            out[0] = '\0';
            return false;
        }
        std::memcpy(out + length, bytes, count);
        length += count;
    }
    out[length] = '\0';
    return true;
}

}  // namespace steambridge
