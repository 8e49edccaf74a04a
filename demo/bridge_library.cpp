// Run-time loading of steambridge and of the client library for hosts.
#include "bridge_library.h"

#include <cstdlib>

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

}  // namespace

#if defined(_WIN64)
const char* const kBridgeFileName = "steambridge64.dll";
const char* const kClientLibraryFileName = "steam_api64.dll";
const char* const kSteamClientFileName = "steamclient64.dll";
#elif defined(_WIN32)
const char* const kBridgeFileName = "steambridge.dll";
const char* const kClientLibraryFileName = "steam_api.dll";
const char* const kSteamClientFileName = "steamclient.dll";
#else
const char* const kBridgeFileName = "libsteambridge.so";
const char* const kClientLibraryFileName = "libsteam_api.so";
const char* const kSteamClientFileName = "steamclient.so";
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
    for (const char* file : {kClientLibraryFileName, kSteamClientFileName}) {
        if (HMODULE library = GetModuleHandleA(file)) {
            if (void* address = FindExport(library, name)) return address;
        }
    }
    return nullptr;
#else
    void* library = dlopen(kClientLibraryFileName, RTLD_NOW | RTLD_NOLOAD);
    if (!library) return nullptr;
    void* address = FindExport(library, name);
    dlclose(library);
    return address;
#endif
}

#if defined(_WIN32)
namespace {

const wchar_t* const kActiveProcessKey = L"Software\\Valve\\Steam\\ActiveProcess";
// Where a running Steam names its client library for processes of our size.
#if defined(_WIN64)
const wchar_t* const kSteamClientValue = L"SteamClientDll64";
#else
const wchar_t* const kSteamClientValue = L"SteamClientDll";
#endif

void ForgetSteamClient() { RegDeleteKeyW(HKEY_CURRENT_USER, kActiveProcessKey); }

}  // namespace

bool UseSteamClient(const std::string& clientPath) {
    if (!LoadLibraryAt(clientPath)) return false;
    std::wstring path(clientPath.begin(), clientPath.end());
    for (wchar_t& unit : path)
        if (unit == L'/') unit = L'\\';
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kActiveProcessKey, 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD pid = GetCurrentProcessId();
    const bool written =
        RegSetValueExW(key, kSteamClientValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS &&
        RegSetValueExW(key, L"pid", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&pid),
                       sizeof pid) == ERROR_SUCCESS;
    RegCloseKey(key);
    static const bool forgetAtExit = std::atexit(ForgetSteamClient) == 0;
    return written && forgetAtExit;
}
#else
bool UseSteamClient(const std::string&) { return false; }
#endif

bool BridgeLibrary::Open(const std::string& directory) {
    const std::string path = (directory.empty() ? ProgramDirectory() : directory) + kBridgeFileName;
    library_ = OpenLibrary(path);
    if (!library_) {
        error_ = "cannot load " + path + ": " + LastError();
        return false;
    }
#define STEAMBRIDGE_RESOLVE_EXPORT(name)                                              \
    exports_.name = steambridge::FunctionAt<decltype(exports_.name)>(FindExport(library_, #name)); \
    if (!exports_.name) {                                                             \
        error_ = path + " does not export " #name;                                    \
        return false;                                                                 \
    }
    STEAMBRIDGE_EXPORTS(STEAMBRIDGE_RESOLVE_EXPORT)
#undef STEAMBRIDGE_RESOLVE_EXPORT
    return true;
}
