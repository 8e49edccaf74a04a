// Wording of achievement states and progress, shared by every mode.
#include "achievement_printing.h"

#include "transcript.h"
#include "utc_time.h"

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
