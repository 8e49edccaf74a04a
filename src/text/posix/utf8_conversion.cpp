// ConvertUtf8ToUtf16 off Windows: a decoder that replaces invalid input exactly as Windows does.
#include "text/utf8_conversion.h"

#include <climits>
#include <cstddef>
#include <cstring>

namespace steambridge {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct Decoded {
    char32_t codePoint;
    std::size_t length;  // bytes consumed
};

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Continuation bytes a lead byte asks for; 0 for bytes that cannot start a
// sequence (continuations, F5..FF). C0 and C1 do ask for one, though every
// sequence they start is overlong.
std::size_t ContinuationCount(unsigned char lead) {
    if (lead >= 0xC0 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return 0;
}

// Replacement boundaries follow Windows (checked against Wine), not the
// Unicode "maximal subpart" advice: a lead whose sequence would run past the
// end swallows the rest of the input; an overlong, surrogate or too-large
// second byte is consumed together with its lead.
Decoded DecodeOne(const unsigned char* p, std::size_t available) {
    const unsigned char lead = p[0];
    if (lead < 0x80) return {lead, 1};
    const std::size_t more = ContinuationCount(lead);
    if (more == 0) return {kReplacement, 1};
    if (available - 1 < more) return {kReplacement, available};

    if (!IsContinuation(p[1])) return {kReplacement, 1};
    char32_t code = lead & (0x3Fu >> more);
    code = (code << 6) | (p[1] & 0x3Fu);
    if (more == 1) {
        // C0 and C1 leads: an overlong form of an ASCII character.
        return code < 0x80 ? Decoded{kReplacement, 1} : Decoded{code, 2};
    }
    // code now holds the lead's bits and the second byte's six.
    if (more == 2 && (code < 0x20 || (code >= 0x360 && code < 0x380))) {
        return {kReplacement, 2};  // overlong (E0 80..9F) or a surrogate (ED A0..BF)
    }
    if (more == 3 && (code < 0x10 || code >= 0x110)) {
        return {kReplacement, 2};  // overlong (F0 80..8F) or above U+10FFFF (F4 90..)
    }
    for (std::size_t i = 2; i <= more; ++i) {
        if (!IsContinuation(p[i])) return {kReplacement, i};
        code = (code << 6) | (p[i] & 0x3Fu);
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

}  // namespace steambridge
