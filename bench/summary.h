// The final table: times from the benchmark runs, call counts and allocation counts per export.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

struct ExportRow {
    std::string name;
    bool callsClient = false;
    bool hasDirect = false;
    // Client calls made by one export call in steady state (-1: not checked),
    // and how many of them are accessor calls.
    int bridgeCalls = -1;
    int bridgeAccessorCalls = -1;
    int directCalls = -1;
    int directAccessorCalls = -1;
    // The bridge's logged calls equal the direct side's, arguments included.
    bool callsAgree = false;
    // Allocations per export call, measured over one housekeeping batch.
    double bridgeAllocations = -1;
    double directAllocations = -1;
};

// A step of the bridge's own work timed alone (benchmark "<name>/step").
struct StepRow {
    std::string name;
    std::string exportName;  // whose bridge-minus-direct time it accounts for
    std::string note;
};

// Passes every run on to the console and keeps the CPU times per benchmark.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    // CPU time per iteration of the fastest repetition, in nanoseconds;
    // negative when never run.
    double FastestNs(const std::string& benchmarkName) const;

private:
    std::map<std::string, std::vector<double>> iterationTimes_;
};

void PrintSummary(const std::vector<ExportRow>& rows, const std::vector<StepRow>& steps,
                  const CollectingReporter& times);

}  // namespace bench
