// Bounded copy that never splits a UTF-8 character.
#include "text/utf8_field.h"

#include <cstring>

namespace steambridge {

void CopyUtf8Field(char* field, std::size_t capacity, const char* text) {
    if (capacity == 0) return;
    if (!text) text = "";
    std::size_t length = std::strlen(text);
    if (length >= capacity) {
        length = capacity - 1;
        // Back off to the start of the character that straddles the bound.
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    }
    std::memcpy(field, text, length);
    field[length] = '\0';
}

}  // namespace steambridge
