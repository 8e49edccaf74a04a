// How the simulator sees a callback holder object owned by the game.
#pragma once

#include <cstddef>
#include <cstdint>

namespace offline_steam {

#if defined(_WIN32)
// The real library is built by MSVC: the two-argument-overload order is
// reversed. On 32-bit Windows the entries are thiscall member functions
// (object in ECX); on 64-bit Windows there is one calling convention, with
// the object as the first argument.
#if defined(_WIN64)
#define STEAM_SIM_HOLDER_CALL
#else
#define STEAM_SIM_HOLDER_CALL __attribute__((thiscall))
#endif
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"  // thiscall on free function pointers is what we want
struct HolderVtable {
    void(STEAM_SIM_HOLDER_CALL* runWithCall)(void* self, void* record, bool ioFailure,
                                             uint64_t call);
    void(STEAM_SIM_HOLDER_CALL* run)(void* self, void* record);
    int(STEAM_SIM_HOLDER_CALL* recordSize)(void* self);
};
#pragma GCC diagnostic pop
#undef STEAM_SIM_HOLDER_CALL
#else
// GCC's Itanium ABI: virtual functions in declaration order, object as the first argument.
struct HolderVtable {
    void (*run)(void* self, void* record);
    void (*runWithCall)(void* self, void* record, bool ioFailure, uint64_t call);
    int (*recordSize)(void* self);
};
#endif

struct CallbackHolderView {
    const HolderVtable* vtable;
    uint8_t flags;
    int32_t callbackId;
};

constexpr uint8_t kHolderRegisteredFlag = 0x01;

#if defined(_WIN32) && !defined(_WIN64)
static_assert(offsetof(HolderVtable, runWithCall) == 0, "slot 0 (Win32)");
static_assert(offsetof(HolderVtable, run) == 4, "slot 1 (Win32)");
static_assert(offsetof(HolderVtable, recordSize) == 8, "slot 2 (Win32)");
static_assert(offsetof(CallbackHolderView, flags) == 4, "holder flags (Win32)");
static_assert(offsetof(CallbackHolderView, callbackId) == 8, "holder id (Win32)");
static_assert(sizeof(CallbackHolderView) == 12, "holder size (Win32)");
#elif defined(_WIN64)
static_assert(offsetof(HolderVtable, runWithCall) == 0, "slot 0 (Win64)");
static_assert(offsetof(HolderVtable, run) == 8, "slot 1 (Win64)");
static_assert(offsetof(HolderVtable, recordSize) == 16, "slot 2 (Win64)");
static_assert(offsetof(CallbackHolderView, flags) == 8, "holder flags (Win64)");
static_assert(offsetof(CallbackHolderView, callbackId) == 12, "holder id (Win64)");
static_assert(sizeof(CallbackHolderView) == 16, "holder size (Win64)");
#elif defined(__linux__) && defined(__x86_64__)
static_assert(offsetof(HolderVtable, run) == 0, "slot 0 (Linux)");
static_assert(offsetof(HolderVtable, runWithCall) == 8, "slot 1 (Linux)");
static_assert(offsetof(HolderVtable, recordSize) == 16, "slot 2 (Linux)");
static_assert(offsetof(CallbackHolderView, flags) == 8, "holder flags (Linux)");
static_assert(offsetof(CallbackHolderView, callbackId) == 12, "holder id (Linux)");
static_assert(sizeof(CallbackHolderView) == 16, "holder size (Linux)");
#endif

// Field access: the registration contract of the real library.
void MarkHolderRegistered(void* holder, int callbackId);
void MarkHolderUnregistered(void* holder);
bool HolderFlagRegistered(const void* holder);
int HolderCallbackId(const void* holder);

// Calls through the holder's table of virtual functions.
int HolderRecordSize(void* holder);
void RunHolderCallback(void* holder, void* record);
void RunHolderCallResult(void* holder, void* record, bool ioFailure, uint64_t call);

}  // namespace offline_steam
