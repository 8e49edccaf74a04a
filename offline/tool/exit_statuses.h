// Every exit status of steambridge-offline. The help prints this list and
// the docs' table is held to it by a test, so a status is added here alone.
#pragma once

// X(identifier, number, "meaning")
#define OFFLINE_EXIT_STATUSES(X)                                                                 \
    X(kAllMet, 0, "every expectation met")                                                       \
    X(kExpectationFailed, 1, "an expectation was not met")                                       \
    X(kUsage, 2, "usage error: unknown command or option, missing argument")                     \
    X(kScenarioRefused, 3, "the scenario (or, for run, the state file) was refused")             \
    X(kJournalUnreadable, 4, "the journal cannot be read")                                       \
    X(kNeverStarted, 5, "the game never started Steam, or Valve's library refused its start")    \
    X(kOutputFailed, 6,                                                                          \
      "a report or state file cannot be written (for run, also a save during it)")               \
    X(kGameMissing, 7, "run: no such game, or not executable")                                   \
    X(kNoClientForGame, 8, "run: no offline client for the game's architecture")                 \
    X(kSteamRunning, 9, "run: a running Steam, or a run cut short, holds what run would change") \
    X(kCannotStart, 10, "doctor: the game cannot start Steam")                                   \
    X(kStateInUse, 11, "run: another run held the state file for the whole wait")                \
    X(kLauncherBusy, 12, "Windows: another launcher of this user holds the registry key")

namespace offline_tool {

enum ExitStatus : int {
#define OFFLINE_EXIT_STATUS_ENUM(identifier, number, meaning) identifier = number,
    OFFLINE_EXIT_STATUSES(OFFLINE_EXIT_STATUS_ENUM)
#undef OFFLINE_EXIT_STATUS_ENUM
};

struct ExitStatusEntry {
    ExitStatus status;
    const char* meaning;
};

inline constexpr ExitStatusEntry kExitStatuses[] = {
#define OFFLINE_EXIT_STATUS_ENTRY(identifier, number, meaning) {identifier, meaning},
    OFFLINE_EXIT_STATUSES(OFFLINE_EXIT_STATUS_ENTRY)
#undef OFFLINE_EXIT_STATUS_ENTRY
};

// report and doctor answer with the statuses above. run answers with the
// game's own status when the game fails, with 0 when all went well, and
// otherwise with its own number: 100 + the status, out of the game's way.
constexpr int kRunStatusBase = 100;

}  // namespace offline_tool
