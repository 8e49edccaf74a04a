// Loads steambridge at run time by name and resolves its exports, as a game
// does. Shared by the demo and the end-to-end tests.
#pragma once

#include <string>

#include "bridge/export_list.h"
#include "platform/function_address.h"
#include "steambridge.h"

struct BridgeExports {
#define STEAMBRIDGE_EXPORT_POINTER(name) decltype(&::name) name = nullptr;
    STEAMBRIDGE_EXPORTS(STEAMBRIDGE_EXPORT_POINTER)
#undef STEAMBRIDGE_EXPORT_POINTER
};

class BridgeLibrary {
public:
    BridgeLibrary() = default;
    BridgeLibrary(const BridgeLibrary&) = delete;
    BridgeLibrary& operator=(const BridgeLibrary&) = delete;

    // Loads steambridge from `directory` (ending in a separator; empty: the
    // directory of this program) and resolves every export. False with
    // error() set when the library or an export is missing.
    bool Open(const std::string& directory);
    const BridgeExports& exports() const { return exports_; }
    const std::string& error() const { return error_; }

private:
    void* library_ = nullptr;
    BridgeExports exports_;
    std::string error_;
};

// The directory of this program, ending in a separator.
std::string ProgramDirectory();

// Loads a library by full path (to put the client library in place before
// steamInit looks for it). Null when it cannot be loaded.
void* LoadLibraryAt(const std::string& path);

// An export of the client library that this process has loaded (through
// steambridge or LoadLibraryAt), else of the loaded Steam client, or null.
// The simulator's controls are found either way, whichever face serves.
void* FindClientLibraryExport(const char* name);
// The same as a typed function pointer, null when absent.
template <class Function>
Function FindClientLibraryFunction(const char* name) {
    return steambridge::FunctionAt<Function>(FindClientLibraryExport(name));
}

// Points Valve's client library at the Steam client at `clientPath`, as a
// running Steam does (HKCU\Software\Valve\Steam\ActiveProcess, volatile),
// and loads that client so it outlives each shutdown of the library; the
// registry values are removed at exit. False when either step fails or the
// platform has no such registry.
bool UseSteamClient(const std::string& clientPath);

// File names of the libraries on this platform.
extern const char* const kBridgeFileName;
extern const char* const kClientLibraryFileName;
extern const char* const kSteamClientFileName;
