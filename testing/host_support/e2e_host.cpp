// Loading the staged steambridge for the end-to-end tests.
#include "host_support/e2e_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#if defined(_WIN32)
#include <windows.h>

#include "launcher/debug_output.h"
#else
#include <unistd.h>
#endif

namespace {

std::string g_stage = "1.57";

#if defined(_WIN32)
std::vector<std::string> g_debugMessages;

// What a debugger does with OutputDebugStringA's exception: take the text
// and let the program go on.
LONG CALLBACK KeepDebugString(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    constexpr DWORD kDebugPrint = 0x40010006;  // DBG_PRINTEXCEPTION_C
    if (record.ExceptionCode != kDebugPrint || record.NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const auto* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
    if (text != nullptr) g_debugMessages.emplace_back(text);
    return EXCEPTION_CONTINUE_EXECUTION;
}
#else
std::string g_traceFile;
void RemoveTraceFile() { std::remove(g_traceFile.c_str()); }
#endif

}  // namespace

void CaptureBridgeTrace() {
#if defined(_WIN32)
    AddVectoredExceptionHandler(1, &KeepDebugString);
#else
    g_traceFile = ProgramDirectory() + "e2e_trace." + std::to_string(getpid()) + ".log";
    std::remove(g_traceFile.c_str());
    setenv("STEAMBRIDGE_TRACE_FILE", g_traceFile.c_str(), 1);
    std::atexit(&RemoveTraceFile);
#endif
}

std::vector<std::string> BridgeTraceLines() {
#if defined(_WIN32)
    return offline_tool::BridgeLines(g_debugMessages);
#else
    std::vector<std::string> lines;
    std::ifstream file(g_traceFile, std::ios::binary);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
#endif
}

void SetStage(const std::string& name) { g_stage = name; }
const std::string& Stage() { return g_stage; }

std::string StageDirectory() { return ProgramDirectory() + "../stage/" + g_stage + "/"; }

const BridgeExports& Bridge() {
    static BridgeLibrary bridge;
    static const bool opened = bridge.Open(StageDirectory());
    if (!opened) ADD_FAILURE() << bridge.error();
    return bridge.exports();
}

bool StageHasSteamClient() {
    const std::string path = StageDirectory() + kSteamClientFileName;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        std::fclose(file);
        return true;
    }
    return false;
}

void PreloadClientLibrary() {
    // Valve's library beside our stand-in Steam client: point it there first.
    static const bool usesSteamClient = StageHasSteamClient();
    static const bool steamClientReady =
        !usesSteamClient || UseSteamClient(StageDirectory() + kSteamClientFileName);
    ASSERT_TRUE(steamClientReady) << "cannot point the client library at the stand-in client";
    ASSERT_NE(LoadLibraryAt(StageDirectory() + kClientLibraryFileName), nullptr)
        << "no client library in stage " << g_stage;
}
