// One static object per interface; its address is the pointer the game receives.
#include "interfaces.h"

#include "face.h"
#include "session.h"
#include "sim_lock.h"

namespace steam_sim {
namespace {

constexpr int kInterfaceCount = 5;

struct InterfaceObject {
    const char* accessorName;
};

InterfaceObject interfaceObjects[kInterfaceCount] = {
    {"SteamUser"}, {"SteamUserStats"}, {"SteamUtils"}, {"SteamApps"}, {"SteamFriends"},
};

bool refused(InterfaceKind kind) {
    return session().interfaceRefused(interfaceObjects[static_cast<int>(kind)].accessorName);
}

InterfaceObject& objectOf(InterfaceKind kind) { return interfaceObjects[static_cast<int>(kind)]; }

}  // namespace

void* accessInterface(InterfaceKind kind) {
    InterfaceObject& object = objectOf(kind);
    if (!session().running() || refused(kind)) return nullptr;
    return &object;
}

bool isLiveInterface(const void* self, InterfaceKind kind) {
    SimGuard guard;
    return self != nullptr && self == &objectOf(kind) && session().running();
}

bool startMeetsRefusedInterface() {
    // The client object itself, which only the library's start asks for.
    if (session().interfaceRefused("SteamClient")) return true;
    if (refused(InterfaceKind::Utils)) return true;
    return faceProfile() >= 158 && refused(InterfaceKind::User);
}

}  // namespace steam_sim
