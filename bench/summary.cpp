// Collecting the benchmark times and printing the summary table.
#include "summary.h"

#include <algorithm>
#include <cstdio>

namespace bench {
namespace {

double ToNanoseconds(double value, benchmark::TimeUnit unit) {
    switch (unit) {
        case benchmark::kNanosecond:
            return value;
        case benchmark::kMicrosecond:
            return value * 1e3;
        case benchmark::kMillisecond:
            return value * 1e6;
        case benchmark::kSecond:
            return value * 1e9;
    }
    return value;
}

std::string Number(double value, const char* format) {
    if (value < 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Ratio(double numerator, double denominator) {
    if (numerator < 0 || denominator <= 0) return "-";
    return Number(numerator / denominator, "%.2fx");
}

std::string Calls(const ExportRow& row) {
    if (row.bridgeCalls < 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%d (%d acc) / %d", row.bridgeCalls, row.bridgeAccessorCalls,
                  row.directCalls);
    return text;
}

}  // namespace

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        const double ns = ToNanoseconds(run.GetAdjustedCPUTime(), run.time_unit);
        if (run.run_type == Run::RT_Iteration)
            iterationTimes_[run.run_name.function_name].push_back(ns);
    }
    ConsoleReporter::ReportRuns(runs);
}

double CollectingReporter::FastestNs(const std::string& benchmarkName) const {
    const auto times = iterationTimes_.find(benchmarkName);
    if (times == iterationTimes_.end() || times->second.empty()) return -1;
    return *std::min_element(times->second.begin(), times->second.end());
}

void PrintSummary(const std::vector<ExportRow>& rows, const CollectingReporter& times) {
    std::printf("\n%-26s %10s %10s %7s | %10s %7s | %-16s | %8s %8s %8s | %s\n", "export",
                "bridge ns", "direct ns", "ratio", "same ns", "ratio", "client calls", "alloc br",
                "alloc dir", "alloc own", "calls agree");
    std::printf("%s\n", std::string(146, '-').c_str());
    for (const ExportRow& row : rows) {
        const double bridge = times.FastestNs(row.name + "/bridge");
        const double direct = row.hasDirect ? times.FastestNs(row.name + "/direct") : -1;
        const double same = row.callsClient ? times.FastestNs(row.name + "/direct_same_calls") : -1;
        double own = -1;
        if (row.callsClient && row.bridgeAllocations >= 0 && row.sameCallsAllocations >= 0)
            own = row.bridgeAllocations - row.sameCallsAllocations;
        else if (!row.callsClient)
            own = row.bridgeAllocations;
        std::printf("%-26s %10s %10s %7s | %10s %7s | %-16s | %8s %8s %8s | %s\n", row.name.c_str(),
                    Number(bridge, "%.1f").c_str(), Number(direct, "%.1f").c_str(),
                    Ratio(bridge, direct).c_str(), Number(same, "%.1f").c_str(),
                    Ratio(bridge, same).c_str(), Calls(row).c_str(),
                    Number(row.bridgeAllocations, "%.2f").c_str(),
                    Number(row.directAllocations, "%.2f").c_str(), Number(own, "%.2f").c_str(),
                    row.sequence.empty() ? "-" : row.sequence.c_str());
    }
    std::printf(
        "\nbridge ns / direct ns: CPU time per export call, fastest of the repetitions: the\n"
        "  machine is shared, and other processes only ever add time (to wall time the most).\n"
        "direct: the same client calls made straight into the simulator, interfaces fetched\n"
        "  once from the accessors; for steamAchievementData the plain conversion of the same\n"
        "  three texts into the same buffers. Goal: ratio at most 1.10x.\n"
        "same ns: the bridge's exact call sequence made directly, accessor calls included\n"
        "  (the bridge asks the accessor again before every method); bridge/same is the\n"
        "  cost of the bridge's own code alone.\n"
        "client calls: per export call, bridge (of them accessor calls) / direct.\n"
        "alloc br, alloc dir: heap allocations per call in the whole process (the simulator\n"
        "  allocates for its call log and queues). alloc own: the bridge's own allocations,\n"
        "  i.e. bridge minus the same-calls side, whose simulator work is identical; for\n"
        "  exports without client calls, all of the bridge's. Goal: 0 for steamCallBacks,\n"
        "  steamStatus, steamAchievementsCount, steamLeaderBoardFound, steamUserID,\n"
        "  steamAchievementData.\n"
        "calls agree: the logged calls of the bridge and of the same-calls side compared.\n");
}

}  // namespace bench
