// The reference codec.
#include "host_support/utf_reference.h"

namespace utf_reference {
namespace {

bool IsSurrogate(char32_t code) { return code >= 0xD800 && code <= 0xDFFF; }

// Decodes the one sequence at bytes[i] and moves `i` past it; false, with `i`
// unchanged, when no valid sequence starts there.
bool DecodeAt(const std::string& bytes, std::size_t& i, char32_t& code) {
    const auto byte = [&bytes](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
    const unsigned char lead = byte(i);
    std::size_t more = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        code = lead;
    } else if (lead >= 0xC0 && lead < 0xE0) {
        more = 1, code = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        more = 2, code = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF8) {
        more = 3, code = lead & 0x07, smallest = 0x10000;
    } else {
        return false;
    }
    if (i + more >= bytes.size() && more > 0) return false;
    for (std::size_t k = 1; k <= more; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return false;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not characters.
    if (code < smallest || code > 0x10FFFF || IsSurrogate(code)) return false;
    i += more + 1;
    return true;
}

}  // namespace

bool IsHighSurrogate(char32_t code) { return code >= 0xD800 && code <= 0xDBFF; }
bool IsLowSurrogate(char32_t code) { return code >= 0xDC00 && code <= 0xDFFF; }

char32_t CodePointAt(const std::u16string& units, std::size_t& i) {
    const char32_t unit = units[i++];
    if (IsHighSurrogate(unit) && i < units.size() && IsLowSurrogate(units[i]))
        return 0x10000 + ((unit - 0xD800) << 10) + (units[i++] - 0xDC00);
    return unit;
}

bool IsWellFormedUtf16(const std::u16string& units) {
    for (std::size_t i = 0; i < units.size();)
        if (IsSurrogate(CodePointAt(units, i))) return false;
    return true;
}

void AppendUtf8(std::string& bytes, char32_t code) {
    if (code < 0x80) {
        bytes += static_cast<char>(code);
    } else if (code < 0x800) {
        bytes += static_cast<char>(0xC0 | (code >> 6));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        bytes += static_cast<char>(0xE0 | (code >> 12));
        bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        bytes += static_cast<char>(0xF0 | ((code >> 18) & 0x07));
        bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void AppendUtf16(std::u16string& units, char32_t code) {
    if (code >= 0x10000 && code <= 0x10FFFF) {
        units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
        units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
        units += static_cast<char16_t>(code);
    }
}

bool DecodeStrictUtf8(const std::string& bytes, std::u16string& units) {
    units.clear();
    char32_t code = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        if (!DecodeAt(bytes, i, code)) return false;
        AppendUtf16(units, code);
    }
    return true;
}

std::u16string Utf16FromUtf8(const std::string& bytes) {
    std::u16string units;
    char32_t code = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        if (DecodeAt(bytes, i, code)) {
            AppendUtf16(units, code);
        } else {
            units += static_cast<char16_t>(kReplacement);
            ++i;
        }
    }
    return units;
}

bool EncodeStrictUtf8(const std::u16string& units, std::string& bytes) {
    bytes.clear();
    for (std::size_t i = 0; i < units.size();) {
        const char32_t code = CodePointAt(units, i);
        if (IsSurrogate(code)) return false;
        AppendUtf8(bytes, code);
    }
    return true;
}

std::string Utf8FromUtf16(const std::u16string& units) {
    std::string bytes;
    for (std::size_t i = 0; i < units.size();) {
        const char32_t code = CodePointAt(units, i);
        AppendUtf8(bytes, IsSurrogate(code) ? kReplacement : code);
    }
    return bytes;
}

std::u16string Widen(const char* ascii) {
    std::u16string units;
    for (; ascii && *ascii; ++ascii)
        units += static_cast<char16_t>(static_cast<unsigned char>(*ascii));
    return units;
}

}  // namespace utf_reference
