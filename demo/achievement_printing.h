// An achievement record as transcript lines.
#pragma once

#include <string>

#include "achievement_card.h"

// "#33 Storyteller".
std::string CardTitle(const AchievementCard& card);
// "unlocked on 2023-11-14 22:13:20 UTC", "locked", ...
std::string CardState(const AchievementCard& card);
// "3/3 STAT_ENDINGS" or "not linked to a stat".
std::string CardProgress(const AchievementCard& card);
// Every field the bridge filled, one per line, as transcript effects.
void PrintCard(const AchievementCard& card);
