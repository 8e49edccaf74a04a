// Run-time loading of steambridge and of the client library for hosts.
#include "bridge_library.h"

#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>
#endif

namespace {

#if defined(_WIN32)
void* OpenLibrary(const std::string& path) { return LoadLibraryA(path.c_str()); }
void* FindExport(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}
std::string LastError() { return "error " + std::to_string(GetLastError()); }
#else
void* OpenLibrary(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }
void* FindExport(void* library, const char* name) { return dlsym(library, name); }
std::string LastError() {
    const char* error = dlerror();
    return error ? error : "unknown error";
}
#endif

template <class Function>
Function FunctionAt(void* address) {
    Function function;
    static_assert(sizeof function == sizeof address, "function and data pointers differ");
    std::memcpy(&function, &address, sizeof function);
    return function;
}

}  // namespace

#if defined(_WIN32)
const char* const kBridgeFileName = "steambridge.dll";
#if defined(_WIN64)
const char* const kClientLibraryFileName = "steam_api64.dll";
#else
const char* const kClientLibraryFileName = "steam_api.dll";
#endif
#else
const char* const kBridgeFileName = "libsteambridge.so";
const char* const kClientLibraryFileName = "libsteam_api.so";
#endif

std::string ProgramDirectory() {
    char path[4096] = {};
#if defined(_WIN32)
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return std::string();
#else
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return std::string();
#endif
    std::string directory(path);
    const std::size_t separator = directory.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : directory.substr(0, separator + 1);
}

void* LoadLibraryAt(const std::string& path) { return OpenLibrary(path); }

void* FindClientLibraryExport(const char* name) {
#if defined(_WIN32)
    HMODULE library = GetModuleHandleA(kClientLibraryFileName);
    return library ? FindExport(library, name) : nullptr;
#else
    void* library = dlopen(kClientLibraryFileName, RTLD_NOW | RTLD_NOLOAD);
    if (!library) return nullptr;
    void* address = FindExport(library, name);
    dlclose(library);
    return address;
#endif
}

bool BridgeLibrary::Open(const std::string& directory) {
    const std::string path = (directory.empty() ? ProgramDirectory() : directory) + kBridgeFileName;
    library_ = OpenLibrary(path);
    if (!library_) {
        error_ = "cannot load " + path + ": " + LastError();
        return false;
    }
#define STEAMBRIDGE_RESOLVE_EXPORT(name)                                              \
    exports_.name = FunctionAt<decltype(exports_.name)>(FindExport(library_, #name)); \
    if (!exports_.name) {                                                             \
        error_ = path + " does not export " #name;                                    \
        return false;                                                                 \
    }
    STEAMBRIDGE_EXPORTS(STEAMBRIDGE_RESOLVE_EXPORT)
#undef STEAMBRIDGE_RESOLVE_EXPORT
    return true;
}
