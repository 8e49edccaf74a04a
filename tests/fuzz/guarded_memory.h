// Host buffers and AchievementInfo records wrapped in sentinel-filled guards.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "script.h"
#include "steambridge.h"

namespace fuzz {

constexpr char16_t kSentinelUnit = 0xBEEF;
constexpr unsigned char kSentinelByte = 0xA5;

// A UTF-16 buffer of `capacity` units followed by guard units, allocated to the
// exact size so AddressSanitizer also sees a write past the guards. The slot
// variable belongs to the host as well and must never be re-pointed.
class GuardedUnits {
public:
    static constexpr std::size_t kGuardUnits = 16;

    explicit GuardedUnits(std::size_t capacity)
        : units_(capacity + kGuardUnits), capacity_(capacity) {}

    // Presets every unit and returns the slot to hand over in `mode`.
    SteamBridgeChar16* const* Prepare(SlotMode mode) {
        for (char16_t& unit : units_) unit = kSentinelUnit;
        mode_ = mode;
        pointer_ = mode == kSlotBuffer ? units_.data() : nullptr;
        return mode == kSlotNull ? nullptr : &pointer_;
    }
    bool Given() const { return mode_ == kSlotBuffer; }
    bool SlotKept() const { return pointer_ == (mode_ == kSlotBuffer ? units_.data() : nullptr); }
    bool Untouched() const {
        for (char16_t unit : units_)
            if (unit != kSentinelUnit) return false;
        return true;
    }
    bool GuardsUntouched() const {
        for (std::size_t i = capacity_; i < units_.size(); ++i)
            if (units_[i] != kSentinelUnit) return false;
        return true;
    }
    // Units before the first 0 within the capacity; false when there is none.
    bool Terminated(std::u16string& text) const {
        for (std::size_t i = 0; i < capacity_; ++i) {
            if (units_[i] == 0) {
                text.assign(units_.data(), i);
                return true;
            }
        }
        return false;
    }
    // Nothing was written after the terminator (only meaningful when terminated).
    bool UntouchedAfterText(std::size_t length) const {
        for (std::size_t i = length + 1; i < units_.size(); ++i)
            if (units_[i] != kSentinelUnit) return false;
        return true;
    }

private:
    std::vector<char16_t> units_;
    std::size_t capacity_;
    SlotMode mode_ = kSlotBuffer;
    SteamBridgeChar16* pointer_ = nullptr;
};

// An AchievementInfo with guard bytes on both sides, every byte preset to the
// sentinel except the three slot fields.
class GuardedRecord {
public:
    static constexpr std::size_t kGuardBytes = 32;
    static constexpr std::size_t kSize = kGuardBytes + sizeof(AchievementInfo) + kGuardBytes;

    GuardedRecord() : bytes_(kSize) {}

    AchievementInfo* Prepare(SteamBridgeChar16* const* name, SteamBridgeChar16* const* description,
                             SteamBridgeChar16* const* statName) {
        std::memset(bytes_.data(), kSentinelByte, kSize);
        SetSlot(offsetof(AchievementInfo, nameSlot), name);
        SetSlot(offsetof(AchievementInfo, descriptionSlot), description);
        SetSlot(offsetof(AchievementInfo, statNameSlot), statName);
        before_ = bytes_;
        return reinterpret_cast<AchievementInfo*>(bytes_.data() + kGuardBytes);
    }
    const AchievementInfo& Info() const {
        return *reinterpret_cast<const AchievementInfo*>(bytes_.data() + kGuardBytes);
    }
    // Record offset of the first byte, at or after `from`, that differs from
    // its preset value while it is not inside [written, written + length) of
    // any of the `fields`; -1 when there is none. Guards count as outside.
    struct Field {
        std::size_t offset;
        std::size_t length;
    };
    long FirstStrayWrite(const std::vector<Field>& fields) const {
        for (std::size_t i = 0; i < kSize; ++i) {
            if (bytes_[i] == before_[i]) continue;
            const bool inRecord = i >= kGuardBytes && i < kGuardBytes + sizeof(AchievementInfo);
            bool allowed = false;
            for (const Field& field : fields) {
                const std::size_t offset = i - kGuardBytes;
                if (inRecord && offset >= field.offset && offset < field.offset + field.length)
                    allowed = true;
            }
            if (!allowed) return static_cast<long>(i) - static_cast<long>(kGuardBytes);
        }
        return -1;
    }

private:
    void SetSlot(std::size_t offset, SteamBridgeChar16* const* slot) {
        std::memcpy(bytes_.data() + kGuardBytes + offset, &slot, sizeof slot);
    }

    // Exactly sized heap blocks, so a write past the guards reaches ASan's redzone.
    std::vector<unsigned char> bytes_;
    std::vector<unsigned char> before_;
};

}  // namespace fuzz
