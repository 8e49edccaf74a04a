// The schema's names as the calls meet them: looked up, with a warning for
// the journal when a name is unknown or names a stat of a type the call
// does not take.
#pragma once

#include <string>

namespace offline_steam::calls {

// "NAME" in quotes, or "a null name".
std::string QuotedName(const char* name);

// The achievement's index; -1, with a warning naming `call`, when the schema has none so named.
int KnownAchievement(const char* call, const char* name);

// The stat's index when the schema has a stat so named of an accepted type;
// -1, with a warning naming `call`, otherwise.
int KnownStat(const char* call, const char* name, bool acceptsInt, bool acceptsFloat,
              bool acceptsAverageRate);

}  // namespace offline_steam::calls
