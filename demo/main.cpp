// A console stand-in for the game: loads steambridge at run time and plays a
// session against whatever client library sits beside it.
#include <cstdio>

#include "bridge_library.h"
#include "host_text.h"

int main() {
    BridgeLibrary bridge;
    if (!bridge.Open(std::string())) {
        std::printf("cannot use steambridge: %s\n", bridge.error().c_str());
        return 1;
    }
    const BridgeExports& steam = bridge.exports();

    SteamBridgeChar16 language[64] = {};
    SteamBridgeChar16 availableLanguages[1024] = {};
    SteamBridgeChar16* languageBuffer = language;
    SteamBridgeChar16* availableBuffer = availableLanguages;

    std::printf("host: steamInit\n");
    if (!steam.steamInit(&languageBuffer, &availableBuffer)) {
        std::printf("  Steam is not available; the game goes on without it\n");
        std::printf("host: steamFree -> %d\n", steam.steamFree());
        return 0;
    }
    std::printf("  started\n");
    std::printf("  current language:    %s\n", ToUtf8(language).c_str());
    std::printf("  available languages: %s\n", ToUtf8(availableLanguages).c_str());
    std::printf("host: steamUserID -> %llu\n",
                static_cast<unsigned long long>(steam.steamUserID()));

    for (int frame = 1; frame <= 3; ++frame) {
        steam.steamCallBacks();
        std::printf("host: frame %d, steamCallBacks\n", frame);
    }

    std::printf("host: steamFree -> %d\n", steam.steamFree());
    std::printf("host: steamUserID after steamFree -> %llu\n",
                static_cast<unsigned long long>(steam.steamUserID()));
    return 0;
}
