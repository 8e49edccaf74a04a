// steambridge-offline-trial LIBRARY FOLDER ANSWER [RELEASE HASLIST VERSIONS]:
// the doctor's trial start of a Windows client library, in a process of the
// library's own architecture (one is built for x86 and one for x64). It
// starts the library from the game's folder as a C++ game of RELEASE does
// (HASLIST 1: SteamAPI_InitEx's list VERSIONS, joined by commas; 0: SteamAPI_Init,
// then each of VERSIONS as the accessors ask), shuts it down again, and
// writes "ok" or why it did not start into the file ANSWER.
#include <windows.h>

#include <cstdio>
#include <string>

#include "game_start.h"

namespace {

std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; *text != L'\0'; ++text) out += *text < 0x80 ? static_cast<char>(*text) : '?';
    return out;
}

offline_tool::GameStart StartOf(int argc, wchar_t** argv) {
    offline_tool::GameStart start;
    if (argc < 7) return start;
    start.release = Narrow(argv[4]);
    start.hasStartList = Narrow(argv[5]) == "1";
    const std::string versions = Narrow(argv[6]);
    std::size_t begin = 0;
    while (begin < versions.size()) {
        std::size_t end = versions.find(',', begin);
        if (end == std::string::npos) end = versions.size();
        if (end > begin) start.versions.push_back(versions.substr(begin, end - begin));
        begin = end + 1;
    }
    return start;
}

std::string StartOnce(const wchar_t* library, const offline_tool::GameStart& start) {
    // Valve's library talks on the console; the doctor's lines must stay its own.
    const HANDLE nothing =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (nothing != INVALID_HANDLE_VALUE) {
        SetStdHandle(STD_OUTPUT_HANDLE, nothing);
        SetStdHandle(STD_ERROR_HANDLE, nothing);
    }
    HMODULE handle = LoadLibraryExW(library, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (handle == nullptr) return "cannot load it: error " + std::to_string(GetLastError());
    const offline_tool::GameStartResult started = offline_tool::StartAsGame(
        [handle](const char* name) {
            return reinterpret_cast<void*>(GetProcAddress(handle, name));
        },
        start);
    using Shutdown = void(__cdecl*)();
    if (started.up) {
        if (auto shutdown = reinterpret_cast<Shutdown>(
                reinterpret_cast<void*>(GetProcAddress(handle, "SteamAPI_Shutdown"))))
            shutdown();
    }
    return started.why.empty() ? "ok" : started.why;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 && argc != 7) {
        std::fputs(
            "usage: steambridge-offline-trial LIBRARY FOLDER ANSWER [RELEASE HASLIST VERSIONS]\n",
            stderr);
        return 2;
    }
    const std::string answer = SetCurrentDirectoryW(argv[2])
                                   ? StartOnce(argv[1], StartOf(argc, argv))
                                   : "cannot enter the game's folder";
    FILE* file = _wfopen(argv[3], L"wb");
    if (file == nullptr) return 1;
    std::fputs(answer.c_str(), file);
    std::fclose(file);
    return 0;
}
