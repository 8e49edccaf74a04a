// The game's process on Windows: started with its command line quoted as
// it reads it back, waited for while the debug monitor listens, and the
// console's events while it runs.
#include "processes.h"

#include <windows.h>

#include <string>
#include <vector>

#include "debug_monitor.h"
#include "debug_output.h"
#include "offline_platform.h"

namespace offline_tool {
namespace {

BOOL WINAPI OnConsoleEvent(DWORD event) {
    // Ctrl-C and Ctrl-Break reach the game on the same console; the launcher
    // waits for it to end. A closing console ends the launcher: put the key
    // back first (StopStandingIn holds off the main thread meanwhile).
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
    StopStandingIn();
    return FALSE;
}

// One argument as CommandLineToArgvW reads it back.
std::string Quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

std::vector<std::string> g_debugOutput;  // the game's messages

}  // namespace

void WatchConsoleEvents() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

std::vector<std::string> GameDebugOutput() { return BridgeLines(g_debugOutput); }

int RunGame(const std::vector<std::string>& command, const Environment& environment,
            const std::function<void()>& tick, std::string* error) {
    for (const auto& [name, value] : environment)
        SetEnvironmentVariableA(name.c_str(), value.c_str());
    std::string line;
    for (const std::string& part : command) line += (line.empty() ? "" : " ") + Quoted(part);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Listening from before the game starts, so its first line is not lost.
    DebugOutputMonitor monitor;
    if (!CreateProcessA(command[0].c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        *error = "cannot start " + command[0] + ": error " + std::to_string(GetLastError());
        return -1;
    }
    CloseHandle(process.hThread);
    while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) tick();
    tick();
    g_debugOutput = monitor.Stop(process.dwProcessId);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

}  // namespace offline_tool
