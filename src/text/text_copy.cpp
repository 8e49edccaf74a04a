// Unit-by-unit copies into host-owned UTF-16 buffers, and bounded copies
// that never split a UTF-8 character.
#include "text/text_copy.h"

#include <cstddef>
#include <cstring>

namespace steambridge {
namespace {

void WriteUnits(HostSlot slot, const char16_t* source, std::size_t count) {
    if (slot == nullptr || *slot == nullptr) return;
    char16_t* destination = *slot;
    for (std::size_t i = 0; i < count; ++i) {
        destination[i] = source[i];
    }
    destination[count] = 0;
}

}  // namespace

void CopyToHostBuffer(HostSlot slot, const WideText& text) {
    WriteUnits(slot, text.c_str(), text.size());
}

void CopyListToHostBuffer(HostSlot slot, const WideText& list, std::size_t capacity) {
    if (capacity == 0) return;
    std::size_t count = list.size();
    if (count >= capacity) {
        // Cut at the last separator that leaves room for the terminator;
        // with none, not even the first name fits.
        count = capacity - 1;
        while (count > 0 && list.c_str()[count] != u',') --count;
    }
    WriteUnits(slot, list.c_str(), count);
}

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
