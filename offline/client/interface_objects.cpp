// Virtual tables built from the generated slot lists, and the logging stubs of
// the slots no served method fills.
//
// The 32-bit MSVC ABI every slot keeps (the caller is Valve's MSVC-built library):
// - thiscall: the object in ECX, arguments on the stack, the callee pops them;
// - a slot must pop exactly the generated win32ArgBytes, or the caller's stack is off;
// - an Object result (CSteamID, CGameID, input action data) comes through a hidden
//   result pointer, the first stack argument (counted in win32ArgBytes); the callee
//   fills it and returns it in EAX;
// - 64-bit results in EDX:EAX, float and double results in ST0.
//
// The 64-bit MSVC ABI is simpler: the object and the first three arguments in
// registers, the rest on the stack, and the caller cleans up, so a stub needs
// no argument list; an Object result still comes through a hidden result
// pointer, the first argument after the object, returned in RAX; float and
// double results in XMM0.
//
// The Itanium ABI of Valve's Linux library (GCC-built, x86-64): the table in
// declaration order (the generated itanium slots), the object the first
// argument, the caller cleans up; an Object result of up to 16 bytes comes
// back in RAX:RDX, a larger one through a hidden pointer passed before the
// object.
#include "interface_objects.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>

#include "call_log.h"
#include "event_reports.h"
#include "feature_off_answers.h"
#include "model_lock.h"
#include "served_methods.h"

// GCC applies thiscall to free and static functions too, but -Wpedantic warns
// that they are not class methods; the attribute is exactly what is wanted here.
#pragma GCC diagnostic ignored "-Wattributes"

