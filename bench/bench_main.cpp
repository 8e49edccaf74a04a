// Benchmarks per export and side and per bridge step, then the call and allocation tables.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "bench_session.h"
#include "export_cases.h"
#include "steambridge.h"
#include "step_cases.h"
#include "summary.h"

namespace bench {
namespace {

template <class Case, Side side>
void Measure(benchmark::State& state) {
    Case::Prepare();
    std::uint32_t i = 0;
    for (auto _ : state) {
        Invoke<Case, side>(i);
        ++i;
        if constexpr (Case::kHousekeepEvery > 0) {
            if (i % Case::kHousekeepEvery == 0) {
                state.PauseTiming();
                Housekeep<Case>();
                state.ResumeTiming();
            }
        }
    }
}

template <class Case>
void Register() {
    const std::string name = Case::kName;
    benchmark::RegisterBenchmark((name + "/bridge").c_str(), &Measure<Case, Side::Bridge>)
        ->Unit(benchmark::kNanosecond);
    if constexpr (Case::kHasDirect) {
        benchmark::RegisterBenchmark((name + "/direct").c_str(), &Measure<Case, Side::Direct>)
            ->Unit(benchmark::kNanosecond);
    }
}

// The calls one export call makes in steady state: two calls first, then
// the third one's log.
template <class Case, Side side>
std::vector<std::string> SteadyCalls(bool withArguments) {
    Case::Prepare();
    Invoke<Case, side>(0);
    Invoke<Case, side>(1);
    ClearCallLog();
    Invoke<Case, side>(2);
    std::vector<std::string> calls = LoggedCalls(withArguments);
    ClearCallLog();
    return calls;
}

int AccessorCalls(const std::vector<std::string>& calls) {
    int count = 0;
    for (const std::string& call : calls) count += call.rfind("SteamAPI_Steam", 0) == 0;
    return count;
}

// Allocations per call over one housekeeping batch, after three batches that
// let the simulator's containers reach the capacity they keep. Both sides
// run the same number of calls from the same state with the same
// housekeeping, so the simulator allocates identically when their calls
// agree.
template <class Case, Side side>
double AllocationsPerCall() {
    Case::Prepare();
    constexpr int batch = Case::kHousekeepEvery > 0 ? Case::kHousekeepEvery : 256;
    std::uint32_t i = 0;
    for (int round = 0; round < 3; ++round) {
        for (int k = 0; k < batch; ++k) Invoke<Case, side>(i++);
        Housekeep<Case>();
    }
    const std::uint64_t before = AllocationCount();
    for (int k = 0; k < batch; ++k) Invoke<Case, side>(i++);
    const std::uint64_t after = AllocationCount();
    Housekeep<Case>();
    return static_cast<double>(after - before) / batch;
}

template <class Case>
ExportRow Count() {
    ExportRow row;
    row.name = Case::kName;
    row.callsClient = Case::kCallsClient;
    row.hasDirect = Case::kHasDirect;
    if constexpr (Case::kCallsClient) {
        const std::vector<std::string> bridge = SteadyCalls<Case, Side::Bridge>(true);
        const std::vector<std::string> direct = SteadyCalls<Case, Side::Direct>(true);
        row.bridgeCalls = static_cast<int>(bridge.size());
        row.bridgeAccessorCalls = AccessorCalls(bridge);
        row.directCalls = static_cast<int>(direct.size());
        row.directAccessorCalls = AccessorCalls(direct);
        row.callsAgree = bridge == direct;
    }
    row.bridgeAllocations = AllocationsPerCall<Case, Side::Bridge>();
    if constexpr (Case::kHasDirect)
        row.directAllocations = AllocationsPerCall<Case, Side::Direct>();
    return row;
}

template <class Step>
void MeasureStep(benchmark::State& state) {
    Step::Prepare();
    for (auto _ : state) Step::Run();
}

template <class... Steps>
struct StepList {
    static void RegisterAll() {
        (benchmark::RegisterBenchmark((std::string(Steps::kName) + "/step").c_str(),
                                      &MeasureStep<Steps>)
             ->Unit(benchmark::kNanosecond),
         ...);
    }
    static std::vector<StepRow> DescribeAll() {
        return {StepRow{Steps::kName, Steps::kExport, Steps::Note()}...};
    }
};

using AllSteps = StepList<BoardNameStep, ClearRowsStep, StatLinkStep, BindStep>;

template <class... Cases>
struct CaseList {
    static void RegisterAll() { (Register<Cases>(), ...); }
    static std::vector<ExportRow> CountAll() { return {Count<Cases>()...}; }
};

using AllCases = CaseList<CallBacksCase, UserIdCase, AchievementCase, OverlayCase, ResetCase,
                          StatCase, StatIncreaseCase, SetLeaderboardCase, UploadScoreCase,
                          InitFreeCase, StatusCase, AchievementsCountCase, LeaderboardFoundCase,
                          AchievementDataCase<1, 0>, AchievementDataCase<61, 23>>;

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::AllCases::RegisterAll();
    bench::AllSteps::RegisterAll();
    bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::vector<bench::ExportRow> rows = bench::AllCases::CountAll();
    bench::PrintSummary(rows, bench::AllSteps::DescribeAll(), reporter);
    steamFree();
    benchmark::Shutdown();
    return 0;
}
