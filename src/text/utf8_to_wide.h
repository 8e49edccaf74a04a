// Utf8ToWide: a NUL-terminated UTF-8 string to a WideText.
#pragma once

#include "text/wide_text.h"

namespace steambridge {

// Null gives the empty text, and so does a conversion or allocation failure.
WideText Utf8ToWide(const char* utf8);

}  // namespace steambridge
