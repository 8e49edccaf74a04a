// Reading a scenario's keys: every value checked, each refusal naming its
// key path (json_document.h turns it into a file and line).
#include "scenario_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <unordered_map>
#include <utility>

namespace offline_steam {
namespace {

using namespace json_file;

// Steam's k_cchStatNameMax and k_cchLeaderboardNameMax (128) hold the
// terminator.
constexpr std::size_t kMaxNameBytes = 127;
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kUint32Max = std::numeric_limits<std::uint32_t>::max();
constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
// Global totals and history are doubles in the model: integers are exact to 2^53.
constexpr std::int64_t kExactInDouble = std::int64_t{1} << 53;
// Steam's RequestGlobalStats gives at most 60 days of history.
constexpr std::size_t kMaxHistoryDays = 60;
// Far above any icon Steam shows (64 x 64): a bound on what a decode allocates.
constexpr std::uint32_t kMaxIconSide = 4096;

constexpr const char* kTopKeys[] = {"$schema", "include",      "app",    "user",         "friends",
                                    "clock",   "achievements", "stats",  "leaderboards", "users",
                                    "global",  "start",        "faults", "expect",       nullptr};
constexpr const char* kAppKeys[] = {"id",          "language",  "languages",  "dlc",
                                    "buildId",     "betaName",  "installDir", "earliestPurchase",
                                    "freeWeekend", "vacBanned", nullptr};
constexpr const char* kDlcKeys[] = {"id", "name", "owned", "installed", nullptr};
constexpr const char* kUserKeys[] = {"steamId",        "loggedOn",  "personaName", "steamLevel",
                                     "uiLanguage",     "ipCountry", "onSteamDeck", "bigPicture",
                                     "overlayEnabled", nullptr};
constexpr const char* kFriendKeys[] = {"steamId", "personaName", "personaState", nullptr};
// Steam's EPersonaState names, in its order from 0 (invisible is never what a
// friend shows).
constexpr const char* kPersonaStates[] = {"offline", "online",         "busy",          "away",
                                          "snooze",  "lookingToTrade", "lookingToPlay", nullptr};
constexpr const char* kAchievementKeys[] = {"name",     "displayName",   "description",
                                            "hidden",   "progress",      "icon",
                                            "iconGray", "globalPercent", nullptr};
constexpr const char* kProgressKeys[] = {"stat", "min", "max", nullptr};
constexpr const char* kStatKeys[] = {"name",      "type",          "min",    "max",  "default",
                                     "maxChange", "incrementOnly", "window", nullptr};
constexpr const char* kLeaderboardKeys[] = {"name", "sort", "display", "scores", nullptr};
constexpr const char* kScoreKeys[] = {"steamId", "score", nullptr};
constexpr const char* kStartKeys[] = {"achievements", "stats", "leaderboards", nullptr};
constexpr const char* kOtherUserKeys[] = {"steamId", "achievements", "stats", nullptr};
constexpr const char* kGlobalKeys[] = {"stats", "currentPlayers", nullptr};
constexpr const char* kGlobalStatKeys[] = {"total", "history", nullptr};
constexpr const char* kFaultKeys[] = {
    "steamNotRunning",  "stats", "stores", "storeRateLimit", "leaderboards",
    "refuseInterfaces", nullptr};
constexpr const char* kStatsFaultKeys[] = {"delayFrames", "never", "result", nullptr};
constexpr const char* kStoreFaultKeys[] = {"result", "fromCall", "times", nullptr};
constexpr const char* kRateLimitKeys[] = {"stores", "seconds", nullptr};
constexpr const char* kBoardFaultsKeys[] = {"latencyFrames", "faults", nullptr};
constexpr const char* kBoardFaultKeys[] = {"call", "fault", "board", "times", nullptr};
constexpr const char* kExpectKeys[] = {"achievements", "stats", "leaderboards", "cleanShutdown",
                                       nullptr};
constexpr const char* kBoundsKeys[] = {"min", "max", nullptr};

constexpr const char* kStatTypes[] = {"int", "float", "avgrate", nullptr};
constexpr const char* kSorts[] = {"ascending", "descending", nullptr};
constexpr const char* kDisplays[] = {"numeric", "seconds", "milliseconds", nullptr};
constexpr const char* kTimes[] = {"once", "always", nullptr};
constexpr const char* kBoardCalls[] = {"find", "upload", "download", nullptr};
constexpr const char* kBoardFaultKinds[] = {"notFound", "ioFailure", "zeroCallHandle", nullptr};
constexpr const char* kInterfaces[] = {"SteamUser",    "SteamUserStats", "SteamUtils", "SteamApps",
                                       "SteamFriends", "SteamClient",    nullptr};

// The objects whose fields a later file replaces one by one; every other
// top-level key is replaced whole.
constexpr const char* kMergedObjects[] = {"app",   "user",   "faults", "expect",
                                          "start", "global", nullptr};

[[noreturn]] void Refuse(const std::string& path, const std::string& what) {
    throw Refusal{path, what};
}

// The position of the value among `names`, else a refusal listing them.
int OneOf(const json& value, const std::string& path, const char* const* names) {
    const std::string text = String(value, path);
    std::string choices;
    int count = 0;
    for (; names[count] != nullptr; ++count)
        if (text == names[count]) return count;
    for (int i = 0; i < count; ++i) {
        if (i > 0) choices += i + 1 == count ? " or " : ", ";
        choices += Quote(names[i]);
    }
    Refuse(path, "must be " + choices + ", not " + Quote(text));
}

const json& Required(const json& object, const std::string& path, const char* key,
                     const char* what) {
    const json* value = Find(object, key);
    if (value == nullptr) Refuse(path, std::string(what) + " needs \"" + key + "\"");
    return *value;
}

std::string Name(const json& value, const std::string& path) {
    std::string name = NonEmptyString(value, path);
    if (name.size() > kMaxNameBytes) {
        Refuse(path, Quote(name.substr(0, 16) + "...") + " is " + std::to_string(name.size()) +
                         " bytes; Steam takes at most 127");
    }
    return name;
}

// Reads one scenario file, or the merge of several, into a Scenario.
// Without cross-checks it checks only what one file can get wrong by itself:
// names that other files may define (progress stats, start and expect names)
// are checked once all files are merged.
class Reader {
public:
    Reader(bool crossChecks, FolderOf folderOf)
        : crossChecks_(crossChecks), folderOf_(std::move(folderOf)) {}

