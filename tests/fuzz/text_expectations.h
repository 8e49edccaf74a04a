// What the harness expects of texts, worked out without the bridge's own converters.
#pragma once

#include <string>

namespace fuzz {

// True when `units` pairs every surrogate half.
bool IsWellFormedUtf16(const std::u16string& units);

// Strict UTF-8 (no overlongs, surrogates or values above U+10FFFF) to UTF-16;
// false when `bytes` is not valid UTF-8.
bool DecodeStrictUtf8(const std::string& bytes, std::u16string& units);

// The narrow board name a host text must become under the "C" (ASCII) or a UTF-8
// locale: false when the text holds a lone surrogate, a character the locale lacks,
// or needs more than 127 bytes. The text ends at its first 0 unit.
bool ExpectedBoardName(const std::u16string& text, bool utf8Locale, std::string& narrow);

// ASCII bytes widened unit by unit.
std::u16string Widen(const char* ascii);

}  // namespace fuzz
