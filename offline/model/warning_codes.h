// Every warning the offline Steam gives: what real Steam would refuse or
// punish, or what the report could not take as it stands. The journal
// carries the code, the report and the docs name it; the docs' table is
// held to this list by a test.
#pragma once

// X(identifier, "code", "meaning")
#define OFFLINE_WARNING_CODES(X)                                                           \
    X(kUnknownLanguage, "unknown-language",                                                \
      "the scenario names a language code Steam does not have")                            \
    X(kStatRejected, "stat-rejected",                                                      \
      "a store carried a stat value Steam refuses (outside its range, a change larger "    \
      "than the stat allows, or not a finite number)")                                     \
    X(kFrequentStores, "frequent-stores",                                                  \
      "more stores in a short time than Valve advises; Steam may rate-limit them")         \
    X(kStateNotSaved, "state-not-saved", "the state file could not be written")            \
    X(kBeforeStats, "before-stats",                                                        \
      "a stats or achievements call before the user's stats arrived (or another user's "   \
      "stats, the global percentages or global stats before their answer); Steam answers " \
      "false")                                                                             \
    X(kUnknownName, "unknown-name", "a stat or achievement name the game's schema lacks")  \
    X(kWrongType, "wrong-type", "a stat read or written as the other type (int or float)") \
    X(kRichPresenceRefused, "rich-presence-refused",                                       \
      "SetRichPresence beyond Steam's limits (key or value length, number of keys); "      \
      "Steam answers false")                                                               \
    X(kNeverStarted, "never-started", "the game never started Steam")                      \
    X(kNoShutdown, "no-shutdown", "the game ended without SteamAPI_Shutdown")              \
    X(kHomeFileKept, "home-file-kept",                                                     \
      "run on Linux: a file the game wrote under HOME would have replaced the user's, or " \
      "could not be moved there")                                                          \
    X(kJournalCut, "journal-cut", "a journal line was cut off or unreadable and is left out")

namespace offline_steam {

enum class WarningCode {
#define OFFLINE_WARNING_ENUM(identifier, code, meaning) identifier,
    OFFLINE_WARNING_CODES(OFFLINE_WARNING_ENUM)
#undef OFFLINE_WARNING_ENUM
};

// The code as the journal and the report write it.
constexpr const char* WarningCodeText(WarningCode code) {
    switch (code) {
#define OFFLINE_WARNING_TEXT(identifier, text, meaning) \
    case WarningCode::identifier:                       \
        return text;
        OFFLINE_WARNING_CODES(OFFLINE_WARNING_TEXT)
#undef OFFLINE_WARNING_TEXT
    }
    return "";
}

}  // namespace offline_steam