    void Read(const json& root) {
        ExpectObject(root, "");
        CheckKeys(root, "", kTopKeys, "the top level");
        if (const json* schema = Find(root, "$schema")) String(*schema, "$schema");
        if (const json* includes = Find(root, "include")) {
            ExpectList(*includes, "include");
            for (std::size_t i = 0; i < includes->size(); ++i)
                NonEmptyString((*includes)[i], Element("include", i));
        }
        if (const json* app = Find(root, "app")) ReadApp(*app);
        if (const json* user = Find(root, "user")) ReadUser(*user);
        if (const json* friends = Find(root, "friends")) ReadFriends(*friends);
        if (const json* clock = Find(root, "clock"))
            scenario.clock = static_cast<std::uint32_t>(Integer(*clock, "clock", 0, kUint32Max));
        if (const json* achievements = Find(root, "achievements")) ReadAchievements(*achievements);
        if (const json* stats = Find(root, "stats")) ReadStats(*stats);
        if (crossChecks_) CheckProgressStats();
        if (const json* boards = Find(root, "leaderboards")) ReadLeaderboards(*boards);
        if (const json* users = Find(root, "users")) ReadOtherUsers(*users);
        if (const json* global = Find(root, "global")) ReadGlobal(*global);
        if (const json* start = Find(root, "start")) ReadStart(*start);
        if (const json* faults = Find(root, "faults")) ReadFaults(*faults);
        if (const json* expect = Find(root, "expect")) ReadExpect(*expect);
    }

    Scenario scenario;

private:
    void ReadApp(const json& app) {
        const std::string path = "app";
        ExpectObject(app, path);
        CheckKeys(app, path, kAppKeys, "app");
        if (const json* id = Find(app, "id"))
            scenario.appId = static_cast<std::uint32_t>(Integer(*id, "app.id", 1, kUint32Max));
        if (const json* language = Find(app, "language"))
            scenario.language = NonEmptyString(*language, "app.language");
        if (const json* languages = Find(app, "languages")) {
            ExpectList(*languages, "app.languages");
            scenario.languages.clear();
            for (std::size_t i = 0; i < languages->size(); ++i)
                scenario.languages.push_back(
                    NonEmptyString((*languages)[i], Element("app.languages", i)));
        }
        if (const json* dlc = Find(app, "dlc")) ReadDlc(*dlc);
        // GetAppBuildId answers an int.
        if (const json* build = Find(app, "buildId"))
            scenario.buildId =
                static_cast<std::uint32_t>(Integer(*build, "app.buildId", 0, kInt32Max));
        if (const json* beta = Find(app, "betaName")) {
            scenario.betaName = NonEmptyString(*beta, "app.betaName");
            if (scenario.betaName == "public")
                Refuse("app.betaName",
                       "\"public\" is Steam's default branch, on which GetCurrentBetaName answers "
                       "false: leave betaName out");
        }
        if (const json* folder = Find(app, "installDir"))
            scenario.installDir = NonEmptyString(*folder, "app.installDir");
        if (const json* time = Find(app, "earliestPurchase"))
            scenario.purchaseTime =
                static_cast<std::uint32_t>(Integer(*time, "app.earliestPurchase", 0, kUint32Max));
        if (const json* freeWeekend = Find(app, "freeWeekend"))
            scenario.freeWeekend = Bool(*freeWeekend, "app.freeWeekend");
        if (const json* banned = Find(app, "vacBanned"))
            scenario.vacBanned = Bool(*banned, "app.vacBanned");
    }

