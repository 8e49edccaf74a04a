// The launcher's POSIX side: /proc for its own folder, a sandbox under
// TMPDIR, ~/.steam as Valve's Linux library reads it, fork and exec.
#include "offline_platform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "binary_facts.h"
#include "command_line.h"
#include "game_start.h"

namespace offline_tool {
namespace {

volatile sig_atomic_t g_child = 0;
// Where the game's steambridge traces, once StandInForSteam chose it.
std::string g_traceFile;

void PassSignalOn(int signal) {
    if (g_child > 0) kill(static_cast<pid_t>(g_child), signal);
}

std::string RealHome() {
    const char* home = std::getenv("HOME");
    return home != nullptr ? home : "";
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    return static_cast<bool>(file);
}

void SleepMilliseconds(long milliseconds) {
    const timespec pause{0, milliseconds * 1000 * 1000};
    nanosleep(&pause, nullptr);
}

}  // namespace

std::string OwnDirectory() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

bool IsExecutableFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

std::string MakeSandbox(std::string* error) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") +
                          "/steambridge-offline-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        *error = "cannot make a sandbox folder under " + pattern.substr(0, pattern.rfind('/')) +
                 ": " + std::strerror(errno);
        return std::string();
    }
    return pattern;
}

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

namespace {

// What a running Steam leaves where Valve's Linux library looks for it, inside
// `home`: the client library (a link to `client`) and its process ID (ours).
bool PointSteamAt(const std::string& home, const std::string& client, std::string* error) {
    namespace fs = std::filesystem;
    std::error_code failure;
    const fs::path steam = fs::path(home) / ".steam";
    fs::create_directories(steam / "sdk64", failure);
    if (!failure)
        fs::create_symlink(fs::absolute(client), steam / "sdk64" / "steamclient.so", failure);
    if (failure) {
        *error = "cannot prepare " + steam.string() + ": " + failure.message();
        return false;
    }
    if (!WriteFile((steam / "steam.pid").string(), std::to_string(getpid()) + "\n")) {
        *error = "cannot write " + (steam / "steam.pid").string();
        return false;
    }
    return true;
}

// The settings that keep the game's own data, config and cache folders where
// the user's real home has them while HOME points at the sandbox.
Environment UserFolders() {
    const std::string home = RealHome();
    const std::pair<const char*, const char*> folders[] = {{"XDG_DATA_HOME", "/.local/share"},
                                                           {"XDG_CONFIG_HOME", "/.config"},
                                                           {"XDG_CACHE_HOME", "/.cache"},
                                                           {"XDG_STATE_HOME", "/.local/state"}};
    Environment environment;
    for (const auto& [name, underHome] : folders) {
        const char* set = std::getenv(name);
        if (set != nullptr && set[0] != '\0') {
            environment.emplace_back(name, set);
        } else if (!home.empty()) {
            environment.emplace_back(name, home + underHome);
        }
    }
    return environment;
}

}  // namespace

std::string ResolveGame(const std::string& game) {
    if (game.find('/') != std::string::npos) return game;
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = folders.find(':', start);
        const std::string folder = folders.substr(start, end - start);
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + game;
        if (IsExecutableFile(candidate)) return candidate;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return game;
}

int StandInForSteam(const std::string& game, const std::string& sandbox, const std::string& client,
                    Environment* environment, std::string* error) {
    // A script runs some program we cannot see; anything but x86-64 ELF we can, and refuse.
    const Architecture architecture = ArchitectureOf(game);
    if (architecture != Architecture::Unknown &&
        !(architecture == Architecture::X64 && IsElf(game))) {
        *error = game + " is a " + std::string(IsElf(game) ? "" : "Windows ") +
                 ArchitectureName(architecture) +
                 " program; this release's offline client serves x86-64 Linux games";
        return kNoClientForGame;
    }
    const std::string clientPath =
        client.empty() ? OwnDirectory() + "/linux64/steamclient.so" : client;
    std::error_code missing;
    if (!std::filesystem::exists(clientPath, missing)) {
        *error = "the offline client is missing: " + clientPath;
        return kNoClientForGame;
    }
    const std::string home = sandbox + "/home";
    if (!PointSteamAt(home, clientPath, error)) return kOutputFailed;
    *environment = UserFolders();
    environment->emplace_back("HOME", home);
    g_traceFile = sandbox + "/bridge-trace.log";
    environment->emplace_back("STEAMBRIDGE_TRACE_FILE", g_traceFile);
    return 0;
}

std::vector<std::string> GameDebugOutput() {
    std::vector<std::string> lines;
    if (g_traceFile.empty()) return lines;
    std::ifstream file(g_traceFile, std::ios::binary);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

// Nothing outside the sandbox changed.
void StopStandingIn() {}

std::string RealSteamRunning() {
    const std::string home = RealHome();
    if (home.empty()) return std::string();
    std::ifstream pidFile(home + "/.steam/steam.pid");
    long pid = 0;
    if (!(pidFile >> pid) || pid <= 0 || pid == getpid()) return std::string();
    if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) return std::string();
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return "process " + std::to_string(pid) + (name.empty() ? "" : " (" + name + ")") + " in " +
           home + "/.steam/steam.pid";
}

