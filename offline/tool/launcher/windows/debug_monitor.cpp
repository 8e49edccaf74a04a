// The debug monitor's thread: it takes each message while the game runs.
#include "debug_monitor.h"

#include <cstring>

namespace offline_tool {

DebugOutputMonitor::DebugOutputMonitor() {
    bufferReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
    const bool another = GetLastError() == ERROR_ALREADY_EXISTS;
    dataReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
    buffer_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferSize,
                                 "DBWIN_BUFFER");
    view_ = buffer_ != nullptr ? MapViewOfFile(buffer_, FILE_MAP_READ, 0, 0, kBufferSize) : nullptr;
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (another || !bufferReady_ || !dataReady_ || !view_ || !stop_) return;
    thread_ = CreateThread(nullptr, 0, &DebugOutputMonitor::Run, this, 0, nullptr);
}

DebugOutputMonitor::~DebugOutputMonitor() {
    Stop();
    if (view_) UnmapViewOfFile(view_);
    for (HANDLE handle : {buffer_, dataReady_, bufferReady_, stop_})
        if (handle) CloseHandle(handle);
}

std::vector<std::string> DebugOutputMonitor::Stop(DWORD pid) {
    if (thread_) {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    std::vector<std::string> sent;
    for (const auto& [writer, message] : messages_)
        if (writer == pid) sent.push_back(message);
    return sent;
}

DWORD WINAPI DebugOutputMonitor::Run(void* self) {
    static_cast<DebugOutputMonitor*>(self)->Collect();
    return 0;
}

void DebugOutputMonitor::Collect() {
    const HANDLE waits[] = {dataReady_, stop_};
    for (;;) {
        SetEvent(bufferReady_);
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        // A message written just before the game ended is still taken.
        if (woke != WAIT_OBJECT_0 && WaitForSingleObject(dataReady_, 0) != WAIT_OBJECT_0) return;
        DWORD pid = 0;
        std::memcpy(&pid, view_, sizeof pid);
        const char* text = static_cast<const char*>(view_) + sizeof pid;
        messages_.emplace_back(pid, std::string(text, strnlen(text, kBufferSize - sizeof pid)));
    }
}

}  // namespace offline_tool