    // The game's DLC: one entry per app ID, never the game's own (known only
    // once every file is merged), and only an owned one installed.
    void ReadDlc(const json& list) {
        const std::string path = "app.dlc";
        ExpectList(list, path);
        scenario.dlc.clear();
        std::unordered_map<std::uint32_t, std::size_t> ids;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const json& item = list[i];
            const std::string at = Element(path, i);
            ExpectObject(item, at);
            CheckKeys(item, at, kDlcKeys, "a DLC");
            Dlc dlc;
            dlc.appId = static_cast<std::uint32_t>(
                Integer(Required(item, at, "id", "a DLC"), Child(at, "id"), 1, kUint32Max));
            const auto [known, added] = ids.emplace(dlc.appId, i);
            if (!added)
                Refuse(Child(at, "id"), std::to_string(dlc.appId) + " is already the ID of " +
                                            Element(path, known->second));
            if (crossChecks_ && dlc.appId == scenario.appId)
                Refuse(Child(at, "id"), std::to_string(dlc.appId) + " is the game's own app ID");
            dlc.name = NonEmptyString(Required(item, at, "name", "a DLC"), Child(at, "name"));
            if (const json* owned = Find(item, "owned"))
                dlc.owned = Bool(*owned, Child(at, "owned"));
            // Not owned, it is not installed unless the file says so (refused below).
            dlc.installed = dlc.owned;
            if (const json* installed = Find(item, "installed")) {
                dlc.installed = Bool(*installed, Child(at, "installed"));
                if (dlc.installed && !dlc.owned)
                    Refuse(Child(at, "installed"),
                           "a DLC the user does not own cannot be installed (\"owned\" is false)");
            }
            scenario.dlc.push_back(std::move(dlc));
        }
    }

    void ReadUser(const json& user) {
        ExpectObject(user, "user");
        CheckKeys(user, "user", kUserKeys, "user");
        if (const json* id = Find(user, "steamId")) scenario.steamId = SteamId(*id, "user.steamId");
        if (const json* loggedOn = Find(user, "loggedOn"))
            scenario.loggedOn = Bool(*loggedOn, "user.loggedOn");
        if (const json* persona = Find(user, "personaName"))
            scenario.personaName = String(*persona, "user.personaName");
        if (const json* level = Find(user, "steamLevel"))
            scenario.steamLevel = static_cast<int>(Integer(*level, "user.steamLevel", 0, kIntMax));
        // Like app.language: a code Steam does not have is warned about at run time.
        if (const json* language = Find(user, "uiLanguage"))
            scenario.uiLanguage = NonEmptyString(*language, "user.uiLanguage");
        if (const json* country = Find(user, "ipCountry")) {
            const std::string code = String(*country, "user.ipCountry");
            if (code.size() != 2 || code[0] < 'A' || code[0] > 'Z' || code[1] < 'A' ||
                code[1] > 'Z')
                Refuse("user.ipCountry",
                       "must be two uppercase letters (an ISO 3166-1 code such as \"US\"), not " +
                           Quote(code));
            scenario.ipCountry = code;
        }
        if (const json* deck = Find(user, "onSteamDeck"))
            scenario.onSteamDeck = Bool(*deck, "user.onSteamDeck");
        if (const json* bigPicture = Find(user, "bigPicture"))
            scenario.bigPicture = Bool(*bigPicture, "user.bigPicture");
        if (const json* overlay = Find(user, "overlayEnabled"))
            scenario.overlayEnabled = Bool(*overlay, "user.overlayEnabled");
    }

    // The user's friends: one entry per Steam ID, never the user's own (known
    // only once every file is merged).
    void ReadFriends(const json& list) {
        const std::string path = "friends";
        ExpectList(list, path);
        std::unordered_map<std::uint64_t, std::size_t> ids;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const json& item = list[i];
            const std::string at = Element(path, i);
            ExpectObject(item, at);
            CheckKeys(item, at, kFriendKeys, "a friend");
            Friend person;
            person.steamId =
                SteamId(Required(item, at, "steamId", "a friend"), Child(at, "steamId"));
            if (person.steamId == 0) Refuse(Child(at, "steamId"), "0 is no user's Steam ID");
            const auto [known, added] = ids.emplace(person.steamId, i);
            if (!added)
                Refuse(Child(at, "steamId"),
                       "this user is already " + Element(path, known->second));
            if (crossChecks_ && person.steamId == scenario.steamId)
                Refuse(Child(at, "steamId"), "is the user's own Steam ID (user.steamId)");
            person.personaName = NonEmptyString(Required(item, at, "personaName", "a friend"),
                                                Child(at, "personaName"));
            if (const json* state = Find(item, "personaState"))
                person.personaState = static_cast<PersonaState>(
                    OneOf(*state, Child(at, "personaState"), kPersonaStates));
            scenario.friends.push_back(std::move(person));
        }
    }

    static LocalizedText Texts(const json& texts, const std::string& path) {
        ExpectObject(texts, path);
        LocalizedText result;
        for (auto item = texts.begin(); item != texts.end(); ++item) {
            if (item.key().empty()) Refuse(path, "a language code must not be empty");
            result[item.key()] = String(item.value(), Child(path, item.key()));
        }
        return result;
    }

