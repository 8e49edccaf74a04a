// The scenario in force and name lookups into its schema.
#include "schema.h"

#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "default_scenario.h"

namespace offline_steam {
namespace {

struct ActiveSchema {
    Scenario scenario;
    std::unordered_map<std::string, int> achievementIndexes;
    std::unordered_map<std::string, int> statIndexes;

    void Use(const Scenario& next) {
        scenario = next;
        achievementIndexes.clear();
        statIndexes.clear();
        for (std::size_t i = 0; i < scenario.achievements.size(); ++i)
            achievementIndexes.emplace(scenario.achievements[i].name, static_cast<int>(i));
        for (std::size_t i = 0; i < scenario.stats.size(); ++i)
            statIndexes.emplace(scenario.stats[i].name, static_cast<int>(i));
    }
};

ActiveSchema& Active() {
    // Never destroyed: a thread may still call Steam while the process exits.
    static ActiveSchema& schema = *[] {
        auto* made = new ActiveSchema;
        made->Use(BuiltInScenario());
        return made;
    }();
    return schema;
}

int IndexIn(const std::unordered_map<std::string, int>& indexes, const char* name) {
    if (name == nullptr) return -1;
    const auto found = indexes.find(name);
    return found == indexes.end() ? -1 : found->second;
}

}  // namespace

const Scenario& BuiltInScenario() {
    static const Scenario& scenario = *[] {
        auto* parsed = new Scenario;
        std::string error;
        if (!ParseScenario(kDefaultScenarioText, kDefaultScenarioName, parsed, &error)) {
            // A build whose own scenario is refused cannot serve anything.
            std::fprintf(stderr, "offline_steam: %s\n", error.c_str());
            std::abort();
        }
        return parsed;
    }();
    return scenario;
}

const Scenario& ActiveScenario() { return Active().scenario; }

void SetActiveScenario(const Scenario& scenario) { Active().Use(scenario); }

int AchievementCount() { return static_cast<int>(Active().scenario.achievements.size()); }

int StatCount() { return static_cast<int>(Active().scenario.stats.size()); }

const AchievementSchema& AchievementAt(int index) {
    return Active().scenario.achievements[static_cast<std::size_t>(index)];
}

const StatSchema& StatAt(int index) {
    return Active().scenario.stats[static_cast<std::size_t>(index)];
}

int AchievementIndex(const char* apiName) { return IndexIn(Active().achievementIndexes, apiName); }

int StatIndex(const char* apiName) { return IndexIn(Active().statIndexes, apiName); }

const std::string& Localized(const LocalizedText& text, const std::string& language) {
    static const std::string& kNone = *new std::string;
    auto found = text.find(language);
    if (found != text.end()) return found->second;
    // Steam falls back to the language of its own interface, then to English.
    found = text.find(ActiveScenario().uiLanguage);
    if (found != text.end()) return found->second;
    found = text.find("english");
    if (found != text.end()) return found->second;
    return text.empty() ? kNone : text.begin()->second;
}

}  // namespace offline_steam
