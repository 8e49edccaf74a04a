// The state file: the user's achievements, stats and scores kept between
// runs. Read strictly (a file we did not write is refused, never repaired),
// written atomically and durably (atomic_file.h).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <new>
#include <string>

#include "atomic_file.h"
#include "json_document.h"
#include "scenario.h"

namespace offline_steam {
namespace {

using namespace json_file;

constexpr std::int64_t kVersion = 1;
constexpr const char* kStateKeys[] = {"version",      "achievements", "stats",
                                      "leaderboards", "boards",       nullptr};
constexpr const char* kBoardKeys[] = {"sort", "display", "details", nullptr};
// Steam's ELeaderboardSortMethod and ELeaderboardDisplayType, by value.
constexpr const char* kSorts[] = {"none", "ascending", "descending", nullptr};
constexpr const char* kDisplays[] = {"none", "numeric", "seconds", "milliseconds", nullptr};
// Steam keeps at most this many details per entry (k_cLeaderboardDetailsMax).
constexpr std::size_t kDetailsMax = 64;

int NameIndex(const json& value, const std::string& path, const char* const* names) {
    const std::string text = String(value, path);
    for (int i = 0; names[i] != nullptr; ++i)
        if (text == names[i]) return i;
    std::string known;
    for (int i = 0; names[i] != nullptr; ++i) known += std::string(i ? ", " : "") + names[i];
    throw Refusal{path, Quote(text) + " is not one of " + known};
}

KeptBoard ReadBoard(const json& item, const std::string& path) {
    ExpectObject(item, path);
    CheckKeys(item, path, kBoardKeys, "a kept board");
    KeptBoard board;
    if (const json* sort = Find(item, "sort"))
        board.sort = static_cast<LeaderboardSort>(NameIndex(*sort, Child(path, "sort"), kSorts));
    if (const json* display = Find(item, "display"))
        board.display =
            static_cast<LeaderboardDisplay>(NameIndex(*display, Child(path, "display"), kDisplays));
    if (const json* details = Find(item, "details")) {
        ExpectList(*details, Child(path, "details"));
        if (details->size() > kDetailsMax)
            throw Refusal{Child(path, "details"), "holds more than 64 details"};
        for (std::size_t i = 0; i < details->size(); ++i)
            board.details.push_back(
                static_cast<std::int32_t>(Integer((*details)[i], Element(Child(path, "details"), i),
                                                  std::numeric_limits<std::int32_t>::min(),
                                                  std::numeric_limits<std::int32_t>::max())));
    }
    return board;
}

StartState ReadState(const json& root) {
    ExpectObject(root, "");
    CheckKeys(root, "", kStateKeys, "a state file");
    const json* version = Find(root, "version");
    if (version == nullptr) throw Refusal{"", "\"version\" is required"};
    if (!version->is_number() || *version != kVersion) {
        throw Refusal{"version", "must be 1, the only version this program reads, not " +
                                     version->dump(-1, ' ', false, json::error_handler_t::replace)};
    }
    StartState state;
    if (const json* achievements = Find(root, "achievements")) {
        ExpectObject(*achievements, "achievements");
        for (auto item = achievements->begin(); item != achievements->end(); ++item) {
            state.achievements[item.key()] =
                static_cast<std::uint32_t>(Integer(item.value(), Child("achievements", item.key()),
                                                   0, std::numeric_limits<std::uint32_t>::max()));
        }
    }
    if (const json* stats = Find(root, "stats")) {
        ExpectObject(*stats, "stats");
        for (auto item = stats->begin(); item != stats->end(); ++item)
            state.stats[item.key()] = Number(item.value(), Child("stats", item.key()));
    }
    if (const json* boards = Find(root, "leaderboards")) {
        ExpectObject(*boards, "leaderboards");
        for (auto item = boards->begin(); item != boards->end(); ++item) {
            state.leaderboards[item.key()] =
                static_cast<std::int32_t>(Integer(item.value(), Child("leaderboards", item.key()),
                                                  std::numeric_limits<std::int32_t>::min(),
                                                  std::numeric_limits<std::int32_t>::max()));
        }
    }
    if (const json* boards = Find(root, "boards")) {
        ExpectObject(*boards, "boards");
        for (auto item = boards->begin(); item != boards->end(); ++item)
            state.boards[item.key()] = ReadBoard(item.value(), Child("boards", item.key()));
    }
    return state;
}

// An integral value as a JSON integer (int stats read back as they were
// written), any other as a double.
nlohmann::ordered_json StatValue(double value) {
    constexpr double kInt64Bound = 9223372036854775808.0;  // 2^63
    if (std::floor(value) == value && value >= -kInt64Bound && value < kInt64Bound)
        return static_cast<std::int64_t>(value);
    return value;
}

bool Fail(std::string* error, const std::string& message) {
    if (error != nullptr) *error = message;
    return false;
}

}  // namespace

bool LoadStateFile(const std::string& path, StartState* state, std::string* error) {
    try {
        std::string text;
        const std::string problem = ReadFile(path, &text);
        if (!problem.empty()) return Fail(error, path + ": " + problem);
        std::shared_ptr<Document> document;
        try {
            document = Parse(text, path);
            StartState result = ReadState(document->root);
            if (state != nullptr) *state = std::move(result);
        } catch (const Refusal& refusal) {
            return Fail(error, Message(*document, refusal));
        }
        if (error != nullptr) error->clear();
        return true;
    } catch (const FileError& failure) {
        return Fail(error, failure.message);
    } catch (const std::bad_alloc&) {
        return Fail(error, path + ": out of memory");
    } catch (...) {
        return Fail(error, path + ": cannot be read");
    }
}

bool StateFileExists(const std::string& path) {
    std::error_code failure;
    return std::filesystem::exists(path, failure) && !failure;
}

bool SaveStateFile(const std::string& path, const StartState& state, std::string* error) {
    try {
        nlohmann::ordered_json root;
        root["version"] = kVersion;
        root["achievements"] = nlohmann::ordered_json::object();
        for (const auto& [name, time] : state.achievements) root["achievements"][name] = time;
        root["stats"] = nlohmann::ordered_json::object();
        for (const auto& [name, value] : state.stats) {
            // JSON has no NaN or infinity; nlohmann would write null, which
            // the next load refuses.
            if (!std::isfinite(value)) {
                const char* text = std::isnan(value) ? "NaN" : value > 0 ? "infinity" : "-infinity";
                return Fail(error,
                            path + ": stats." + name + ": " + text + " cannot be written in JSON");
            }
            root["stats"][name] = StatValue(value);
        }
        root["leaderboards"] = nlohmann::ordered_json::object();
        for (const auto& [name, score] : state.leaderboards) root["leaderboards"][name] = score;
        // Written only when there are boards, so that a file without any
        // still loads in a version that does not know the key.
        for (const auto& [name, board] : state.boards) {
            nlohmann::ordered_json& kept = root["boards"][name];
            kept["sort"] = kSorts[std::clamp(static_cast<int>(board.sort), 0, 2)];
            kept["display"] = kDisplays[std::clamp(static_cast<int>(board.display), 0, 3)];
            kept["details"] = board.details;
        }
        const std::string text =
            root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
        if (!WriteAtomically(path, text, error)) return false;
        if (error != nullptr) error->clear();
        return true;
    } catch (const std::bad_alloc&) {
        return Fail(error, path + ": out of memory");
    } catch (...) {
        return Fail(error, path + ": cannot be written");
    }
}

}  // namespace offline_steam
