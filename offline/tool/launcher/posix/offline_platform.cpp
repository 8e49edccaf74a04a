// The launcher's POSIX side: /proc for its own folder, a sandbox under
// TMPDIR, ~/.steam as Valve's Linux library reads it, fork and exec.
#include "offline_platform.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
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

// The game's process group, once it runs.
volatile sig_atomic_t g_group = 0;
// Where the game's steambridge traces, once StandInForSteam chose it.
std::string g_traceFile;
// The user's HOME whose entries the sandbox's HOME links to.
std::string g_linkedHome;

// To the whole group: a wrapper's backgrounded game is reached too.
void PassSignalOn(int signal) {
    if (g_group > 0) kill(-static_cast<pid_t>(g_group), signal);
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

constexpr const char kSteamFolder[] = ".steam";
// What a file of the game's is called beside a user's file it would have replaced.
constexpr const char kBesideSuffix[] = ".steambridge-offline";

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return names;
}

// A link in the sandbox's HOME to each entry of the user's HOME but .steam:
// the game reads and writes its own files there as it does under Steam.
bool LinkUserHome(const std::string& home, std::string* error) {
    const std::string real = RealHome();
    if (real.empty() || real[0] != '/') return true;
    g_linkedHome = real;
    for (const std::string& name : FolderEntries(real)) {
        if (name == kSteamFolder) continue;
        if (symlink((real + "/" + name).c_str(), (home + "/" + name).c_str()) != 0) {
            *error = "cannot link " + home + "/" + name + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

// Moves the game's files into the user's HOME, never replacing one there.
class GameFileKeeper {
public:
    explicit GameFileKeeper(std::string sandboxHome) : sandboxHome_(std::move(sandboxHome)) {}

    void Keep(const std::string& from, const std::string& to) {
        struct stat source {};
        if (lstat(from.c_str(), &source) != 0) return;
        struct stat target {};
        if (S_ISDIR(source.st_mode) && stat(to.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) {
            for (const std::string& name : FolderEntries(from))
                Keep(from + "/" + name, to + "/" + name);
            return;
        }
        int result = Place(from, to);
        if (result == EEXIST) {
            // The user's stays; the game's goes beside it under a free name.
            std::string beside;
            for (int attempt = 1; result == EEXIST && attempt <= 100; ++attempt) {
                beside = to + kBesideSuffix + (attempt > 1 ? "-" + std::to_string(attempt) : "");
                result = Place(from, beside);
            }
            if (result == 0) {
                lines_.push_back(to + " was the user's and is kept; the game's is " + beside);
                return;
            }
        }
        if (result != 0) {
            failed_ = true;
            lines_.push_back("cannot move " + from + " to " + to + ": " + std::strerror(result) +
                             "; the game's files stay in " + sandboxHome_);
        }
    }

    const std::vector<std::string>& Lines() const { return lines_; }
    bool Failed() const { return failed_; }

private:
    // 0, EEXIST when `to` is taken, or why not.
    int Place(const std::string& from, const std::string& to) {
        if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return 0;
        if (errno == EXDEV) return CopyNew(from, to);
        if (errno != EINVAL && errno != ENOSYS) return errno;
        // A file system without a rename that refuses to replace.
        struct stat taken {};
        if (lstat(to.c_str(), &taken) == 0) return EEXIST;
        return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }

    // A copy across file systems: modes and times kept, links as links.
    int CopyNew(const std::string& from, const std::string& to) {
        struct stat source {};
        if (lstat(from.c_str(), &source) != 0) return errno;
        if (S_ISLNK(source.st_mode)) {
            std::error_code failure;
            const std::string target = std::filesystem::read_symlink(from, failure).string();
            if (failure) return failure.value();
            return symlink(target.c_str(), to.c_str()) == 0 ? 0 : errno;
        }
        if (S_ISDIR(source.st_mode)) {
            if (mkdir(to.c_str(), 0700) != 0) return errno;
            for (const std::string& name : FolderEntries(from))
                Keep(from + "/" + name, to + "/" + name);
            chmod(to.c_str(), source.st_mode & 07777);
            return 0;
        }
        if (!S_ISREG(source.st_mode)) return 0;  // a socket or pipe holds no data
        const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
        if (in < 0) return errno;
        const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (out < 0) {
            const int why = errno;
            close(in);
            return why;
        }
        int why = 0;
        char buffer[1 << 16];
        for (ssize_t got = 0; why == 0 && (got = read(in, buffer, sizeof buffer)) != 0;) {
            if (got < 0) {
                why = errno;
                break;
            }
            for (ssize_t done = 0; done < got;) {
                const ssize_t wrote = write(out, buffer + done, static_cast<size_t>(got - done));
                if (wrote < 0) {
                    why = errno;
                    break;
                }
                done += wrote;
            }
        }
        const timespec times[2] = {source.st_atim, source.st_mtim};
        if (why == 0 && (fchmod(out, source.st_mode & 07777) != 0 || futimens(out, times) != 0))
            why = errno;
        if (close(out) != 0 && why == 0) why = errno;
        close(in);
        if (why != 0) unlink(to.c_str());  // our own half copy
        return why;
    }

    std::string sandboxHome_;
    std::vector<std::string> lines_;
    bool failed_ = false;
};

}  // namespace

std::vector<std::string> KeepGameFiles(const std::string& sandbox, bool* keepSandbox) {
    *keepSandbox = false;
    const std::string home = sandbox + "/home";
    const std::string real = RealHome();
    if (real.empty() || real[0] != '/') return {};
    GameFileKeeper keeper(home);
    for (const std::string& name : FolderEntries(home)) {
        if (name == kSteamFolder) continue;
        const std::string from = home + "/" + name;
        std::error_code notLink;
        // Our own links to the user's entries: what the game wrote through them is there.
        if (!g_linkedHome.empty() &&
            std::filesystem::read_symlink(from, notLink) == g_linkedHome + "/" + name)
            continue;
        keeper.Keep(from, real + "/" + name);
    }
    *keepSandbox = keeper.Failed();
    return keeper.Lines();
}

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
    if (!PointSteamAt(home, clientPath, error) || !LinkUserHome(home, error)) return kOutputFailed;
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
    // Orphans of the game (a wrapper's backgrounded game) become ours to
    // reap, so a group of zombies never looks alive.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    // The game gets the terminal as a shell's job would, so it can read it.
    const bool terminal = isatty(STDIN_FILENO) && tcgetpgrp(STDIN_FILENO) == getpgrp();
    struct sigaction passOn {};
    passOn.sa_handler = PassSignalOn;
    sigemptyset(&passOn.sa_mask);
    const int passed[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
    struct sigaction old[4]{}, oldTerminalOut{};
    for (int i = 0; i < 4; ++i) sigaction(passed[i], &passOn, &old[i]);
    // Our event lines still reach the terminal the game's group holds.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGTTOU, &ignore, &oldTerminalOut);
    const pid_t child = fork();
    if (child < 0) {
        *error = std::string("cannot start the game: ") + std::strerror(errno);
        for (int i = 0; i < 4; ++i) sigaction(passed[i], &old[i], nullptr);
        sigaction(SIGTTOU, &oldTerminalOut, nullptr);
        close(report[0]);
        close(report[1]);
        return -1;
    }
    if (child == 0) {
        close(report[0]);
        setpgid(0, 0);
        if (terminal) tcsetpgrp(STDIN_FILENO, getpid());
        sigaction(SIGTTOU, &oldTerminalOut, nullptr);
        for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> argv;
        for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        const int failure = errno;
        (void)!write(report[1], &failure, sizeof failure);
        _exit(127);
    }
    // Both sides set the group, so it exists before either goes on.
    setpgid(child, child);
    if (terminal) tcsetpgrp(STDIN_FILENO, child);
    g_group = child;
    close(report[1]);
    int execFailure = 0;
    const bool execFailed = read(report[0], &execFailure, sizeof execFailure) == sizeof execFailure;
    close(report[0]);
    // Until the game's group is empty: its own status, its group's others reaped.
    int status = 0;
    bool ended = false;
    for (;;) {
        int any = 0;
        for (pid_t done = 0;
             (done = waitpid(-1, &any, WNOHANG)) > 0 || (done < 0 && errno == EINTR);)
            if (done == child) {
                status = any;
                ended = true;
            }
        if (ended && kill(-child, 0) != 0 && errno == ESRCH) break;
        tick();
        SleepMilliseconds(20);
    }
    g_group = 0;
    if (terminal) tcsetpgrp(STDIN_FILENO, getpgrp());
    for (int i = 0; i < 4; ++i) sigaction(passed[i], &old[i], nullptr);
    sigaction(SIGTTOU, &oldTerminalOut, nullptr);
    // A closed output (the terminal hung up) must not stop the report.
    signal(SIGPIPE, SIG_IGN);
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
