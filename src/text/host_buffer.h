// CopyToHostBuffer, CopyListToHostBuffer: write a text into the UTF-16 buffer
// a host hands over by reference.
#pragma once

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

}  // namespace steambridge
