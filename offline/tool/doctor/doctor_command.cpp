// steambridge-offline doctor: why a game's Steam start fails. One line per
// finding, each with what to do about it; a non-zero exit when the game
// cannot start Steam.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "binary_facts.h"
#include "command_line.h"
#include "offline_platform.h"
#include "run_command.h"

namespace offline_tool {
namespace {

namespace fs = std::filesystem;

class Findings {
public:
    void Ok(const std::string& text) { Line("ok  ", text); }
    void Note(const std::string& text) { Line("note", text); }
    void Warn(const std::string& text) { Line("warn", text); }
    void Fail(const std::string& text) {
        Line("FAIL", text);
        failed_ = true;
    }
    bool Failed() const { return failed_; }

private:
    static void Line(const char* mark, const std::string& text) {
        std::printf("%s  %s\n", mark, text.c_str());
    }
    bool failed_ = false;
};

struct ClientLibrary {
    const char* file;
    const char* bridge;
    Architecture expected;
};

constexpr ClientLibrary kClientLibraries[] = {
    {"libsteam_api.so", "libsteambridge.so", Architecture::X64},
    {"steam_api64.dll", "steambridge64.dll", Architecture::X64},
    {"steam_api.dll", "steambridge.dll", Architecture::X86},
};

// Where games keep the client library below their folder (bin/, or
// node_modules/steamworks.js/dist/linux64 for a Node binding): searched this
// deep, through at most this many folders, naming at most this many.
constexpr int kSearchDepth = 6;
constexpr int kSearchFolders = 20000;
constexpr std::size_t kMostLibraries = 16;

struct FoundLibrary {
    fs::path path;      // as found, under the game's folder
    std::string shown;  // relative to the game's folder
    const ClientLibrary* kind;
};

// Breadth first, so the library nearest the game's folder comes first; a
// folder reached twice (a link back up, a loop) is searched once.
std::vector<FoundLibrary> FindClientLibraries(const fs::path& folder, bool* cut) {
    std::vector<FoundLibrary> found;
    std::set<fs::path> seen;
    std::vector<fs::path> level{folder};
    int folders = 0;
    *cut = false;
    for (int depth = 0; depth <= kSearchDepth && !level.empty(); ++depth) {
        std::vector<fs::path> next;
        for (const fs::path& current : level) {
            std::error_code failure;
            const fs::path real = fs::canonical(current, failure);
            if (failure || !seen.insert(real).second) continue;
            if (++folders > kSearchFolders) {
                *cut = true;
                return found;
            }
            std::vector<fs::path> files;
            fs::directory_iterator entries(current, fs::directory_options::skip_permission_denied,
                                           failure);
            for (; !failure && entries != fs::directory_iterator(); entries.increment(failure)) {
                const fs::path entry = entries->path();
                std::error_code kind;
                if (fs::is_directory(entry, kind)) {
                    next.push_back(entry);
                } else {
                    files.push_back(entry);
                }
            }
            std::sort(files.begin(), files.end());
            for (const fs::path& file : files) {
                for (const ClientLibrary& library : kClientLibraries) {
                    if (file.filename() != library.file) continue;
                    if (found.size() == kMostLibraries) {
                        *cut = true;
                        return found;
                    }
                    found.push_back(
                        {file, file.lexically_relative(folder).generic_string(), &library});
                }
            }
        }
        std::sort(next.begin(), next.end());
        level = std::move(next);
    }
    return found;
}

void CheckAppIdFile(const fs::path& folder, Findings& findings) {
    const fs::path file = folder / "steam_appid.txt";
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        findings.Note("steam_appid.txt: none in " + folder.string() +
                      "; started outside Steam, a game needs one in the folder it starts in");
        return;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bool good = true;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        findings.Warn(
            "steam_appid.txt: starts with a UTF-8 byte-order mark; save it as plain ASCII");
        text.erase(0, 3);
        good = false;
    }
    std::size_t first = text.find_first_not_of(" \t\r\n");
    std::size_t last = text.find_last_not_of(" \t\r\n");
    const std::string id = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    const bool strayWhitespace =
        first != 0 || (last != std::string::npos && last + 1 < text.size() &&
                       text.substr(last + 1) != "\n" && text.substr(last + 1) != "\r\n");
    if (id.empty()) {
        findings.Fail("steam_appid.txt: empty; write the game's app ID (digits only) in it");
        return;
    }
    for (const char c : id) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            findings.Fail("steam_appid.txt: \"" + id +
                          "\" is not an app ID; it must hold digits only");
            return;
        }
    }
    if (strayWhitespace) {
        findings.Warn(
            "steam_appid.txt: whitespace around the app ID; keep only the digits (and one "
            "newline)");
        good = false;
    }
    if (good)
        findings.Ok("steam_appid.txt: app ID " + id +
                    " (read from the folder the game is started from)");
}

}  // namespace

