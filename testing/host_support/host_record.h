// An AchievementInfo record as a host lays it out, between guard bytes.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

#include "steambridge.h"

// Every byte of the record and its guards starts as kSentinel, except the
// three slots; the bytes sit in an exactly sized heap block, so
// AddressSanitizer also sees a write past the guards.
class HostRecord {
public:
    static constexpr std::size_t kGuardBytes = 32;
    static constexpr unsigned char kSentinel = 0xA5;

    struct Field {
        std::size_t offset;
        std::size_t size;
    };
    using Fields = std::vector<Field>;

    HostRecord();
    HostRecord(SteamBridgeChar16* const* name, SteamBridgeChar16* const* description,
               SteamBridgeChar16* const* statName);

    // Presets every byte anew with these slots.
    AchievementInfo* Prepare(SteamBridgeChar16* const* name, SteamBridgeChar16* const* description,
                             SteamBridgeChar16* const* statName);
    AchievementInfo* info();
    const AchievementInfo& info() const;

    bool Unchanged() const { return bytes_ == before_; }
    // Offsets from the record's start of the bytes that changed outside the
    // `written` fields (guards: negative, or at and past the record's size),
    // each followed by a space; empty when none did.
    std::string ChangedOutside(std::initializer_list<Fields> written) const;

private:
    void PutSlot(std::size_t offset, SteamBridgeChar16* const* slot);

    std::vector<unsigned char> bytes_;
    std::vector<unsigned char> before_;
};

// What steamAchievementData may write: some fields always, the stat's when
// hasStat, the unlock time when achieved.
extern const HostRecord::Fields kWrittenAlways;
extern const HostRecord::Fields kWrittenWithStat;
extern const HostRecord::Fields kWrittenWhenAchieved;