    void ReadAchievements(const json& list) {
        ExpectList(list, "achievements");
        for (std::size_t i = 0; i < list.size(); ++i) {
            const json& item = list[i];
            const std::string path = Element("achievements", i);
            ExpectObject(item, path);
            CheckKeys(item, path, kAchievementKeys, "an achievement");
            AchievementSchema achievement;
            achievement.name =
                Name(Required(item, path, "name", "an achievement"), Child(path, "name"));
            const auto [known, added] = achievementIndex_.emplace(achievement.name, i);
            if (!added) {
                Refuse(Child(path, "name"), Quote(achievement.name) + " is already the name of " +
                                                Element("achievements", known->second));
            }
            if (const json* texts = Find(item, "displayName"))
                achievement.displayName = Texts(*texts, Child(path, "displayName"));
            if (const json* texts = Find(item, "description"))
                achievement.description = Texts(*texts, Child(path, "description"));
            if (const json* hidden = Find(item, "hidden"))
                achievement.hidden = Bool(*hidden, Child(path, "hidden"));
            if (const json* progress = Find(item, "progress"))
                achievement.progress = ReadProgress(*progress, Child(path, "progress"));
            if (const json* icon = Find(item, "icon")) achievement.icon = Icon(*icon, path, "icon");
            if (const json* icon = Find(item, "iconGray"))
                achievement.iconGray = Icon(*icon, path, "iconGray");
            if (const json* percent = Find(item, "globalPercent")) {
                const std::string at = Child(path, "globalPercent");
                const double value = Number(*percent, at);
                if (!(value >= 0 && value <= 100))
                    Refuse(at, "must be a number from 0 to 100, not " + percent->dump());
                achievement.globalPercent = static_cast<float>(value);
            }
            scenario.achievements.push_back(std::move(achievement));
        }
    }

    static AchievementProgress ReadProgress(const json& progress, const std::string& path) {
        ExpectObject(progress, path);
        CheckKeys(progress, path, kProgressKeys, "progress");
        AchievementProgress result;
        result.stat =
            NonEmptyString(Required(progress, path, "stat", "progress"), Child(path, "stat"));
        result.min = Number(Required(progress, path, "min", "progress"), Child(path, "min"));
        result.max = Number(Required(progress, path, "max", "progress"), Child(path, "max"));
        if (!(result.min < result.max))
            Refuse(Child(path, "max"), "must be greater than min (" + NumberText(result.min) + ")");
        return result;
    }

    // A PNG file named relative to the folder of the file that names it,
    // stored resolved: its signature and header (IHDR) read, nothing decoded.
    std::string Icon(const json& value, const std::string& achievementPath, const char* key) const {
        const std::string path = Child(achievementPath, key);
        const std::string written = NonEmptyString(value, path);
        std::filesystem::path resolved =
            std::filesystem::path(folderOf_ ? folderOf_(path) : std::string()) / written;
        std::error_code failure;
        const std::filesystem::path absolute = std::filesystem::absolute(resolved, failure);
        if (!failure) resolved = absolute;
        resolved = resolved.lexically_normal();
        const std::string problem = PngProblem(resolved);
        if (!problem.empty())
            Refuse(path,
                   Quote(written) + " " + problem + " (looked for " + resolved.string() + ")");
        return resolved.string();
    }

    // Why the file is not a PNG image we can serve, or "" when it is one.
    static std::string PngProblem(const std::filesystem::path& file) {
        std::error_code failure;
        const std::filesystem::file_status status = std::filesystem::status(file, failure);
        if (failure || !std::filesystem::exists(status)) return "cannot be opened";
        if (!std::filesystem::is_regular_file(status)) return "is not a file";
        std::ifstream in(file, std::ios::binary);
        if (!in) return "cannot be opened";
        // The signature, then the first chunk: IHDR's length (13), type and data.
        std::array<unsigned char, 8 + 8 + 13> head{};
        in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        if (got < 8 || !std::equal(kSignature, kSignature + 8, head.begin()))
            return "is not a PNG file (it lacks the PNG signature)";
        auto big = [&](std::size_t at) {
            return (std::uint32_t{head[at]} << 24) | (std::uint32_t{head[at + 1]} << 16) |
                   (std::uint32_t{head[at + 2]} << 8) | std::uint32_t{head[at + 3]};
        };
        if (got < head.size() || big(8) != 13 || head[12] != 'I' || head[13] != 'H' ||
            head[14] != 'D' || head[15] != 'R')
            return "is not a PNG file that can be read (its header, IHDR, is missing or cut off)";
        const std::uint32_t width = big(16);
        const std::uint32_t height = big(20);
        const unsigned depth = head[24];
        const unsigned colour = head[25];
        // The bit depths PNG allows for each colour type.
        const bool depthFits =
            (colour == 0 &&
             (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16)) ||
            (colour == 3 && (depth == 1 || depth == 2 || depth == 4 || depth == 8)) ||
            ((colour == 2 || colour == 4 || colour == 6) && (depth == 8 || depth == 16));
        if (width == 0 || height == 0 || !depthFits || head[26] != 0 || head[27] != 0 ||
            head[28] > 1)
            return "is not a PNG file that can be read (its header, IHDR, is not valid)";
        if (width > kMaxIconSide || height > kMaxIconSide) {
            return "is " + std::to_string(width) + " x " + std::to_string(height) +
                   " pixels; an icon may have at most " + std::to_string(kMaxIconSide) +
                   " on each side (Steam shows 64 x 64)";
        }
        return "";
    }

