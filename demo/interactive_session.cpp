// Commands of the prompt, each mapped to one host call through HostCalls.
#include <cstdio>
#include <string>
#include <vector>

#include "console.h"
#include "host_calls.h"
#include "sessions.h"

namespace {

// More frames than this at once would keep the prompt away for seconds.
constexpr int32_t kMaxPumpFrames = 600;

using Words = std::vector<std::string>;

struct Command {
    const char* name;
    const char* arguments;
    const char* summary;
    // False when the arguments are not valid; the usage line is then shown.
    bool (*run)(HostCalls& host, const Words& words, const std::string& line);
};

bool Number(const Words& words, std::size_t at, int32_t* value) {
    return at < words.size() && ParseInt32(words[at], value);
}

bool RunUnlock(HostCalls& host, const Words& words, const std::string&) {
    int32_t number = 0;
    if (words.size() != 2 || !Number(words, 1, &number)) return false;
    host.Unlock(number);
    return true;
}

bool RunStat(HostCalls& host, const Words& words, const std::string&) {
    int32_t index = 0;
    int32_t value = 0;
    if (words.size() != 3 || !Number(words, 1, &index) || !Number(words, 2, &value)) return false;
    host.SetStat(index, value);
    return true;
}

bool RunAdd(HostCalls& host, const Words& words, const std::string&) {
    int32_t index = 0;
    int32_t delta = 0;
    if (words.size() != 3 || !Number(words, 1, &index) || !Number(words, 2, &delta)) return false;
    host.AddToStat(index, delta);
    return true;
}

bool RunData(HostCalls& host, const Words& words, const std::string&) {
    int32_t number = 0;
    if (words.size() != 2 || !Number(words, 1, &number)) return false;
    host.ShowAchievement(number);
    return true;
}

bool RunBoard(HostCalls& host, const Words& words, const std::string& line) {
    if (words.size() < 2) return false;
    host.NameBoard(TextAfterFirstWord(line));
    return true;
}

bool RunUpload(HostCalls& host, const Words& words, const std::string&) {
    int32_t score = 0;
    if (words.size() != 2 || !Number(words, 1, &score)) return false;
    host.Upload(score);
    return true;
}

bool RunPump(HostCalls& host, const Words& words, const std::string&) {
    int32_t frames = 1;
    if (words.size() > 2 || (words.size() == 2 && !Number(words, 1, &frames))) return false;
    if (frames < 1 || frames > kMaxPumpFrames) return false;
    host.Pump(frames);
    return true;
}

bool RunStatus(HostCalls& host, const Words& words, const std::string&) {
    if (words.size() != 1) return false;
    host.ShowStatus();
    host.ShowKeptScore();
    return true;
}

bool RunOverlay(HostCalls& host, const Words& words, const std::string&) {
    if (words.size() != 1) return false;
    host.OpenOverlay();
    return true;
}

bool RunReset(HostCalls& host, const Words& words, const std::string&) {
    if (words.size() != 1) return false;
    host.ResetAll();
    return true;
}

bool RunHelp(HostCalls&, const Words&, const std::string&);

const Command kCommands[] = {
    {"unlock", "N", "unlock achievement N (1-61): steamAchievement", RunUnlock},
    {"stat", "I V", "set stat I (0-23) to V: steamStat", RunStat},
    {"add", "I D", "add D to stat I: steamStatIncrease", RunAdd},
    {"data", "N", "show achievement N: steamAchievementData", RunData},
    {"board", "NAME", "find or create the leaderboard NAME: steamSetLeaderBoardName", RunBoard},
    {"upload", "S", "upload score S to the current board: steamUploadScore", RunUpload},
    {"pump", "[frames]", "run 1 (or 1-600) frames: steamCallBacks each", RunPump},
    {"status", "", "steamStatus, steamAchievementsCount, steamLeaderBoardFound, steamUserID",
     RunStatus},
    {"overlay", "", "open the achievements overlay: steamAchievementsOverlay", RunOverlay},
    {"reset", "", "reset every stat and achievement: steamResetAchievements", RunReset},
    {"help", "", "this list", RunHelp},
    {"quit", "", "stop Steam (steamFree) and leave; so does end of input", nullptr},
};

std::string Usage(const Command& command) {
    std::string usage = command.name;
    if (command.arguments[0] != '\0') usage += std::string(" ") + command.arguments;
    return usage;
}

bool RunHelp(HostCalls&, const Words& words, const std::string&) {
    if (words.size() != 1) return false;
    for (const Command& command : kCommands) {
        std::printf("  %-16s %s\n", Usage(command).c_str(), command.summary);
    }
    return true;
}

const Command* FindCommand(const std::string& name) {
    for (const Command& command : kCommands)
        if (name == command.name) return &command;
    return nullptr;
}

}  // namespace

int RunInteractiveSession(const BridgeExports& steam) {
    HostCalls host(steam);
    transcript::Section("Interactive session");
    transcript::Say("Each command makes one host call; 'help' lists them, 'quit' ends.");
    if (!host.Start()) {
        transcript::Say("Steam is unavailable: there is nothing to call. Ending.");
        host.Stop();
        return 0;
    }
    std::string line;
    while (true) {
        transcript::Flush();
        if (!ReadCommandLine("steam> ", &line)) {
            transcript::Say("end of input: quitting");
            break;
        }
        const Words words = SplitWords(line);
        if (words.empty()) continue;
        const Command* command = FindCommand(words[0]);
        if (!command) {
            transcript::Say("unknown command \"" + words[0] + "\"; type help for the list");
            continue;
        }
        if (!command->run) break;
        if (!command->run(host, words, line))
            transcript::Say("usage: " + Usage(*command) + "  (" + command->summary + ")");
    }
    host.Stop();
    transcript::Flush();
    return 0;
}
