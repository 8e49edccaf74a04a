// Host-side UTF-16 buffers with guard units, as a game would hand them over.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "steambridge.h"

constexpr SteamBridgeChar16 kUntouched = 0xBEEF;

// A buffer of `capacity` units followed by guard units, all preset to
// kUntouched, and the host slot that points at it.
class HostBuffer {
public:
    explicit HostBuffer(std::size_t capacity = 256, std::size_t guards = 16)
        : units_(capacity + guards, kUntouched), capacity_(capacity), pointer_(units_.data()) {}

    SteamBridgeChar16* const* slot() { return &pointer_; }
    const SteamBridgeChar16* data() const { return units_.data(); }

    bool Untouched() const {
        for (SteamBridgeChar16 unit : units_)
            if (unit != kUntouched) return false;
        return true;
    }
    bool GuardsUntouched() const {
        for (std::size_t i = capacity_; i < units_.size(); ++i)
            if (units_[i] != kUntouched) return false;
        return true;
    }
    // The terminated text, or the marker "<unterminated>" when the buffer has
    // no terminator within its capacity.
    std::u16string Text() const {
        for (std::size_t i = 0; i < capacity_; ++i)
            if (units_[i] == 0)
                return std::u16string(units_.begin(),
                                      units_.begin() + static_cast<std::ptrdiff_t>(i));
        return u"<unterminated>";
    }
    // Units after the terminator that the bridge must not have written.
    bool UntouchedAfterText() const {
        std::size_t i = 0;
        while (i < capacity_ && units_[i] != 0) ++i;
        for (++i; i < units_.size(); ++i)
            if (units_[i] != kUntouched) return false;
        return true;
    }

private:
    std::vector<SteamBridgeChar16> units_;
    std::size_t capacity_;
    SteamBridgeChar16* pointer_;
};
