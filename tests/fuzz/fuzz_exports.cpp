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
#include "bridge/object_memory.h"
#include "guarded_memory.h"
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
    if (index >= 0 && index < steam_sim::kStatCount)
        return steam_sim::statDefinition(static_cast<int>(index)).apiName;
    return index % 2 == 0 ? "STAT_UNKNOWN" : nullptr;
}

const char* AchievementName(std::int64_t number) {
    if (number >= 1 && number <= steam_sim::kAchievementCount)
        return steam_sim::achievementDefinition(static_cast<int>(number - 1)).apiName;
    return number % 2 == 0 ? "ACH_UNKNOWN" : nullptr;
}

// Stat index linked to achievement `number`, or -1.
int LinkedStat(std::int32_t number) {
    for (int i = 0; i < steam_sim::kStatCount; ++i)
        if (steam_sim::statDefinition(i).linkedAchievementNumber == number) return i;
    return -1;
}

enum Accessor : int { kUser, kUserStats, kUtils, kApps, kFriends, kAccessors };

// ---- The harness's own account of what the bridge and the simulator hold -----------

struct QueuedStats {
    std::uint64_t gameId;
    std::int32_t result;
    std::int64_t dueFrame;
    bool delivered;
};

struct Model {
    // Simulator settings, as SteamSim_Reset leaves them and the script changes them.
    bool startSucceeds = true;
    bool loggedOn = true;
    std::uint32_t appId = 480;
    std::uint64_t userId = 76561197960287930ULL;
    std::uint64_t recordGameId = 0;
    Text languages[2];
    bool accessorNull[kAccessors] = {};
    // Interfaces the bridge holds: it asks for each until it gets one, then keeps
    // it for the session.
    bool held[kAccessors] = {};
    std::int32_t statsDelay = 1;
    std::int32_t statsResult = 1;
    std::int32_t latency = 1;
    bool leaderboardFaultArmed = false;
    int allocationsLeft = -1;  // -1: never fail
    bool utf8Locale = false;

    // The bridge.
    bool running = false;
    std::uint32_t keeperAppId = 0;
    // Stats-received records in the simulator's queue; a stop empties it.
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
    // The bridge asks for an interface: true when it has one afterwards.
    bool Ask(int accessor) {
        if (!held[accessor] && !accessorNull[accessor]) held[accessor] = true;
        return held[accessor];
    }
    bool ForThisApp(const QueuedStats& record) const {
        return record.result == 1 && record.gameId == keeperAppId;
    }
    bool StatsArrived() const {
        if (!running) return false;
        for (const QueuedStats& record : statsQueue)
            if (record.delivered && ForThisApp(record)) return true;
        return false;
    }
    // One frame of delivery: due records reach the keepers, and one for this app
    // makes them read everything back through the stats interface.
    void Deliver(std::int64_t frame) {
        for (QueuedStats& record : statsQueue) {
            if (record.delivered || record.dueFrame > frame) continue;
            record.delivered = true;
            if (ForThisApp(record)) Ask(kUserStats);
        }
    }
    bool BoardFound(std::int64_t frame) const {
        return running && boardRequested && boardFindable && frame >= boardDueFrame;
    }
    void Stopped() {
        running = false;
        statsQueue.clear();
        boardRequested = false;
        for (bool& interface : held) interface = false;
    }
};

Model g_model;
bool g_strictTitles = false;
bool g_trace = false;

std::int64_t Frame() { return SteamSim_Frame(); }
// Without overflow: the simulator caps far-off frames at INT_MAX, which no script reaches either.
std::int64_t DueFrame(std::int32_t delay) { return Frame() + (delay < 1 ? 1 : delay); }

int CallCount(const char* exportName) { return SteamSim_CallCount(exportName); }

// ---- Checks after every step ----------------------------------------------------

