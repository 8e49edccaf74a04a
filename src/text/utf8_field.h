// Copying Steam's UTF-8 texts into the fixed fields of the tables.
#pragma once

#include <cstddef>

namespace steambridge {

// Copies `text` into `field` of `capacity` bytes, always terminated. A text
// that does not fit is cut before the first character that would not fit
// whole, so the field stays valid UTF-8. Null is stored as the empty text.
void CopyUtf8Field(char* field, std::size_t capacity, const char* text);

}  // namespace steambridge