    // Other users whose stats RequestUserStats fetches: one entry each, never
    // the user's own, names of the schema.
    void ReadOtherUsers(const json& list) {
        ExpectList(list, "users");
        std::unordered_map<std::uint64_t, std::size_t> listed;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const json& item = list[i];
            const std::string at = Element("users", i);
            ExpectObject(item, at);
            CheckKeys(item, at, kOtherUserKeys, "a user of \"users\"");
            OtherUserStats other;
            other.steamId = SteamId(Required(item, at, "steamId", "a user"), Child(at, "steamId"));
            const auto [known, added] = listed.emplace(other.steamId, i);
            if (!added) {
                Refuse(Child(at, "steamId"),
                       "this user is already listed in " + Element("users", known->second));
            }
            if (crossChecks_ && other.steamId == scenario.steamId) {
                Refuse(Child(at, "steamId"),
                       "is the user's own ID (user.steamId); the user's stats are the start "
                       "state's");
            }
            if (const json* achievements = Find(item, "achievements")) {
                const std::string path = Child(at, "achievements");
                ExpectObject(*achievements, path);
                for (auto entry = achievements->begin(); entry != achievements->end(); ++entry) {
                    const std::string where = Child(path, entry.key());
                    const auto time =
                        static_cast<std::uint32_t>(Integer(entry.value(), where, 0, kUint32Max));
                    if (crossChecks_) KnownAchievement(entry.key(), where);
                    other.achievements[entry.key()] = time;
                }
            }
            if (const json* stats = Find(item, "stats")) {
                const std::string path = Child(at, "stats");
                ExpectObject(*stats, path);
                for (auto entry = stats->begin(); entry != stats->end(); ++entry) {
                    const std::string where = Child(path, entry.key());
                    const double value = Number(entry.value(), where);
                    if (crossChecks_) CheckStartStat(entry.key(), entry.value(), value, where);
                    other.stats[entry.key()] = value;
                }
            }
            scenario.users.push_back(std::move(other));
        }
    }

    // Steam's global figures: the aggregated stats (RequestGlobalStats) and
    // the number of players (GetNumberOfCurrentPlayers).
    void ReadGlobal(const json& global) {
        ExpectObject(global, "global");
        CheckKeys(global, "global", kGlobalKeys, "global");
        if (const json* players = Find(global, "currentPlayers"))
            scenario.currentPlayers =
                static_cast<std::int32_t>(Integer(*players, "global.currentPlayers", 0, kInt32Max));
        const json* stats = Find(global, "stats");
        if (stats == nullptr) return;
        ExpectObject(*stats, "global.stats");
        for (auto item = stats->begin(); item != stats->end(); ++item) {
            const std::string at = Child("global.stats", item.key());
            ExpectObject(item.value(), at);
            CheckKeys(item.value(), at, kGlobalStatKeys, "a global stat");
            GlobalStat stat;
            stat.name = item.key();
            // An int stat's figures are int64 on Steam's side.
            bool integers = false;
            if (crossChecks_) {
                const StatSchema& schema = KnownStat(item.key(), at);
                if (schema.type == StatType::AverageRate)
                    Refuse(at,
                           Quote(item.key()) +
                               " is an avgrate stat; Steam aggregates only int and float stats");
                integers = schema.type == StatType::Int;
            }
            auto figure = [&](const json& value, const std::string& where) {
                if (integers)
                    return static_cast<double>(
                        Integer(value, where, -kExactInDouble, kExactInDouble));
                return Number(value, where);
            };
            const std::string totalPath = Child(at, "total");
            stat.total = figure(Required(item.value(), at, "total", "a global stat"), totalPath);
            if (const json* history = Find(item.value(), "history")) {
                const std::string path = Child(at, "history");
                ExpectList(*history, path);
                if (history->size() > kMaxHistoryDays) {
                    Refuse(path, "holds " + std::to_string(history->size()) +
                                     " days; Steam gives at most " +
                                     std::to_string(kMaxHistoryDays));
                }
                for (std::size_t i = 0; i < history->size(); ++i)
                    stat.history.push_back(figure((*history)[i], Element(path, i)));
            }
            scenario.globalStats.push_back(std::move(stat));
        }
    }

    void ReadStats(const json& list) {
        ExpectList(list, "stats");
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string path = Element("stats", i);
            scenario.stats.push_back(ReadStat(list[i], path));
            const auto [known, added] = statIndex_.emplace(scenario.stats.back().name, i);
            if (!added) {
                Refuse(Child(path, "name"), Quote(known->first) + " is already the name of " +
                                                Element("stats", known->second));
            }
        }
    }

    static StatSchema ReadStat(const json& item, const std::string& path) {
        ExpectObject(item, path);
        CheckKeys(item, path, kStatKeys, "a stat");
        StatSchema stat;
        stat.name = Name(Required(item, path, "name", "a stat"), Child(path, "name"));
        if (const json* type = Find(item, "type")) {
            constexpr StatType kTypes[] = {StatType::Int, StatType::Float, StatType::AverageRate};
            stat.type = kTypes[OneOf(*type, Child(path, "type"), kStatTypes)];
        }
        // An int stat's numbers are int32 values on Steam's side.
        auto value = [&](const char* key) -> std::optional<double> {
            const json* found = Find(item, key);
            if (found == nullptr) return std::nullopt;
            if (stat.type == StatType::Int)
                return static_cast<double>(Integer(*found, Child(path, key), kInt32Min, kInt32Max));
            return Number(*found, Child(path, key));
        };
        stat.min = value("min");
        stat.max = value("max");
        const std::optional<double> defaultValue = value("default");
        stat.maxChange = value("maxChange");
        if (stat.min && stat.max && *stat.max < *stat.min)
            Refuse(Child(path, "max"), "must not be less than min (" + NumberText(*stat.min) + ")");
        if (defaultValue) {
            if (stat.min && *defaultValue < *stat.min) {
                Refuse(Child(path, "default"),
                       "must not be less than min (" + NumberText(*stat.min) + ")");
            }
            if (stat.max && *defaultValue > *stat.max) {
                Refuse(Child(path, "default"),
                       "must not be greater than max (" + NumberText(*stat.max) + ")");
            }
            stat.defaultValue = *defaultValue;
        }
        if (stat.maxChange && !(*stat.maxChange > 0))
            Refuse(Child(path, "maxChange"), "must be greater than 0");
        if (const json* incrementOnly = Find(item, "incrementOnly"))
            stat.incrementOnly = Bool(*incrementOnly, Child(path, "incrementOnly"));
        if (const json* window = Find(item, "window")) {
            stat.window = Number(*window, Child(path, "window"));
            if (stat.window < 0) Refuse(Child(path, "window"), "must not be negative");
            // Anywhere else it would be silently meaningless.
            if (stat.type != StatType::AverageRate)
                Refuse(Child(path, "window"), "only an avgrate stat has a window");
        }
        return stat;
    }

    void CheckProgressStats() const {
        for (std::size_t i = 0; i < scenario.achievements.size(); ++i) {
            const std::optional<AchievementProgress>& progress = scenario.achievements[i].progress;
            if (!progress) continue;
            const std::string path = Element("achievements", i) + ".progress.stat";
            const auto found = statIndex_.find(progress->stat);
            if (found == statIndex_.end())
                Refuse(path, Quote(progress->stat) + " is not a stat of the schema");
            if (scenario.stats[found->second].type == StatType::AverageRate) {
                Refuse(path, Quote(progress->stat) +
                                 " is an avgrate stat; progress needs an int or float stat");
            }
        }
    }

    void ReadLeaderboards(const json& list) {
        ExpectList(list, "leaderboards");
        std::unordered_map<std::string, std::size_t> boards;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const json& item = list[i];
            const std::string path = Element("leaderboards", i);
            ExpectObject(item, path);
            CheckKeys(item, path, kLeaderboardKeys, "a leaderboard");
            LeaderboardSchema board;
            board.name = Name(Required(item, path, "name", "a leaderboard"), Child(path, "name"));
            const auto [known, added] = boards.emplace(board.name, i);
            if (!added) {
                Refuse(Child(path, "name"), Quote(board.name) + " is already the name of " +
                                                Element("leaderboards", known->second));
            }
            if (const json* sort = Find(item, "sort")) {
                board.sort = OneOf(*sort, Child(path, "sort"), kSorts) == 0
                                 ? LeaderboardSort::Ascending
                                 : LeaderboardSort::Descending;
            }
            if (const json* display = Find(item, "display")) {
                constexpr LeaderboardDisplay kKinds[] = {LeaderboardDisplay::Numeric,
                                                         LeaderboardDisplay::TimeSeconds,
                                                         LeaderboardDisplay::TimeMilliSeconds};
                board.display = kKinds[OneOf(*display, Child(path, "display"), kDisplays)];
            }
            if (const json* scores = Find(item, "scores"))
                board.scores = ReadScores(*scores, Child(path, "scores"));
            scenario.leaderboards.push_back(std::move(board));
        }
        boardNames_ = std::move(boards);
    }

    static std::vector<LeaderboardEntry> ReadScores(const json& list, const std::string& path) {
        ExpectList(list, path);
        std::vector<LeaderboardEntry> scores;
        std::unordered_map<std::uint64_t, std::size_t> users;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const json& item = list[i];
            const std::string at = Element(path, i);
            ExpectObject(item, at);
            CheckKeys(item, at, kScoreKeys, "a score");
            LeaderboardEntry entry;
            entry.steamId = SteamId(Required(item, at, "steamId", "a score"), Child(at, "steamId"));
            entry.score = static_cast<std::int32_t>(Integer(
                Required(item, at, "score", "a score"), Child(at, "score"), kInt32Min, kInt32Max));
            // A board holds one entry per user.
            const auto [known, added] = users.emplace(entry.steamId, i);
            if (!added) {
                Refuse(Child(at, "steamId"),
                       "this user already has a score in " + Element(path, known->second));
            }
            scores.push_back(entry);
        }
        return scores;
    }

    void ReadStart(const json& start) {
        ExpectObject(start, "start");
        CheckKeys(start, "start", kStartKeys, "start");
        if (const json* achievements = Find(start, "achievements")) {
            ExpectObject(*achievements, "start.achievements");
            for (auto item = achievements->begin(); item != achievements->end(); ++item) {
                const std::string path = Child("start.achievements", item.key());
                const auto time =
                    static_cast<std::uint32_t>(Integer(item.value(), path, 0, kUint32Max));
                if (crossChecks_) KnownAchievement(item.key(), path);
                scenario.start.achievements[item.key()] = time;
            }
        }
        if (const json* stats = Find(start, "stats")) {
            ExpectObject(*stats, "start.stats");
            for (auto item = stats->begin(); item != stats->end(); ++item) {
                const std::string path = Child("start.stats", item.key());
                const double value = Number(item.value(), path);
                if (crossChecks_) CheckStartStat(item.key(), item.value(), value, path);
                scenario.start.stats[item.key()] = value;
            }
        }
        if (const json* boards = Find(start, "leaderboards")) {
            ExpectObject(*boards, "start.leaderboards");
            for (auto item = boards->begin(); item != boards->end(); ++item) {
                const std::string path = Child("start.leaderboards", item.key());
                const auto score =
                    static_cast<std::int32_t>(Integer(item.value(), path, kInt32Min, kInt32Max));
                if (crossChecks_ && boardNames_.count(item.key()) == 0)
                    Refuse(path, Quote(item.key()) + " is not a leaderboard of the schema");
                scenario.start.leaderboards[item.key()] = score;
            }
        }
    }

    void KnownAchievement(const std::string& name, const std::string& path) const {
        if (achievementIndex_.count(name) == 0)
            Refuse(path, Quote(name) + " is not an achievement of the schema");
    }

    const StatSchema& KnownStat(const std::string& name, const std::string& path) const {
        const auto found = statIndex_.find(name);
        if (found == statIndex_.end()) Refuse(path, Quote(name) + " is not a stat of the schema");
        return scenario.stats[found->second];
    }

    // A value the stat could hold on Steam's side.
    void CheckStartStat(const std::string& name, const json& raw, double value,
                        const std::string& path) const {
        const StatSchema& stat = KnownStat(name, path);
        if (stat.type == StatType::Int) Integer(raw, path, kInt32Min, kInt32Max);
        if (stat.min && value < *stat.min)
            Refuse(path, "must not be less than the stat's min (" + NumberText(*stat.min) + ")");
        if (stat.max && value > *stat.max)
            Refuse(path, "must not be greater than the stat's max (" + NumberText(*stat.max) + ")");
    }

    void ReadFaults(const json& faults) {
        ExpectObject(faults, "faults");
        CheckKeys(faults, "faults", kFaultKeys, "faults");
        Faults& out = scenario.faults;
        if (const json* notRunning = Find(faults, "steamNotRunning"))
            out.steamNotRunning = Bool(*notRunning, "faults.steamNotRunning");
        if (const json* stats = Find(faults, "stats")) {
            const std::string path = "faults.stats";
            ExpectObject(*stats, path);
            CheckKeys(*stats, path, kStatsFaultKeys, "faults.stats");
            if (const json* delay = Find(*stats, "delayFrames"))
                out.statsDelayFrames =
                    static_cast<int>(Integer(*delay, path + ".delayFrames", 0, kIntMax));
            if (const json* never = Find(*stats, "never"))
                out.statsNever = Bool(*never, path + ".never");
            if (const json* result = Find(*stats, "result"))
                out.statsResult = static_cast<std::int32_t>(
                    Integer(*result, path + ".result", kInt32Min, kInt32Max));
        }
        if (const json* stores = Find(faults, "stores")) ReadStoreFaults(*stores);
        if (const json* limit = Find(faults, "storeRateLimit")) {
            const std::string path = "faults.storeRateLimit";
            ExpectObject(*limit, path);
            CheckKeys(*limit, path, kRateLimitKeys, "faults.storeRateLimit");
            StoreRateLimit rate;
            rate.stores = static_cast<int>(Integer(Required(*limit, path, "stores", "a rate limit"),
                                                   path + ".stores", 1, kIntMax));
            rate.seconds = static_cast<int>(Integer(
                Required(*limit, path, "seconds", "a rate limit"), path + ".seconds", 1, kIntMax));
            out.storeRateLimit = rate;
        }
        if (const json* boards = Find(faults, "leaderboards")) ReadBoardFaults(*boards);
        if (const json* refused = Find(faults, "refuseInterfaces")) {
            const std::string path = "faults.refuseInterfaces";
            ExpectList(*refused, path);
            out.refusedInterfaces.clear();
            for (std::size_t i = 0; i < refused->size(); ++i) {
                const std::string at = Element(path, i);
                const std::string name = kInterfaces[OneOf((*refused)[i], at, kInterfaces)];
                const auto listed =
                    std::find(out.refusedInterfaces.begin(), out.refusedInterfaces.end(), name);
                if (listed != out.refusedInterfaces.end()) {
                    Refuse(at, Quote(name) + " is already listed in " +
                                   Element(path, static_cast<std::size_t>(
                                                     listed - out.refusedInterfaces.begin())));
                }
                out.refusedInterfaces.push_back(name);
            }
        }
    }

    void ReadStoreFaults(const json& list) {
        const std::string path = "faults.stores";
        ExpectList(list, path);
        scenario.faults.stores.clear();
        for (std::size_t i = 0; i < list.size(); ++i) {
            const json& item = list[i];
            const std::string at = Element(path, i);
            ExpectObject(item, at);
            CheckKeys(item, at, kStoreFaultKeys, "a store fault");
            StoreFault fault;
            fault.result =
                static_cast<std::int32_t>(Integer(Required(item, at, "result", "a store fault"),
                                                  Child(at, "result"), kInt32Min, kInt32Max));
            if (const json* from = Find(item, "fromCall"))
                fault.fromCall =
                    static_cast<int>(Integer(*from, Child(at, "fromCall"), 1, kIntMax));
            if (const json* times = Find(item, "times"))
                fault.once = OneOf(*times, Child(at, "times"), kTimes) == 0;
            scenario.faults.stores.push_back(fault);
        }
    }

    void ReadBoardFaults(const json& boards) {
        const std::string path = "faults.leaderboards";
        ExpectObject(boards, path);
        CheckKeys(boards, path, kBoardFaultsKeys, "faults.leaderboards");
        if (const json* latency = Find(boards, "latencyFrames"))
            scenario.faults.leaderboardLatencyFrames =
                static_cast<int>(Integer(*latency, path + ".latencyFrames", 0, kIntMax));
        const json* list = Find(boards, "faults");
        if (list == nullptr) return;
        const std::string listPath = path + ".faults";
        ExpectList(*list, listPath);
        scenario.faults.leaderboards.clear();
        for (std::size_t i = 0; i < list->size(); ++i) {
            const json& item = (*list)[i];
            const std::string at = Element(listPath, i);
            ExpectObject(item, at);
            CheckKeys(item, at, kBoardFaultKeys, "a leaderboard fault");
            constexpr LeaderboardCall kCalls[] = {LeaderboardCall::Find, LeaderboardCall::Upload,
                                                  LeaderboardCall::Download};
            constexpr LeaderboardFaultKind kKinds[] = {LeaderboardFaultKind::NotFound,
                                                       LeaderboardFaultKind::IoFailure,
                                                       LeaderboardFaultKind::ZeroCallHandle};
            LeaderboardFault fault;
            fault.call = kCalls[OneOf(Required(item, at, "call", "a leaderboard fault"),
                                      Child(at, "call"), kBoardCalls)];
            fault.kind = kKinds[OneOf(Required(item, at, "fault", "a leaderboard fault"),
                                      Child(at, "fault"), kBoardFaultKinds)];
            // Any board is said by leaving "board" out.
            if (const json* board = Find(item, "board"))
                fault.board = NonEmptyString(*board, Child(at, "board"));
            if (const json* times = Find(item, "times"))
                fault.once = OneOf(*times, Child(at, "times"), kTimes) == 0;
            scenario.faults.leaderboards.push_back(std::move(fault));
        }
    }

    static Bounds ReadBounds(const json& bounds, const std::string& path) {
        ExpectObject(bounds, path);
        CheckKeys(bounds, path, kBoundsKeys, "bounds");
        Bounds result;
        if (const json* min = Find(bounds, "min")) result.min = Number(*min, Child(path, "min"));
        if (const json* max = Find(bounds, "max")) result.max = Number(*max, Child(path, "max"));
        if (!result.min && !result.max) Refuse(path, "needs \"min\", \"max\" or both");
        if (result.min && result.max && *result.max < *result.min)
            Refuse(Child(path, "max"),
                   "must not be less than min (" + NumberText(*result.min) + ")");
        return result;
    }

    void ReadExpect(const json& expect) {
        ExpectObject(expect, "expect");
        CheckKeys(expect, "expect", kExpectKeys, "expect");
        Expectations& out = scenario.expect;
        if (const json* achievements = Find(expect, "achievements")) {
            const std::string path = "expect.achievements";
            ExpectList(*achievements, path);
            std::unordered_map<std::string, std::size_t> listed;
            for (std::size_t i = 0; i < achievements->size(); ++i) {
                const std::string at = Element(path, i);
                std::string name = NonEmptyString((*achievements)[i], at);
                if (crossChecks_) KnownAchievement(name, at);
                const auto [known, added] = listed.emplace(name, i);
                if (!added)
                    Refuse(at,
                           Quote(name) + " is already listed in " + Element(path, known->second));
                out.achievementsUnlocked.push_back(std::move(name));
            }
        }
        if (const json* stats = Find(expect, "stats")) {
            ExpectObject(*stats, "expect.stats");
            for (auto item = stats->begin(); item != stats->end(); ++item) {
                const std::string path = Child("expect.stats", item.key());
                const Bounds bounds = ReadBounds(item.value(), path);
                if (crossChecks_) KnownStat(item.key(), path);
                out.stats[item.key()] = bounds;
            }
        }
        // Boards need not be in the schema: the game may create them.
        if (const json* boards = Find(expect, "leaderboards")) {
            ExpectObject(*boards, "expect.leaderboards");
            for (auto item = boards->begin(); item != boards->end(); ++item)
                out.leaderboards[item.key()] =
                    ReadBounds(item.value(), Child("expect.leaderboards", item.key()));
        }
        if (const json* clean = Find(expect, "cleanShutdown"))
            out.cleanShutdown = Bool(*clean, "expect.cleanShutdown");
    }

    bool crossChecks_;
    FolderOf folderOf_;
    std::unordered_map<std::string, std::size_t> achievementIndex_;
    std::unordered_map<std::string, std::size_t> statIndex_;
    std::unordered_map<std::string, std::size_t> boardNames_;
};

}  // namespace

bool IsMergedObject(const std::string& key) {
    for (const char* const* name = kMergedObjects; *name != nullptr; ++name)
        if (key == *name) return true;
    return false;
}

void CheckScenarioFile(const json_file::json& root, const FolderOf& folderOf) {
    Reader(false, folderOf).Read(root);
}

Scenario ReadScenario(const json_file::json& root, const FolderOf& folderOf) {
    Reader reader(true, folderOf);
    reader.Read(root);
    return std::move(reader.scenario);
}

std::string FolderOfFile(const std::string& fileName) {
    return std::filesystem::path(fileName).parent_path().string();
}

}  // namespace offline_steam
