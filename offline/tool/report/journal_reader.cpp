// The report built from the client's journal: each line an event, the last
// state line Steam's side, and the scenario's expectations held to it.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string_view>
#include <tuple>

#include "number_text.h"
#include "report.h"
#include "warning_codes.h"

namespace offline_tool {

namespace {

using nlohmann::json;
using offline_steam::WarningCode;
using offline_steam::WarningCodeText;

// Any JSON text; only objects are events, the rest is ignored.
std::optional<json> ParseLine(std::string_view line) {
    json value = json::parse(line.begin(), line.end(), nullptr, false);
    if (value.is_discarded()) return std::nullopt;
    return value;
}

std::string Text(const json& line, const char* key) {
    const auto it = line.find(key);
    return it != line.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::optional<double> Number(const json& line, const char* key) {
    const auto it = line.find(key);
    if (it == line.end() || !it->is_number()) return std::nullopt;
    return it->get<double>();
}

bool Flag(const json& line, const char* key) {
    const auto it = line.find(key);
    return it != line.end() && it->is_boolean() && it->get<bool>();
}

const json* Member(const json& line, const char* key, json::value_t type) {
    const auto it = line.find(key);
    return it != line.end() && it->type() == type ? &*it : nullptr;
}

class Builder {
public:
    explicit Builder(Report* report) : report_(*report) {}

    void Line(const std::string& text, size_t number, bool last) {
        size_t begin = 0;
        while (begin < text.size() && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
        if (begin == text.size()) return;
        if (std::optional<json> event = ParseLine(std::string_view(text).substr(begin))) {
            Apply(*event);
            return;
        }
        // A run that died mid-line leaves its start in front of the next
        // run's first line: keep the whole line after it.
        const size_t glued = text.rfind("{\"event\"");
        if (glued != std::string::npos && glued > begin) {
            if (std::optional<json> event = ParseLine(std::string_view(text).substr(glued))) {
                Cut(number, false);
                Apply(*event);
                return;
            }
        }
        Cut(number, last);
    }

    void Finish(const offline_steam::Expectations& expect) {
        report_.cleanShutdown = report_.started && shutDownByApi_;
        if (!report_.started) {
            Warn(WarningCodeText(WarningCode::kNeverStarted),
                 report_.startFailure
                     ? "the game never started Steam: " + *report_.startFailure
                     : std::string("the game never started Steam: no SteamAPI_Init reached the "
                                   "offline client"));
        } else if (!report_.cleanShutdown) {
            Warn(WarningCodeText(WarningCode::kNoShutdown),
                 exitedWithSteamUp_
                     ? "the game never shut Steam down (SteamAPI_Shutdown): Steam stores pending "
                       "changes at exit, but the session ended uncleanly"
                     : "the game never shut Steam down (SteamAPI_Shutdown) and the journal ends "
                       "with Steam still up: the process crashed or was killed, and changes "
                       "it had not stored may be lost");
        }
        for (const auto& [name, count] : unservedCounts_)
            report_.unserved.emplace_back(name, count);
        Check(expect);
    }

private:
    void Apply(const json& event) {
        if (!event.is_object()) return;
        const std::string kind = Text(event, "event");
        if (kind == "start") {
            if (Flag(event, "ok")) {
                report_.started = true;
                ++report_.sessions;
                endedBefore_ = {shutDownByApi_, exitedWithSteamUp_};
                shutDownByApi_ = false;
                exitedWithSteamUp_ = false;
                sessionOpen_ = true;
            } else {
                std::string reason = Text(event, "reason");
                report_.startFailure = reason.empty() ? "no reason given" : reason;
                // A failure while the session is open takes its start back:
                // Valve's library gave the start up after the user connected.
                if (sessionOpen_) {
                    sessionOpen_ = false;
                    --report_.sessions;
                    report_.started = report_.sessions > 0;
                    std::tie(shutDownByApi_, exitedWithSteamUp_) = endedBefore_;
                }
            }
        } else if (kind == "shutdown") {
            if (!sessionOpen_) return;
            sessionOpen_ = false;
            const std::string how = Text(event, "how");
            shutDownByApi_ = how == "api";
            exitedWithSteamUp_ = how == "exit";
        } else if (kind == "call") {
            ++report_.calls;
        } else if (kind == "interface") {
            const std::string version = Text(event, "version");
            std::vector<std::string>& list =
                Flag(event, "served") ? report_.servedInterfaces : report_.refusedInterfaces;
            if (std::find(list.begin(), list.end(), version) == list.end()) list.push_back(version);
        } else if (kind == "unserved") {
            CountUnserved(Text(event, "call"));
        } else if (kind == "store") {
            Store(event);
        } else if (kind == "unlock") {
            const std::string name = Text(event, "name");
            for (const Unlock& seen : report_.unlocks) {
                if (seen.name == name) return;
            }
            report_.unlocks.push_back(
                {name, static_cast<int64_t>(Number(event, "time").value_or(0))});
        } else if (kind == "score") {
            report_.uploads.push_back({Text(event, "board"), Number(event, "score").value_or(0),
                                       Flag(event, "changed"),
                                       static_cast<int64_t>(Number(event, "result").value_or(0))});
        } else if (kind == "warning") {
            Warn(Text(event, "code"), Text(event, "text"));
        } else if (kind == "state") {
            State(event);
        } else if (kind == "richPresence") {
            RichPresence(event);
        } else if (kind == "open") {
            // A new process: Steam keeps no rich presence of a game that ended.
            report_.hasRichPresence = false;
            report_.richPresence.clear();
        }
    }

    void Store(const json& event) {
        ++report_.stores;
        // A store without its result never reached Steam's answer.
        const int64_t result = static_cast<int64_t>(Number(event, "result").value_or(0));
        if (result != 1) {
            report_.refusedStores.push_back(
                {static_cast<int64_t>(Number(event, "call").value_or(report_.stores)), result});
        }
        if (const json* rejected = Member(event, "rejected", json::value_t::array)) {
            for (const json& entry : *rejected) {
                if (entry.is_object()) {
                    report_.rejectedStats.push_back({Text(entry, "stat"), Text(entry, "reason")});
                }
            }
        }
    }

    // Each state line is Steam's whole side: the last one replaces the rest.
    void State(const json& event) {
        report_.hasState = true;
        report_.achievements.clear();
        report_.stats.clear();
        report_.leaderboards.clear();
        if (const json* achievements = Member(event, "achievements", json::value_t::object)) {
            for (const auto& [name, entry] : achievements->items()) {
                if (!entry.is_object()) continue;
                AchievementState achievement;
                achievement.unlocked = Flag(entry, "unlocked");
                if (std::optional<double> time = Number(entry, "unlockTime")) {
                    achievement.unlockTime = static_cast<int64_t>(*time);
                }
                report_.achievements[name] = achievement;
            }
        }
        if (const json* stats = Member(event, "stats", json::value_t::object)) {
            for (const auto& [name, value] : stats->items()) {
                if (value.is_number()) report_.stats[name] = value.get<double>();
            }
        }
        if (const json* boards = Member(event, "leaderboards", json::value_t::object)) {
            for (const auto& [name, entry] : boards->items()) {
                if (!entry.is_object()) continue;
                if (std::optional<double> score = Number(entry, "score")) {
                    report_.leaderboards[name] = *score;
                }
            }
        }
    }

    // Each line is the whole rich presence: the last one replaces the rest.
    void RichPresence(const json& event) {
        report_.hasRichPresence = true;
        report_.richPresence.clear();
        if (const json* keys = Member(event, "keys", json::value_t::object)) {
            for (const auto& [key, value] : keys->items()) {
                if (value.is_string()) report_.richPresence[key] = value.get<std::string>();
            }
        }
    }

    void CountUnserved(const std::string& name) {
        for (auto& [seen, count] : unservedCounts_) {
            if (seen == name) {
                ++count;
                return;
            }
        }
        unservedCounts_.emplace_back(name, 1);
    }

    void Warn(const std::string& code, const std::string& text) {
        for (const ReportWarning& seen : report_.warnings) {
            if (seen.code == code && seen.text == text) return;
        }
        report_.warnings.push_back({code, text});
    }

    void Cut(size_t number, bool last) {
        Warn(WarningCodeText(WarningCode::kJournalCut),
             last ? "the journal's last line was cut off mid-line and was left out: the game "
                    "crashed or was killed while it was written"
                  : "line " + std::to_string(number) +
                        " of the journal was cut off mid-line and was left out: that run "
                        "crashed or was killed while it was written");
    }

    void Check(const offline_steam::Expectations& expect) {
        const std::string noState = "Steam's state was never recorded";
        for (const std::string& name : expect.achievementsUnlocked) {
            ExpectationResult result{"achievement " + name + " unlocked", false, {}};
            const auto it = report_.achievements.find(name);
            if (!report_.hasState) {
                result.detail = noState;
            } else if (it == report_.achievements.end()) {
                result.detail = "not in Steam's final state";
            } else if (!it->second.unlocked) {
                result.detail = "still locked";
            } else {
                result.met = true;
            }
            report_.expectations.push_back(result);
        }
        for (const auto& [name, bounds] : expect.stats) {
            const auto it = report_.stats.find(name);
            report_.expectations.push_back(
                Bounded("stat " + name, bounds,
                        it == report_.stats.end() ? std::nullopt : std::optional(it->second),
                        report_.hasState ? "not in Steam's final state" : noState));
        }
        for (const auto& [name, bounds] : expect.leaderboards) {
            const auto it = report_.leaderboards.find(name);
            report_.expectations.push_back(
                Bounded("leaderboard " + name + " score", bounds,
                        it == report_.leaderboards.end() ? std::nullopt : std::optional(it->second),
                        report_.hasState ? "the user has no score on it" : noState));
        }
        if (expect.cleanShutdown) {
            ExpectationResult result;
            if (*expect.cleanShutdown) {
                result.what = "Steam shut down cleanly";
                result.met = report_.cleanShutdown;
                if (!report_.started) {
                    result.detail = "Steam never started";
                } else if (!result.met) {
                    result.detail = exitedWithSteamUp_ ? "the process exited with Steam still up"
                                                       : "the journal ends with Steam still up";
                }
            } else {
                result.what = "Steam left running at exit";
                result.met = report_.started && !report_.cleanShutdown;
                if (!report_.started) {
                    result.detail = "Steam never started";
                } else if (!result.met) {
                    result.detail = "the game called SteamAPI_Shutdown";
                }
            }
            report_.expectations.push_back(result);
        }
    }

    static ExpectationResult Bounded(const std::string& subject,
                                     const offline_steam::Bounds& bounds,
                                     std::optional<double> value, const std::string& missing) {
        ExpectationResult result;
        if (bounds.min && bounds.max) {
            result.what = subject + " between " + FormatNumber(*bounds.min) + " and " +
                          FormatNumber(*bounds.max);
        } else if (bounds.min) {
            result.what = subject + " at least " + FormatNumber(*bounds.min);
        } else if (bounds.max) {
            result.what = subject + " at most " + FormatNumber(*bounds.max);
        } else {
            result.what = subject + " recorded";
        }
        if (!value) {
            result.detail = missing;
            return result;
        }
        result.met =
            (!bounds.min || *value >= *bounds.min) && (!bounds.max || *value <= *bounds.max);
        if (!result.met) result.detail = "is " + FormatNumber(*value);
        return result;
    }

    Report& report_;
    bool sessionOpen_ = false;
    bool shutDownByApi_ = false;
    bool exitedWithSteamUp_ = false;
    // How the session before the open one ended, for a start taken back.
    std::pair<bool, bool> endedBefore_;
    std::vector<std::pair<std::string, int>> unservedCounts_;
};

}  // namespace

std::vector<std::string> SplitJournal(const std::string& text) {
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        const bool whole = end != std::string::npos;
        if (!whole) end = text.size();
        size_t stop = end;
        if (stop > begin && text[stop - 1] == '\r') --stop;
        lines.emplace_back(text, begin, stop - begin);
        begin = whole ? end + 1 : end;
    }
    return lines;
}

bool ReadJournalFile(const std::string& path, std::vector<std::string>* lines, std::string* error) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        *error = path + ": is a directory";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = path + ": cannot be opened: " + std::strerror(errno);
        return false;
    }
    std::string text;
    char buffer[1 << 16];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        text.append(buffer, static_cast<size_t>(file.gcount()));
        if (!file) break;
    }
    if (file.bad()) {
        *error = path + ": cannot be read";
        return false;
    }
    *lines = SplitJournal(text);
    return true;
}

Report BuildReport(const std::vector<std::string>& journalLines,
                   const offline_steam::Expectations& expect) {
    Report report;
    Builder builder(&report);
    // Trailing blank lines do not make an earlier line the last.
    size_t last = journalLines.size();
    while (last > 0 && journalLines[last - 1].find_first_not_of(" \t\r") == std::string::npos)
        --last;
    for (size_t i = 0; i < last; ++i) builder.Line(journalLines[i], i + 1, i + 1 == last);
    builder.Finish(expect);
    return report;
}

}  // namespace offline_tool
