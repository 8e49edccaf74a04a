// steambridge-offline-trial LIBRARY FOLDER ANSWER: the doctor's trial start
// of a Windows client library, in a process of the library's own
// architecture (one is built for x86 and one for x64). It starts the library
// as a game does, from the game's folder, shuts it down again, and writes
// "ok" or why it did not start into the file ANSWER.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

template <class Function>
Function Find(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

std::string StartOnce(const wchar_t* library) {
    // Valve's library talks on the console; the doctor's lines must stay its own.
    const HANDLE nothing =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (nothing != INVALID_HANDLE_VALUE) {
        SetStdHandle(STD_OUTPUT_HANDLE, nothing);
        SetStdHandle(STD_ERROR_HANDLE, nothing);
    }
    HMODULE handle = LoadLibraryExW(library, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (handle == nullptr) return "cannot load it: error " + std::to_string(GetLastError());
    using InitFlat = int(__cdecl*)(char*);
    using Init = bool(__cdecl*)();
    using InternalInit = int(__cdecl*)(const char*, char*);
    using Shutdown = void(__cdecl*)();
    char message[1024] = {};
    std::string why;
    if (auto initFlat = Find<InitFlat>(handle, "SteamAPI_InitFlat")) {
        const int code = initFlat(message);
        if (code != 0) why = "SteamAPI_InitFlat gave " + std::to_string(code) + ": " + message;
    } else if (auto init = Find<Init>(handle, "SteamAPI_Init")) {
        if (!init()) why = "SteamAPI_Init returned false";
    } else if (auto internal = Find<InternalInit>(handle, "SteamInternal_SteamAPI_Init")) {
        const int code = internal("", message);
        if (code != 0)
            why = "SteamInternal_SteamAPI_Init gave " + std::to_string(code) + ": " + message;
    } else {
        return "it exports no start function (SteamAPI_InitFlat, SteamAPI_Init)";
    }
    if (why.empty())
        if (auto shutdown = Find<Shutdown>(handle, "SteamAPI_Shutdown")) shutdown();
    return why.empty() ? "ok" : why;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fputs("usage: steambridge-offline-trial LIBRARY FOLDER ANSWER\n", stderr);
        return 2;
    }
    const std::string answer =
        SetCurrentDirectoryW(argv[2]) ? StartOnce(argv[1]) : "cannot enter the game's folder";
    FILE* file = _wfopen(argv[3], L"wb");
    if (file == nullptr) return 1;
    std::fputs(answer.c_str(), file);
    std::fclose(file);
    return 0;
}