int RunGame(const std::vector<std::string>& command, const Environment& environment,
            const std::function<void()>& tick, std::string* error) {
    // A pipe closed on exec tells the parent whether exec itself failed.
    int report[2];
    if (pipe(report) != 0 || fcntl(report[1], F_SETFD, FD_CLOEXEC) != 0) {
        *error = std::string("cannot start the game: ") + std::strerror(errno);
        return -1;
    }
    const pid_t child = fork();
    if (child < 0) {
        *error = std::string("cannot start the game: ") + std::strerror(errno);
        return -1;
    }
    if (child == 0) {
        close(report[0]);
        for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> argv;
        for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        const int failure = errno;
        (void)!write(report[1], &failure, sizeof failure);
        _exit(127);
    }
    close(report[1]);
    int execFailure = 0;
    const bool execFailed = read(report[0], &execFailure, sizeof execFailure) == sizeof execFailure;
    close(report[0]);
    g_child = child;
    struct sigaction passOn {};
    passOn.sa_handler = PassSignalOn;
    sigemptyset(&passOn.sa_mask);
    struct sigaction oldInterrupt {
    }, oldTerminate{};
    sigaction(SIGINT, &passOn, &oldInterrupt);
    sigaction(SIGTERM, &passOn, &oldTerminate);
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(child, &status, WNOHANG)) == 0 || (ended < 0 && errno == EINTR)) {
        tick();
        SleepMilliseconds(20);
    }
    g_child = 0;
    sigaction(SIGINT, &oldInterrupt, nullptr);
    sigaction(SIGTERM, &oldTerminate, nullptr);
    tick();
    if (execFailed) {
        *error = "cannot start " + command[0] + ": " + std::strerror(execFailure);
        return -1;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

namespace {

// The trial in a child process: "" when the library started, else why not.
std::string TrialInChild(const std::string& library, const std::string& home,
                         const std::string& folder, const GameStart& start) {
    int answer[2];
    if (pipe(answer) != 0) return std::string("cannot make a pipe: ") + std::strerror(errno);
    const pid_t child = fork();
    if (child < 0) return std::string("cannot fork: ") + std::strerror(errno);
    if (child == 0) {
        close(answer[0]);
        std::string result;
        setenv("HOME", home.c_str(), 1);
        for (const char* name : {"STEAMBRIDGE_OFFLINE_SCENARIO", "STEAMBRIDGE_OFFLINE_STATE",
                                 "STEAMBRIDGE_OFFLINE_JOURNAL"})
            unsetenv(name);
        // Valve's library talks on stdout; the doctor's lines must stay its own.
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) {
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
        }
        if (chdir(folder.c_str()) != 0) result = "cannot enter " + folder;
        void* handle = result.empty() ? dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr;
        if (result.empty() && handle == nullptr) {
            const char* why = dlerror();
            result = std::string("cannot load it: ") + (why ? why : "unknown error");
        }
        if (handle != nullptr) {
            const GameStartResult started =
                StartAsGame([handle](const char* name) { return dlsym(handle, name); }, start);
            result = started.why;
            using Shutdown = void (*)();
            if (started.up)
                if (auto shutdown = reinterpret_cast<Shutdown>(dlsym(handle, "SteamAPI_Shutdown")))
                    shutdown();
        }
        result = result.empty() ? "ok" : result;
        (void)!write(answer[1], result.data(), result.size());
        _exit(0);
    }
    close(answer[1]);
    std::string result;
    char buffer[512];
    ssize_t got = 0;
    while ((got = read(answer[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<std::size_t>(got));
    close(answer[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (result.empty())
        return WIFSIGNALED(status)
                   ? "the start crashed (signal " + std::to_string(WTERMSIG(status)) + ")"
                   : std::string("the start gave no answer");
    return result == "ok" ? std::string() : result;
}

}  // namespace

TrialResult TrialStart(const std::string& library, const std::string& folder,
                       const std::string& client, const GameStart& start) {
    if (ArchitectureOf(library) != Architecture::X64 || !IsElf(library))
        return {TrialResult::NotHere,
                "not an x86-64 Linux library; the Windows launcher tries Windows ones"};
    const std::string clientPath =
        client.empty() ? OwnDirectory() + "/linux64/steamclient.so" : client;
    std::error_code missing;
    if (!std::filesystem::exists(clientPath, missing))
        return {TrialResult::Failed, "the offline client is missing: " + clientPath};
    std::string error;
    const std::string sandbox = MakeSandbox(&error);
    if (sandbox.empty()) return {TrialResult::Failed, error};
    if (!PointSteamAt(sandbox + "/home", clientPath, &error)) {
        RemoveTree(sandbox);
        return {TrialResult::Failed, error};
    }
    const std::string why = TrialInChild(library, sandbox + "/home", folder, start);
    RemoveTree(sandbox);
    return why.empty() ? TrialResult{TrialResult::Started, std::string()}
                       : TrialResult{TrialResult::Failed, why};
}

}  // namespace offline_tool
