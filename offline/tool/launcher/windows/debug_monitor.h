// What a debug monitor such as DebugView does: OutputDebugStringA in a
// process without a debugger copies its text into the shared DBWIN_BUFFER
// (the writer's pid, then the text) once the monitor has set
// DBWIN_BUFFER_READY, and sets DBWIN_DATA_READY. Only one monitor can run.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace offline_tool {

class DebugOutputMonitor {
public:
    DebugOutputMonitor();
    ~DebugOutputMonitor();

    // Waits for the last message, then gives the messages `pid` sent.
    std::vector<std::string> Stop(DWORD pid = 0);

private:
    static constexpr DWORD kBufferSize = 4096;

    static DWORD WINAPI Run(void* self);
    void Collect();

    HANDLE bufferReady_ = nullptr;
    HANDLE dataReady_ = nullptr;
    HANDLE buffer_ = nullptr;
    void* view_ = nullptr;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    std::vector<std::pair<DWORD, std::string>> messages_;
};

}  // namespace offline_tool
