// Headers and interface version strings read from a file's bytes.
#include "binary_facts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "interface_tables.h"

namespace offline_tool {
namespace {

// The SDK releases in order, and for each interface version string the
// releases whose headers define it (facts read from Valve's headers by
// offline/client/generate_client_tables.py; see offline/client/interface_tables.h).
constexpr const char* kReleases[] = {"1.48",  "1.48a", "1.49", "1.50", "1.51", "1.52", "1.53",
                                     "1.53a", "1.54",  "1.55", "1.56", "1.57", "1.58", "1.58a",
                                     "1.59",  "1.60",  "1.61", "1.62", "1.63"};
constexpr int kReleaseCount = static_cast<int>(sizeof kReleases / sizeof kReleases[0]);

struct VersionSpan {
    const char* version;
    const char* first;
    const char* last;
};

constexpr VersionSpan kVersions[] = {
    {"SteamClient020", "1.48", "1.58a"},
    {"SteamClient021", "1.59", "1.62"},
    {"SteamClient023", "1.63", "1.63"},
    {"SteamUser020", "1.48", "1.48a"},
    {"SteamUser021", "1.49", "1.55"},
    {"SteamUser022", "1.56", "1.56"},
    {"SteamUser023", "1.57", "1.63"},
    {"STEAMUSERSTATS_INTERFACE_VERSION011", "1.48", "1.48a"},
    {"STEAMUSERSTATS_INTERFACE_VERSION012", "1.49", "1.60"},
    {"STEAMUSERSTATS_INTERFACE_VERSION013", "1.61", "1.63"},
    {"SteamUtils009", "1.48", "1.49"},
    {"SteamUtils010", "1.50", "1.63"},
    {"SteamFriends017", "1.48", "1.61"},
    {"SteamFriends018", "1.62", "1.63"},
};

int ReleaseIndex(const char* release) {
    for (int i = 0; i < kReleaseCount; ++i)
        if (std::strcmp(kReleases[i], release) == 0) return i;
    return -1;
}

std::vector<unsigned char> ReadBytes(const std::string& path, std::size_t limit) {
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> bytes;
    if (!file) return bytes;
    bytes.resize(limit);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

uint32_t little(const std::vector<unsigned char>& bytes, std::size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

// A version string stands alone in the file: the byte after it ends it.
bool HoldsString(const std::vector<unsigned char>& bytes, const char* text) {
    const std::size_t length = std::strlen(text);
    auto at = bytes.begin();
    while (true) {
        at = std::search(at, bytes.end(), text, text + length);
        if (at == bytes.end()) return false;
        const auto after = at + static_cast<std::ptrdiff_t>(length);
        if (after == bytes.end() || *after == 0) return true;
        ++at;
    }
}

// Client libraries are well under this; a larger file is not one.
std::vector<unsigned char> ReadLibrary(const std::string& path) {
    return ReadBytes(path, 64u << 20);
}

// The releases the version strings in `bytes` allow, as indexes; false when none.
bool ReleaseSpan(const std::vector<unsigned char>& bytes, int* first, int* last) {
    *first = 0;
    *last = kReleaseCount - 1;
    bool any = false;
    for (const VersionSpan& span : kVersions) {
        if (!HoldsString(bytes, span.version)) continue;
        any = true;
        *first = std::max(*first, ReleaseIndex(span.first));
        *last = std::min(*last, ReleaseIndex(span.last));
    }
    return any && *first <= *last;
}

struct GameStartRow {
    const char* release;
    bool hasStartList;
    const char* versions;  // each ended by a NUL, the list by an empty one
};

constexpr GameStartRow kGameStarts[] = {
#define OFFLINE_GAME_START_ROW(release, hasStartList, versions) \
    {release, hasStartList != 0, versions},
    STEAM_CLIENT_RELEASES(OFFLINE_GAME_START_ROW)
#undef OFFLINE_GAME_START_ROW
};

}  // namespace

const char* ArchitectureName(Architecture architecture) {
    switch (architecture) {
        case Architecture::X86:
            return "32-bit x86";
        case Architecture::X64:
            return "x86-64";
        case Architecture::OtherElf:
            return "an ELF architecture other than x86";
        case Architecture::OtherPe:
            return "a Windows architecture other than x86";
        case Architecture::Unknown:
            break;
    }
    return "unknown";
}

Architecture ArchitectureOf(const std::string& path) {
    const std::vector<unsigned char> bytes = ReadBytes(path, 4096);
    if (bytes.size() >= 20 && bytes[0] == 0x7F && bytes[1] == 'E' && bytes[2] == 'L' &&
        bytes[3] == 'F') {
        const uint32_t machine = little(bytes, 18, 2);
        if (machine == 3) return Architecture::X86;
        if (machine == 62) return Architecture::X64;
        return Architecture::OtherElf;
    }
    if (bytes.size() >= 0x40 && bytes[0] == 'M' && bytes[1] == 'Z') {
        const uint32_t header = little(bytes, 0x3C, 4);
        if (header + 6 > bytes.size() || std::memcmp(&bytes[header], "PE\0\0", 4) != 0)
            return Architecture::Unknown;
        const uint32_t machine = little(bytes, header + 4, 2);
        if (machine == 0x14C) return Architecture::X86;
        if (machine == 0x8664) return Architecture::X64;
        return Architecture::OtherPe;
    }
    return Architecture::Unknown;
}

bool IsElf(const std::string& path) {
    const std::vector<unsigned char> bytes = ReadBytes(path, 4);
    return bytes.size() == 4 && bytes[0] == 0x7F && bytes[1] == 'E' && bytes[2] == 'L' &&
           bytes[3] == 'F';
}

std::string SdkReleasesOf(const std::string& path) {
    int first = 0;
    int last = 0;
    if (!ReleaseSpan(ReadLibrary(path), &first, &last)) return std::string();
    if (first == last) return kReleases[first];
    return std::string(kReleases[first]) + " to " + kReleases[last];
}

GameStart GameStartOf(const std::string& path) {
    const std::vector<unsigned char> bytes = ReadLibrary(path);
    int first = 0;
    int last = kReleaseCount - 1;
    if (!ReleaseSpan(bytes, &first, &last)) {
        first = 0;
        last = kReleaseCount - 1;
    }
    const bool internalInit = HoldsString(bytes, "SteamInternal_SteamAPI_Init");
    GameStart best;
    std::size_t bestMissing = 0;
    for (const GameStartRow& row : kGameStarts) {
        const int index = ReleaseIndex(row.release);
        if (index < first || index > last || row.hasStartList != internalInit) continue;
        GameStart start{row.release, row.hasStartList, {}};
        std::size_t missing = 0;
        for (const char* version = row.versions; *version != '\0';
             version += std::strlen(version) + 1) {
            start.versions.emplace_back(version);
            missing += HoldsString(bytes, version) ? 0 : 1;
        }
        // Rows run oldest to newest: an equal one later is newer.
        if (best.release.empty() || missing <= bestMissing) {
            best = std::move(start);
            bestMissing = missing;
        }
    }
    return best;
}

}  // namespace offline_tool
