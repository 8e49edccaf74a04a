// Session state defaults and language texts.
#include "session.h"

namespace steam_sim {

void Session::reset() {
    const unsigned nextEpoch = epoch_ + 1;
    *this = Session();
    epoch_ = nextEpoch;
}

void Session::setLanguages(const char* current, const char* available) {
    hasCurrentLanguage_ = current != nullptr;
    currentLanguage_ = current != nullptr ? current : "";
    hasAvailableLanguages_ = available != nullptr;
    availableLanguages_ = available != nullptr ? available : "";
}

Session& session() {
    static Session instance;
    return instance;
}

}  // namespace steam_sim
