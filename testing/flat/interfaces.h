// The opaque interface objects handed out by the accessors, and checks of a method's self pointer.
#pragma once

namespace offline_steam {

enum class InterfaceKind { User, UserStats, Utils, Apps, Friends };

// Null while the session is stopped or when the accessor is set to fail.
void* AccessInterface(InterfaceKind kind);
// True when self is that interface's object and the session runs.
bool IsLiveInterface(const void* self, InterfaceKind kind);

// Valve's library gets the client and utils objects while it starts, and from
// 1.58 on checks the user interface's version too: when the client refuses
// one of them, the start fails.
bool StartMeetsRefusedInterface();

}  // namespace offline_steam