int RunDoctor(const Arguments& arguments) {
    std::string clientPath;
    std::vector<ValueOption> options{{"--client", &clientPath}};
    Arguments positional;
    std::string error;
    if (!ParseOptions(arguments, options, &positional, &error)) return UsageError(error);
    if (positional.size() > 1)
        return UsageError("doctor takes one game folder, not " + positional[1]);
    const fs::path folder = positional.empty() ? fs::path(".") : fs::path(positional[0]);
    std::error_code failure;
    if (!fs::is_directory(folder, failure)) {
        std::fprintf(stderr, "%s: %s is not a folder\n", kProgram, folder.string().c_str());
        return kUsage;
    }

    Findings findings;
    bool cut = false;
    const std::vector<FoundLibrary> found = FindClientLibraries(folder, &cut);
    std::vector<GameStart> starts;
    for (const FoundLibrary& library : found) {
        const std::string path = library.path.string();
        const Architecture architecture = ArchitectureOf(path);
        const std::string releases = SdkReleasesOf(path);
        starts.push_back(GameStartOf(path));
        const std::string described =
            library.shown + ", " + ArchitectureName(architecture) +
            (releases.empty() ? ", of no SDK release this tool knows" : ", SDK " + releases);
        if (architecture != library.kind->expected)
            findings.Fail("client library: " + described + ", but its name is that of " +
                          ArchitectureName(library.kind->expected) +
                          " games: ship the one of its SDK's " +
                          "redistributable_bin folder that fits the game");
        else
            findings.Ok("client library: " + described);

        const fs::path bridge = library.path.parent_path() / library.kind->bridge;
        if (fs::exists(bridge, failure)) {
            const Architecture bridgeArchitecture = ArchitectureOf(bridge.string());
            if (bridgeArchitecture == architecture)
                findings.Ok(std::string("steambridge: ") + library.kind->bridge + ", " +
                            ArchitectureName(bridgeArchitecture) + ", as the client library");
            else
                findings.Fail(std::string("steambridge: ") + library.kind->bridge + " is " +
                              ArchitectureName(bridgeArchitecture) + " but " + library.shown +
                              " is " + ArchitectureName(architecture) +
                              ": ship the bridge and the client library of the game's "
                              "architecture");
        }
    }
    if (cut)
        findings.Note("client library: the search below " + folder.string() + " stopped at " +
                      std::to_string(kMostLibraries) + " libraries or " +
                      std::to_string(kSearchFolders) + " folders; name the game's own folder");
    if (found.empty()) {
        findings.Fail("client library: none in " + folder.string() + " or up to " +
                      std::to_string(kSearchDepth) +
                      " folders below it; ship Valve's libsteam_api.so, steam_api64.dll or "
                      "steam_api.dll (SDK 1.48 or newer) beside the game's executable");
        for (const ClientLibrary& library : kClientLibraries) {
            const fs::path bridge = folder / library.bridge;
            if (!fs::exists(bridge, failure)) continue;
            findings.Note(std::string("steambridge: ") + library.bridge + ", " +
                          ArchitectureName(ArchitectureOf(bridge.string())) + ", needs Valve's " +
                          library.file + " beside it; its steamInit will be false");
        }
    }

    CheckAppIdFile(folder, findings);

    const std::string steam = RealSteamRunning();
    if (steam.empty())
        findings.Ok("Steam: no real Steam runs for this user; the offline client can stand in");
    else
        findings.Note(
            "Steam: a real Steam seems to run (" + steam +
            "); steambridge-offline run leaves it alone: the game alone sees the offline client");

    // Each library found is tried: a game may ship more than one (its own,
    // a plugin's, a binding's), each of its own release.
    for (std::size_t i = 0; i < found.size(); ++i) {
        const GameStart& start = starts[i];
        const TrialResult trial =
            TrialStart(fs::absolute(found[i].path).string(), folder.string(), clientPath, start);
        const std::string name = "trial start: Valve's " + found[i].shown;
        const std::string as =
            start.release.empty()
                ? std::string()
                : " as a C++ game of SDK " + start.release + " starts (" +
                      (start.hasStartList ? "SteamInternal_SteamAPI_Init with its "
                                          : "SteamAPI_Init, then its ") +
                      std::to_string(start.versions.size()) + " interface versions)";
        if (trial.outcome == TrialResult::Started)
            findings.Ok(name + " started over the offline client" + as + " and shut down");
        else if (trial.outcome == TrialResult::Failed)
            findings.Fail(name + " did not start over the offline client: " + trial.text +
                          (as.empty() ? std::string() : " (tried" + as + ")"));
        else
            findings.Note(name + ": " + trial.text);
    }
    return findings.Failed() ? kCannotStart : kAllMet;
}

}  // namespace offline_tool
