// The bridge on Windows: finding steam_api.dll (steam_api64.dll in 64-bit
// processes), trace lines to OutputDebugStringA, each marked as ours, which a
// debugger or DebugView shows, and the DLL's entry point.
#include "platform/os_services.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "bridge/trace.h"

namespace steambridge {
namespace {

#if defined(_WIN64)
constexpr wchar_t kLibraryName[] = L"steam_api64.dll";
#else
constexpr wchar_t kLibraryName[] = L"steam_api.dll";
#endif
constexpr DWORD kPathCapacity = 4096;
using Path = wchar_t[kPathCapacity];

// The client library's path in the directory of `module` (null: the
// application); false when there is none.
bool PathBeside(HMODULE module, Path& path) {
    const DWORD length = GetModuleFileNameW(module, path, kPathCapacity);
    if (length == 0 || length >= kPathCapacity) return false;

    DWORD directoryEnd = length;
    while (directoryEnd > 0 && path[directoryEnd - 1] != L'\\' && path[directoryEnd - 1] != L'/')
        --directoryEnd;
    if (directoryEnd == 0) return false;

    const DWORD nameLength = sizeof kLibraryName / sizeof kLibraryName[0];
    if (directoryEnd + nameLength > kPathCapacity) return false;
    for (DWORD i = 0; i < nameLength; ++i) path[directoryEnd + i] = kLibraryName[i];
    return true;
}

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

// Traces why no path could be loaded: one line for the cause, then one per
// path tried with what LoadLibraryExW answered.
void TraceNotLoaded(const Path* paths, const DWORD* errors, int count) {
    const char* reasons[2];
    TraceId cause = TraceId::LibraryNotFound;
    for (int i = 0; i < count; ++i) {
        if (errors[i] == ERROR_BAD_EXE_FORMAT) {
            reasons[i] = ": built for another architecture";
            cause = TraceId::LibraryOtherArchitecture;
        } else if (GetFileAttributesW(paths[i]) == INVALID_FILE_ATTRIBUTES) {
            reasons[i] = ": no such file";
        } else {
            reasons[i] = ": could not be loaded (error %d)";
            if (cause == TraceId::LibraryNotFound) cause = TraceId::LibraryNotLoaded;
        }
    }
    Trace(cause);
    for (int i = 0; i < count; ++i) {
        char line[kPathCapacity * 3 + 64];
        const int length = WideCharToMultiByte(CP_UTF8, 0, paths[i], -1, line, kPathCapacity * 3,
                                               nullptr, nullptr);
        if (length <= 0) continue;
        FormatTraceLine(line + length - 1, sizeof line - length + 1, reasons[i],
                        static_cast<int>(errors[i]));
        TraceDetail(line);
    }
}

}  // namespace

void* OpenClientLibrary() {
    // Loaded once per process and kept: each load would add a reference.
    static HMODULE library;
    if (library) return library;
    // A game that uses Steam itself has it loaded already: two copies of the
    // client library in one process would break both.
    library = GetModuleHandleW(kLibraryName);
    if (library) return library;

    // Beside this module, then beside the application; one folder is tried once.
    Path paths[2];
    DWORD errors[2];
    int count = 0;
    const HMODULE modules[] = {ThisModule(), nullptr};
    for (HMODULE module : modules) {
        if (!PathBeside(module, paths[count])) continue;
        if (count == 1 && lstrcmpiW(paths[0], paths[1]) == 0) continue;
        // A full path keeps the current directory out of the search; the
        // altered search path lets the library find its own dependencies.
        library = LoadLibraryExW(paths[count], nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (library) return library;
        errors[count++] = GetLastError();
    }
    TraceNotLoaded(paths, errors, count);
    return nullptr;
}

void* FindLibrarySymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

// ---- trace output

void WriteTraceOutput(const char* line) {
    // One call per line where it fits, so a debugger shows it as one message.
    static const char kMark[] = "steambridge: ";
    constexpr std::size_t kMarkLength = sizeof kMark - 1;
    char buffer[512];
    const std::size_t length = std::strlen(line);
    if (kMarkLength + length + 2 <= sizeof buffer) {
        std::memcpy(buffer, kMark, kMarkLength);
        std::memcpy(buffer + kMarkLength, line, length);
        buffer[kMarkLength + length] = '\n';
        buffer[kMarkLength + length + 1] = '\0';
        OutputDebugStringA(buffer);
    } else {
        OutputDebugStringA(kMark);
        OutputDebugStringA(line);
        OutputDebugStringA("\n");
    }
}

void FormatTraceLine(char* buffer, std::size_t capacity, const char* format, int code) {
    // _snprintf leaves the buffer unterminated when the text is cut.
    _snprintf(buffer, capacity, format, code);
    buffer[capacity - 1] = '\0';
}

}  // namespace steambridge

// Loading and unloading do nothing of our own: Steam is started and stopped
// only by steamInit and steamFree, and thread notifications would only cost
// every thread of the game a call into us.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}
