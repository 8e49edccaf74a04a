// Our game's scenario file, compiled in (generated from game_schema.json).
#pragma once

namespace offline_steam {

extern const char* const kDefaultScenarioText;
extern const char* const kDefaultScenarioName;

}  // namespace offline_steam
