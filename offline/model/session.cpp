// Session state defaults and language texts.
#include "session.h"

#include <filesystem>
#include <system_error>

#include "schema.h"

namespace offline_steam {

void Session::Reset() {
    const unsigned nextEpoch = epoch_ + 1;
    *this = Session();
    epoch_ = nextEpoch;
    const Scenario& scenario = ActiveScenario();
    startSucceeds_ = !scenario.faults.steamNotRunning;
    loggedOn_ = scenario.loggedOn;
    appId_ = scenario.appId;
    userId_ = scenario.steamId;
    personaName_ = scenario.personaName;
    installDir_ = scenario.installDir;
    if (installDir_.empty()) {
        std::error_code failure;
        const std::filesystem::path folder = std::filesystem::current_path(failure);
        if (!failure) installDir_ = folder.string();
    }
    currentLanguage_ = scenario.language;
    availableLanguages_.clear();
    for (const std::string& language : scenario.languages) {
        if (!availableLanguages_.empty()) availableLanguages_ += ',';
        availableLanguages_ += language;
    }
    if (scenario.clock) clock_ = *scenario.clock;
    for (const std::string& name : scenario.faults.refusedInterfaces)
        refusedInterfaces_.insert(name);
}

void Session::SetInterfaceRefused(const char* unversionedName, bool refused) {
    if (unversionedName == nullptr) return;
    if (refused)
        refusedInterfaces_.insert(unversionedName);
    else
        refusedInterfaces_.erase(unversionedName);
}

void Session::SetLanguages(const char* current, const char* available) {
    hasCurrentLanguage_ = current != nullptr;
    currentLanguage_ = current != nullptr ? current : "";
    hasAvailableLanguages_ = available != nullptr;
    availableLanguages_ = available != nullptr ? available : "";
}

Session& TheSession() {
    // Never destroyed: a thread may still call Steam while the process exits.
    static Session& instance = *new Session;
    return instance;
}

}  // namespace offline_steam