void CheckInvariants() {
    Model& model = g_model;
    const bridge::ModuleState& module = bridge::Module();
    CHECK(module.loaded == model.running);
    CHECK((SteamSim_IsRunning() == 1) == model.running);
    if (model.running) {
        CHECK(module.achievements && module.stats && module.leaderboards && module.links);
    } else {
        CHECK(!module.achievements && !module.stats && !module.leaderboards && !module.links);
    }

    const std::int32_t status = steamStatus();
    CHECK(status == 0 || status == 1);
    CHECK(status == (model.StatsArrived() ? 1 : 0));
    CHECK(status == 0 || (module.achievements && module.stats));
    CHECK(steamAchievementsCount() == (status == 1 ? bridge::kAchievementCount : 0));
    if (status == 1) model.steamTextsSeen = true;

    const std::int32_t found = steamLeaderBoardFound();
    CHECK(found == 0 || found == 1);
    CHECK(found == (model.BoardFound(Frame()) ? 1 : 0));
    if (found == 1) CHECK(SteamSim_LeaderboardHandle(model.boardName.c_str()) != 0);

    const std::uint64_t user = steamUserID();
    CHECK(user == (model.running && model.Ask(kUser) ? model.userId : 0));

    // One holder per keeper and record kind; none once the keepers are gone.
    CHECK(SteamSim_RegisteredCallbacks(1101) == (model.running ? 2 : 0));
    CHECK(SteamSim_RegisteredCallbacks(1102) == (model.running ? 2 : 0));
    CHECK(SteamSim_RegisteredCallbacks(1103) == (model.running ? 1 : 0));
    CHECK(SteamSim_PendingCallResults() <= (model.running ? 2 : 0));
    CHECK(SteamSim_SizeMismatches() == 0);
}

// ---- Host calls --------------------------------------------------------------------

GuardedUnits g_language(STEAMBRIDGE_LANGUAGE_UNITS);
GuardedUnits g_available(STEAMBRIDGE_AVAILABLE_LANGUAGES_UNITS);
GuardedUnits g_name(STEAMBRIDGE_NAME_UNITS);
GuardedUnits g_description(STEAMBRIDGE_DESCRIPTION_UNITS);
GuardedUnits g_statName(STEAMBRIDGE_STAT_NAME_UNITS);
GuardedRecord g_record;

// A text the bridge wrote: terminated within its buffer, nothing after it, guards whole.
std::u16string WrittenText(const GuardedUnits& buffer) {
    std::u16string text;
    CHECK(buffer.Terminated(text));
    CHECK(buffer.GuardsUntouched());
    CHECK(buffer.UntouchedAfterText(text.size()));
    CHECK(IsWellFormedUtf16(text));
    return text;
}

// The header's promise for a list longer than its buffer: cut after the last
// whole name that fits with the terminator.
std::u16string WholeNamesWithin(const std::u16string& list, std::size_t capacity) {
    if (list.size() < capacity) return list;
    const std::size_t cut = list.rfind(u',', capacity - 1);
    return cut == std::u16string::npos ? std::u16string() : list.substr(0, cut);
}

void CheckLanguage(const GuardedUnits& buffer, int which, bool apps) {
    CHECK(buffer.SlotKept());
    if (!buffer.Given()) {
        CHECK(buffer.Untouched());
        return;
    }
    const std::u16string text = WrittenText(buffer);
    const Text& language = g_model.languages[which];
    if (!apps || language.isNull) {
        CHECK(text.empty());
        return;
    }
    std::u16string expected;
    const std::size_t capacity =
        which == 0 ? STEAMBRIDGE_LANGUAGE_UNITS : STEAMBRIDGE_AVAILABLE_LANGUAGES_UNITS;
    if (DecodeStrictUtf8(language.bytes, expected))
        CHECK(text == WholeNamesWithin(expected, capacity));
}

