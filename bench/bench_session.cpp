// Fresh sessions, pumping and call-log reads for the benchmark cases.
#include "bench_session.h"

#include <cstdio>
#include <cstdlib>

#include "direct_client.h"
#include "steam_sim.h"
#include "steambridge.h"

namespace bench {

void StartFreshSession() {
    steamFree();
    SteamSim_Reset();
    if (!steamInit(nullptr, nullptr)) {
        std::fprintf(stderr, "steamInit failed against the simulator\n");
        std::exit(1);
    }
    for (int frame = 0; frame < 10 && steamStatus() == 0; ++frame) steamCallBacks();
    if (steamStatus() != 1) {
        std::fprintf(stderr, "the user's stats never arrived\n");
        std::exit(1);
    }
    FetchDirectInterfaces();
    SteamSim_ClearCallLog();
}

void PumpAndClear() {
    SteamAPI_RunCallbacks();
    SteamSim_ClearCallLog();
}

void ClearCallLog() { SteamSim_ClearCallLog(); }

std::vector<std::string> LoggedCalls(bool withArguments) {
    std::vector<std::string> calls;
    const int count = SteamSim_CallLogSize();
    for (int i = 0; i < count; ++i) {
        std::string line = SteamSim_CallLogEntry(i);
        if (!withArguments) line = line.substr(0, line.find('('));
        calls.push_back(std::move(line));
    }
    return calls;
}

}  // namespace bench
