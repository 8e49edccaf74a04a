// An offline run's files, as the process's environment names them:
//   STEAMBRIDGE_OFFLINE_SCENARIO  the scenario, in place of the built-in one
//   STEAMBRIDGE_OFFLINE_STATE     the user's state between runs: read at the
//                                 start, written after each accepted store
//   STEAMBRIDGE_OFFLINE_JOURNAL   what the game did (journal.h), appended to
// When any is named, the journal becomes the model's sink (model_events.h).
// A file that is refused makes Steam's start fail with why. Without those
// variables nothing here acts.
#pragma once

namespace offline_steam::run_files {

// Once per process, before the library's first request, with the
// ModelGuard held. Harmless to call again.
void Prepare();

}  // namespace offline_steam::run_files