void RunInit(const Step& step) {
    Model& model = g_model;
    SteamBridgeChar16* const* language = g_language.Prepare(SlotAt(step.num[0], 0));
    SteamBridgeChar16* const* available = g_available.Prepare(SlotAt(step.num[0], 1));
    const bridge::ModuleState before = bridge::Module();
    const int requests = CallCount("SteamAPI_ISteamUserStats_RequestCurrentStats");
    const int starts = CallCount("SteamAPI_Init");

    if (model.running) {
        CHECK(steamInit(language, available));
        const bridge::ModuleState& after = bridge::Module();
        CHECK(after.achievements == before.achievements && after.stats == before.stats &&
              after.leaderboards == before.leaderboards && after.links == before.links);
        CHECK(CallCount("SteamAPI_ISteamUserStats_RequestCurrentStats") == requests);
        CHECK(CallCount("SteamAPI_Init") == starts);
        const bool apps = model.Ask(kApps);
        CheckLanguage(g_language, 0, apps);
        CheckLanguage(g_available, 1, apps);
        return;
    }

    // The client library's start needs the utils interface, and from 1.58 on
    // the user interface too.
    const bool clientStarts = model.startSucceeds && !model.accessorNull[kUtils] &&
                              !(SteamSim_Profile() >= 158 && model.accessorNull[kUser]);
    bool memory = true;
    if (clientStarts && model.allocationsLeft >= 0) {
        // The four blocks are asked for together; each success uses one up.
        memory = model.allocationsLeft >= 4;
        model.allocationsLeft -= model.allocationsLeft < 4 ? model.allocationsLeft : 4;
    }
    const bool expected = clientStarts && memory;
    CHECK(steamInit(language, available) == expected);
    if (!expected) {
        // Started and shut down again for want of memory: the queue went with the session.
        if (clientStarts) model.statsQueue.clear();
        CHECK(g_language.Untouched() && g_language.SlotKept());
        CHECK(g_available.Untouched() && g_available.SlotKept());
        return;
    }
    model.running = true;
    model.boardRequested = false;
    // The keepers learn the app ID, then each asks for the user's stats when the
    // stats and user interfaces are there and the user is logged on.
    model.keeperAppId = model.Ask(kUtils) ? model.appId : 0;
    const bool stats = model.Ask(kUserStats);
    if (stats && model.Ask(kUser) && model.loggedOn) {
        for (int keeper = 0; keeper < 2; ++keeper)
            model.statsQueue.push_back(
                {model.RecordGameIdNow(), model.statsResult, DueFrame(model.statsDelay), false});
    }
    const bool apps = model.Ask(kApps);
    CheckLanguage(g_language, 0, apps);
    CheckLanguage(g_available, 1, apps);
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
        CHECK(g_record.FirstStrayWrite({}) == -1);
        CHECK(g_name.Untouched() && g_description.Untouched() && g_statName.Untouched());
        return;
    }

    const AchievementInfo& written = g_record.Info();
    using Field = GuardedRecord::Field;
    std::vector<Field> fields = {{offsetof(AchievementInfo, index), sizeof written.index},
                                 {offsetof(AchievementInfo, achieved), 1},
                                 {offsetof(AchievementInfo, hasStat), 1}};
    CHECK(written.achieved == 0 || written.achieved == 1);
    CHECK(written.hasStat == 0 || written.hasStat == 1);
    if (written.hasStat == 1) {
        fields.push_back({offsetof(AchievementInfo, statMin), sizeof written.statMin});
        fields.push_back({offsetof(AchievementInfo, statMax), sizeof written.statMax});
        fields.push_back({offsetof(AchievementInfo, statValue), sizeof written.statValue});
    }
    if (written.achieved == 1)
        fields.push_back({offsetof(AchievementInfo, unlockTime), sizeof written.unlockTime});
    // Untouched: the guards, the padding, reserved bytes 14-15 of the 32-bit layout
    // (here offsetof(hasStat) + 1 .. offsetof(statMin)), the slots, and conditional
    // fields whose condition is false.
    CHECK(g_record.FirstStrayWrite(fields) == -1);

    const bridge::AchievementRow& row = bridge::AchievementTable()[number - 1];
    CHECK(written.index == number - 1);
    CHECK(written.achieved == (row.achieved ? 1 : 0));
    if (written.achieved == 1) CHECK(written.unlockTime == row.unlockTime);
    const int stat = LinkedStat(number);
    CHECK(written.hasStat == (stat >= 0 ? 1 : 0));
    if (stat >= 0) {
        CHECK(written.statMin == 0);
        CHECK(written.statMax == steam_sim::statDefinition(stat).target);
        CHECK(written.statValue == bridge::StatTable()[stat].intValue);
    }

    // Before the stats arrive the name is the game's own title and the description empty.
    const bool startTexts = status == 0 && (!model.steamTextsSeen || g_strictTitles);
    if (g_name.Given()) {
        const std::u16string text = WrittenText(g_name);
        if (startTexts) CHECK(text == Widen(g_start.achievements[number - 1].name));
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
        CHECK(WrittenText(g_statName) == Widen(steam_sim::statDefinition(stat).apiName));
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
    const bool reachesSteam = model.Ask(kUserStats);
    CHECK(CallCount("SteamAPI_ISteamUserStats_FindOrCreateLeaderboard") ==
          finds + (reachesSteam ? 1 : 0));
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
    const bool reachesSteam = found == 1 && model.Ask(kUserStats);
    CHECK(CallCount("SteamAPI_ISteamUserStats_UploadLeaderboardScore") ==
          uploads + (reachesSteam ? 1 : 0));
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

    CHECK(stored == (model.running && inRange && received && model.Ask(kUserStats)));
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
    CHECK(stored == (model.running && inRange && received && model.Ask(kUserStats)));
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
    g_model.Ask(kUserStats);
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
    steamAchievementsOverlay();
    if (g_model.running && g_model.Ask(kFriends))
        CHECK(std::strcmp(SteamSim_LastOverlayDialog(), "Achievements") == 0);
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

// The frame the stats arrived: the local tables now mirror the client's view,
// which before the stats arrive equals the server's values.
void CheckArrival() {
    const Model& model = g_model;
    // The simulator serves stats only for its current app, and the keepers read
    // them through the stats interface.
    if (model.appId != model.keeperAppId || !model.held[kUserStats]) return;
    for (int i = 0; i < bridge::kStatCount; ++i) {
        std::int32_t server = 0;
        CHECK(SteamSim_ServerStat(steam_sim::statDefinition(i).apiName, &server));
        CHECK(bridge::StatTable()[i].intValue == server);
    }
    for (int i = 0; i < bridge::kAchievementCount; ++i) {
        bool achieved = false;
        std::uint32_t unlockTime = 0;
        CHECK(SteamSim_ServerAchievement(steam_sim::achievementDefinition(i).apiName, &achieved,
                                         &unlockTime));
        const bridge::AchievementRow& row = bridge::AchievementTable()[i];
        CHECK(row.achieved == achieved);
        if (achieved) CHECK(row.unlockTime == unlockTime);
    }
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
                steamCallBacks();
                CHECK(Frame() == before + (model.running ? 1 : 0));
                if (!model.running) continue;
                model.Deliver(Frame());
                if (!arrived && model.StatsArrived()) CheckArrival();
            }
            break;
        }
        case Op::UserId:
            CHECK(steamUserID() == (model.running && model.Ask(kUser) ? model.userId : 0));
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
            if (which >= 0 && which < kAccessors) model.accessorNull[which] = step.num[1] != 0;
            SteamSim_SetAccessorNull(AccessorChoice(step.num[0]), step.num[1] != 0);
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
            model.allocationsLeft = a < 0 ? -1 : a;
            bridge::FailObjectAllocationsAfter(model.allocationsLeft);
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
