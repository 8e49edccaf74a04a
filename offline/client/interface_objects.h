// The interface objects the stand-in Steam client hands to Valve's library: one
// static object per interface version in the generated tables, each with a
// virtual table built from that version's slot list (served methods where
// served_methods.h names one, logging stubs elsewhere).
#pragma once

#include <cstdint>

#include "interface_tables.h"

namespace offline_steam::client {

// The return kinds of the generated tables.
enum class ReturnKind { Void, Int32, Int64, Pointer, Float, Double, Object };

// One enumerator per interface version of the generated tables, in their order.
enum class InterfaceId : int {
#define STEAM_CLIENT_INTERFACE_ID(Id, Version, Class, SlotCount) Id,
    STEAM_CLIENT_INTERFACES(STEAM_CLIENT_INTERFACE_ID)
#undef STEAM_CLIENT_INTERFACE_ID
        Count
};

// What an object is, by its interface class; the model's refusals name these
// unversioned ("SteamUser", "SteamUserStats", ...).
enum class Family { Client, User, UserStats, Utils, Apps, Friends, Input, Controller, Other };

// An object in the MSVC layout: its first word is the virtual table pointer.
struct ClientObject {
    const void* const* vtable;
    InterfaceId id;
};

// The object serving `version`, or null when the tables do not know that version string.
ClientObject* ObjectForVersion(const char* version);
// The version string of one of our objects, or null for any other pointer.
const char* VersionOf(const void* self);
// Family of one of our objects (Other for any other pointer).
Family FamilyOf(const void* self);
// The interface class of a version string the tables know ("ISteamUGC"), null when unknown.
const char* ClassOfVersion(const char* version);
// Family of a version string the tables know (Other when unknown).
Family FamilyOfVersion(const char* version);
// The refusal name of a family ("SteamUserStats"), null for Client/Input/Controller/Other.
const char* RefusalNameOf(Family family);

}  // namespace offline_steam::client
