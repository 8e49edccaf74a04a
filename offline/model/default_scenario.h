// Our game's scenario file, compiled in (generated from game_schema.json).
#pragma once

namespace steam_sim {

extern const char* const kDefaultScenarioText;
extern const char* const kDefaultScenarioName;

}  // namespace steam_sim
