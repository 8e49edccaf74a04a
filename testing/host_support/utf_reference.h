// The hosts' one UTF-8 / UTF-16 codec, written apart from the bridge's own
// converters (src/text), which it serves to check.
#pragma once

#include <cstddef>
#include <string>

namespace utf_reference {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t code);
bool IsLowSurrogate(char32_t code);

// The code point at units[i], a surrogate pair taken whole and a lone
// surrogate as itself; moves `i` past it.
char32_t CodePointAt(const std::u16string& units, std::size_t& i);
// True when `units` pairs every surrogate half.
bool IsWellFormedUtf16(const std::u16string& units);

void AppendUtf8(std::string& bytes, char32_t code);
void AppendUtf16(std::u16string& units, char32_t code);

// Strict UTF-8 (no overlongs, surrogates or values above U+10FFFF) to UTF-16;
// false when `bytes` is not valid UTF-8.
bool DecodeStrictUtf8(const std::string& bytes, std::u16string& units);
// The same, where each byte that starts no valid sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(const std::string& bytes);

// UTF-16 to UTF-8; false when `units` holds a lone surrogate.
bool EncodeStrictUtf8(const std::u16string& units, std::string& bytes);
// The same, where a lone surrogate becomes U+FFFD.
std::string Utf8FromUtf16(const std::u16string& units);

// ASCII bytes widened unit by unit.
std::u16string Widen(const char* ascii);

}  // namespace utf_reference