namespace offline_steam::client {
namespace {

// ---- The generated tables as constant data --------------------------------

struct SlotDesc {
    int msvcSlot;
    int itaniumSlot;
    const char* name;
    int argBytes;
    ReturnKind kind;
    int objectSize;
    const char* returnType;
};

struct ServedDesc {
    const char* className;
    const char* name;
    int argBytes;
    ReturnKind kind;
};

constexpr bool SameText(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

constexpr ServedDesc kServed[] = {
#define STEAM_CLIENT_SERVED_DESC(Class, Method, Bytes, Kind, Function) \
    {#Class, #Method, Bytes, ReturnKind::Kind},
    STEAM_CLIENT_SERVED(STEAM_CLIENT_SERVED_DESC)
#undef STEAM_CLIENT_SERVED_DESC
};
constexpr int kServedCount = static_cast<int>(sizeof kServed / sizeof kServed[0]);

// The row of kServed that fills this slot of a class, -1 when none does.
constexpr int ServedRowFor(const char* className, const SlotDesc& slot) {
    for (int row = 0; row < kServedCount; ++row) {
        const ServedDesc& served = kServed[row];
        if (SameText(served.className, className) && SameText(served.name, slot.name) &&
            served.argBytes == slot.argBytes && served.kind == slot.kind)
            return row;
    }
    return -1;
}

// Every slot in MSVC order, and every served method of the class that names a
// slot fits it (argument bytes and return kind), so no served method can pop
// the wrong number of bytes.
template <std::size_t N>
constexpr bool slotsAgree(const char* className, const SlotDesc (&slots)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (slots[i].msvcSlot != static_cast<int>(i)) return false;
        bool named = false;
        for (const ServedDesc& served : kServed) {
            if (SameText(served.className, className) && SameText(served.name, slots[i].name))
                named = true;
        }
        if (named && ServedRowFor(className, slots[i]) < 0) return false;
    }
    return true;
}

#define STEAM_CLIENT_SLOT_DESC(Msvc, Itanium, Name, Bytes, Kind, ObjectSize, ReturnType) \
    SlotDesc{Msvc, Itanium, #Name, Bytes, ReturnKind::Kind, ObjectSize, ReturnType},
#define STEAM_CLIENT_INTERFACE_SLOTS(Id, Version, Class, SlotCount)                               \
    constexpr SlotDesc k##Id##Slots[] = {STEAM_CLIENT_SLOTS_##Id(STEAM_CLIENT_SLOT_DESC)};        \
    static_assert(sizeof k##Id##Slots / sizeof(SlotDesc) == SlotCount, "slot count of " Version); \
    static_assert(slotsAgree(#Class, k##Id##Slots),                                               \
                  "a served method disagrees with its generated slot in " Version);
STEAM_CLIENT_INTERFACES(STEAM_CLIENT_INTERFACE_SLOTS)
#undef STEAM_CLIENT_INTERFACE_SLOTS
#undef STEAM_CLIENT_SLOT_DESC

constexpr Family familyOfClass(const char* className) {
    if (SameText(className, "ISteamClient")) return Family::Client;
    if (SameText(className, "ISteamUser")) return Family::User;
    if (SameText(className, "ISteamUserStats")) return Family::UserStats;
    if (SameText(className, "ISteamUtils")) return Family::Utils;
    if (SameText(className, "ISteamApps")) return Family::Apps;
    if (SameText(className, "ISteamFriends")) return Family::Friends;
    if (SameText(className, "ISteamInput")) return Family::Input;
    if (SameText(className, "ISteamController")) return Family::Controller;
    return Family::Other;
}

struct InterfaceDesc {
    const char* version;
    Family family;
    const SlotDesc* slots;
    int slotCount;
};

constexpr InterfaceDesc kInterfaces[] = {
#define STEAM_CLIENT_INTERFACE_DESC(Id, Version, Class, SlotCount) \
    {Version, familyOfClass(#Class), k##Id##Slots, SlotCount},
    STEAM_CLIENT_INTERFACES(STEAM_CLIENT_INTERFACE_DESC)
#undef STEAM_CLIENT_INTERFACE_DESC
};
constexpr int kInterfaceCount = static_cast<int>(InterfaceId::Count);
static_assert(sizeof kInterfaces / sizeof kInterfaces[0] == kInterfaceCount, "one row per id");

constexpr const char* kClassNames[] = {
#define STEAM_CLIENT_CLASS_NAME(Id, Version, Class, SlotCount) #Class,
    STEAM_CLIENT_INTERFACES(STEAM_CLIENT_CLASS_NAME)
#undef STEAM_CLIENT_CLASS_NAME
};

// ---- Stubs of unimplemented slots ------------------------------------------

void LogUnimplemented(int interfaceIndex, int slot) {
    ModelGuard guard;
    const InterfaceDesc& desc = kInterfaces[interfaceIndex];
    std::string line = "unimplemented ";
    line += desc.version;
    line += "::";
    line += desc.slots[slot].name;
    line += "()";
    ReportUnserved(line.substr(14, line.size() - 16));
    TheCallLog().Append(std::move(line));
}

// ---- Feature-off answers ----------------------------------------------------

struct MethodAnswer {
    const char* className;
    const char* method;
    int64_t answer;
};
constexpr MethodAnswer kAnswersByMethod[] = {
#define STEAM_CLIENT_METHOD_ANSWER(Class, Method, Answer) {#Class, #Method, Answer},
    FEATURE_OFF_BY_METHOD(STEAM_CLIENT_METHOD_ANSWER)
#undef STEAM_CLIENT_METHOD_ANSWER
};

struct TypeAnswer {
    const char* type;
    int64_t answer;
};
constexpr TypeAnswer kAnswersByType[] = {
#define STEAM_CLIENT_TYPE_ANSWER(Type, Answer) {Type, Answer},
    FEATURE_OFF_BY_TYPE(STEAM_CLIENT_TYPE_ANSWER)
#undef STEAM_CLIENT_TYPE_ANSWER
};

// The answer of an unserved slot: by method, else by return type, else zero.
constexpr int64_t FeatureOffAnswer(const char* className, const SlotDesc& slot) {
    for (const MethodAnswer& row : kAnswersByMethod)
        if (SameText(row.className, className) && SameText(row.method, slot.name))
            return row.answer;
    for (const TypeAnswer& row : kAnswersByType)
        if (SameText(row.type, slot.returnType)) return row.answer;
    return 0;
}

// An unserved text getter answers an empty text, never NULL.
constexpr char kEmptyText[] = "";

template <int I, int S, class Result>
Result Answer() {
    constexpr const SlotDesc& slot = kInterfaces[I].slots[S];
    if constexpr (std::is_pointer_v<Result>) {
        if constexpr (SameText(slot.returnType, "text")) {
            return const_cast<char*>(kEmptyText);
        } else {
            return nullptr;
        }
    } else {
        return static_cast<Result>(FeatureOffAnswer(kClassNames[I], slot));
    }
}

// The C++ type whose return puts an answer where the caller looks for that kind:
// EAX/RAX (Int32, Pointer), EDX:EAX/RAX (Int64), ST0/XMM0 (Float, Double).
template <ReturnKind Kind>
struct ResultType;
template <>
struct ResultType<ReturnKind::Void> {
    using type = void;
};
template <>
struct ResultType<ReturnKind::Int32> {
    using type = uint32_t;
};
template <>
struct ResultType<ReturnKind::Int64> {
    using type = uint64_t;
};
template <>
struct ResultType<ReturnKind::Pointer> {
    using type = void*;
};
template <>
struct ResultType<ReturnKind::Float> {
    using type = float;
};
template <>
struct ResultType<ReturnKind::Double> {
    using type = double;
};

void* ZeroObjectResult(int interfaceIndex, int slot, void* result) {
    LogUnimplemented(interfaceIndex, slot);
    std::memset(result, 0,
                static_cast<std::size_t>(kInterfaces[interfaceIndex].slots[slot].objectSize));
    return result;
}

#if !defined(_WIN32) || defined(_WIN64)

// The caller cleans up: a stub needs no argument list.
template <int I, int S, ReturnKind Kind = kInterfaces[I].slots[S].kind>
struct Stub {
    using Result = typename ResultType<Kind>::type;
    static Result Call(void*) {
        LogUnimplemented(I, S);
        if constexpr (!std::is_void_v<Result>) return Answer<I, S, Result>();
    }
};

#if defined(_WIN64)
template <int I, int S>
struct Stub<I, S, ReturnKind::Object> {
    static void* Call(void*, void* result) { return ZeroObjectResult(I, S, result); }
};
#else
struct SmallObject {
    uint64_t low;
    uint64_t high;
};

template <int I, int S>
struct Stub<I, S, ReturnKind::Object> {
    static constexpr bool kInRegisters = kInterfaces[I].slots[S].objectSize <= 16;
    static auto Call(void* first, void*) {
        if constexpr (kInRegisters) {
            LogUnimplemented(I, S);
            return SmallObject{0, 0};
        } else {
            return ZeroObjectResult(I, S, first);
        }
    }
};
#endif

#else

// Exactly Bytes of stack arguments, taken by value: a thiscall callee pops them all.
template <int Bytes>
struct StackArguments {
    static_assert(Bytes > 0 && Bytes % 4 == 0, "stack arguments come in 4-byte units");
    uint32_t words[Bytes / 4];
};

template <int I, int S, ReturnKind Kind = kInterfaces[I].slots[S].kind,
          int Bytes = kInterfaces[I].slots[S].argBytes>
struct Stub {
    using Result = typename ResultType<Kind>::type;
    static Result __attribute__((thiscall)) Call(void*, StackArguments<Bytes>) {
        LogUnimplemented(I, S);
        if constexpr (!std::is_void_v<Result>) return Answer<I, S, Result>();
    }
};

// No stack arguments: the callee pops nothing (ret 0).
template <int I, int S, ReturnKind Kind>
struct Stub<I, S, Kind, 0> {
    using Result = typename ResultType<Kind>::type;
    static Result __attribute__((thiscall)) Call(void*) {
        LogUnimplemented(I, S);
        if constexpr (!std::is_void_v<Result>) return Answer<I, S, Result>();
    }
};

// Object results: the hidden result pointer is the first stack argument (its 4
// bytes are in Bytes); zero the object and hand the pointer back in EAX.
template <int I, int S, int Bytes>
struct Stub<I, S, ReturnKind::Object, Bytes> {
    static void* __attribute__((thiscall)) Call(void*, void* result, StackArguments<Bytes - 4>) {
        return ZeroObjectResult(I, S, result);
    }
};

template <int I, int S>
struct Stub<I, S, ReturnKind::Object, 4> {
    static void* __attribute__((thiscall)) Call(void*, void* result) {
        return ZeroObjectResult(I, S, result);
    }
};

#endif

// ---- Virtual tables and objects -----------------------------------------------

template <int I, int S>
const void* SlotFunction() {
    constexpr int row = ServedRowFor(kClassNames[I], kInterfaces[I].slots[S]);
    if constexpr (row >= 0) {
        return kServedFunctions[row];
    } else {
        return reinterpret_cast<const void*>(&Stub<I, S>::Call);
    }
}

// The slot (in MSVC order) whose function sits at `position` of the table
// the caller's compiler lays out.
template <int I>
constexpr int SlotAtPosition(int position) {
#if defined(_WIN32)
    return position;
#else
    for (int slot = 0; slot < kInterfaces[I].slotCount; ++slot)
        if (kInterfaces[I].slots[slot].itaniumSlot == position) return slot;
    return -1;
#endif
}

template <int I, std::size_t... P>
std::array<const void*, sizeof...(P)> MakeTable(std::index_sequence<P...>) {
    return {{SlotFunction<I, SlotAtPosition<I>(static_cast<int>(P))>()...}};
}

template <int I>
struct VirtualTable {
    static const std::array<const void*, static_cast<std::size_t>(kInterfaces[I].slotCount)> table;
};
template <int I>
const std::array<const void*, static_cast<std::size_t>(kInterfaces[I].slotCount)>
    VirtualTable<I>::table = MakeTable<I>(
        std::make_index_sequence<static_cast<std::size_t>(kInterfaces[I].slotCount)>());

template <std::size_t... I>
std::array<ClientObject, sizeof...(I)> MakeObjects(std::index_sequence<I...>) {
    return {{ClientObject{VirtualTable<static_cast<int>(I)>::table.data(),
                          static_cast<InterfaceId>(I)}...}};
}

std::array<ClientObject, kInterfaceCount>& Objects() {
    static std::array<ClientObject, kInterfaceCount> all =
        MakeObjects(std::make_index_sequence<kInterfaceCount>());
    return all;
}

int IndexOfObject(const void* self) {
    if (self == nullptr) return -1;
    for (int i = 0; i < kInterfaceCount; ++i) {
        if (self == &Objects()[static_cast<std::size_t>(i)]) return i;
    }
    return -1;
}

int IndexOfVersion(const char* version) {
    if (version == nullptr) return -1;
    for (int i = 0; i < kInterfaceCount; ++i) {
        if (std::strcmp(kInterfaces[i].version, version) == 0) return i;
    }
    return -1;
}

}  // namespace

ClientObject* ObjectForVersion(const char* version) {
    const int index = IndexOfVersion(version);
    return index < 0 ? nullptr : &Objects()[static_cast<std::size_t>(index)];
}

const char* VersionOf(const void* self) {
    const int index = IndexOfObject(self);
    return index < 0 ? nullptr : kInterfaces[index].version;
}

Family FamilyOf(const void* self) {
    const int index = IndexOfObject(self);
    return index < 0 ? Family::Other : kInterfaces[index].family;
}

const char* ClassOfVersion(const char* version) {
    const int index = IndexOfVersion(version);
    return index < 0 ? nullptr : kClassNames[index];
}

Family FamilyOfVersion(const char* version) {
    const int index = IndexOfVersion(version);
    return index < 0 ? Family::Other : kInterfaces[index].family;
}

const char* RefusalNameOf(Family family) {
    switch (family) {
        case Family::Client:
            return "SteamClient";
        case Family::User:
            return "SteamUser";
        case Family::UserStats:
            return "SteamUserStats";
        case Family::Utils:
            return "SteamUtils";
        case Family::Apps:
            return "SteamApps";
        case Family::Friends:
            return "SteamFriends";
        default:
            return nullptr;
    }
}

}  // namespace offline_steam::client
