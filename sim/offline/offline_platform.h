// What the launcher and the doctor need of the operating system: their own
// folder, a private sandbox, where a running Steam leaves its client, the
// game's process, and a trial start of a client library in a process of its own.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace steam_offline {

using Environment = std::vector<std::pair<std::string, std::string>>;

// The folder of the running program, ending without a separator.
std::string OwnDirectory();
bool IsExecutableFile(const std::string& path);
// A new folder of our own under the temporary directory; empty, with `error`, when none.
std::string MakeSandbox(std::string* error);
void RemoveTree(const std::string& path);

// The game as given, or found on the search path when it names no folder.
std::string ResolveGame(const std::string& game);

// Points Valve's library in `game` at the offline client, as a running Steam
// would: on Linux a HOME in `sandbox` with ~/.steam (the game keeping its
// own data, config and cache folders), on Windows the registry key, its old
// values saved first. `client` names another offline client than the one
// beside this program. Fills the game's `environment`; 0, or the status
// (kNoClientForGame, kSteamRunning, kOutputFailed) with `error`.
int StandInForSteam(const std::string& game, const std::string& sandbox, const std::string& client,
                    Environment* environment, std::string* error);
// Undoes what StandInForSteam changed outside the sandbox; harmless when nothing.
void StopStandingIn();

// What a running Steam leaves where Valve's Linux library looks for it, inside
// `home`: the client library (a link to `client`) and its process ID (ours).
bool PointSteamAt(const std::string& home, const std::string& client, std::string* error);
// Why a real Steam seems to run for this user ("Steam's process 1234 (steam)"), or "".
std::string RealSteamRunning();

// Runs `command` with `environment` added and waits for it, calling `tick`
// about every 20 ms; an interrupt or termination of ours is passed on to
// the game. Its exit status, 128 + the signal when a signal ended it, or -1
// with `error` when it could not start.
int RunGame(const std::vector<std::string>& command, const Environment& environment,
            const std::function<void()>& tick, std::string* error);

// Loads `library` in a process of its own, with HOME at `home` and the
// working folder at `folder`, and starts it as a game does: "" when it
// started, else what went wrong.
std::string TrialStart(const std::string& library, const std::string& home,
                       const std::string& folder);

}  // namespace steam_offline
