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
    char text[48];
    std::snprintf(text, sizeof text, "%d (%d acc) / %d (%d acc)", row.bridgeCalls,
                  row.bridgeAccessorCalls, row.directCalls, row.directAccessorCalls);
    return text;
}

// The bridge's own allocations: for exports that call the client, bridge
// minus direct, and only when their calls agree, since only then does the
// simulator do the same work for both; otherwise all of the bridge's.
double OwnAllocations(const ExportRow& row) {
    if (!row.callsClient) return row.bridgeAllocations;
    if (!row.callsAgree || row.bridgeAllocations < 0 || row.directAllocations < 0) return -1;
    return row.bridgeAllocations - row.directAllocations;
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

void PrintSummary(const std::vector<ExportRow>& rows, const std::vector<StepRow>& steps,
                  const CollectingReporter& times) {
    std::printf("\n%-26s %10s %10s %7s | %-24s | %8s %9s %9s | %s\n", "export", "bridge ns",
                "direct ns", "ratio", "client calls", "alloc br", "alloc dir", "alloc own",
                "calls agree");
    std::printf("%s\n", std::string(122, '-').c_str());
    for (const ExportRow& row : rows) {
        const double bridge = times.FastestNs(row.name + "/bridge");
        const double direct = row.hasDirect ? times.FastestNs(row.name + "/direct") : -1;
        const char* agree = !row.callsClient ? "-" : row.callsAgree ? "same" : "DIFFERENT";
        std::printf("%-26s %10s %10s %7s | %-24s | %8s %9s %9s | %s\n", row.name.c_str(),
                    Number(bridge, "%.1f").c_str(), Number(direct, "%.1f").c_str(),
                    Ratio(bridge, direct).c_str(), Calls(row).c_str(),
                    Number(row.bridgeAllocations, "%.2f").c_str(),
                    Number(row.directAllocations, "%.2f").c_str(),
                    Number(OwnAllocations(row), "%.2f").c_str(), agree);
    }
    std::printf(
        "\nbridge ns / direct ns: CPU time per export call, fastest of the repetitions: the\n"
        "  machine is shared, and other processes only ever add time (to wall time the most).\n"
        "direct: the same client calls made straight into the simulator, each interface asked\n"
        "  for once per session as the bridge does; for steamInit+steamFree that includes the\n"
        "  accessor calls, made where the bridge first needs each interface. For\n"
        "  steamAchievementData: the plain conversion of the same three texts into the same\n"
        "  buffers. ratio: bridge / direct; what lies above 1.00x is the bridge's own code.\n"
        "  Goal: at most 1.10x.\n"
        "client calls: per export call, bridge / direct, each with how many are accessor calls.\n"
        "alloc br, alloc dir: heap allocations per call in the whole process (the simulator\n"
        "  allocates for its call log and queues). alloc own: the bridge's own allocations,\n"
        "  i.e. bridge minus direct when their calls agree (the simulator's work is then\n"
        "  identical), \"-\" when they do not; for exports without client calls, all of the\n"
        "  bridge's. Goal: 0 for steamCallBacks, steamStatus, steamAchievementsCount,\n"
        "  steamLeaderBoardFound, steamUserID, steamAchievementData.\n"
        "calls agree: the client calls logged by the simulator for the bridge and for the\n"
        "  direct side, arguments included: same or DIFFERENT.\n");

    std::printf("\n%-30s %8s | %-26s %8s | %s\n", "bridge step, timed alone", "step ns", "export",
                "gap ns", "what");
    std::printf("%s\n", std::string(122, '-').c_str());
    for (const StepRow& step : steps) {
        const double ns = times.FastestNs(step.name + "/step");
        const double bridge = times.FastestNs(step.exportName + "/bridge");
        const double direct = times.FastestNs(step.exportName + "/direct");
        // Negative when noise puts the bridge below direct, and shown so.
        char gap[32] = "-";
        if (bridge >= 0 && direct >= 0) std::snprintf(gap, sizeof gap, "%.1f", bridge - direct);
        std::printf("%-30s %8s | %-26s %8s | %s\n", step.name.c_str(), Number(ns, "%.1f").c_str(),
                    step.exportName.c_str(), gap, step.note.c_str());
    }
    std::printf(
        "\nstep ns: CPU time of one step of the bridge's own work, measured the same way.\n"
        "gap ns: bridge ns minus direct ns of the export the step belongs to, i.e. the time\n"
        "  the step helps explain.\n");
}

}  // namespace bench
