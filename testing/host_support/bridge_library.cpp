// Run-time loading of steambridge for hosts, as a game does.
#include "host_support/bridge_library.h"

#include "host_support/host_platform.h"

void* LoadLibraryAt(const std::string& path) { return OpenLibrary(path); }

bool BridgeLibrary::Open(const std::string& directory) {
    const std::string path = (directory.empty() ? ProgramDirectory() : directory) + kBridgeFileName;
    library_ = OpenLibrary(path);
    if (!library_) {
        error_ = "cannot load " + path + ": " + LastLibraryError();
        return false;
    }
#define STEAMBRIDGE_RESOLVE_EXPORT(name)                                                           \
    exports_.name = steambridge::FunctionAt<decltype(exports_.name)>(FindExport(library_, #name)); \
    if (!exports_.name) {                                                                          \
        error_ = path + " does not export " #name;                                                 \
        return false;                                                                              \
    }
    STEAMBRIDGE_EXPORTS(STEAMBRIDGE_RESOLVE_EXPORT)
#undef STEAMBRIDGE_RESOLVE_EXPORT
    return true;
}
