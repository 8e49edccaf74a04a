// One static object per interface; its address is the pointer the game receives.
#include "interfaces.h"

#include "face.h"
#include "model_lock.h"
#include "session.h"

namespace offline_steam {
namespace {

constexpr int kInterfaceCount = 5;

struct InterfaceObject {
    const char* accessorName;
};

InterfaceObject interfaceObjects[kInterfaceCount] = {
    {"SteamUser"}, {"SteamUserStats"}, {"SteamUtils"}, {"SteamApps"}, {"SteamFriends"},
};

bool Refused(InterfaceKind kind) {
    return TheSession().InterfaceRefused(interfaceObjects[static_cast<int>(kind)].accessorName);
}

InterfaceObject& ObjectOf(InterfaceKind kind) { return interfaceObjects[static_cast<int>(kind)]; }

}  // namespace

void* AccessInterface(InterfaceKind kind) {
    InterfaceObject& object = ObjectOf(kind);
    if (!TheSession().Running() || Refused(kind)) return nullptr;
    return &object;
}

bool IsLiveInterface(const void* self, InterfaceKind kind) {
    ModelGuard guard;
    return self != nullptr && self == &ObjectOf(kind) && TheSession().Running();
}

bool StartMeetsRefusedInterface() {
    // The client object itself, which only the library's start asks for.
    if (TheSession().InterfaceRefused("SteamClient")) return true;
    if (Refused(InterfaceKind::Utils)) return true;
    return FaceProfile() >= 158 && Refused(InterfaceKind::User);
}

}  // namespace offline_steam
