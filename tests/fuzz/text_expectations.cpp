// Reference conversions for the harness's checks, written independently of src/text.
#include "text_expectations.h"

namespace fuzz {
namespace {

bool IsHigh(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

bool IsWellFormedUtf16(const std::u16string& units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (IsHigh(units[i]) && i + 1 < units.size() && IsLow(units[i + 1])) {
            ++i;
        } else if (IsHigh(units[i]) || IsLow(units[i])) {
            return false;
        }
    }
    return true;
}

bool DecodeStrictUtf8(const std::string& bytes, std::u16string& units) {
    units.clear();
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        std::size_t more = 0;
        char32_t code = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            code = lead;
        } else if (lead >= 0xC0 && lead < 0xE0) {
            more = 1, code = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            more = 2, code = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead < 0xF8) {
            more = 3, code = lead & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (i + more >= bytes.size() && more > 0) return false;
        for (std::size_t k = 1; k <= more; ++k) {
            const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        if (code >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(code);
        }
        i += more + 1;
    }
    return true;
}

bool ExpectedBoardName(const std::u16string& text, bool utf8Locale, std::string& narrow) {
    narrow.clear();
    for (std::size_t i = 0; i < text.size() && text[i] != 0; ++i) {
        char32_t code = text[i];
        if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1])) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (IsHigh(text[i]) || IsLow(text[i])) {
            return false;
        }
        if (code < 0x80) {
            narrow += static_cast<char>(code);
        } else if (!utf8Locale) {
            return false;
        } else if (code < 0x800) {
            narrow += static_cast<char>(0xC0 | (code >> 6));
            narrow += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            narrow += static_cast<char>(0xE0 | (code >> 12));
            narrow += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            narrow += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            narrow += static_cast<char>(0xF0 | (code >> 18));
            narrow += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            narrow += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            narrow += static_cast<char>(0x80 | (code & 0x3F));
        }
        if (narrow.size() > 127) return false;
    }
    return true;
}

std::u16string Widen(const char* ascii) {
    std::u16string units;
    for (; ascii && *ascii; ++ascii)
        units += static_cast<char16_t>(static_cast<unsigned char>(*ascii));
    return units;
}

}  // namespace fuzz
