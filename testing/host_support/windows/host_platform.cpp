// The hosts' Windows side: LoadLibrary, the registry key a running Steam
// writes, the console and the frame sleep.
#include "host_support/host_platform.h"

#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "host_support/bridge_library.h"

#if defined(_WIN64)
const char* const kBridgeFileName = "steambridge64.dll";
const char* const kClientLibraryFileName = "steam_api64.dll";
const char* const kSteamClientFileName = "steamclient64.dll";
#else
const char* const kBridgeFileName = "steambridge.dll";
const char* const kClientLibraryFileName = "steam_api.dll";
const char* const kSteamClientFileName = "steamclient.dll";
#endif

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

void* OpenLibrary(const std::string& path) { return LoadLibraryA(path.c_str()); }

void* FindExport(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

std::string LastLibraryError() { return "error " + std::to_string(GetLastError()); }

std::string ProgramDirectory() {
    char path[4096] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return std::string();
    std::string directory(path);
    const std::size_t separator = directory.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : directory.substr(0, separator + 1);
}

void* FindClientLibraryExport(const char* name) {
    for (const char* file : {kClientLibraryFileName, kSteamClientFileName}) {
        if (HMODULE library = GetModuleHandleA(file)) {
            if (void* address = FindExport(library, name)) return address;
        }
    }
    return nullptr;
}

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
        RegSetValueExW(key, kSteamClientValue, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS &&
        RegSetValueExW(key, L"pid", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&pid),
                       sizeof pid) == ERROR_SUCCESS;
    RegCloseKey(key);
    static const bool forgetAtExit = std::atexit(ForgetSteamClient) == 0;
    return written && forgetAtExit;
}

bool StdinIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

void WaitOneFrame() { Sleep(16); }
