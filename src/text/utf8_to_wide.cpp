// Utf8ToWide: two passes of the platform converter over the bytes and their terminator.
#include "text/utf8_to_wide.h"

#include <climits>
#include <cstring>

#include "text/utf8_conversion.h"

namespace steambridge {

WideText Utf8ToWide(const char* utf8) {
    WideText text;
    if (utf8 == nullptr) return text;
    const std::size_t length = std::strlen(utf8);
    if (length >= static_cast<std::size_t>(INT_MAX)) return text;
    // The terminator goes through the converter too, so n counts it.
    const int byteCount = static_cast<int>(length + 1);
    const int needed = ConvertUtf8ToUtf16(utf8, byteCount, nullptr, 0);
    if (needed <= 0) return text;
    const std::size_t units = static_cast<std::size_t>(needed);
    char16_t* buffer = text.Resize(units - 1);
    if (buffer == nullptr) return text;
    if (ConvertUtf8ToUtf16(utf8, byteCount, buffer, needed) != needed) {
        text.Clear();
        return text;
    }
    const char16_t last = buffer[units - 1];
    if (last != 0) {
        // A lead byte just before the end makes Windows fold the terminator into
        // its U+FFFD; keep that unit and terminate after it. It sits in the
        // terminator's place, which Resize does not carry over.
        buffer = text.Resize(units);
        if (buffer == nullptr) return text;
        buffer[units - 1] = last;
    }
    return text;
}

}  // namespace steambridge
