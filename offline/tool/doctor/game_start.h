// The doctor's trial start as a C++ game of the library's release makes it,
// shared by the Linux trial (in a child of the doctor) and the Windows one
// (steambridge-offline-trial.exe, a process of the library's architecture).
// `find(name)` looks a function up in Valve's library by its export name.
#pragma once

#include <cstring>
#include <string>

#include "binary_facts.h"

#if defined(_WIN32)
#define OFFLINE_STEAM_CALL __cdecl
#else
#define OFFLINE_STEAM_CALL
#endif

namespace offline_tool {

struct GameStartResult {
    std::string why;  // empty when it started and served every version asked for
    bool up = false;  // Steam is up: the caller shuts it down
};

template <class Find>
GameStartResult StartAsGame(Find find, const GameStart& start) {
    using InitFlat = int(OFFLINE_STEAM_CALL*)(char*);
    using Init = bool(OFFLINE_STEAM_CALL*)();
    using InternalInit = int(OFFLINE_STEAM_CALL*)(const char*, char*);
    using GetUser = int(OFFLINE_STEAM_CALL*)();
    using FindOrCreate = void*(OFFLINE_STEAM_CALL*)(int, const char*);
    char message[1024] = {};
    const std::string of = start.release.empty() ? std::string() : " of SDK " + start.release;
    // From 1.58 a C++ game starts through SteamAPI_InitEx, which hands the
    // library every version its headers use; the library checks each.
    if (start.hasStartList) {
        if (auto internal = reinterpret_cast<InternalInit>(find("SteamInternal_SteamAPI_Init"))) {
            std::string list;
            for (const std::string& version : start.versions) list += version + '\0';
            list += '\0';
            const int code = internal(list.c_str(), message);
            message[sizeof message - 1] = '\0';
            if (code == 0) return {std::string(), true};
            return {"SteamInternal_SteamAPI_Init with the " +
                        std::to_string(start.versions.size()) + " interface versions" + of +
                        " gave " + std::to_string(code) + ": " + message,
                    false};
        }
    }
    if (auto initFlat = reinterpret_cast<InitFlat>(find("SteamAPI_InitFlat"))) {
        const int code = initFlat(message);
        message[sizeof message - 1] = '\0';
        if (code != 0)
            return {"SteamAPI_InitFlat gave " + std::to_string(code) + ": " + message, false};
    } else if (auto init = reinterpret_cast<Init>(find("SteamAPI_Init"))) {
        if (!init()) return {"SteamAPI_Init returned false", false};
    } else if (auto internal =
                   reinterpret_cast<InternalInit>(find("SteamInternal_SteamAPI_Init"))) {
        const int code = internal("\0", message);
        message[sizeof message - 1] = '\0';
        if (code != 0)
            return {"SteamInternal_SteamAPI_Init gave " + std::to_string(code) + ": " + message,
                    false};
    } else {
        return {"it exports no start function (SteamAPI_InitFlat, SteamAPI_Init)", false};
    }
    if (start.hasStartList) return {std::string(), true};
    // Before 1.58 the start checks nothing: a C++ game's accessors ask the
    // client for each version when first called, and a NULL one fails there.
    auto user = reinterpret_cast<GetUser>(find("SteamAPI_GetHSteamUser"));
    auto ask = reinterpret_cast<FindOrCreate>(find("SteamInternal_FindOrCreateUserInterface"));
    if (user == nullptr || ask == nullptr) return {std::string(), true};
    std::string missing;
    for (const std::string& version : start.versions) {
        if (ask(user(), version.c_str()) != nullptr) continue;
        missing += (missing.empty() ? "" : ", ") + version;
    }
    if (missing.empty()) return {std::string(), true};
    return {"it started, but the offline client gave no " + missing + ", which a C++ game" + of +
                " asks for through its accessors",
            true};
}

}  // namespace offline_tool
