// steamAchievementData: one achievement's texts, state and progress for the
// host. It reads the tables only and never calls Steam.
#include "achievements/achievement_table.h"
#include "achievements/stat_table.h"
#include "bridge/module_state.h"
#include "steambridge.h"
#include "text/text_copy.h"
#include "text/wide_text.h"

using namespace steambridge;

extern "C" {

STEAMBRIDGE_API void STEAMBRIDGE_CALL steamAchievementData(int32_t number, AchievementInfo* info) {
    const StatLinks* links = Module().links;
    if (!links || !info || number < 1 || number > kAchievementCount) return;

    // Fields are written one by one: the host's bytes between and after them
    // are not ours.
    const AchievementRow& row = AchievementTable()[number - 1];
    info->achieved = row.achieved ? 1 : 0;
    info->index = number - 1;
    // Texts are converted as UTF-8 whatever they hold, the start titles too.
    CopyToHostBuffer(info->nameSlot, Utf8ToWide(row.name));
    CopyToHostBuffer(info->descriptionSlot, Utf8ToWide(row.description));

    const int statIndex = links->StatFor(number);
    info->hasStat = statIndex >= 0 ? 1 : 0;
    if (statIndex >= 0) {
        const StatRow& stat = StatTable()[statIndex];
        info->statMin = 0;
        info->statMax = stat.maxValue;
        info->statValue = stat.intValue;
        CopyToHostBuffer(info->statNameSlot, Utf8ToWide(stat.apiName));
    }
    if (info->achieved == 1) info->unlockTime = row.unlockTime;
}

}  // extern "C"
