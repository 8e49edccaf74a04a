// Valve's library finds a running Steam's client through
// HKCU\Software\Valve\Steam\ActiveProcess (SteamClientDll for 32-bit games,
// SteamClientDll64 for 64-bit ones, and Steam's pid), so the launcher writes
// that key for the run, after saving its old values and the ones it writes in
// a backup file that `restore` can apply when a run was cut short. HKCU\Software
// is the same key for 32- and 64-bit processes, so one launcher serves both.
// One launcher of a user at a time holds the key, by a named mutex.
#include <windows.h>
// After windows.h, which it needs.
#include <sddl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
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
const char* const kKeyName = "HKCU\\Software\\Valve\\Steam\\ActiveProcess";
const char* const kValues[] = {"SteamClientDll", "SteamClientDll64", "pid"};

struct SavedValue {
    bool present = false;
    DWORD type = 0;
    std::vector<unsigned char> data;

    bool operator==(const SavedValue& other) const {
        return present == other.present && (!present || (type == other.type && data == other.data));
    }
};

struct SavedKey {
    bool existed = false;
    SavedValue values[3];
};

// What a run found in the key and what it wrote there.
struct Backup {
    SavedKey before;
    SavedKey wrote;
};

// What StandInForSteam changed, until StopStandingIn puts it back. The
// console handler's thread may put it back while the main thread works, so
// both go through g_lock.
std::mutex g_lock;
bool g_standingIn = false;
Backup g_backup;
HANDLE g_launcherMutex = nullptr;

std::string BackupPath() {
    const char* local = std::getenv("LOCALAPPDATA");
    std::string folder = local != nullptr && local[0] != '\0'
                             ? local
                             : std::filesystem::temp_directory_path().string();
    return folder + "\\steambridge-offline\\ActiveProcess.backup.json";
}

// The user's SID in text, else the user's name: the key is the user's, so
// one launcher per user.
std::string UserName() {
    std::string name;
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        std::vector<unsigned char> buffer(size);
        char* text = nullptr;
        if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
            ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
            name = text;
            LocalFree(text);
        }
        CloseHandle(token);
    }
    if (name.empty()) {
        char user[257] = {};
        DWORD length = sizeof user;
        name = GetUserNameA(user, &length) ? user : "user";
    }
    return name;
}

// Takes the user's launcher mutex; false when another launcher holds it. One
// that ended without letting go (killed) leaves it abandoned, which is ours.
bool TakeLauncherMutex() {
    if (g_launcherMutex != nullptr) return true;
    HANDLE mutex =
        CreateMutexA(nullptr, FALSE, ("Local\\steambridge-offline-" + UserName()).c_str());
    if (mutex == nullptr) return true;  // no mutex to be had: nothing to share it with
    const DWORD taken = WaitForSingleObject(mutex, 0);
    if (taken != WAIT_OBJECT_0 && taken != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return false;
    }
    g_launcherMutex = mutex;
    return true;
}

void ReleaseLauncherMutex() {
    if (g_launcherMutex == nullptr) return;
    ReleaseMutex(g_launcherMutex);
    CloseHandle(g_launcherMutex);
    g_launcherMutex = nullptr;
}

