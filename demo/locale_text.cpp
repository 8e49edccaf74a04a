// Conversion through wcrtomb, a character at a time.
#include "locale_text.h"

#include <climits>
#include <cwchar>

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::string NarrowUnderLocale(const std::u16string& text) {
    std::string out;
    std::mbstate_t state{};
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        // A 16-bit wchar_t (Windows) cannot hold what lies beyond the BMP.
        if (c > WCHAR_MAX) return std::string();
        char bytes[MB_LEN_MAX];
        const std::size_t count = std::wcrtomb(bytes, static_cast<wchar_t>(c), &state);
        if (count == static_cast<std::size_t>(-1)) return std::string();
        out.append(bytes, count);
    }
    return out;
}
