// Trace: the bridge's diagnostic lines. They go to the platform's debug output
// (OutputDebugStringA on Windows; on Linux the file STEAMBRIDGE_TRACE_FILE
// names) unless redirected. Every line is listed here once, as an id and its
// text; tests see the ids. Lines are written on events, never once a frame.
#pragma once

namespace steambridge {

// X(id, text). A text with "%d" is traced with a result code.
// clang-format off
#define STEAMBRIDGE_TRACE_LINES(X)                                               \
    X(LibraryNotFound, "Steam client library not found; looked for:")            \
    X(LibraryOtherArchitecture,                                                  \
      "Steam client library is built for another architecture; looked for:")     \
    X(LibraryNotLoaded, "Steam client library could not be loaded; looked for:") \
    X(LibraryLacksFunction, "Steam client library lacks a required function:")   \
    X(StartRefused, "Steam start refused:")                                      \
    X(AchievementsStart, "Start")                                                \
    X(RequestStats, "CSteamAchievements::RequestStats()")                        \
    X(SteamNotLoaded, "Steam not loaded")                                        \
    X(UserNotLoggedIn, "User not logged in")                                     \
    X(GoForStatsRequests, "Go for stats requests")                               \
    X(AchievementsStatsReceived, "stat rec a")                                   \
    X(StatsArrived, "Received stats and achievements from Steam")                \
    X(RequestStatsFailed, "RequestStats - failed, %d")                           \
    X(AchievementsStatsStored, "stat sto a")                                     \
    X(StoredStats, "Stored stats for Steam")                                     \
    X(StatsStoredFailed, "StatsStored - failed, %d")                             \
    X(AchievementStored, "Stored Achievement for Steam")                         \
    X(StatsReceived, "stat rec")                                                 \
    X(StatsReceivedOk, "stat rec ok")                                            \
    X(StatsStored, "stat sto")                                                   \
    X(StoreStatsSuccess, "StoreStats - success")                                 \
    X(StoreStatsInvalid, "StoreStats - some failed to validate")                 \
    X(StoreStatsFailed, "StoreStats - failed, %d")                               \
    X(CallHandleNull, "SteamAPICall==NULL")                                      \
    X(FindLeaderboardCallback, "OnFindLeaderboard callback")                     \
    X(FindLeaderboardFailure, "OnFindLeaderboard failure")                       \
    X(FindLeaderboardSuccess, "OnFindLeaderboard success")                       \
    X(ScoresUploaded, "Scores uploaded")
// clang-format on

enum class TraceId : unsigned char {
#define STEAMBRIDGE_TRACE_ID(id, text) id,
    STEAMBRIDGE_TRACE_LINES(STEAMBRIDGE_TRACE_ID)
#undef STEAMBRIDGE_TRACE_ID
    // A text that follows a line: a path tried, a missing function, Steam's
    // reason, an achievement's name.
    Detail,
};

// Receives each line's id and its text.
using TraceSink = void (*)(TraceId id, const char* line);

void Trace(TraceId id);
// A line whose text holds "%d", with `code` in its place; cut at 127 characters.
void Trace(TraceId id, int code);
// A name following a line; nothing for null.
void TraceDetail(const char* name);
// The text of a line ("" for Detail).
const char* TraceText(TraceId id);
// Redirects lines to `sink`; null restores the default sink.
void SetTraceSink(TraceSink sink);

}  // namespace steambridge
