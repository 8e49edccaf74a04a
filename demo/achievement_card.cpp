// Filling the host's AchievementInfo record through steamAchievementData.
#include "achievement_card.h"

#include "support/utf_reference.h"

namespace {

// Reads at most `units` units: a text the bridge left unterminated must not
// make the host read past its buffer.
std::string BufferText(const SteamBridgeChar16* buffer, int units) {
    SteamBridgeChar16 copy[AchievementCard::kDescriptionUnits + 1] = {};
    for (int i = 0; i < units && buffer[i] != 0; ++i) copy[i] = buffer[i];
    return utf_reference::Utf8FromUtf16(copy);
}

}  // namespace

AchievementCard::AchievementCard()
    : name_(),
      description_(),
      statName_(),
      nameBuffer_(name_),
      descriptionBuffer_(description_),
      statNameBuffer_(statName_),
      info_() {}

void AchievementCard::Fill(const BridgeExports& steam, int32_t number, bool withTexts) {
    number_ = number;
    for (SteamBridgeChar16& unit : name_) unit = 0;
    for (SteamBridgeChar16& unit : description_) unit = 0;
    for (SteamBridgeChar16& unit : statName_) unit = 0;
    // The bridge writes some fields only under a condition: start from zero
    // so nothing left from an earlier achievement shows through.
    info_ = AchievementInfo();
    // The bridge always writes the index when it fills the record.
    info_.index = -1;
    if (withTexts) {
        info_.nameSlot = &nameBuffer_;
        info_.descriptionSlot = &descriptionBuffer_;
        info_.statNameSlot = &statNameBuffer_;
    }
    steam.steamAchievementData(number, &info_);
}

std::string AchievementCard::Name() const { return BufferText(name_, kNameUnits); }

std::string AchievementCard::Description() const {
    return BufferText(description_, kDescriptionUnits);
}

std::string AchievementCard::StatName() const { return BufferText(statName_, kStatNameUnits); }
