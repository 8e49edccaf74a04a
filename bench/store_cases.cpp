// What StoreStats costs the game in an offline run that keeps a state file:
// the shipped client loaded as Valve's library loads it, a stat changed and
// a frame run between stores (outside the timing), and StoreStats timed.
// Budget: 0.2 ms a store; the durable write must not be the game's to wait on.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "interface_tables.h"

namespace bench {
namespace {

using Word = std::uintptr_t;
using Call = Word (*)(void*, Word, Word, Word);
using CreateInterfaceFunction = void* (*)(const char*, int*);
using GetCallbackFunction = bool (*)(int, void*, std::int32_t*);
using FreeCallbackFunction = void (*)(int);

// The Itanium position of `name` in the tables of the three versions called.
#define STORE_BENCH_ENTRY(Msvc, Itanium, Name, Bytes, Kind, ObjectSize, ReturnType) \
    if (std::strcmp(#Name, name) == 0) return Itanium;
int ClientSlot(const char* name) { STEAM_CLIENT_SLOTS_SteamClient021(STORE_BENCH_ENTRY) return -1; }
int StatsSlot(const char* name) {
    STEAM_CLIENT_SLOTS_STEAMUSERSTATS_INTERFACE_VERSION013(STORE_BENCH_ENTRY) return -1;
}
int UtilsSlot(const char* name) { STEAM_CLIENT_SLOTS_SteamUtils010(STORE_BENCH_ENTRY) return -1; }
#undef STORE_BENCH_ENTRY

Call Entry(void* object, int slot) {
    return reinterpret_cast<Call>((*static_cast<void* const* const*>(object))[slot]);
}

void StoreStatsWithStateFile(benchmark::State& state) {
    // On the disk TMPDIR names: a store's cost is the durable write's where /tmp is in memory.
    const char* temporary = std::getenv("TMPDIR");
    const std::string folder =
        std::string(temporary != nullptr ? temporary : P_tmpdir) + "/steambridge_bench_store";
    std::string command = "rm -rf '" + folder + "' && mkdir -p '" + folder + "'";
    if (std::system(command.c_str()) != 0) {
        state.SkipWithError("cannot make the run's folder");
        return;
    }
    setenv("STEAMBRIDGE_OFFLINE_STATE", (folder + "/state.json").c_str(), 1);
    setenv("STEAMBRIDGE_OFFLINE_JOURNAL", (folder + "/journal.jsonl").c_str(), 1);
    // Another build's client (an older one, to compare) where STEAMBRIDGE_BENCH_CLIENT names it.
    const char* other = std::getenv("STEAMBRIDGE_BENCH_CLIENT");
    const bool given = other != nullptr && other[0] != '\0';
    void* library = dlopen(given ? other : STEAMBRIDGE_OFFLINE_CLIENT, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        state.SkipWithError(dlerror());
        return;
    }
    auto create = reinterpret_cast<CreateInterfaceFunction>(dlsym(library, "CreateInterface"));
    auto getCallback = reinterpret_cast<GetCallbackFunction>(dlsym(library, "Steam_BGetCallback"));
    auto freeCallback =
        reinterpret_cast<FreeCallbackFunction>(dlsym(library, "Steam_FreeLastCallback"));
    void* client = create("SteamClient021", nullptr);
    const Word pipe = Entry(client, ClientSlot("CreateSteamPipe"))(client, 0, 0, 0);
    const Word user = Entry(client, ClientSlot("ConnectToGlobalUser"))(client, pipe, 0, 0);
    const Call generic = Entry(client, ClientSlot("GetISteamGenericInterface"));
    auto* stats = reinterpret_cast<void*>(
        generic(client, user, pipe, reinterpret_cast<Word>("STEAMUSERSTATS_INTERFACE_VERSION013")));
    auto* utils = reinterpret_cast<void*>(
        generic(client, user, pipe, reinterpret_cast<Word>("SteamUtils010")));
    if (stats == nullptr || utils == nullptr) {
        state.SkipWithError("the client handed out no ISteamUserStats or ISteamUtils");
        return;
    }
    const Call setStat = Entry(stats, StatsSlot("SetStatInt32"));
    const Call storeStats = Entry(stats, StatsSlot("StoreStats"));
    const Call runFrame = Entry(utils, UtilsSlot("RunFrame"));
    unsigned char message[64];
    std::int32_t steamCall = 0;
    Word level = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A frame: what the last store sent is delivered (once it is on disk).
        runFrame(utils, 0, 0, 0);
        while (getCallback(static_cast<int>(pipe), message, &steamCall))
            freeCallback(static_cast<int>(pipe));
        setStat(stats, reinterpret_cast<Word>("STAT_LEVELS"), ++level % 1000, 0);
        state.ResumeTiming();
        benchmark::DoNotOptimize(storeStats(stats, 0, 0, 0));
    }
    Entry(client, ClientSlot("ReleaseUser"))(client, pipe, user, 0);
    Entry(client, ClientSlot("BReleaseSteamPipe"))(client, pipe, 0, 0);
    unsetenv("STEAMBRIDGE_OFFLINE_STATE");
    unsetenv("STEAMBRIDGE_OFFLINE_JOURNAL");
}
BENCHMARK(StoreStatsWithStateFile)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace bench
