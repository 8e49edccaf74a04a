// libFuzzer target: scripted host calls and simulator answers, the contracts checked every step.
#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "achievements/achievement_table.h"
#include "achievements/stat_table.h"
#include "bridge/module_state.h"
#include "host_support/bridge_library.h"
#include "host_support/host_buffers.h"
#include "host_support/host_record.h"
#include "host_support/utf_reference.h"
#include "schema.h"
#include "script.h"
#include "steam_sim.h"
#include "steambridge.h"
#include "text_expectations.h"

using namespace fuzz;
namespace bridge = steambridge;

namespace {

// ---- Failure reporting ---------------------------------------------------------

const std::vector<Step>* g_script = nullptr;
std::size_t g_stepIndex = 0;

// Prints the script up to the failing step in text form, ready to be saved and replayed.
[[noreturn]] void Fail(const char* what, int line) {
    std::fprintf(stderr, "\n==fuzz_exports== invariant broken (fuzz_exports.cpp:%d): %s\n", line,
                 what);
    if (g_script) {
        std::fprintf(stderr, "==fuzz_exports== at step %zu of this script:\n#script\n",
                     g_stepIndex + 1);
        for (std::size_t i = 0; i <= g_stepIndex && i < g_script->size(); ++i)
            std::fprintf(stderr, "%s\n", FormatStep((*g_script)[i]).c_str());
    }
    std::fflush(stderr);
    std::abort();
}

#define CHECK(condition)                              \
    do {                                              \
        if (!(condition)) Fail(#condition, __LINE__); \
    } while (0)

// ---- Start state of the process-wide tables ------------------------------------

struct StartTables {
    bridge::AchievementRow achievements[bridge::kAchievementCount];
    bridge::StatRow stats[bridge::kStatCount];
};

StartTables g_start;

void RestoreTables() {
    std::memcpy(bridge::AchievementTable(), g_start.achievements, sizeof g_start.achievements);
    std::memcpy(bridge::StatTable(), g_start.stats, sizeof g_start.stats);
}

struct TableSnapshot {
    unsigned char achievements[sizeof g_start.achievements];
    unsigned char stats[sizeof g_start.stats];

    void Take() {
        std::memcpy(achievements, bridge::AchievementTable(), sizeof achievements);
        std::memcpy(stats, bridge::StatTable(), sizeof stats);
    }
    bool Same() const {
        return std::memcmp(achievements, bridge::AchievementTable(), sizeof achievements) == 0 &&
               std::memcmp(stats, bridge::StatTable(), sizeof stats) == 0;
    }
};

// ---- Names the simulator knows ----------------------------------------------------

const char* StatName(std::int64_t index) {
    if (index >= 0 && index < offline_steam::StatCount())
        return offline_steam::StatAt(static_cast<int>(index)).name.c_str();
    return index % 2 == 0 ? "STAT_UNKNOWN" : nullptr;
}

const char* AchievementName(std::int64_t number) {
    if (number >= 1 && number <= offline_steam::AchievementCount())
        return offline_steam::AchievementAt(static_cast<int>(number - 1)).name.c_str();
    return number % 2 == 0 ? "ACH_UNKNOWN" : nullptr;
}

// Stat index linked to achievement `number` (its progress stat), or -1.
int LinkedStat(std::int32_t number) {
    if (number < 1 || number > offline_steam::AchievementCount()) return -1;
    const auto& progress = offline_steam::AchievementAt(number - 1).progress;
    return progress ? offline_steam::StatIndex(progress->stat.c_str()) : -1;
}

enum Accessor : int { kUser, kUserStats, kUtils, kApps, kFriends, kAccessors };

// The release of Valve's library the harness runs over, from its directory,
// named as the stages are: 163 for real-1.63; 0 when not so named.
int RealLibraryRelease() {
    std::string directory = ProgramDirectory();
    if (!directory.empty()) directory.pop_back();
    const std::string name = directory.substr(directory.find_last_of('/') + 1);
    int major = 0;
    int minor = 0;
    if (std::sscanf(name.c_str(), "real-%d.%d", &major, &minor) != 2) return 0;
    return major * 100 + minor;
}

// The release whose start and stats behaviour the bridge meets: the flat
// face's export profile, or the release of Valve's library over the client face.
int ClientLibraryRelease() {
    const int profile = SteamSim_Profile();
    return profile == STEAM_SIM_CLIENT_FACE_PROFILE ? RealLibraryRelease() : profile;
}

// What the bridge can reach through one interface in this session. The header
// promises only that a missing interface makes the operations that need it
// answer as failures: once the script changes an accessor while the bridge
// runs, the bridge may still use what it had or act as if it were missing.
enum class Access { Present, Missing, Either };

// ---- The harness's own account of what the bridge and the simulator hold -----------

struct QueuedStats {
    std::uint64_t gameId;
    std::int32_t result;
    std::int64_t dueFrame;
    bool delivered;
    // The bridge's own record, when the library has no request for the stats:
    // delivered at the next steamCallBacks, whatever the client's frame.
    bool fromBridge = false;
};

struct Model {
    // Simulator settings, as SteamSim_Reset leaves them and the script changes them.
    // Beneath Valve's library the simulator sees neither the holders nor the
    // library's own functions, only what the library asks of the Steam client.
    bool clientFace = SteamSim_Profile() == STEAM_SIM_CLIENT_FACE_PROFILE;
    int release = ClientLibraryRelease();
    bool startSucceeds = true;
    bool loggedOn = true;
    std::uint32_t appId = 480;
    std::uint64_t userId = 76561197960287930ULL;
    std::uint64_t recordGameId = 0;
    Text languages[2];
    bool accessorNull[kAccessors] = {};
    bool clientRefused = false;
    std::int32_t statsDelay = 1;
    std::int32_t statsResult = 1;
    std::int32_t latency = 1;
    bool leaderboardFaultArmed = false;
    // The bridge's allocations may fail: steamInit may then fail too.
    bool allocationFaultArmed = false;
    bool utf8Locale = false;

    // The bridge.
    bool running = false;
    Access access[kAccessors] = {};
    std::uint32_t keeperAppId = 0;
    // Stats-received records on their way to the bridge; a stop empties the queue.
    std::vector<QueuedStats> statsQueue;
    // Once the stats arrived, the table holds Steam's texts for good.
    bool steamTextsSeen = false;
    // The last board name steamSetLeaderBoardName accepted in this session.
    bool boardRequested = false;
    std::string boardName;
    bool boardFindable = false;
    std::int64_t boardDueFrame = 0;

    Model() {
        languages[0].bytes = "english";
        languages[1].bytes = "english,german,french,japanese";
    }

    std::uint64_t RecordGameIdNow() const { return recordGameId != 0 ? recordGameId : appId; }
    // From 1.61 the client has the stats before the game starts, and the bridge
    // delivers a stats-received record itself at the next steamCallBacks.
    bool StatsComeWithoutRequest() const { return release >= 161; }
    bool Has(int accessor) const { return access[accessor] == Access::Present; }
    bool ForThisApp(const QueuedStats& record) const {
        return record.result == 1 && record.gameId == keeperAppId;
    }
    bool StatsArrived() const {
        if (!running) return false;
        for (const QueuedStats& record : statsQueue)
            if (record.delivered && ForThisApp(record)) return true;
        return false;
    }
    void Deliver(std::int64_t frame) {
        for (QueuedStats& record : statsQueue)
            if (record.fromBridge || record.dueFrame <= frame) record.delivered = true;
    }
    bool BoardFound(std::int64_t frame) const {
        return running && boardRequested && boardFindable && frame >= boardDueFrame;
    }
    void Started() {
        running = true;
        boardRequested = false;
        for (int accessor = 0; accessor < kAccessors; ++accessor)
            access[accessor] = accessorNull[accessor] ? Access::Missing : Access::Present;
    }
    void Stopped() {
        running = false;
        statsQueue.clear();
        boardRequested = false;
    }
};

Model g_model;
bool g_strictTitles = false;
bool g_trace = false;

std::int64_t Frame() { return SteamSim_Frame(); }
// Without overflow: the simulator caps far-off frames at INT_MAX, which no script reaches either.
std::int64_t DueFrame(std::int32_t delay) { return Frame() + (delay < 1 ? 1 : delay); }

int CallCount(const char* exportName) { return SteamSim_CallCount(exportName); }

// Calls of any of the client library's start functions; beneath Valve's
// library, its connection to the Steam client, which each start makes.
int StartCalls() {
    if (g_model.clientFace)
        return CallCount("ISteamClient::CreateSteamPipe") +
               CallCount("ISteamClient::ConnectToGlobalUser");
    return CallCount("SteamAPI_Init") + CallCount("SteamAPI_InitSafe") +
           CallCount("SteamAPI_InitFlat") + CallCount("SteamInternal_SteamAPI_Init");
}

int ShutdownCalls() {
    if (g_model.clientFace)
        return CallCount("ISteamClient::ReleaseUser") +
               CallCount("ISteamClient::BReleaseSteamPipe") +
               CallCount("ISteamClient::BShutdownIfAllPipesClosed");
    return CallCount("SteamAPI_Shutdown");
}

// An answer that depends on one interface: the one with it, the one without,
// or either while the bridge may or may not still use it.
template <class Value>
bool AnswersThrough(int accessor, const Value& answer, const Value& with, const Value& without) {
    switch (g_model.access[accessor]) {
        case Access::Present:
            return answer == with;
        case Access::Missing:
            return answer == without;
        case Access::Either:
            return answer == with || answer == without;
    }
    return false;
}

// How many calls an operation made into Steam through one interface: `calls`
// with it, none without.
bool CalledThrough(int accessor, int made, int calls) {
    return AnswersThrough(accessor, made, calls, 0);
}

// ---- Checks after every step ----------------------------------------------------

void CheckInvariants() {
    Model& model = g_model;
    CHECK((SteamSim_IsRunning() == 1) == model.running);

    const std::int32_t status = steamStatus();
    CHECK(status == (model.StatsArrived() ? 1 : 0));
    CHECK(steamAchievementsCount() == (status == 1 ? STEAMBRIDGE_ACHIEVEMENT_COUNT : 0));
    if (status == 1) model.steamTextsSeen = true;

    const std::int32_t found = steamLeaderBoardFound();
    CHECK(found == (model.BoardFound(Frame()) ? 1 : 0));
    if (found == 1) CHECK(SteamSim_LeaderboardHandle(model.boardName.c_str()) != 0);

    const std::uint64_t user = steamUserID();
    // Holders live inside Valve's library, out of the client face's sight.
    const bool holdersSeen = !model.clientFace;
    if (model.running) {
        CHECK(AnswersThrough(kUser, user, model.userId, std::uint64_t{0}));
        // The bridge listens for every record it needs while it runs.
        if (holdersSeen) {
            CHECK(SteamSim_RegisteredCallbacks(1101) >= 1);
            CHECK(SteamSim_RegisteredCallbacks(1102) >= 1);
            CHECK(SteamSim_RegisteredCallbacks(1103) >= 1);
        }
    } else {
        CHECK(user == 0);
        // Not ready: refusals, and nothing left registered or waiting in the client.
        CHECK(steamUploadScore(1) == 0);
        CHECK(!steamSetLeaderBoardName(u"Not ready"));
        if (holdersSeen) {
            CHECK(SteamSim_RegisteredCallbacks(1101) == 0);
            CHECK(SteamSim_RegisteredCallbacks(1102) == 0);
            CHECK(SteamSim_RegisteredCallbacks(1103) == 0);
            CHECK(SteamSim_PendingCallResults() == 0);
        }
    }
    CHECK(SteamSim_SizeMismatches() == 0);
}

// ---- Host calls --------------------------------------------------------------------

HostBuffer g_language(STEAMBRIDGE_LANGUAGE_UNITS);
HostBuffer g_available(STEAMBRIDGE_AVAILABLE_LANGUAGES_UNITS);
HostBuffer g_name(STEAMBRIDGE_NAME_UNITS);
HostBuffer g_description(STEAMBRIDGE_DESCRIPTION_UNITS);
HostBuffer g_statName(STEAMBRIDGE_STAT_NAME_UNITS);
HostRecord g_record;

// A text the bridge wrote: terminated within its buffer, nothing after it, guards whole.
std::u16string WrittenText(const HostBuffer& buffer) {
    CHECK(buffer.Terminated());
    CHECK(buffer.GuardsUntouched());
    CHECK(buffer.UntouchedAfterText());
    const std::u16string text = buffer.Text();
    CHECK(utf_reference::IsWellFormedUtf16(text));
    return text;
}

// The header's promise for a list longer than its buffer: cut after the last
// whole name that fits with the terminator.
std::u16string WholeNamesWithin(const std::u16string& list, std::size_t capacity) {
    if (list.size() < capacity) return list;
    const std::size_t cut = list.rfind(u',', capacity - 1);
    return cut == std::u16string::npos ? std::u16string() : list.substr(0, cut);
}

void CheckLanguage(const HostBuffer& buffer, int which) {
    CHECK(buffer.SlotKept());
    if (!buffer.Given()) {
        CHECK(buffer.Untouched());
        return;
    }
    const std::u16string text = WrittenText(buffer);
    const Text& language = g_model.languages[which];
    std::u16string given;
    if (!language.isNull && !utf_reference::DecodeStrictUtf8(language.bytes, given)) {
        // Of a text that is not UTF-8 only its form is promised.
        if (g_model.access[kApps] == Access::Missing) CHECK(text.empty());
        return;
    }
    const std::size_t capacity =
        which == 0 ? STEAMBRIDGE_LANGUAGE_UNITS : STEAMBRIDGE_AVAILABLE_LANGUAGES_UNITS;
    CHECK(AnswersThrough(kApps, text, WholeNamesWithin(given, capacity), std::u16string()));
}

void RunInit(const Step& step) {
    Model& model = g_model;
    SteamBridgeChar16* const* language = g_language.Prepare(SlotAt(step.num[0], 0));
    SteamBridgeChar16* const* available = g_available.Prepare(SlotAt(step.num[0], 1));
    const int requests = CallCount("SteamAPI_ISteamUserStats_RequestCurrentStats");
    const int starts = StartCalls();
    const int connects = CallCount("ISteamClient::ConnectToGlobalUser");
    const int shutdowns = ShutdownCalls();
    const int registrations = CallCount("SteamAPI_RegisterCallback");

    if (model.running) {
        // Starts nothing and asks for nothing again: only the texts are written anew.
        CHECK(steamInit(language, available));
        CHECK(StartCalls() == starts);
        CHECK(ShutdownCalls() == shutdowns);
        CHECK(CallCount("SteamAPI_ISteamUserStats_RequestCurrentStats") == requests);
        if (!model.clientFace) CHECK(CallCount("SteamAPI_RegisterCallback") == registrations);
        CheckLanguage(g_language, 0);
        CheckLanguage(g_available, 1);
        return;
    }

    // The client library's start needs the client and utils interfaces, and
    // from 1.58 on the user interface too. Valve's own library also refuses to
    // start when the client answers app ID 0.
    const bool clientStarts = model.startSucceeds && !model.clientRefused &&
                              !model.accessorNull[kUtils] &&
                              !(model.release >= 158 && model.accessorNull[kUser]) &&
                              !(model.clientFace && model.appId == 0);
    const bool started = steamInit(language, available);
    // Out of memory the start fails; how much memory a start takes is the bridge's own affair.
    CHECK(started == clientStarts || (clientStarts && model.allocationFaultArmed));
    if (!started) {
        CHECK(g_language.Untouched() && g_language.SlotKept());
        CHECK(g_available.Untouched() && g_available.SlotKept());
        // A client session that started has ended again, and its queue with it.
        // Valve's library connects to the client before it checks anything
        // else, so there a start refused for any other reason began one too.
        const bool sessionBegan =
            model.clientFace
                ? model.startSucceeds && CallCount("ISteamClient::ConnectToGlobalUser") > connects
                : clientStarts && StartCalls() > starts;
        if (sessionBegan) model.statsQueue.clear();
        return;
    }
    model.Started();
    model.keeperAppId = model.appId;
    // The keepers ask for the user's stats when they can reach them and the
    // user is logged on.
    if (model.Has(kUserStats) && model.Has(kUser) && model.loggedOn) {
        if (model.StatsComeWithoutRequest())
            model.statsQueue.push_back({model.appId, 1, DueFrame(1), false, true});
        else
            model.statsQueue.push_back(
                {model.RecordGameIdNow(), model.statsResult, DueFrame(model.statsDelay), false});
    }
    CheckLanguage(g_language, 0);
    CheckLanguage(g_available, 1);
}

void RunData(std::int32_t number, std::int64_t slots, bool nullRecord) {
    const Model& model = g_model;
    SteamBridgeChar16* const* name = g_name.Prepare(SlotAt(slots, 0));
    SteamBridgeChar16* const* description = g_description.Prepare(SlotAt(slots, 1));
    SteamBridgeChar16* const* statName = g_statName.Prepare(SlotAt(slots, 2));
    AchievementInfo* info = g_record.Prepare(name, description, statName);
    const int calls = SteamSim_CallLogSize();
    const std::int32_t status = steamStatus();

    steamAchievementData(number, nullRecord ? nullptr : info);

    CHECK(SteamSim_CallLogSize() == calls);  // never calls Steam
    CHECK(g_name.SlotKept() && g_description.SlotKept() && g_statName.SlotKept());
    const bool writes =
        model.running && !nullRecord && number >= 1 && number <= bridge::kAchievementCount;
    if (!writes) {
        CHECK(g_record.Unchanged());
        CHECK(g_name.Untouched() && g_description.Untouched() && g_statName.Untouched());
        return;
    }

    const AchievementInfo& written = *g_record.info();
    CHECK(written.achieved == 0 || written.achieved == 1);
    CHECK(written.hasStat == 0 || written.hasStat == 1);
    // Untouched: the guards, the padding, the reserved bytes, the slots, and
    // conditional fields whose condition is false.
    CHECK(g_record
              .ChangedOutside({kWrittenAlways,
                               written.hasStat == 1 ? kWrittenWithStat : HostRecord::Fields{},
                               written.achieved == 1 ? kWrittenWhenAchieved : HostRecord::Fields{}})
              .empty());

    const bridge::AchievementRow& row = bridge::AchievementTable()[number - 1];
    CHECK(written.index == number - 1);
    CHECK(written.achieved == (row.achieved ? 1 : 0));
    if (written.achieved == 1) CHECK(written.unlockTime == row.unlockTime);
    const int stat = LinkedStat(number);
    CHECK(written.hasStat == (stat >= 0 ? 1 : 0));
    if (stat >= 0) {
        CHECK(written.statMin == 0);
        CHECK(written.statMax == offline_steam::AchievementAt(number - 1).progress->max);
        CHECK(written.statValue == bridge::StatTable()[stat].intValue);
    }

    // Before the stats arrive the name is the game's own title and the description empty.
    const bool startTexts = status == 0 && (!model.steamTextsSeen || g_strictTitles);
    if (g_name.Given()) {
        const std::u16string text = WrittenText(g_name);
        if (startTexts) CHECK(text == utf_reference::Widen(g_start.achievements[number - 1].name));
    } else {
        CHECK(g_name.Untouched());
    }
    if (g_description.Given()) {
        const std::u16string text = WrittenText(g_description);
        if (startTexts) CHECK(text.empty());
    } else {
        CHECK(g_description.Untouched());
    }
    if (g_statName.Given() && stat >= 0) {
        CHECK(WrittenText(g_statName) ==
              utf_reference::Widen(offline_steam::StatAt(stat).name.c_str()));
    } else {
        CHECK(g_statName.Untouched());
    }
}

void RunBoard(const Text& text) {
    Model& model = g_model;
    // Exactly the units and a terminator, so AddressSanitizer sees a read past the end.
    std::vector<char16_t> units(text.units.size() + 1, 0);
    std::copy(text.units.begin(), text.units.end(), units.begin());
    std::string narrow;
    const bool convertible =
        !text.isNull && ExpectedBoardName(text.units, model.utf8Locale, narrow);
    const bool expected = model.running && convertible;
    const std::int32_t foundBefore = steamLeaderBoardFound();
    const int finds = CallCount("SteamAPI_ISteamUserStats_FindOrCreateLeaderboard");

    CHECK(steamSetLeaderBoardName(text.isNull ? nullptr : units.data()) == expected);

    if (!expected) {
        // No search, and the current board stays.
        CHECK(CallCount("SteamAPI_ISteamUserStats_FindOrCreateLeaderboard") == finds);
        CHECK(steamLeaderBoardFound() == foundBefore);
        return;
    }
    const int made = CallCount("SteamAPI_ISteamUserStats_FindOrCreateLeaderboard") - finds;
    CHECK(CalledThrough(kUserStats, made, 1));
    const bool reachesSteam = made == 1;
    CHECK(steamLeaderBoardFound() == 0);
    model.boardRequested = true;
    model.boardName = narrow;
    model.boardFindable = reachesSteam && !model.leaderboardFaultArmed && !narrow.empty();
    model.boardDueFrame = DueFrame(model.latency);
    if (reachesSteam) model.leaderboardFaultArmed = false;
}

void RunUpload(std::int32_t score) {
    Model& model = g_model;
    const std::int32_t found = steamLeaderBoardFound();
    const int uploads = CallCount("SteamAPI_ISteamUserStats_UploadLeaderboardScore");
    CHECK(steamUploadScore(score) == found);
    const int made = CallCount("SteamAPI_ISteamUserStats_UploadLeaderboardScore") - uploads;
    CHECK(CalledThrough(kUserStats, made, found));
    const bool reachesSteam = made == 1;
    if (!reachesSteam) return;
    if (!model.leaderboardFaultArmed) {
        // Kept best on a descending board: at least this score now.
        std::int32_t best = 0;
        CHECK(SteamSim_LeaderboardScore(model.boardName.c_str(), &best));
        CHECK(best >= score);
    }
    model.leaderboardFaultArmed = false;
}

void RunStat(std::int32_t index, std::int32_t value, bool increase) {
    Model& model = g_model;
    const bool inRange = index >= 0 && index < bridge::kStatCount;
    const bool received = steamStatus() == 1;
    const int calls = SteamSim_CallLogSize();
    TableSnapshot tables;
    tables.Take();
    const std::int32_t old = inRange ? bridge::StatTable()[index].intValue : 0;

    const bool stored = increase ? steamStatIncrease(index, value) : steamStat(index, value);

    CHECK(model.running && inRange && received ? AnswersThrough(kUserStats, stored, true, false)
                                               : !stored);
    if (!model.running || !inRange) {
        CHECK(tables.Same());
        CHECK(SteamSim_CallLogSize() == calls);
        return;
    }
    const std::int32_t expected = increase
                                      ? static_cast<std::int32_t>(static_cast<std::uint32_t>(old) +
                                                                  static_cast<std::uint32_t>(value))
                                      : value;
    CHECK(bridge::StatTable()[index].intValue == expected);
    // Before the stats arrive the value stays local.
    if (!received) CHECK(SteamSim_CallLogSize() == calls);
}

void RunAchievement(std::int32_t number) {
    Model& model = g_model;
    const bool inRange = number >= 1 && number <= bridge::kAchievementCount;
    const bool received = steamStatus() == 1;
    const int calls = SteamSim_CallLogSize();
    const bool stored = steamAchievement(number);
    CHECK(model.running && inRange && received ? AnswersThrough(kUserStats, stored, true, false)
                                               : !stored);
    if (!inRange || !received) CHECK(SteamSim_CallLogSize() == calls);
    if (stored) CHECK(bridge::AchievementTable()[number - 1].achieved);
}

void RunReset() {
    if (!g_model.running) {
        steamResetAchievements();
        return;
    }
    StartTables before;
    std::memcpy(before.achievements, bridge::AchievementTable(), sizeof before.achievements);
    steamResetAchievements();
    for (int i = 0; i < bridge::kAchievementCount; ++i) {
        const bridge::AchievementRow& row = bridge::AchievementTable()[i];
        CHECK(!row.achieved);
        CHECK(row.unlockTime == 0);
        // Texts stay.
        CHECK(std::strcmp(row.name, before.achievements[i].name) == 0);
        CHECK(std::strcmp(row.description, before.achievements[i].description) == 0);
    }
    for (int i = 0; i < bridge::kStatCount; ++i) CHECK(bridge::StatTable()[i].intValue == 0);
}

void RunOverlay() {
    const int opened = CallCount("SteamAPI_ISteamFriends_ActivateGameOverlay");
    steamAchievementsOverlay();
    if (!g_model.running) return;
    const int made = CallCount("SteamAPI_ISteamFriends_ActivateGameOverlay") - opened;
    CHECK(CalledThrough(kFriends, made, 1));
    if (made == 1) CHECK(std::strcmp(SteamSim_LastOverlayDialog(), "Achievements") == 0);
}

// Cuts a text the way the simulator stores it (at its first 0 byte) and to a
// length the script can reach; languages longer than the header's buffers stay.
Text SimulatorText(const Text& given, std::size_t limit) {
    Text text = given;
    const std::size_t end = text.bytes.find('\0');
    if (end != std::string::npos) text.bytes.resize(end);
    if (text.bytes.size() > limit) text.bytes.resize(limit);
    return text;
}

const char* Bytes(const Text& text) { return text.isNull ? nullptr : text.bytes.c_str(); }

bool IsBridgeCall(Op op) { return op <= Op::Upload; }

// The stats and achievement states the bridge mirrors, as its tables or the
// server hold them; unlock times count only for achievements unlocked.
struct MirroredValues {
    std::int32_t stats[bridge::kStatCount];
    bool achieved[bridge::kAchievementCount];
    std::uint32_t unlockTimes[bridge::kAchievementCount];

    static MirroredValues OfTables() {
        MirroredValues values{};
        for (int i = 0; i < bridge::kStatCount; ++i)
            values.stats[i] = bridge::StatTable()[i].intValue;
        for (int i = 0; i < bridge::kAchievementCount; ++i) {
            const bridge::AchievementRow& row = bridge::AchievementTable()[i];
            values.achieved[i] = row.achieved;
            values.unlockTimes[i] = row.achieved ? row.unlockTime : 0;
        }
        return values;
    }
    static MirroredValues OfServer() {
        MirroredValues values{};
        for (int i = 0; i < bridge::kStatCount; ++i)
            CHECK(SteamSim_ServerStat(offline_steam::StatAt(i).name.c_str(), &values.stats[i]));
        for (int i = 0; i < bridge::kAchievementCount; ++i) {
            CHECK(SteamSim_ServerAchievement(offline_steam::AchievementAt(i).name.c_str(),
                                             &values.achieved[i], &values.unlockTimes[i]));
            if (!values.achieved[i]) values.unlockTimes[i] = 0;
        }
        return values;
    }
    bool operator==(const MirroredValues& other) const {
        return std::equal(std::begin(stats), std::end(stats), std::begin(other.stats)) &&
               std::equal(std::begin(achieved), std::end(achieved), std::begin(other.achieved)) &&
               std::equal(std::begin(unlockTimes), std::end(unlockTimes),
                          std::begin(other.unlockTimes));
    }
};

// The frame the stats arrived: the local tables now mirror the client's view,
// which before the stats arrive equals the server's values; without the stats
// interface there is nothing to read and the values stay.
void CheckArrival(const MirroredValues& before) {
    // The simulator serves stats only for its current app.
    if (g_model.appId != g_model.keeperAppId) return;
    const MirroredValues now = MirroredValues::OfTables();
    CHECK(AnswersThrough(kUserStats, now, MirroredValues::OfServer(), before));
}

void RunStep(const Step& step) {
    Model& model = g_model;
    const std::int32_t a = static_cast<std::int32_t>(step.num[0]);
    const std::int32_t b = static_cast<std::int32_t>(step.num[1]);
    const std::int32_t c = static_cast<std::int32_t>(step.num[2]);

    // Counts below are per step; an ever longer log would only slow the run down.
    SteamSim_ClearCallLog();

    // Not ready: no answer but "no", nothing called, nothing changed.
    const bool idle = IsBridgeCall(step.op) && step.op != Op::Init && !model.running;
    TableSnapshot tables;
    int calls = 0;
    std::int64_t frame = 0;
    if (idle) {
        tables.Take();
        calls = SteamSim_CallLogSize();
        frame = Frame();
    }

    switch (step.op) {
        case Op::Init:
            RunInit(step);
            break;
        case Op::Free:
            CHECK(steamFree());
            if (model.running) model.Stopped();
            break;
        case Op::Pump: {
            const std::int64_t count = step.num[0] < 0 ? 0 : step.num[0] > 64 ? 64 : step.num[0];
            for (std::int64_t i = 0; i < count; ++i) {
                const std::int64_t before = Frame();
                const bool arrived = model.StatsArrived();
                const MirroredValues valuesBefore = MirroredValues::OfTables();
                steamCallBacks();
                const std::int64_t advanced = Frame() - before;
                if (model.clientFace && model.running && model.access[kUtils] == Access::Either) {
                    // Valve's library takes the utils interface for its frame at
                    // its first RunCallbacks of a session; refused then, it runs
                    // no frame of the client's.
                    CHECK(advanced == 0 || advanced == 1);
                } else {
                    CHECK(advanced == (model.running ? 1 : 0));
                }
                if (!model.running) continue;
                model.Deliver(Frame());
                if (!arrived && model.StatsArrived()) CheckArrival(valuesBefore);
            }
            break;
        }
        case Op::UserId:
            CHECK(model.running
                      ? AnswersThrough(kUser, steamUserID(), model.userId, std::uint64_t{0})
                      : steamUserID() == 0);
            break;
        case Op::Achievement:
            RunAchievement(a);
            break;
        case Op::Overlay:
            RunOverlay();
            break;
        case Op::Reset:
            RunReset();
            break;
        case Op::Stat:
            RunStat(a, b, false);
            break;
        case Op::StatIncrease:
            RunStat(a, b, true);
            break;
        case Op::Status:
            CHECK(steamStatus() == (model.StatsArrived() ? 1 : 0));
            break;
        case Op::Count:
            CHECK(steamAchievementsCount() ==
                  (model.StatsArrived() ? bridge::kAchievementCount : 0));
            break;
        case Op::Data:
            RunData(a, step.num[1], false);
            break;
        case Op::DataNullRecord:
            RunData(a, 0, true);
            break;
        case Op::Board:
            RunBoard(step.text[0]);
            break;
        case Op::Found:
            CHECK(steamLeaderBoardFound() == (model.BoardFound(Frame()) ? 1 : 0));
            break;
        case Op::Upload:
            RunUpload(a);
            break;
        case Op::SimStart:
            model.startSucceeds = step.num[0] != 0;
            SteamSim_SetStartSucceeds(model.startSucceeds);
            break;
        case Op::SimLoggedOn:
            model.loggedOn = step.num[0] != 0;
            SteamSim_SetLoggedOn(model.loggedOn);
            break;
        case Op::SimAppId:
            model.appId = static_cast<std::uint32_t>(step.num[0]);
            SteamSim_SetAppId(model.appId);
            break;
        case Op::SimUserId:
            model.userId = static_cast<std::uint64_t>(step.num[0]);
            SteamSim_SetUserId(model.userId);
            break;
        case Op::SimLanguages:
            model.languages[0] = SimulatorText(step.text[0], 1023);
            model.languages[1] = SimulatorText(step.text[1], 1023);
            SteamSim_SetLanguages(Bytes(model.languages[0]), Bytes(model.languages[1]));
            break;
        case Op::SimAccessorNull: {
            const int which = static_cast<int>(step.num[0]);
            if (which >= 0 && which < kAccessors) {
                const bool returnsNull = step.num[1] != 0;
                if (model.running && returnsNull != model.accessorNull[which])
                    model.access[which] = Access::Either;
                model.accessorNull[which] = returnsNull;
            }
            const char* name = AccessorChoice(step.num[0]);
            if (name && std::strcmp(name, "SteamClient") == 0)
                model.clientRefused = step.num[1] != 0;
            SteamSim_SetAccessorNull(name, step.num[1] != 0);
            break;
        }
        case Op::SimStatsDelay:
            model.statsDelay = a;
            SteamSim_SetStatsReceivedDelay(a);
            break;
        case Op::SimStatsResult:
            model.statsResult = a;
            SteamSim_SetStatsReceivedResult(a);
            break;
        case Op::SimPostStats:
            model.statsQueue.push_back({model.RecordGameIdNow(), a, DueFrame(1), false});
            SteamSim_PostStatsReceived(a);
            break;
        case Op::SimStoreResult:
            SteamSim_ForceNextStoreResult(a);
            break;
        case Op::SimStatRange:
            SteamSim_SetStatRange(StatName(step.num[0]), b, c);
            break;
        case Op::SimStatOther:
            SteamSim_SetStatFromOtherDevice(StatName(step.num[0]), b);
            break;
        case Op::SimAchievementOther:
            SteamSim_SetAchievementFromOtherDevice(AchievementName(step.num[0]), step.num[1] != 0);
            break;
        case Op::SimClock:
            SteamSim_SetClock(static_cast<std::uint32_t>(step.num[0]));
            break;
        case Op::SimDisplay: {
            const Text value = SimulatorText(step.text[0], std::string::npos);
            SteamSim_SetDisplayAttribute(AchievementName(step.num[0]), KeyChoice(step.num[1]),
                                         Bytes(value));
            break;
        }
        case Op::SimFailHandle:
            model.leaderboardFaultArmed = true;
            SteamSim_FailNextCallHandle();
            break;
        case Op::SimFailIo:
            model.leaderboardFaultArmed = true;
            SteamSim_FailNextCallIo();
            break;
        case Op::SimNotFound:
            model.leaderboardFaultArmed = true;
            SteamSim_NextFindNotFound();
            break;
        case Op::SimLatency:
            model.latency = a;
            SteamSim_SetCallResultLatency(a);
            break;
        case Op::SimRecordGameId:
            model.recordGameId = static_cast<std::uint64_t>(step.num[0]);
            SteamSim_SetRecordGameId(model.recordGameId);
            break;
        case Op::OutOfMemory:
            model.allocationFaultArmed = a >= 0;
            bridge::FailObjectAllocationsAfter(a < 0 ? -1 : a);
            break;
        case Op::Locale:
            model.utf8Locale = (step.num[0] & 1) != 0;
            CHECK(std::setlocale(LC_CTYPE, model.utf8Locale ? "C.UTF-8" : "C") != nullptr);
            break;
        case Op::kCount:
            break;
    }

    if (idle) {
        CHECK(tables.Same());
        CHECK(SteamSim_CallLogSize() == calls);
        CHECK(Frame() == frame);
    }
}

// Every input starts from the state a freshly loaded process has.
void Begin() {
    steamFree();
    SteamSim_Reset();
    RestoreTables();
    bridge::FailObjectAllocationsAfter(-1);
    std::setlocale(LC_CTYPE, "C");
    g_model = Model();
    CheckInvariants();
}

void End() {
    CHECK(steamFree());
    if (g_model.running) g_model.Stopped();
    CheckInvariants();
    // Releases the simulator's call log and queues and the harness's own records,
    // so an input leaves nothing behind.
    SteamSim_Reset();
    g_model = Model();
    bridge::FailObjectAllocationsAfter(-1);
    std::setlocale(LC_CTYPE, "C");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (g_model.clientFace) {
        // Valve's library finds the Steam client where a running Steam leaves
        // it; the stand-in beside the harness is the one already loaded.
        if (g_model.release == 0 || !UseSteamClient(ProgramDirectory() + kSteamClientFileName)) {
            std::fprintf(stderr,
                         "==fuzz_exports== over the Steam client the harness must sit in "
                         "real-<release>/ beside libsteam_api.so and %s\n",
                         kSteamClientFileName);
            std::abort();
        }
    }
    // Taken before any input ran: the tables as the library starts with them.
    std::memcpy(g_start.achievements, bridge::AchievementTable(), sizeof g_start.achievements);
    std::memcpy(g_start.stats, bridge::StatTable(), sizeof g_start.stats);
    const char* strict = std::getenv("STEAMBRIDGE_FUZZ_STRICT_TITLES");
    g_strictTitles = strict && std::strcmp(strict, "1") == 0;
    const char* trace = std::getenv("STEAMBRIDGE_FUZZ_TRACE");
    g_trace = trace && std::strcmp(trace, "1") == 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<Step> steps = DecodeScript(data, size);
    g_script = &steps;
    g_stepIndex = 0;
    Begin();
    for (g_stepIndex = 0; g_stepIndex < steps.size(); ++g_stepIndex) {
        RunStep(steps[g_stepIndex]);
        CheckInvariants();
        if (g_trace)
            std::fprintf(stderr, "%-40s frame %lld running %d status %d found %d\n",
                         FormatStep(steps[g_stepIndex]).c_str(), static_cast<long long>(Frame()),
                         g_model.running ? 1 : 0, steamStatus(), steamLeaderBoardFound());
    }
    g_stepIndex = steps.empty() ? 0 : steps.size() - 1;
    End();
    g_script = nullptr;
    return 0;
}
