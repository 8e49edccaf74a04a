// One static object per interface; its address is the pointer the game receives.
#include "interfaces.h"

#include <cstring>

#include "face.h"
#include "session.h"
#include "sim_lock.h"

namespace steam_sim {
namespace {

constexpr int kInterfaceCount = 5;

struct InterfaceObject {
    const char* accessorName;
    bool returnsNull;
};

InterfaceObject interfaceObjects[kInterfaceCount] = {
    {"SteamUser", false}, {"SteamUserStats", false}, {"SteamUtils", false},
    {"SteamApps", false}, {"SteamFriends", false},
};

// The client object itself, which only the library's start asks for.
bool clientRefused = false;

InterfaceObject& objectOf(InterfaceKind kind) { return interfaceObjects[static_cast<int>(kind)]; }

}  // namespace

void* accessInterface(InterfaceKind kind) {
    InterfaceObject& object = objectOf(kind);
    if (!session().running() || object.returnsNull) return nullptr;
    return &object;
}

bool isLiveInterface(const void* self, InterfaceKind kind) {
    SimGuard guard;
    return self != nullptr && self == &objectOf(kind) && session().running();
}

bool startMeetsRefusedInterface() {
    if (clientRefused) return true;
    if (objectOf(InterfaceKind::Utils).returnsNull) return true;
    return faceProfile() >= 158 && objectOf(InterfaceKind::User).returnsNull;
}

void setInterfaceRefused(const char* accessorName, bool returnsNull) {
    if (accessorName == nullptr) return;
    if (std::strcmp(accessorName, "SteamClient") == 0) clientRefused = returnsNull;
    for (InterfaceObject& object : interfaceObjects) {
        if (std::strcmp(object.accessorName, accessorName) == 0) object.returnsNull = returnsNull;
    }
}

void resetInterfaces() {
    clientRefused = false;
    for (InterfaceObject& object : interfaceObjects) object.returnsNull = false;
}

}  // namespace steam_sim
