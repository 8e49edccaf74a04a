// One journaled call of an offline run: the call's line built and appended to
// the journal, flushed, against the same line kept in the in-memory call log
// as the tests' simulator does. Budget: the journal adds at most 5 µs a call.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "call_line.h"
#include "call_log.h"
#include "journal.h"

namespace bench {
namespace {

void LogOneCall() {
    steam_sim::CallLine("SteamAPI_ISteamUserStats_SetStatInt32").text("STAT_JUMPS").integer(42).log();
}

void CallKeptInMemory(benchmark::State& state) {
    for (auto _ : state) {
        LogOneCall();
        if (steam_sim::callLog().size() > 100000) steam_sim::callLog().clear();
    }
    steam_sim::callLog().clear();
}
BENCHMARK(CallKeptInMemory);

void CallJournaled(benchmark::State& state) {
    const std::string path = std::string(P_tmpdir) + "/steambridge_bench_journal.jsonl";
    std::remove(path.c_str());
    if (!steam_sim::journal().open(path)) {
        state.SkipWithError("cannot write the journal");
        return;
    }
    for (auto _ : state) LogOneCall();
    steam_sim::journal().close();
    std::remove(path.c_str());
}
BENCHMARK(CallJournaled);

}  // namespace
}  // namespace bench
