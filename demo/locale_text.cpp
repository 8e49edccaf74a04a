// Conversion through wcrtomb, a character at a time.
#include "locale_text.h"

#include <climits>
#include <cwchar>

#include "support/utf_reference.h"

std::string NarrowUnderLocale(const std::u16string& text) {
    std::string out;
    std::mbstate_t state{};
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = utf_reference::CodePointAt(text, i);
        // A 16-bit wchar_t (Windows) cannot hold what lies beyond the BMP.
        if (c > WCHAR_MAX) return std::string();
        char bytes[MB_LEN_MAX];
        const std::size_t count = std::wcrtomb(bytes, static_cast<wchar_t>(c), &state);
        if (count == static_cast<std::size_t>(-1)) return std::string();
        out.append(bytes, count);
    }
    return out;
}
