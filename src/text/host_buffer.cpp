// CopyToHostBuffer: unit-by-unit copies into host-owned UTF-16 buffers.
#include "text/host_buffer.h"

#include <cstddef>

namespace steambridge {

void CopyToHostBuffer(HostSlot slot, const WideText& text) {
    if (slot == nullptr || *slot == nullptr) return;
    char16_t* destination = *slot;
    const char16_t* source = text.c_str();
    const std::size_t count = text.size();
    for (std::size_t i = 0; i < count; ++i) {
        destination[i] = source[i];
    }
    destination[count] = 0;
}

}  // namespace steambridge
