// Putting the bridge and the simulator into a known state, outside every timed region.
#pragma once

#include <string>
#include <vector>

namespace bench {

// Stops the bridge, resets the simulator to its defaults, starts the bridge
// again, pumps until the user's stats have arrived and fetches the direct
// side's interfaces. The call log is empty afterwards.
void StartFreshSession();

// Delivers every queued record (a record is due at the next frame) and
// empties the call log.
void PumpAndClear();
void ClearCallLog();

// The calls logged so far: whole lines, or export names only.
std::vector<std::string> LoggedCalls(bool withArguments);

}  // namespace bench
