// The model's events gathered from its state and handed to the installed sink.
#include "event_reports.h"

#include <cstdint>
#include <deque>
#include <set>
#include <utility>

#include "leaderboards.h"
#include "schema.h"
#include "session.h"

namespace offline_steam {
namespace {

// Valve advises storing "on the order of minutes": more than this many
// stores within the window is worth a warning.
constexpr int kAdvisedStores = 10;
constexpr uint32_t kAdvisedWindowSeconds = 60;

struct Reports {
    std::set<std::pair<WarningCode, std::string>> warned;
    // Accessors ask for their interface on every call, some games every frame.
    std::set<std::pair<std::string, bool>> interfacesAsked;
    std::deque<uint32_t> storeTimes;
    bool frequentWarned = false;
};

Reports& TheReports() {
    static Reports& reports = *new Reports;  // never destroyed: see TheSession
    return reports;
}

bool Reporting() { return InstalledModelEvents() != nullptr; }

void NoteStoreTime() {
    Reports& reports = TheReports();
    const uint32_t now = TheSession().Clock();
    reports.storeTimes.push_back(now);
    while (now - reports.storeTimes.front() >= kAdvisedWindowSeconds)
        reports.storeTimes.pop_front();
    if (static_cast<int>(reports.storeTimes.size()) > kAdvisedStores && !reports.frequentWarned) {
        reports.frequentWarned = true;
        Warn(WarningCode::kFrequentStores,
             "more than " + std::to_string(kAdvisedStores) + " stores within " +
                 std::to_string(kAdvisedWindowSeconds) +
                 " seconds: Valve advises storing on the order of minutes "
                 "(at the end of a level), and Steam rate-limits stores");
    }
}

}  // namespace

void ReportStart(bool ok, const std::string& reason) {
    if (Reporting()) InstalledModelEvents()->Started(TheSession().Frame(), ok, reason);
}

void ReportStatsReceived(int result) {
    if (Reporting()) InstalledModelEvents()->StatsReceived(TheSession().Frame(), result);
}

void ReportStore(const StatsServer::StoreOutcome& outcome, const char* when) {
    if (!Reporting()) return;
    StoreEvent store{outcome.call, when, outcome.result, {}, {}};
    for (const StatsServer::Rejection& rejection : outcome.rejected) {
        const std::string& stat = StatAt(rejection.statIndex).name;
        store.rejected.push_back({stat, rejection.reason});
        Warn(WarningCode::kStatRejected, "stat " + stat + ": " + rejection.reason);
    }
    for (int index : outcome.newlyUnlocked) {
        bool achieved = false;
        uint32_t time = 0;
        TheStatsServer().ServerAchievement(index, &achieved, &time);
        store.unlocked.push_back({AchievementAt(index).name, time});
    }
    InstalledModelEvents()->Stored(TheSession().Frame(), store);
    NoteStoreTime();
    if (outcome.result == kResultOk || !outcome.rejected.empty()) ReportState();
}

void ReportScore(const char* board, int score, bool changed, bool success) {
    if (!Reporting()) return;
    InstalledModelEvents()->Scored(TheSession().Frame(), board, score, changed, success);
    if (changed) ReportState();
}

void ReportUnserved(const std::string& method) {
    if (Reporting()) InstalledModelEvents()->Unserved(TheSession().Frame(), method);
}

void ReportInterfaceAsked(const std::string& version, bool served) {
    if (!Reporting() || !TheReports().interfacesAsked.emplace(version, served).second) return;
    InstalledModelEvents()->InterfaceAsked(TheSession().Frame(), version, served);
}

void Warn(WarningCode code, const std::string& text) {
    if (!Reporting() || !TheReports().warned.emplace(code, text).second) return;
    InstalledModelEvents()->Warned(TheSession().Frame(), code, text);
}

void ReportState() {
    if (!Reporting()) return;
    SteamState state;
    for (int i = 0; i < AchievementCount(); ++i) {
        bool achieved = false;
        uint32_t time = 0;
        TheStatsServer().ServerAchievement(i, &achieved, &time);
        state.achievements.push_back({AchievementAt(i).name, achieved, time});
    }
    for (int i = 0; i < StatCount(); ++i)
        state.stats.push_back({StatAt(i).name, TheStatsServer().ServerStatValue(i)});
    for (const auto& [board, score] : TheLeaderboards().UserScores())
        state.scores.push_back({board, score});
    for (Leaderboards::KeptBoardState& board : TheLeaderboards().KeptBoards())
        state.boards.push_back(
            {std::move(board.name), board.sortMethod, board.displayType, std::move(board.details)});
    InstalledModelEvents()->StateNow(TheSession().Frame(), state);
}

void ReportRichPresence() {
    if (!Reporting()) return;
    InstalledModelEvents()->RichPresenceNow(TheSession().Frame(),
                                            TheSession().UserRichPresence().Entries());
}

void ReportShutdown(const char* how) {
    if (!Reporting()) return;
    ReportState();
    InstalledModelEvents()->ShutDown(TheSession().Frame(), how);
}

}  // namespace offline_steam