std::string AnotherLauncher() {
    return std::string("another ") + kProgram + " of this user (run, doctor or restore) holds " +
           kKeyName + ": wait for it to end, then try again";
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

nlohmann::json ValuesJson(const SavedKey& saved) {
    nlohmann::json values = nlohmann::json::object();
    for (int i = 0; i < 3; ++i)
        if (saved.values[i].present)
            values[kValues[i]] = {{"type", saved.values[i].type}, {"data", saved.values[i].data}};
    return values;
}

bool WriteBackup(const Backup& backup, std::string* error) {
    const nlohmann::json json = {{"existed", backup.before.existed},
                                 {"values", ValuesJson(backup.before)},
                                 {"wrote", ValuesJson(backup.wrote)}};
    const std::filesystem::path path = BackupPath();
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    return WriteAtomically(path.string(), json.dump(2) + "\n", error);
}

// The values under `member` of a backup; "" or what is wrong, by its path.
std::string ReadValues(const nlohmann::json& backup, const char* member, SavedKey* saved) {
    const auto values = backup.find(member);
    if (values == backup.end() || !values->is_object())
        return std::string("'") + member + "' is missing or not an object";
    for (int i = 0; i < 3; ++i) {
        const auto found = values->find(kValues[i]);
        if (found == values->end()) continue;
        const std::string where = std::string("'") + member + "." + kValues[i];
        if (!found->is_object()) return where + "' is not an object";
        const auto type = found->find("type");
        if (type == found->end() || !type->is_number_unsigned() ||
            type->get<unsigned long long>() > 11)
            return where + ".type' is not a registry value type (0 to 11)";
        const auto data = found->find("data");
        if (data == found->end() || !data->is_array())
            return where + ".data' is not a list of bytes";
        SavedValue& value = saved->values[i];
        for (const nlohmann::json& byte : *data) {
            if (!byte.is_number_unsigned() || byte.get<unsigned long long>() > 255)
                return where + ".data' is not a list of bytes";
            value.data.push_back(static_cast<unsigned char>(byte.get<unsigned>()));
        }
        value.present = true;
        value.type = type->get<DWORD>();
    }
    return std::string();
}

// The backup file; false with a one-line error naming the file and what is wrong.
bool ReadBackup(Backup* backup, bool* anyWritten, std::string* error) {
    std::ifstream file(BackupPath(), std::ios::binary);
    if (!file) {
        *error = BackupPath() + ": cannot be read";
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    std::string wrong;
    if (json.is_discarded() || !json.is_object()) {
        wrong = "is not a JSON object";
    } else if (!json.contains("existed") || !json["existed"].is_boolean()) {
        wrong = "'existed' is missing or not true/false";
    } else {
        backup->before.existed = json["existed"].get<bool>();
        wrong = ReadValues(json, "values", &backup->before);
        // A backup of an older launcher names only the old values: every
        // value there counts as the run's own.
        *anyWritten = !json.contains("wrote");
        if (wrong.empty() && json.contains("wrote"))
            wrong = ReadValues(json, "wrote", &backup->wrote);
    }
    if (wrong.empty()) return true;
    *error = BackupPath() + ": " + wrong +
             "; the key was left as it is: mend the file, or delete "
             "it once the key holds Steam's values again";
    return false;
}

// What PutBack did.
struct PutBackOutcome {
    bool keyGone = false;           // the key was deleted since the run
    bool failed = false;            // a write was refused
    std::vector<std::string> kept;  // values someone changed since the run, left as they are
};

// The key as it was, as far as the run's values are still there: each value
// that still holds what the run wrote gets its old value back (or goes, if
// there was none); one that someone changed since is left. A key the run
// made goes only when nothing else is left in it. `anyWritten`: every value
// counts as the run's (a backup that does not say what the run wrote).
PutBackOutcome PutBack(const Backup& backup, bool anyWritten) {
    PutBackOutcome outcome;
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, kActiveProcessKey, 0,
                                      KEY_SET_VALUE | KEY_QUERY_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND) {
        outcome.keyGone = true;
        return outcome;
    }
    if (opened != ERROR_SUCCESS) {
        outcome.failed = true;
        return outcome;
    }
    const SavedKey now = ReadKey();
    for (int i = 0; i < 3; ++i) {
        const SavedValue& old = backup.before.values[i];
        const bool ours = anyWritten || (backup.wrote.values[i].present &&
                                         now.values[i] == backup.wrote.values[i]);
        if (!ours) {
            if (!(now.values[i] == old)) outcome.kept.push_back(kValues[i]);
            continue;
        }
        if (old.present) {
            outcome.failed |= RegSetValueExA(key, kValues[i], 0, old.type, old.data.data(),
                                             static_cast<DWORD>(old.data.size())) != ERROR_SUCCESS;
        } else {
            const LONG removed = RegDeleteValueA(key, kValues[i]);
            outcome.failed |= removed != ERROR_SUCCESS && removed != ERROR_FILE_NOT_FOUND;
        }
    }
    DWORD subkeys = 0;
    DWORD values = 0;
    const bool empty =
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
        subkeys == 0 && values == 0;
    RegCloseKey(key);
    if (!backup.before.existed && empty && !anyWritten) {
        const LONG removed = RegDeleteKeyA(HKEY_CURRENT_USER, kActiveProcessKey);
        outcome.failed |= removed != ERROR_SUCCESS && removed != ERROR_FILE_NOT_FOUND;
    }
    return outcome;
}

LONG SetText(HKEY key, const char* name, const std::string& text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

SavedValue TextValue(const std::string& text) {
    return {true, REG_SZ, std::vector<unsigned char>(text.begin(), text.end() + 1)};
}

void StopStandingInLocked() {
    if (!g_standingIn) return;
    g_standingIn = false;
    const PutBackOutcome outcome = PutBack(g_backup, false);
    if (!outcome.failed) {
        std::error_code ignored;
        std::filesystem::remove(BackupPath(), ignored);
    }
    ReleaseLauncherMutex();
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

    // The check, the backup and the write are one step: no other launcher
    // of this user reads the key between them.
    std::lock_guard<std::mutex> hold(g_lock);
    if (!TakeLauncherMutex()) {
        *error = AnotherLauncher();
        return kLauncherBusy;
    }
    Backup backup;
    backup.before = ReadKey();
    if (ProcessAlive(PidOf(backup.before))) {
        ReleaseLauncherMutex();
        *error = "a running Steam (process " + std::to_string(PidOf(backup.before)) + ") owns " +
                 kKeyName + ": quit Steam, then run again";
        return kSteamRunning;
    }
    if (std::filesystem::exists(BackupPath())) {
        ReleaseLauncherMutex();
        *error = "an earlier run left " + std::string(kKeyName) + " changed: run '" +
                 std::string(kProgram) + " restore' first";
        return kSteamRunning;
    }
    const DWORD pid = GetCurrentProcessId();
    backup.wrote.existed = true;
    backup.wrote.values[2] = {
        true, REG_DWORD,
        std::vector<unsigned char>(reinterpret_cast<const unsigned char*>(&pid),
                                   reinterpret_cast<const unsigned char*>(&pid) + sizeof pid)};
    std::string paths[2];
    for (int i = 0; i < 2; ++i) {
        const std::string path = i == wanted ? gameClient : clients[i];
        if (!IsExecutableFile(path)) continue;
        paths[i] = std::filesystem::absolute(path).make_preferred().string();
        backup.wrote.values[i] = TextValue(paths[i]);
    }
    if (!WriteBackup(backup, error)) {
        ReleaseLauncherMutex();
        return kOutputFailed;
    }
    g_backup = backup;
    g_standingIn = true;
    WatchConsoleEvents();

    // A key made here is volatile: should everything else fail, a restart
    // of Windows removes it. A key that was there keeps its kind.
    HKEY key = nullptr;
    LONG failure = RegCreateKeyExA(HKEY_CURRENT_USER, kActiveProcessKey, 0, nullptr,
                                   REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (failure == ERROR_SUCCESS) {
        failure = RegSetValueExA(key, "pid", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&pid),
                                 sizeof pid);
        for (int i = 0; i < 2 && failure == ERROR_SUCCESS; ++i)
            if (!paths[i].empty()) failure = SetText(key, kValues[i], paths[i]);
        RegCloseKey(key);
    }
    if (failure != ERROR_SUCCESS) {
        StopStandingInLocked();
        *error = "cannot write " + std::string(kKeyName) + ": error " + std::to_string(failure);
        return kOutputFailed;
    }
    environment->clear();
    return 0;
}

void StopStandingIn() {
    std::lock_guard<std::mutex> hold(g_lock);
    StopStandingInLocked();
}

std::string RealSteamRunning() {
    const DWORD pid = PidOf(ReadKey());
    return ProcessAlive(pid) ? "process " + std::to_string(pid) + " in " + kKeyName : std::string();
}

int RestoreActiveProcess() {
    std::lock_guard<std::mutex> hold(g_lock);
    if (!TakeLauncherMutex()) {
        std::fprintf(stderr, "%s: %s\n", kProgram, AnotherLauncher().c_str());
        return kLauncherBusy;
    }
    struct Release {
        ~Release() { ReleaseLauncherMutex(); }
    } release;
    if (!std::filesystem::exists(BackupPath())) {
        std::printf("nothing to restore: no run left %s changed\n", kKeyName);
        return kAllMet;
    }
    Backup backup;
    bool anyWritten = false;
    std::string error;
    if (!ReadBackup(&backup, &anyWritten, &error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        return kOutputFailed;
    }
    const DWORD steam = PidOf(ReadKey());
    if (ProcessAlive(steam)) {
        std::fprintf(stderr,
                     "%s: a running Steam (process %lu) owns %s now: quit Steam, then run "
                     "restore again\n",
                     kProgram, static_cast<unsigned long>(steam), kKeyName);
        return kSteamRunning;
    }
    const PutBackOutcome outcome = PutBack(backup, anyWritten);
    if (outcome.failed) {
        std::fprintf(stderr, "%s: cannot write %s\n", kProgram, kKeyName);
        return kOutputFailed;
    }
    std::error_code ignored;
    std::filesystem::remove(BackupPath(), ignored);
    if (outcome.keyGone) {
        std::printf(
            "%s was deleted since the run, so nothing of the run is left in it; the stale "
            "backup is removed\n",
            kKeyName);
    } else if (!outcome.kept.empty()) {
        std::string kept;
        for (const std::string& name : outcome.kept) kept += (kept.empty() ? "" : ", ") + name;
        std::printf(
            "%s: what the run wrote is put back; %s changed since the run and are "
            "left as they are\n",
            kKeyName, kept.c_str());
    } else {
        std::printf("%s holds its values from before the run again\n", kKeyName);
    }
    return kAllMet;
}

}  // namespace offline_tool
