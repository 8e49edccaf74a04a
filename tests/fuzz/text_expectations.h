// What the harness expects of board names, worked out without the bridge's own converters.
#pragma once

#include <string>

namespace fuzz {

// The narrow board name a host text must become under the "C" (ASCII) or a UTF-8
// locale: false when the text holds a lone surrogate, a character the locale lacks,
// or needs more than 127 bytes. The text ends at its first 0 unit.
bool ExpectedBoardName(const std::u16string& text, bool utf8Locale, std::string& narrow);

}  // namespace fuzz
