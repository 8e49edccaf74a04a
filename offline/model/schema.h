// The scenario the simulated Steam serves: the game's achievements, stats and
// leaderboards, the user and the faults. Without a scenario file it is our own
// game's (offline/examples/game_schema.json, compiled in).
#pragma once

#include <string>

#include "scenario.h"

namespace steam_sim {

// Our game's scenario, parsed once from the compiled-in file.
const Scenario& builtInScenario();

// The scenario in force; resetSimulator() puts the built-in one back.
const Scenario& activeScenario();
void setActiveScenario(const Scenario& scenario);

int achievementCount();
int statCount();
// Indexes are 0-based, in schema order; callers check the range.
const AchievementSchema& achievementAt(int index);
const StatSchema& statAt(int index);
// -1 when the name is not in the schema (names compare exactly).
int achievementIndex(const char* apiName);
int statIndex(const char* apiName);

// A display text in `language`, else in English, else the first there is.
const std::string& localized(const LocalizedText& text, const std::string& language);

}  // namespace steam_sim
