// The launcher's Windows side: its own folder, sandboxes, finding the game,
// and the doctor's trial start. The registry key is in active_process_key.cpp,
// the game's process in processes.cpp, its debug output in debug_monitor.cpp.
#include "offline_platform.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "binary_facts.h"
#include "command_line.h"

namespace offline_tool {

std::string OwnDirectory() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return ".";
    return std::filesystem::path(path).parent_path().string();
}

bool IsExecutableFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string MakeSandbox(std::string* error) {
    char base[MAX_PATH + 1] = {};
    if (GetTempPathA(sizeof base, base) == 0) {
        *error = "no temporary folder";
        return std::string();
    }
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string folder = std::string(base) + "steambridge-offline-" +
                                   std::to_string(GetCurrentProcessId()) + "-" +
                                   std::to_string(GetTickCount() + attempt);
        if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
    }
    *error = std::string("cannot make a sandbox folder under ") + base;
    return std::string();
}

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

// The game's HOME is the user's own on Windows: nothing of it is in the sandbox.
std::vector<std::string> KeepGameFiles(const std::string&, bool* keepSandbox) {
    *keepSandbox = false;
    return {};
}

std::string ResolveGame(const std::string& game) {
    if (game.find_first_of("\\/") != std::string::npos) return game;
    char found[MAX_PATH * 2] = {};
    const DWORD length = SearchPathA(nullptr, game.c_str(), ".exe", sizeof found, found, nullptr);
    return length > 0 && length < sizeof found ? std::string(found) : game;
}

TrialResult TrialStart(const std::string& library, const std::string& folder,
                       const std::string& client, const GameStart& start) {
    const Architecture architecture = ArchitectureOf(library);
    if (IsElf(library) || (architecture != Architecture::X86 && architecture != Architecture::X64))
        return {TrialResult::NotHere,
                "not a Windows x86 library; the Linux launcher tries Linux ones"};
    const std::string trial = OwnDirectory() +
                              (architecture == Architecture::X86 ? "\\x86" : "\\x64") +
                              "\\steambridge-offline-trial.exe";
    if (!IsExecutableFile(trial))
        return {TrialResult::NotHere, "no trial start for " +
                                          std::string(ArchitectureName(architecture)) +
                                          " libraries: " + trial + " is missing"};
    std::string error;
    const std::string sandbox = MakeSandbox(&error);
    if (sandbox.empty()) return {TrialResult::Failed, error};
    Environment unused;
    const int refusal = StandInForSteam(library, sandbox, client, &unused, &error);
    if (refusal != 0) {
        RemoveTree(sandbox);
        // A real Steam (or another launcher) serves a game; the offline one
        // cannot be tried beside it.
        return {refusal == kSteamRunning || refusal == kLauncherBusy ? TrialResult::NotHere
                                                                     : TrialResult::Failed,
                error};
    }
    const std::string answerPath = sandbox + "\\answer.txt";
    // The game's start travels as RELEASE, 1 or 0 (a start list or not), and
    // the versions joined by commas (no version string holds one).
    std::string versions;
    for (const std::string& version : start.versions)
        versions += (versions.empty() ? "" : ",") + version;
    const int status = RunGame(
        {trial, library, folder, answerPath, start.release, start.hasStartList ? "1" : "0",
         versions},
        Environment(), [] {}, &error);
    StopStandingIn();
    std::ifstream file(answerPath, std::ios::binary);
    std::string answer((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();
    RemoveTree(sandbox);
    if (status < 0) return {TrialResult::Failed, error};
    if (answer.empty())
        return {TrialResult::Failed,
                "the start gave no answer (status " + std::to_string(status) + ")"};
    return answer == "ok" ? TrialResult{TrialResult::Started, std::string()}
                          : TrialResult{TrialResult::Failed, answer};
}

}  // namespace offline_tool
