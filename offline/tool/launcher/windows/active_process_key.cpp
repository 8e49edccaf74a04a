// Valve's library finds a running Steam's client through
// HKCU\Software\Valve\Steam\ActiveProcess (SteamClientDll for 32-bit games,
// SteamClientDll64 for 64-bit ones, and Steam's pid), so the launcher writes
// that key for the run, after saving its old values in a backup file that
// `restore` can apply when a run was cut short. HKCU\Software is the same key
// for 32- and 64-bit processes, so one launcher serves both.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "binary_facts.h"
#include "command_line.h"
#include "offline_platform.h"
#include "processes.h"

namespace offline_tool {
namespace {

const char* const kActiveProcessKey = "Software\\Valve\\Steam\\ActiveProcess";
const char* const kValues[] = {"SteamClientDll", "SteamClientDll64", "pid"};

struct SavedValue {
    bool present = false;
    DWORD type = 0;
    std::vector<unsigned char> data;
};

struct SavedKey {
    bool existed = false;
    SavedValue values[3];
};

// What StandInForSteam changed, until StopStandingIn puts it back.
bool g_standingIn = false;
SavedKey g_saved;

std::string BackupPath() {
    const char* local = std::getenv("LOCALAPPDATA");
    std::string folder = local != nullptr && local[0] != '\0'
                             ? local
                             : std::filesystem::temp_directory_path().string();
    return folder + "\\steambridge-offline\\ActiveProcess.backup.json";
}

bool ProcessAlive(DWORD pid) {
    if (pid == 0 || pid == GetCurrentProcessId()) return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) return false;
    DWORD code = 0;
    const bool alive = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return alive;
}

SavedKey ReadKey() {
    SavedKey saved;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kActiveProcessKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return saved;
    saved.existed = true;
    for (int i = 0; i < 3; ++i) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key, kValues[i], nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            continue;
        SavedValue& value = saved.values[i];
        value.data.resize(size);
        if (RegQueryValueExA(key, kValues[i], nullptr, &type, value.data.data(), &size) !=
            ERROR_SUCCESS)
            continue;
        value.data.resize(size);
        value.present = true;
        value.type = type;
    }
    RegCloseKey(key);
    return saved;
}

DWORD PidOf(const SavedKey& saved) {
    const SavedValue& pid = saved.values[2];
    if (!pid.present || pid.type != REG_DWORD || pid.data.size() != sizeof(DWORD)) return 0;
    DWORD value = 0;
    std::memcpy(&value, pid.data.data(), sizeof value);
    return value;
}

bool WriteBackup(const SavedKey& saved, std::string* error) {
    nlohmann::json backup = {{"existed", saved.existed}, {"values", nlohmann::json::object()}};
    for (int i = 0; i < 3; ++i) {
        const SavedValue& value = saved.values[i];
        if (value.present)
            backup["values"][kValues[i]] = {{"type", value.type}, {"data", value.data}};
    }
    const std::filesystem::path path = BackupPath();
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    if (!WriteAtomically(path.string(), backup.dump(2) + "\n", error)) return false;
    return true;
}

bool ReadBackup(SavedKey* saved, std::string* error) {
    std::ifstream file(BackupPath(), std::ios::binary);
    if (!file) {
        *error = "no backup";
        return false;
    }
    const nlohmann::json backup = nlohmann::json::parse(file, nullptr, false);
    if (!backup.is_object() || !backup.contains("existed") || !backup["existed"].is_boolean() ||
        !backup.contains("values") || !backup["values"].is_object()) {
        *error = BackupPath() + " is not a backup this tool wrote";
        return false;
    }
    saved->existed = backup["existed"].get<bool>();
    for (int i = 0; i < 3; ++i) {
        const auto found = backup["values"].find(kValues[i]);
        if (found == backup["values"].end()) continue;
        if (!found->is_object() || !found->contains("type") || !found->contains("data")) {
            *error = BackupPath() + " is not a backup this tool wrote";
            return false;
        }
        saved->values[i].present = true;
        saved->values[i].type = found->at("type").get<DWORD>();
        saved->values[i].data = found->at("data").get<std::vector<unsigned char>>();
    }
    return true;
}

