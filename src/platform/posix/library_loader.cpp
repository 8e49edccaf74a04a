// Finding libsteam_api.so on Linux.
#include "platform/library_loader.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstring>

namespace steambridge {
namespace {

constexpr char kLibraryName[] = "libsteam_api.so";

// Opens the library in the directory of `file`.
void* OpenBeside(const char* file) {
    if (!file) return nullptr;
    const char* slash = std::strrchr(file, '/');
    if (!slash) return nullptr;
    const std::size_t directoryLength = static_cast<std::size_t>(slash - file) + 1;
    char path[PATH_MAX];
    if (directoryLength + sizeof kLibraryName > sizeof path) return nullptr;
    std::memcpy(path, file, directoryLength);
    std::memcpy(path + directoryLength, kLibraryName, sizeof kLibraryName);
    return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

void* OpenBesideThisModule() {
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&OpenBesideThisModule), &info) == 0) return nullptr;
    return OpenBeside(info.dli_fname);
}

void* OpenBesideApplication() {
    char executable[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable - 1);
    if (length <= 0) return nullptr;
    executable[length] = '\0';
    return OpenBeside(executable);
}

}  // namespace

void* OpenClientLibrary() {
    // Opened once per process and kept: each open would add a reference.
    static void* library;
    if (library) return library;
    // Reuse a copy the game already loaded: two would break both.
    library = dlopen(kLibraryName, RTLD_NOW | RTLD_NOLOAD);
    if (!library) library = OpenBesideThisModule();
    if (!library) library = OpenBesideApplication();
    return library;
}

void* FindLibrarySymbol(void* library, const char* name) { return dlsym(library, name); }

}  // namespace steambridge
