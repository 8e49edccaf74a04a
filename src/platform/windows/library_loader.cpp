// Finding steam_api.dll (steam_api64.dll in 64-bit processes) on Windows.
#include "platform/library_loader.h"

#include <windows.h>

namespace steambridge {
namespace {

#if defined(_WIN64)
constexpr wchar_t kLibraryName[] = L"steam_api64.dll";
#else
constexpr wchar_t kLibraryName[] = L"steam_api.dll";
#endif
constexpr DWORD kPathCapacity = 4096;

// Loads the client library from the directory of `module` (null: the application).
HMODULE LoadBeside(HMODULE module) {
    wchar_t path[kPathCapacity];
    const DWORD length = GetModuleFileNameW(module, path, kPathCapacity);
    if (length == 0 || length >= kPathCapacity) return nullptr;

    DWORD directoryEnd = length;
    while (directoryEnd > 0 && path[directoryEnd - 1] != L'\\' && path[directoryEnd - 1] != L'/')
        --directoryEnd;
    if (directoryEnd == 0) return nullptr;

    const DWORD nameLength = sizeof kLibraryName / sizeof kLibraryName[0];
    if (directoryEnd + nameLength > kPathCapacity) return nullptr;
    for (DWORD i = 0; i < nameLength; ++i) path[directoryEnd + i] = kLibraryName[i];

    // A full path keeps the current directory out of the search; the altered
    // search path lets the library find its own dependencies beside it.
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

}  // namespace

void* OpenClientLibrary() {
    // Loaded once per process and kept: each load would add a reference.
    static HMODULE library;
    if (library) return library;
    // A game that uses Steam itself has it loaded already: two copies of the
    // client library in one process would break both.
    library = GetModuleHandleW(kLibraryName);
    if (!library) library = LoadBeside(ThisModule());
    if (!library) library = LoadBeside(nullptr);
    return library;
}

void* FindLibrarySymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace steambridge
