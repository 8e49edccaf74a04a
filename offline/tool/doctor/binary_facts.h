// What a game's files say about themselves, read from their bytes: the
// architecture of a program or library (ELF or PE header), and the Steamworks
// SDK releases a client library can be of (the interface version strings it
// holds). Portable: the doctor reads Windows games on Linux too.
#pragma once

#include <string>
#include <vector>

namespace offline_tool {

enum class Architecture { Unknown, X86, X64, OtherElf, OtherPe };

// "32-bit x86", "x86-64", ...
const char* ArchitectureName(Architecture architecture);
// Unknown for a file that is neither ELF nor PE, or cannot be read.
Architecture ArchitectureOf(const std::string& path);
bool IsElf(const std::string& path);

// The SDK releases (1.48 … 1.63) whose client library holds exactly the
// interface versions found in the file, e.g. "1.57 to 1.58a"; empty when
// the strings fit no release we know.
std::string SdkReleasesOf(const std::string& path);

// How a C++ game of one SDK release starts: SteamAPI_InitEx's list of
// interface versions (from 1.58), else SteamAPI_Init and then every version
// its accessors ask for (offline/client/interface_tables.h, from the headers).
struct GameStart {
    std::string release;  // "1.63"; empty when no release fits the library
    bool hasStartList = false;
    std::vector<std::string> versions;
};

// The release whose C++ game the library at `path` serves: among the
// releases its interface version strings allow (SdkReleasesOf), those whose
// start form it exports (SteamInternal_SteamAPI_Init from 1.58), the one
// whose list the library holds most of, the newest of equals. Every
// release's library holds the version strings its accessors pass, so its
// own list is whole; newer releases that drop versions are ruled out by the
// strings of the client, user and stats versions.
GameStart GameStartOf(const std::string& path);

}  // namespace offline_tool
