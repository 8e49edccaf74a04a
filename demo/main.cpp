// A console stand-in for the game: loads steambridge at run time and plays a
// session against whatever client library sits beside it, scripted or typed.
#include <clocale>
#include <cstdio>
#include <cstring>

#include "host_support/bridge_library.h"
#include "sessions.h"

namespace {

// Exit status when standard output could not be written.
constexpr int kOutputLost = 3;

void PrintUsage(const char* program) {
    std::printf("usage: %s [--interactive]\n", program);
    std::printf("  (no argument)   play a complete game session and print its transcript\n");
    std::printf("  --interactive   type the game's calls to steambridge at a prompt\n");
}

}  // namespace

int main(int argc, char** argv) {
    const char* program = argc > 0 ? argv[0] : "steambridge_demo";
    bool interactive = false;
    if (argc == 2 && std::strcmp(argv[1], "--interactive") == 0) {
        interactive = true;
    } else if (argc == 2 &&
               (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        PrintUsage(program);
        return 0;
    } else if (argc > 1) {
        PrintUsage(program);
        return 2;
    }

    // Leaderboard names are converted under the process's locale: take the
    // player's, as a localised game would.
    std::setlocale(LC_CTYPE, "");

    BridgeLibrary bridge;
    if (!bridge.Open(std::string())) {
        std::printf("cannot use steambridge: %s\n", bridge.error().c_str());
        return 1;
    }
    // A Steam client beside the program stands for a running Steam: Valve's
    // own client library finds it the way it finds the real one.
    const std::string steamClient = ProgramDirectory() + kSteamClientFileName;
    if (std::FILE* file = std::fopen(steamClient.c_str(), "rb")) {
        std::fclose(file);
        if (!UseSteamClient(steamClient)) {
            std::printf("cannot point the client library at %s\n", steamClient.c_str());
            return 1;
        }
        std::printf(
            "steambridge demo: a game session through the client library beside this program,\n"
            "  over the stand-in Steam client %s\n",
            kSteamClientFileName);
    } else {
        std::printf(
            "steambridge demo: a game session against the client library beside this "
            "program\n");
    }
    const int result = interactive ? RunInteractiveSession(bridge.exports())
                                   : RunScriptedSession(bridge.exports());
    // A console that swallows what is written must not look like a session
    // that played: the caller can still tell the person.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return kOutputLost;
    return result;
}
