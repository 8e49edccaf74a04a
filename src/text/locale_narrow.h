// Host UTF-16 texts to narrow texts under the process's current C locale.
#pragma once

#include <cstddef>

namespace steambridge {

// Converts the terminated UTF-16 `text` with the C runtime's wide-to-multibyte
// conversion under the current locale, from a reset conversion state, into
// `out` and terminates it. False, with `out` left as the empty text, when
// `text` is null, holds a character the locale cannot convert, or needs more
// than capacity - 1 bytes. The locale is never changed here.
bool ConvertToLocaleNarrow(const char16_t* text, char* out, std::size_t capacity);

}  // namespace steambridge
