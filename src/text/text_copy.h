// Texts copied into storage of a fixed size: the UTF-16 buffers a host hands
// over by reference, and the UTF-8 fields of the bridge's tables.
#pragma once

#include <cstddef>

#include "text/wide_text.h"

namespace steambridge {

// Address of the host's pointer variable, which holds its buffer's address.
using HostSlot = char16_t* const*;

// Writes the units then a 0 unit into *slot. A null slot, or one holding
// null, is skipped. Host memory is never allocated, freed or re-pointed, and
// the buffer is assumed large enough: its size is the host's contract.
void CopyToHostBuffer(HostSlot slot, const WideText& text);

// As CopyToHostBuffer into a buffer of `capacity` units, terminator included,
// for a comma-separated list of names: a list too long for it is cut after
// the last whole name that fits, and a first name too long leaves an empty
// text. Nothing is written when `capacity` is 0.
void CopyListToHostBuffer(HostSlot slot, const WideText& list, std::size_t capacity);

// Copies `text` into `field` of `capacity` bytes, always terminated. A text
// that does not fit is cut before the first character that would not fit
// whole, so the field stays valid UTF-8. Null is stored as the empty text.
void CopyUtf8Field(char* field, std::size_t capacity, const char* text);

}  // namespace steambridge
