// The scenario loader on a schema far larger than a game's: 1,000
// achievements (most linked to a stat's progress, with texts in two
// languages) and 1,000 stats, read from text in memory. A run must start at
// once, so one parse has a budget of 50 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "scenario.h"

namespace bench {
namespace {

constexpr int kAchievements = 1000;
constexpr int kStats = 1000;

std::string Numbered(const char* prefix, int number) {
    std::string digits = std::to_string(number);
    return prefix + std::string(4 - digits.size(), '0') + digits;
}

std::string LargeScenario() {
    std::string text = "{\n  \"app\": {\"id\": 480, \"languages\": [\"english\", \"german\"]},\n";
    text += "  \"achievements\": [\n";
    for (int i = 0; i < kAchievements; ++i) {
        const std::string n = std::to_string(i);
        text += "    {\"name\": \"" + Numbered("ACH_", i) +
                "\", \"displayName\": {\"english\": "
                "\"Achievement " +
                n + "\", \"german\": \"Erfolg " + n +
                " \u00e4\u00f6\u00fc\"}, "
                "\"description\": {\"english\": \"Reach step " +
                n +
                " of the long road.\", "
                "\"german\": \"Erreiche Schritt " +
                n + ".\"}, \"hidden\": " + (i % 10 == 0 ? "true" : "false");
        if (i % 4 != 0)
            text += ", \"progress\": {\"stat\": \"" + Numbered("STAT_", i) +
                    "\", \"min\": 0, \"max\": " + std::to_string(100 + i) + "}";
        text += i + 1 < kAchievements ? "},\n" : "}\n";
    }
    text += "  ],\n  \"stats\": [\n";
    for (int i = 0; i < kStats; ++i) {
        text += "    {\"name\": \"" + Numbered("STAT_", i) + "\", ";
        text += i % 3 == 0 ? "\"type\": \"float\", \"min\": 0, \"max\": 1e6, \"default\": 0.5"
                           : "\"type\": \"int\", \"min\": 0, \"max\": 2000000000, \"default\": 0, "
                             "\"maxChange\": 1000, \"incrementOnly\": true";
        text += i + 1 < kStats ? "},\n" : "}\n";
    }
    text +=
        "  ],\n  \"start\": {\"stats\": {\"STAT_0001\": 5}, \"achievements\": {\"ACH_0001\": "
        "1700000000}}\n}\n";
    return text;
}

void ParseLargeScenario(benchmark::State& state) {
    const std::string text = LargeScenario();
    offline_steam::Scenario scenario;
    std::string error;
    for (auto _ : state) {
        const bool parsed = offline_steam::ParseScenario(text, "large.json", &scenario, &error);
        benchmark::DoNotOptimize(parsed);
        if (!parsed) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}
BENCHMARK(ParseLargeScenario)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bench
