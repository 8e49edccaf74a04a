// AchievementCard, the wording of achievement states and progress shared by
// every mode, and UtcDateTime by calendar arithmetic.
#include "achievement_card.h"

#include <cstdio>

#include "console.h"
#include "host_support/utf_reference.h"

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

std::string CardTitle(const AchievementCard& card) {
    return "#" + std::to_string(card.number()) + " " + card.Name();
}

std::string CardState(const AchievementCard& card) {
    const AchievementInfo& info = card.info();
    if (info.achieved != 1) return "locked";
    // The unlock time follows the unlock with the next answered store.
    if (info.unlockTime == 0) return "unlocked (unlock time not known yet)";
    return "unlocked on " + UtcDateTime(info.unlockTime);
}

std::string CardProgress(const AchievementCard& card) {
    const AchievementInfo& info = card.info();
    if (info.hasStat != 1) return "not linked to a stat";
    return std::to_string(info.statValue) + "/" + std::to_string(info.statMax) + " " +
           card.StatName() + " (min " + std::to_string(info.statMin) + ")";
}

void PrintCard(const AchievementCard& card) {
    const AchievementInfo& info = card.info();
    transcript::Effect("index:       " + std::to_string(info.index));
    transcript::Effect("name:        " + card.Name());
    transcript::Effect("description: " + card.Description());
    transcript::Effect("state:       " + CardState(card));
    transcript::Effect("progress:    " + CardProgress(card));
}

// Done by hand: gmtime differs between the C runtimes we build for and is
// not reentrant.
namespace {

struct CivilDate {
    int64_t year;
    unsigned month;
    unsigned day;
};

// Days since 1970-01-01 to a Gregorian date (Howard Hinnant's algorithm).
CivilDate CivilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = static_cast<unsigned>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const unsigned month =
        static_cast<unsigned>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return CivilDate{year, month, day};
}

}  // namespace

std::string UtcDateTime(uint32_t secondsSince1970) {
    const int64_t seconds = secondsSince1970;
    const CivilDate date = CivilFromDays(seconds / 86400);
    const int64_t secondOfDay = seconds % 86400;
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld UTC",
                  static_cast<long long>(date.year), date.month, date.day,
                  static_cast<long long>(secondOfDay / 3600),
                  static_cast<long long>(secondOfDay / 60 % 60),
                  static_cast<long long>(secondOfDay % 60));
    return text;
}
