// libFuzzer target: arbitrary bytes as a scenario file. Beside crashes, leaks
// and sanitizer reports, it checks the loader's contract: a refusal is one
// line naming the file, and an accepted scenario holds what the format
// promises the model.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <system_error>

#include "scenario.h"

namespace {

// A folder of files the inputs may include by name: one to merge, one that
// includes itself, one that is not JSON. It sits beside the executable, under
// a fixed name: its path reaches the loader's traced comparisons, which steer
// libFuzzer's mutations, so a name that changed per process (its ID, a random
// suffix) would change a seed's run. Left in place: a second run beside this
// one writes the same files and may be reading them.
std::string g_fileName;

void MakeIncludeFolder() {
    namespace fs = std::filesystem;
    std::error_code failure;
    const fs::path folder =
        fs::read_symlink("/proc/self/exe", failure).parent_path() / "fuzz_scenario_files";
    fs::create_directories(folder, failure);
    std::ofstream(folder / "base.json")
        << R"({"achievements": [{"name": "ACH_BASE"}], "stats": [{"name": "STAT_BASE"}],)"
           R"( "app": {"id": 7}, "leaderboards": [{"name": "Board"}]})";
    std::ofstream(folder / "loop.json") << R"({"include": ["loop.json"]})";
    std::ofstream(folder / "broken.json") << "{\"clock\": ";
    g_fileName = (folder / "fuzz.json").string();
}

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "\n==fuzz_scenario== %s\n%s\n", what, detail.c_str());
    std::abort();
}

void CheckAccepted(const offline_steam::Scenario& s) {
    std::set<std::string> achievements, stats, boards;
    for (const offline_steam::AchievementSchema& a : s.achievements) {
        if (a.name.empty() || a.name.size() > 127) Fail("bad achievement name", a.name);
        if (!achievements.insert(a.name).second) Fail("duplicate achievement", a.name);
    }
    for (const offline_steam::StatSchema& stat : s.stats) {
        if (stat.name.empty() || stat.name.size() > 127) Fail("bad stat name", stat.name);
        if (!stats.insert(stat.name).second) Fail("duplicate stat", stat.name);
        if (stat.min && stat.max && *stat.min > *stat.max) Fail("stat min above max", stat.name);
        if (stat.maxChange && !(*stat.maxChange > 0)) Fail("maxChange not positive", stat.name);
    }
    for (const offline_steam::AchievementSchema& a : s.achievements) {
        if (a.progress &&
            (stats.count(a.progress->stat) == 0 || !(a.progress->min < a.progress->max)))
            Fail("bad progress", a.name);
    }
    for (const offline_steam::LeaderboardSchema& board : s.leaderboards) {
        if (!boards.insert(board.name).second) Fail("duplicate leaderboard", board.name);
    }
    for (const auto& entry : s.start.achievements)
        if (achievements.count(entry.first) == 0) Fail("unknown start achievement", entry.first);
    for (const auto& entry : s.start.stats)
        if (stats.count(entry.first) == 0) Fail("unknown start stat", entry.first);
    for (const auto& entry : s.start.leaderboards)
        if (boards.count(entry.first) == 0) Fail("unknown start board", entry.first);
    for (const std::string& name : s.expect.achievementsUnlocked)
        if (achievements.count(name) == 0) Fail("unknown expected achievement", name);
    for (const auto& entry : s.expect.stats) {
        if (stats.count(entry.first) == 0) Fail("unknown expected stat", entry.first);
        if (!entry.second.min && !entry.second.max) Fail("empty bounds", entry.first);
    }
    if (s.appId == 0 || s.language.empty()) Fail("bad app", s.language);
    if (s.faults.statsDelayFrames < 0 || s.faults.leaderboardLatencyFrames < 0)
        Fail("negative frames", "");
    for (const offline_steam::StoreFault& fault : s.faults.stores)
        if (fault.fromCall < 1) Fail("store fault before the first call", "");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeIncludeFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    offline_steam::Scenario scenario;
    std::string error = "unset";
    const bool accepted = offline_steam::ParseScenario(text, g_fileName, &scenario, &error);
    if (accepted) {
        if (!error.empty()) Fail("accepted with an error", error);
        CheckAccepted(scenario);
        return 0;
    }
    if (error.empty() || error == "unset") Fail("refused without a message", "");
    if (error.find('\n') != std::string::npos || error.find('\r') != std::string::npos)
        Fail("a refusal of more than one line", error);
    // "<file>: line <n>: ...": the input itself or a file it included.
    const std::size_t line = error.find(": line ");
    if (line == 0 || line == std::string::npos)
        Fail("a refusal that names no file and line", error);
    return 0;
}
