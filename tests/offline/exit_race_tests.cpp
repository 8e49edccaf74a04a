// A game that ends while its other threads still call Steam: the shipped
// client, loaded as Valve's library loads it, is called from three threads
// while the main thread releases the user and the pipe (what SteamAPI_Shutdown
// does) and calls exit(). One more thread calls after the client's own static
// objects would have been destroyed (an exit handler registered before the
// client was loaded runs after those of the client), so a client that frees
// its state at exit is caught every run, by AddressSanitizer in the
// linux-asan tree. Under ThreadSanitizer (docs/building-and-testing.md) the
// racing threads show any unguarded state.
//
// Exit status 0 when every call returned; a sanitizer's report fails it.
#include <dlfcn.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "interface_tables.h"

namespace {

using Word = std::uintptr_t;
using Call = Word (*)(void*, Word, Word, Word, Word, Word, Word, Word, Word, Word, Word);
using CreateInterfaceFunction = void* (*)(const char*, int*);
using IsKnownFunction = bool (*)(const char*);

struct Slot {
    int itaniumSlot;
    const char* name;
};
struct Interface {
    const char* version;
    std::vector<Slot> slots;
};
#define EXIT_RACE_SLOT(Msvc, Itanium, Name, Bytes, Kind, ObjectSize, ReturnType) {Itanium, #Name},
#define EXIT_RACE_INTERFACE(Id, Version, Class, SlotCount) \
    {Version, {STEAM_CLIENT_SLOTS_##Id(EXIT_RACE_SLOT)}},
// Never destroyed: the game's threads read it while the process exits.
const std::vector<Interface>& kInterfaces =
    *new std::vector<Interface>{STEAM_CLIENT_INTERFACES(EXIT_RACE_INTERFACE)};
#undef EXIT_RACE_INTERFACE
#undef EXIT_RACE_SLOT

constexpr const char* kClient = "SteamClient023";
constexpr const char* kStats = "STEAMUSERSTATS_INTERFACE_VERSION013";

// The entry of the table of the object of `version` the Itanium ABI puts `name` at.
Call Method(void* object, const char* version, const char* name) {
    for (const Interface& face : kInterfaces) {
        if (std::strcmp(face.version, version) != 0) continue;
        for (const Slot& slot : face.slots)
            if (std::strcmp(slot.name, name) == 0)
                return reinterpret_cast<Call>(
                    (*static_cast<void* const* const*>(object))[slot.itaniumSlot]);
    }
    std::fprintf(stderr, "exit_race_tests: no %s::%s\n", version, name);
    std::exit(2);
}

Word Invoke(void* object, const char* version, const char* name, Word a = 0, Word b = 0,
            Word c = 0) {
    return Method(object, version, name)(object, a, b, c, 0, 0, 0, 0, 0, 0, 0);
}

void* g_client = nullptr;
void* g_stats = nullptr;
IsKnownFunction g_isKnown = nullptr;

// What a game's other thread does each frame: a served method, a text
// getter, a leaderboard call and an export of the client.
void PlayOnce() {
    Invoke(g_stats, kStats, "GetNumAchievements");
    Invoke(g_stats, kStats, "GetAchievementName", 0);
    Invoke(g_stats, kStats, "FindOrCreateLeaderboard", reinterpret_cast<Word>("Exit race"), 2, 1);
    Invoke(g_stats, kStats, "StoreStats");
    g_isKnown("SteamUser023");
}

// Runs after the client's exit handlers: a thread still calling Steam then.
void CallAfterTheClientsExit() {
    std::thread late(PlayOnce);
    late.join();
}

}  // namespace

int main() {
    std::atexit(CallAfterTheClientsExit);
    void* library = dlopen(STEAMBRIDGE_OFFLINE_CLIENT, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "exit_race_tests: %s\n", dlerror());
        return 2;
    }
    auto create = reinterpret_cast<CreateInterfaceFunction>(dlsym(library, "CreateInterface"));
    g_isKnown = reinterpret_cast<IsKnownFunction>(dlsym(library, "Steam_IsKnownInterface"));
    g_client = create != nullptr ? create(kClient, nullptr) : nullptr;
    if (g_client == nullptr || g_isKnown == nullptr) return 2;
    const Word pipe = Invoke(g_client, kClient, "CreateSteamPipe");
    const Word user = Invoke(g_client, kClient, "ConnectToGlobalUser", pipe);
    g_stats = reinterpret_cast<void*>(Invoke(g_client, kClient, "GetISteamGenericInterface", user,
                                             pipe, reinterpret_cast<Word>(kStats)));
    if (user == 0 || g_stats == nullptr) return 2;

    // Three threads play on; once each has played a while, the main thread
    // shuts Steam down and exits without waiting for them.
    std::atomic<int> started{0};
    for (int i = 0; i < 3; ++i)
        std::thread([&started] {
            for (int round = 0;; ++round) {
                PlayOnce();
                if (round == 200) ++started;
            }
        }).detach();
    while (started.load() < 3) std::this_thread::yield();
    Invoke(g_client, kClient, "ReleaseUser", pipe, user);
    Invoke(g_client, kClient, "BReleaseSteamPipe", pipe);
    Invoke(g_client, kClient, "BShutdownIfAllPipesClosed");
    std::exit(0);
}
