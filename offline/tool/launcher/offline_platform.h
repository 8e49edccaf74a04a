// What the launcher and the doctor need of the operating system: their own
// folder, a private sandbox, where a running Steam leaves its client, the
// game's process, and a trial start of a client library in a process of its own.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "binary_facts.h"

namespace offline_tool {

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

// After the game: on Linux, moves what it made in the sandbox's HOME (all
// but .steam) into the user's HOME, never over a file of the user's. One
// line per path that could not go where the game put it; `keepSandbox` set
// when something could not be moved at all, so the sandbox must stay.
std::vector<std::string> KeepGameFiles(const std::string& sandbox, bool* keepSandbox);

// Why a real Steam seems to run for this user ("Steam's process 1234 (steam)"), or "".
std::string RealSteamRunning();

// Runs `command` with `environment` added and waits for it, calling `tick`
// about every 20 ms; an interrupt, termination, hangup or quit of ours is
// passed on to the game. On Linux the game runs in a process group of its
// own, and the wait lasts until that group is empty (a wrapper may put the
// game in the background). Its exit status, 128 + the signal when a signal
// ended it, or -1 with `error` when it could not start.
int RunGame(const std::vector<std::string>& command, const Environment& environment,
            const std::function<void()>& tick, std::string* error);

// steambridge's trace lines from the game during RunGame, in order: on
// Windows taken from what its OutputDebugStringA calls sent (unless another
// debug monitor runs), on Linux the trace file steambridge writes, which
// StandInForSteam points into the sandbox. Read before the sandbox goes.
std::vector<std::string> GameDebugOutput();

struct TrialResult {
    enum Outcome { Started, Failed, NotHere } outcome;
    std::string text;  // why it failed, or why it cannot be tried here
};
// Loads the client library `library` in a process of its own over the
// offline client (`client`, else the one beside this program), in `folder`,
// and starts it as a C++ game of the release `start` names does.
TrialResult TrialStart(const std::string& library, const std::string& folder,
                       const std::string& client, const GameStart& start);

// Windows: puts HKCU\Software\Valve\Steam\ActiveProcess back as a run cut
// short left it, from the backup the run saved; an exit status.
int RestoreActiveProcess();

}  // namespace offline_tool
