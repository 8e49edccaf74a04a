// What a game's files say about themselves, read from their bytes: the
// architecture of a program or library (ELF or PE header), and the Steamworks
// SDK releases a client library can be of (the interface version strings it
// holds). Portable: the doctor reads Windows games on Linux too.
#pragma once

#include <string>

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

}  // namespace offline_tool
