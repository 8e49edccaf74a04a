// UTF-16 to the current locale's multibyte text with msvcrt's wcsrtombs.
#include "text/locale_narrow.h"

#include <cwchar>

namespace steambridge {

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
