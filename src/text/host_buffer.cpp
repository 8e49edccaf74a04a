// CopyToHostBuffer and CopyListToHostBuffer: unit-by-unit copies into
// host-owned UTF-16 buffers.
#include "text/host_buffer.h"

#include <cstddef>

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

}  // namespace steambridge
