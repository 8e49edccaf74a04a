// Host-side UTF-16 buffers with guard units, as a game hands them over.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "steambridge.h"

// Every unit of a buffer, guards included, starts as this.
constexpr SteamBridgeChar16 kUntouched = 0xBEEF;

// The three ways the header lets a host hand a text slot over.
enum class SlotMode { Buffer, HoldsNull, Null };

// A buffer of `capacity` units followed by guard units, allocated to the exact
// size so AddressSanitizer also sees a write past the guards. The slot
// variable belongs to the host as well and must never be re-pointed; the slot
// points into the object, so it is neither copied nor moved.
class HostBuffer {
public:
    static constexpr std::size_t kGuardUnits = 16;

    explicit HostBuffer(std::size_t capacity = 256);
    HostBuffer(const HostBuffer&) = delete;
    HostBuffer& operator=(const HostBuffer&) = delete;

    // Presets every unit and returns the slot to hand over in `mode`.
    SteamBridgeChar16* const* Prepare(SlotMode mode);
    // The slot as last prepared (a buffer slot until then).
    SteamBridgeChar16* const* slot() { return mode_ == SlotMode::Null ? nullptr : &pointer_; }

    bool Given() const { return mode_ == SlotMode::Buffer; }
    bool SlotKept() const;
    bool Untouched() const;
    bool GuardsUntouched() const;
    // A terminator lies within the capacity.
    bool Terminated() const;
    // The units before the terminator, or "<unterminated>" when there is none.
    std::u16string Text() const;
    // Terminated, and nothing written after the terminator.
    bool UntouchedAfterText() const;

private:
    std::size_t TerminatorAt() const;

    std::vector<SteamBridgeChar16> units_;
    std::size_t capacity_;
    SlotMode mode_ = SlotMode::Buffer;
    SteamBridgeChar16* pointer_;
};
