// The scenario the simulated Steam serves: the game's achievements, stats and
// leaderboards, the user and the faults. Without a scenario file it is our own
// game's (offline/examples/game_schema.json, compiled in).
#pragma once

#include <string>

#include "scenario.h"

namespace offline_steam {

// Our game's scenario, parsed once from the compiled-in file.
const Scenario& BuiltInScenario();

// The scenario in force; ResetSimulator() puts the built-in one back.
const Scenario& ActiveScenario();
void SetActiveScenario(const Scenario& scenario);

int AchievementCount();
int StatCount();
// Indexes are 0-based, in schema order; callers check the range.
const AchievementSchema& AchievementAt(int index);
const StatSchema& StatAt(int index);
// -1 when the name is not in the schema (names compare exactly).
int AchievementIndex(const char* apiName);
int StatIndex(const char* apiName);

// A display text in `language`, else in Steam's UI language (the scenario's
// user.uiLanguage), else in English, else the first there is.
const std::string& Localized(const LocalizedText& text, const std::string& language);

}  // namespace offline_steam
