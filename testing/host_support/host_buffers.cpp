// Guarded host buffers.
#include "host_support/host_buffers.h"

HostBuffer::HostBuffer(std::size_t capacity)
    : units_(capacity + kGuardUnits, kUntouched), capacity_(capacity), pointer_(units_.data()) {}

SteamBridgeChar16* const* HostBuffer::Prepare(SlotMode mode) {
    for (SteamBridgeChar16& unit : units_) unit = kUntouched;
    mode_ = mode;
    pointer_ = mode == SlotMode::Buffer ? units_.data() : nullptr;
    return slot();
}

bool HostBuffer::SlotKept() const {
    return pointer_ == (mode_ == SlotMode::Buffer ? units_.data() : nullptr);
}

bool HostBuffer::Untouched() const {
    for (SteamBridgeChar16 unit : units_)
        if (unit != kUntouched) return false;
    return true;
}

bool HostBuffer::GuardsUntouched() const {
    for (std::size_t i = capacity_; i < units_.size(); ++i)
        if (units_[i] != kUntouched) return false;
    return true;
}

std::size_t HostBuffer::TerminatorAt() const {
    std::size_t i = 0;
    while (i < capacity_ && units_[i] != 0) ++i;
    return i;
}

bool HostBuffer::Terminated() const { return TerminatorAt() < capacity_; }

std::u16string HostBuffer::Text() const {
    if (!Terminated()) return u"<unterminated>";
    return std::u16string(units_.data(), TerminatorAt());
}

bool HostBuffer::UntouchedAfterText() const {
    if (!Terminated()) return false;
    for (std::size_t i = TerminatorAt() + 1; i < units_.size(); ++i)
        if (units_[i] != kUntouched) return false;
    return true;
}
