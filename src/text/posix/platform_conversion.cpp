// Text conversions off Windows: a UTF-8 decoder that replaces invalid input as
// the Unicode standard advises and Windows does, and UTF-16 to the current
// locale's narrow text one character at a time (wchar_t holds a whole code
// point here, so surrogate pairs are joined).
#include "text/platform_conversion.h"

#include <climits>
#include <cstddef>
#include <cstring>
#include <cwchar>

namespace steambridge {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct Decoded {
    char32_t codePoint;
    std::size_t length;  // bytes consumed
};

// One U+FFFD for each maximal subpart of an ill-formed sequence, as the
// Unicode standard advises (chapter 3, "U+FFFD Substitution of Maximal
// Subparts") and Windows' MultiByteToWideChar does: the longest start of a
// well-formed sequence (Table 3-7) is replaced as one, and the byte that
// breaks it starts afresh.
Decoded DecodeOne(const unsigned char* p, std::size_t available) {
    const unsigned char lead = p[0];
    if (lead < 0x80) return {lead, 1};
    std::size_t more = 0;
    char32_t code = 0;
    // The second byte's range excludes overlong forms, surrogates and
    // anything above U+10FFFF; later bytes are any continuation.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        code = lead & 0x0Fu;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        code = lead & 0x07u;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {kReplacement, 1};  // C0, C1, F5..FF and lone continuations
    }
    for (std::size_t i = 1; i <= more; ++i) {
        if (i >= available || p[i] < low || p[i] > high) return {kReplacement, i};
        code = (code << 6) | (p[i] & 0x3Fu);
        low = 0x80;
        high = 0xBF;
    }
    return {code, more + 1};
}

}  // namespace

int ConvertUtf8ToUtf16(const char* bytes, int byteCount, char16_t* out, int outCapacity) {
    if (bytes == nullptr || byteCount == 0 || outCapacity < 0 ||
        (out == nullptr && outCapacity > 0)) {
        return 0;
    }
    std::size_t length = 0;
    if (byteCount < 0) {
        length = std::strlen(bytes) + 1;
        if (length > static_cast<std::size_t>(INT_MAX)) return 0;
    } else {
        length = static_cast<std::size_t>(byteCount);
    }

    const bool counting = outCapacity == 0;
    const std::size_t capacity = static_cast<std::size_t>(outCapacity);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    std::size_t written = 0;
    std::size_t offset = 0;
    while (offset < length) {
        const Decoded decoded = DecodeOne(p + offset, length - offset);
        offset += decoded.length;
        const std::size_t units = decoded.codePoint >= 0x10000 ? 2 : 1;
        if (!counting) {
            // Half a surrogate pair is not written: the whole character must fit.
            if (capacity - written < units) return 0;
            if (units == 2) {
                const char32_t v = decoded.codePoint - 0x10000;
                out[written] = static_cast<char16_t>(0xD800 + (v >> 10));
                out[written + 1] = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
            } else {
                out[written] = static_cast<char16_t>(decoded.codePoint);
            }
        }
        written += units;
    }
    // Every unit comes from at least one byte, so written <= length <= INT_MAX.
    return static_cast<int>(written);
}

// ---- the C locale

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
