// UTF-8 decoding for host input, with surrogate pairs above the BMP.
#include "utf16_input.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the character at `text[i]`, moving `i` past it.
char32_t DecodeAt(const std::string& text, std::size_t& i) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i++);
    if (lead < 0x80) return lead;
    // The lead byte tells how many continuation bytes follow and the
    // smallest value that needs that many.
    int trailing = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        trailing = 1;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        trailing = 2;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        trailing = 3;
        smallest = 0x10000;
    } else {
        return kReplacement;
    }
    char32_t value = lead & (0x3F >> trailing);
    for (int n = 0; n < trailing; ++n) {
        if (i >= text.size() || (byte(i) & 0xC0) != 0x80) return kReplacement;
        value = (value << 6) | (byte(i++) & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not characters.
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000))
        return kReplacement;
    return value;
}

}  // namespace

std::u16string Utf16FromUtf8(const std::string& text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = DecodeAt(text, i);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}
