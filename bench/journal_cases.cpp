// One journaled call of an offline run: the call's line built and appended to
// the journal, flushed, against the same line kept in the in-memory call log
// as the tests' simulator does. Budget: the journal adds at most 5 µs a call.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "call_line.h"
#include "call_log.h"
#include "journal.h"
#include "model_events.h"

namespace bench {
namespace {

void LogOneCall() {
    offline_steam::CallLine("SteamAPI_ISteamUserStats_SetStatInt32")
        .Text("STAT_JUMPS")
        .Integer(42)
        .Log();
}

void CallKeptInMemory(benchmark::State& state) {
    for (auto _ : state) {
        LogOneCall();
        if (offline_steam::TheCallLog().Size() > 100000) offline_steam::TheCallLog().Clear();
    }
    offline_steam::TheCallLog().Clear();
}
BENCHMARK(CallKeptInMemory);

void CallJournaled(benchmark::State& state) {
    const std::string path = std::string(P_tmpdir) + "/steambridge_bench_journal.jsonl";
    std::remove(path.c_str());
    offline_steam::Journal journal;
    if (!journal.Open(path)) {
        state.SkipWithError("cannot write the journal");
        return;
    }
    offline_steam::SetModelEvents(&journal);
    for (auto _ : state) LogOneCall();
    offline_steam::SetModelEvents(nullptr);
    journal.Close();
    std::remove(path.c_str());
}
BENCHMARK(CallJournaled);

}  // namespace
}  // namespace bench
