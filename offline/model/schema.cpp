// The scenario in force and name lookups into its schema.
#include "schema.h"

#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "default_scenario.h"

namespace steam_sim {
namespace {

struct ActiveSchema {
    Scenario scenario;
    std::unordered_map<std::string, int> achievementIndexes;
    std::unordered_map<std::string, int> statIndexes;

    void use(const Scenario& next) {
        scenario = next;
        achievementIndexes.clear();
        statIndexes.clear();
        for (std::size_t i = 0; i < scenario.achievements.size(); ++i)
            achievementIndexes.emplace(scenario.achievements[i].name, static_cast<int>(i));
        for (std::size_t i = 0; i < scenario.stats.size(); ++i)
            statIndexes.emplace(scenario.stats[i].name, static_cast<int>(i));
    }
};

ActiveSchema& active() {
    static ActiveSchema schema = [] {
        ActiveSchema made;
        made.use(builtInScenario());
        return made;
    }();
    return schema;
}

int indexIn(const std::unordered_map<std::string, int>& indexes, const char* name) {
    if (name == nullptr) return -1;
    const auto found = indexes.find(name);
    return found == indexes.end() ? -1 : found->second;
}

}  // namespace

const Scenario& builtInScenario() {
    static const Scenario scenario = [] {
        Scenario parsed;
        std::string error;
        if (!ParseScenario(kDefaultScenarioText, kDefaultScenarioName, &parsed, &error)) {
            // A build whose own scenario is refused cannot serve anything.
            std::fprintf(stderr, "steam_sim: %s\n", error.c_str());
            std::abort();
        }
        return parsed;
    }();
    return scenario;
}

const Scenario& activeScenario() { return active().scenario; }

void setActiveScenario(const Scenario& scenario) { active().use(scenario); }

int achievementCount() { return static_cast<int>(active().scenario.achievements.size()); }

int statCount() { return static_cast<int>(active().scenario.stats.size()); }

const AchievementSchema& achievementAt(int index) {
    return active().scenario.achievements[static_cast<std::size_t>(index)];
}

const StatSchema& statAt(int index) {
    return active().scenario.stats[static_cast<std::size_t>(index)];
}

int achievementIndex(const char* apiName) { return indexIn(active().achievementIndexes, apiName); }

int statIndex(const char* apiName) { return indexIn(active().statIndexes, apiName); }

const std::string& localized(const LocalizedText& text, const std::string& language) {
    static const std::string kNone;
    auto found = text.find(language);
    if (found != text.end()) return found->second;
    found = text.find("english");
    if (found != text.end()) return found->second;
    return text.empty() ? kNone : text.begin()->second;
}

}  // namespace steam_sim
