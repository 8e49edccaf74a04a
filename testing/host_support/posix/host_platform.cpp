// The hosts' POSIX side: dlopen, where a running Steam leaves its client, the
// terminal and the frame sleep.
#include "host_support/host_platform.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "host_support/bridge_library.h"

const char* const kBridgeFileName = "libsteambridge.so";
const char* const kClientLibraryFileName = "libsteam_api.so";
const char* const kSteamClientFileName = "steamclient.so";

void* OpenLibrary(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* FindExport(void* library, const char* name) { return dlsym(library, name); }

std::string LastLibraryError() {
    const char* error = dlerror();
    return error ? error : "unknown error";
}

std::string ProgramDirectory() {
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return std::string();
    std::string directory(path);
    const std::size_t separator = directory.find_last_of('/');
    return separator == std::string::npos ? std::string() : directory.substr(0, separator + 1);
}

void* FindClientLibraryExport(const char* name) {
    for (const char* file : {kClientLibraryFileName, kSteamClientFileName}) {
        void* library = dlopen(file, RTLD_NOW | RTLD_NOLOAD);
        if (!library) continue;
        void* address = FindExport(library, name);
        dlclose(library);
        if (address) return address;
    }
    return nullptr;
}

// A running Steam keeps its client library at ~/.steam/sdk64/steamclient.so
// and its process ID in ~/.steam/steam.pid, where Valve's library looks.
// Here HOME becomes a folder beside the stand-in client that holds both.
bool UseSteamClient(const std::string& clientPath) {
    if (!LoadLibraryAt(clientPath)) return false;
    const std::size_t separator = clientPath.find_last_of('/');
    const std::string home =
        (separator == std::string::npos ? std::string(".") : clientPath.substr(0, separator)) +
        "/home";
    const std::string steam = home + "/.steam";
    const std::string sdk = steam + "/sdk64";
    for (const std::string& folder : {home, steam, sdk})
        if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) return false;
    const std::string link = sdk + "/steamclient.so";
    unlink(link.c_str());
    if (symlink(clientPath.c_str(), link.c_str()) != 0) return false;
    if (FILE* pid = std::fopen((steam + "/steam.pid").c_str(), "w")) {
        std::fprintf(pid, "%d\n", static_cast<int>(getpid()));
        std::fclose(pid);
    }
    return setenv("HOME", home.c_str(), 1) == 0;
}

bool StdinIsTerminal() { return isatty(fileno(stdin)) != 0; }

void WaitOneFrame() {
    const timespec frame{0, 16 * 1000 * 1000};
    nanosleep(&frame, nullptr);
}
