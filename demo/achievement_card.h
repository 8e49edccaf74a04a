// One achievement as the demo shows it: the record the bridge filled, its
// wording in the transcript, and unlock times as UTC date-times.
#pragma once

#include <cstdint>
#include <string>

#include "host_support/bridge_library.h"

class AchievementCard {
public:
    // Buffer sizes in UTF-16 units, terminators included, as the header asks.
    static constexpr int kNameUnits = STEAMBRIDGE_NAME_UNITS;
    static constexpr int kDescriptionUnits = STEAMBRIDGE_DESCRIPTION_UNITS;
    static constexpr int kStatNameUnits = STEAMBRIDGE_STAT_NAME_UNITS;

    AchievementCard();
    // The slots point into this object.
    AchievementCard(const AchievementCard&) = delete;
    AchievementCard& operator=(const AchievementCard&) = delete;

    // Clears the record and buffers, then asks the bridge for `number`.
    // `withTexts` false leaves the slots null, which the bridge skips.
    void Fill(const BridgeExports& steam, int32_t number, bool withTexts = true);

    int32_t number() const { return number_; }
    // False when the bridge wrote nothing (not running, or no such number).
    bool Written() const { return info_.index >= 0; }
    const AchievementInfo& info() const { return info_; }
    std::string Name() const;
    std::string Description() const;
    std::string StatName() const;

private:
    int32_t number_ = 0;
    SteamBridgeChar16 name_[kNameUnits];
    SteamBridgeChar16 description_[kDescriptionUnits];
    SteamBridgeChar16 statName_[kStatNameUnits];
    SteamBridgeChar16* nameBuffer_;
    SteamBridgeChar16* descriptionBuffer_;
    SteamBridgeChar16* statNameBuffer_;
    AchievementInfo info_;
};

// "#33 Storyteller".
std::string CardTitle(const AchievementCard& card);
// "unlocked on 2023-11-14 22:13:20 UTC", "locked", ...
std::string CardState(const AchievementCard& card);
// "3/3 STAT_ENDINGS" or "not linked to a stat".
std::string CardProgress(const AchievementCard& card);
// Every field the bridge filled, one per line, as transcript effects.
void PrintCard(const AchievementCard& card);

// "2023-11-14 22:13:20 UTC".
std::string UtcDateTime(uint32_t secondsSince1970);