// The key as it was: values that were there back, ours gone; a key that was
// not there removed.
bool PutBack(const SavedKey& saved) {
    if (!saved.existed) {
        const LONG removed = RegDeleteKeyA(HKEY_CURRENT_USER, kActiveProcessKey);
        return removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kActiveProcessKey, 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return false;
    bool done = true;
    for (int i = 0; i < 3; ++i) {
        const SavedValue& value = saved.values[i];
        if (value.present) {
            done &= RegSetValueExA(key, kValues[i], 0, value.type, value.data.data(),
                                   static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
        } else {
            const LONG removed = RegDeleteValueA(key, kValues[i]);
            done &= removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND;
        }
    }
    RegCloseKey(key);
    return done;
}

LONG SetText(HKEY key, const char* name, const std::string& text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

}  // namespace

int StandInForSteam(const std::string& game, const std::string& /*sandbox*/,
                    const std::string& client, Environment* environment, std::string* error) {
    const Architecture architecture = ArchitectureOf(game);
    if (IsElf(game) || (architecture != Architecture::X86 && architecture != Architecture::X64)) {
        *error = game + " is " + (IsElf(game) ? "a Linux program" : "not a Windows x86 program") +
                 "; this launcher serves 32- and 64-bit Windows games";
        return kNoClientForGame;
    }
    const std::string clients[2] = {OwnDirectory() + "\\x86\\steamclient.dll",
                                    OwnDirectory() + "\\x64\\steamclient64.dll"};
    const int wanted = architecture == Architecture::X86 ? 0 : 1;
    const std::string gameClient = client.empty() ? clients[wanted] : client;
    if (!IsExecutableFile(gameClient)) {
        *error = "the offline client for " + std::string(ArchitectureName(architecture)) +
                 " games is missing: " + gameClient;
        return kNoClientForGame;
    }
    const SavedKey saved = ReadKey();
    if (ProcessAlive(PidOf(saved))) {
        *error = "a running Steam (process " + std::to_string(PidOf(saved)) +
                 ") owns HKCU\\Software\\Valve\\Steam\\ActiveProcess: quit Steam, then run again";
        return kSteamRunning;
    }
    if (std::filesystem::exists(BackupPath())) {
        *error = "an earlier run left HKCU\\Software\\Valve\\Steam\\ActiveProcess changed: run '" +
                 std::string(kProgram) + " restore' first";
        return kSteamRunning;
    }
    if (!WriteBackup(saved, error)) return kOutputFailed;
    g_saved = saved;
    g_standingIn = true;
    WatchConsoleEvents();

    // A key made here is volatile: should everything else fail, a restart
    // of Windows removes it. A key that was there keeps its kind.
    HKEY key = nullptr;
    LONG failure = RegCreateKeyExA(HKEY_CURRENT_USER, kActiveProcessKey, 0, nullptr,
                                   REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (failure == ERROR_SUCCESS) {
        const DWORD pid = GetCurrentProcessId();
        failure = RegSetValueExA(key, "pid", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&pid),
                                 sizeof pid);
        for (int i = 0; i < 2 && failure == ERROR_SUCCESS; ++i) {
            const std::string path = i == wanted ? gameClient : clients[i];
            if (IsExecutableFile(path))
                failure = SetText(key, kValues[i],
                                  std::filesystem::absolute(path).make_preferred().string());
        }
        RegCloseKey(key);
    }
    if (failure != ERROR_SUCCESS) {
        StopStandingIn();
        *error = "cannot write HKCU\\Software\\Valve\\Steam\\ActiveProcess: error " +
                 std::to_string(failure);
        return kOutputFailed;
    }
    environment->clear();
    return 0;
}

void StopStandingIn() {
    if (!g_standingIn) return;
    g_standingIn = false;
    if (PutBack(g_saved)) {
        std::error_code ignored;
        std::filesystem::remove(BackupPath(), ignored);
    }
}

std::string RealSteamRunning() {
    const DWORD pid = PidOf(ReadKey());
    return ProcessAlive(pid) ? "process " + std::to_string(pid) +
                                   " in HKCU\\Software\\Valve\\Steam\\ActiveProcess"
                             : std::string();
}

int RestoreActiveProcess() {
    SavedKey saved;
    std::string error;
    if (!std::filesystem::exists(BackupPath())) {
        std::printf(
            "nothing to restore: no run left HKCU\\Software\\Valve\\Steam\\ActiveProcess "
            "changed\n");
        return kAllMet;
    }
    if (!ReadBackup(&saved, &error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        return kOutputFailed;
    }
    if (!PutBack(saved)) {
        std::fprintf(stderr, "%s: cannot write HKCU\\Software\\Valve\\Steam\\ActiveProcess\n",
                     kProgram);
        return kOutputFailed;
    }
    std::error_code ignored;
    std::filesystem::remove(BackupPath(), ignored);
    std::printf(
        "HKCU\\Software\\Valve\\Steam\\ActiveProcess holds its values from before the run again\n");
    return kAllMet;
}

}  // namespace offline_tool
