// The hosts' POSIX side: dlopen, the terminal and the frame sleep. There is
// no registry through which to point a client library at a Steam client.
#include "host_platform.h"

#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>

#include "bridge_library.h"

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
    void* library = dlopen(kClientLibraryFileName, RTLD_NOW | RTLD_NOLOAD);
    if (!library) return nullptr;
    void* address = FindExport(library, name);
    dlclose(library);
    return address;
}

bool UseSteamClient(const std::string&) { return false; }

bool StdinIsTerminal() { return isatty(fileno(stdin)) != 0; }

void WaitOneFrame() {
    const timespec frame{0, 16 * 1000 * 1000};
    nanosleep(&frame, nullptr);
}
