#include "report.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string_view>

namespace offline_tool {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

constexpr size_t kColumns = 80;

// ---- reading one line ----

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

// ---- numbers as people write them ----

bool IsWhole(double value) {
    return std::isfinite(value) && value == std::floor(value) &&
           std::fabs(value) < 9007199254740992.0;
}

// 10, not 10.000000; 0.1, not 0.10000000000000001.
std::string FormatNumber(double value) {
    if (IsWhole(value)) return std::to_string(static_cast<int64_t>(value));
    char text[32];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

ordered_json NumberJson(double value) {
    if (IsWhole(value)) return static_cast<int64_t>(value);
    return value;
}

std::string Plural(int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// ---- building ----

class Builder {
public:
    explicit Builder(Report* report) : report_(*report) {}

    void line(const std::string& text, size_t number, bool last) {
        size_t begin = 0;
        while (begin < text.size() && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
        if (begin == text.size()) return;
        if (std::optional<json> event = ParseLine(std::string_view(text).substr(begin))) {
            apply(*event);
            return;
        }
        // A run that died mid-line leaves its start in front of the next
        // run's first line: keep the whole line after it.
        const size_t glued = text.rfind("{\"event\"");
        if (glued != std::string::npos && glued > begin) {
            if (std::optional<json> event = ParseLine(std::string_view(text).substr(glued))) {
                cut(number, false);
                apply(*event);
                return;
            }
        }
        cut(number, last);
    }

    void finish(const offline_steam::Expectations& expect) {
        report_.cleanShutdown = report_.started && shutDownByApi_;
        if (!report_.started) {
            warn("never-started",
                 report_.startFailure
                     ? "the game never started Steam: " + *report_.startFailure
                     : std::string("the game never started Steam: no SteamAPI_Init reached the "
                                   "offline client"));
        } else if (!report_.cleanShutdown) {
            warn("no-shutdown",
                 exitedWithSteamUp_
                     ? "the game never shut Steam down (SteamAPI_Shutdown): Steam stores pending "
                       "changes at exit, but the session ended uncleanly"
                     : "the game never shut Steam down (SteamAPI_Shutdown) and the journal ends "
                       "with Steam still up: the process crashed or was killed, and changes "
                       "it had not stored may be lost");
        }
        for (const auto& [name, count] : unservedCounts_)
            report_.unserved.emplace_back(name, count);
        check(expect);
    }

private:
    void apply(const json& event) {
        if (!event.is_object()) return;
        const std::string kind = Text(event, "event");
        if (kind == "start") {
            if (Flag(event, "ok")) {
                report_.started = true;
                ++report_.sessions;
                shutDownByApi_ = false;
                exitedWithSteamUp_ = false;
                sessionOpen_ = true;
            } else {
                std::string reason = Text(event, "reason");
                report_.startFailure = reason.empty() ? "no reason given" : reason;
            }
        } else if (kind == "shutdown") {
            if (!sessionOpen_) return;
            sessionOpen_ = false;
            const std::string how = Text(event, "how");
            shutDownByApi_ = how == "api";
            exitedWithSteamUp_ = how == "exit";
        } else if (kind == "call") {
            ++report_.calls;
        } else if (kind == "unserved") {
            countUnserved(Text(event, "call"));
        } else if (kind == "store") {
            store(event);
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
            warn(Text(event, "code"), Text(event, "text"));
        } else if (kind == "state") {
            state(event);
        }
    }

    void store(const json& event) {
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
    void state(const json& event) {
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

    void countUnserved(const std::string& name) {
        for (auto& [seen, count] : unservedCounts_) {
            if (seen == name) {
                ++count;
                return;
            }
        }
        unservedCounts_.emplace_back(name, 1);
    }

    void warn(const std::string& code, const std::string& text) {
        for (const ReportWarning& seen : report_.warnings) {
            if (seen.code == code && seen.text == text) return;
        }
        report_.warnings.push_back({code, text});
    }

    void cut(size_t number, bool last) {
        warn("journal-cut",
             last ? "the journal's last line was cut off mid-line and was left out: the game "
                    "crashed or was killed while it was written"
                  : "line " + std::to_string(number) +
                        " of the journal was cut off mid-line and was left out: that run "
                        "crashed or was killed while it was written");
    }

    void check(const offline_steam::Expectations& expect) {
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
                bounded("stat " + name, bounds,
                        it == report_.stats.end() ? std::nullopt : std::optional(it->second),
                        report_.hasState ? "not in Steam's final state" : noState));
        }
        for (const auto& [name, bounds] : expect.leaderboards) {
            const auto it = report_.leaderboards.find(name);
            report_.expectations.push_back(
                bounded("leaderboard " + name + " score", bounds,
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

    static ExpectationResult bounded(const std::string& subject,
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
    std::vector<std::pair<std::string, int>> unservedCounts_;
};

// ---- plain text ----

size_t Columns(std::string_view text) {
    size_t columns = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++columns;
    }
    return columns;
}

// Breaks at spaces to fit the terminal; continuation lines are indented.
void AppendWrapped(std::string& out, const std::string& text, size_t indent) {
    size_t used = 0;
    size_t pos = 0;
    bool first = true;
    while (pos < text.size()) {
        size_t end = text.find(' ', pos);
        if (end == std::string::npos) end = text.size();
        const std::string_view word(text.data() + pos, end - pos);
        const size_t width = Columns(word);
        if (first) {
            out += word;
            used = width;
            first = false;
        } else if (used + 1 + width > kColumns && used > indent) {
            out += '\n';
            out.append(indent, ' ');
            out += word;
            used = indent + width;
        } else {
            out += ' ';
            out += word;
            used += 1 + width;
        }
        pos = end + 1;
    }
    out += '\n';
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty()) text += ", ";
        text += item;
    }
    return text;
}

// ---- XML ----

// Escapes for an XML 1.0 attribute or text. Code points XML cannot carry at
// all (most controls, U+FFFE, U+FFFF, broken UTF-8) become U+FFFD.
void AppendXml(std::string& out, std::string_view text, bool attribute) {
    static const char kReplacement[] = "\xEF\xBF\xBD";
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            switch (c) {
                case '&':
                    out += "&amp;";
                    break;
                case '<':
                    out += "&lt;";
                    break;
                case '>':
                    out += "&gt;";
                    break;
                case '"':
                    out += "&quot;";
                    break;
                case '\'':
                    out += "&apos;";
                    break;
                // Parsers turn a plain one into a space in attributes, and a
                // plain carriage return into a line feed everywhere.
                case '\t':
                    out += attribute ? "&#9;" : "\t";
                    break;
                case '\n':
                    out += attribute ? "&#10;" : "\n";
                    break;
                case '\r':
                    out += "&#13;";
                    break;
                default:
                    if (c < 0x20) {
                        out += kReplacement;
                    } else {
                        out += static_cast<char>(c);
                    }
            }
            ++i;
            continue;
        }
        size_t length = 0;
        uint32_t code = 0;
        uint32_t least = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1Fu;
            least = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0Fu;
            least = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07u;
            least = 0x10000;
        }
        bool valid = length != 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3Fu);
        }
        valid = valid && code >= least && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF) &&
                code != 0xFFFE && code != 0xFFFF;
        if (valid) {
            out.append(text.data() + i, length);
            i += length;
        } else {
            out += kReplacement;
            ++i;
        }
    }
}

std::string XmlAttribute(std::string_view text) {
    std::string out;
    AppendXml(out, text, true);
    return out;
}

void AppendTestcase(std::string& out, const std::string& name, bool passed,
                    const std::string& message) {
    out += "  <testcase classname=\"steambridge-offline\" name=\"" + XmlAttribute(name) + "\"";
    if (passed) {
        out += "/>\n";
        return;
    }
    out += ">\n    <failure message=\"" + XmlAttribute(message) + "\"/>\n  </testcase>\n";
}

}  // namespace

int Report::failedExpectations() const {
    int failed = 0;
    for (const ExpectationResult& expectation : expectations) failed += expectation.met ? 0 : 1;
    return failed;
}

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
    for (size_t i = 0; i < last; ++i) builder.line(journalLines[i], i + 1, i + 1 == last);
    builder.finish(expect);
    return report;
}

std::string ReportJson(const Report& report) {
    ordered_json out = ordered_json::object();
    out["started"] = report.started;
    if (report.startFailure) out["startFailure"] = *report.startFailure;
    out["sessions"] = report.sessions;
    out["shutdown"] = report.cleanShutdown ? "clean" : "missing";
    out["calls"] = report.calls;

    ordered_json achievements = ordered_json::object();
    for (const auto& [name, state] : report.achievements) {
        achievements[name] = {{"unlocked", state.unlocked},
                              {"unlockTime", state.unlockTime.value_or(0)}};
    }
    out["achievements"] = achievements;
    ordered_json unlocks = ordered_json::array();
    for (const Unlock& unlock : report.unlocks) {
        unlocks.push_back({{"name", unlock.name}, {"time", unlock.time}});
    }
    out["unlocks"] = unlocks;
    ordered_json stats = ordered_json::object();
    for (const auto& [name, value] : report.stats) stats[name] = NumberJson(value);
    out["stats"] = stats;
    ordered_json boards = ordered_json::object();
    for (const auto& [name, score] : report.leaderboards)
        boards[name] = {{"score", NumberJson(score)}};
    out["leaderboards"] = boards;
    ordered_json uploads = ordered_json::array();
    for (const Upload& upload : report.uploads) {
        uploads.push_back({{"board", upload.board},
                           {"score", NumberJson(upload.score)},
                           {"changed", upload.changed},
                           {"result", upload.result}});
    }
    out["uploads"] = uploads;

    ordered_json refused = ordered_json::array();
    for (const StoreRefusal& store : report.refusedStores) {
        refused.push_back({{"call", store.call}, {"result", store.result}});
    }
    ordered_json rejected = ordered_json::array();
    for (const StatRejection& rejection : report.rejectedStats) {
        rejected.push_back({{"stat", rejection.stat}, {"reason", rejection.reason}});
    }
    out["stores"] = {{"count", report.stores},
                     {"refused", report.refusedStores.size()},
                     {"refusedCalls", refused},
                     {"rejectedStats", rejected}};

    ordered_json warnings = ordered_json::array();
    for (const ReportWarning& warning : report.warnings) {
        warnings.push_back({{"code", warning.code}, {"text", warning.text}});
    }
    out["warnings"] = warnings;
    ordered_json unserved = ordered_json::array();
    for (const auto& [call, count] : report.unserved) {
        unserved.push_back({{"call", call}, {"count", count}});
    }
    out["unserved"] = unserved;
    ordered_json expectations = ordered_json::array();
    for (const ExpectationResult& expectation : report.expectations) {
        ordered_json entry = {{"what", expectation.what}, {"met", expectation.met}};
        if (!expectation.detail.empty()) entry["detail"] = expectation.detail;
        expectations.push_back(entry);
    }
    out["expectations"] = expectations;
    out["bridgeTrace"] = report.bridgeTrace;
    // Names come from the game and the scenario: never let a broken byte
    // cost the whole report.
    return out.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

std::string ReportSummary(const Report& report) {
    std::string out;
    if (!report.started) {
        AppendWrapped(out,
                      "Steam never started: " +
                          report.startFailure.value_or("the game did not call SteamAPI_Init"),
                      2);
        // steambridge's own account of the failure, which may come from
        // before the offline client was ever loaded.
        if (!report.bridgeTrace.empty()) out += "steambridge traced:\n";
        for (const std::string& line : report.bridgeTrace) AppendWrapped(out, "  " + line, 4);
    } else {
        std::string line = "Steam started: " + Plural(report.sessions, "session", "sessions") +
                           ", " + Plural(report.calls, "call", "calls") +
                           (report.cleanShutdown ? ", shut down cleanly" : ", never shut down");
        if (report.startFailure) line += "; a start failed: " + *report.startFailure;
        AppendWrapped(out, line, 2);

        if (report.hasState) {
            int unlocked = 0;
            for (const auto& entry : report.achievements) unlocked += entry.second.unlocked ? 1 : 0;
            std::string achievements = "achievements: " + std::to_string(unlocked) + " of " +
                                       std::to_string(report.achievements.size()) + " unlocked";
            std::vector<std::string> names;
            for (const Unlock& unlock : report.unlocks) names.push_back(unlock.name);
            achievements += names.empty() ? ", none in this run" : ", new: " + Joined(names);
            AppendWrapped(out, achievements, 2);
        } else {
            AppendWrapped(out, "achievements: Steam's state was never recorded", 2);
        }

        std::string stores = "stores: " + std::to_string(report.stores);
        if (report.stores > 0) {
            std::vector<std::string> refusals;
            for (const StoreRefusal& store : report.refusedStores) {
                refusals.push_back("call " + std::to_string(store.call) + ": result " +
                                   std::to_string(store.result));
            }
            stores += refusals.empty() ? ", none refused"
                                       : ", " + std::to_string(refusals.size()) + " refused (" +
                                             Joined(refusals) + ")";
        }
        if (!report.rejectedStats.empty()) {
            stores += ", " + Plural(static_cast<int64_t>(report.rejectedStats.size()),
                                    "stat value rejected", "stat values rejected");
        }
        AppendWrapped(out, stores, 2);

        // Boards Steam keeps a score on, then those only uploaded to.
        std::vector<std::string> boardNames;
        for (const auto& entry : report.leaderboards) boardNames.push_back(entry.first);
        for (const Upload& upload : report.uploads) {
            bool known = false;
            for (const std::string& name : boardNames) known = known || name == upload.board;
            if (!known) boardNames.push_back(upload.board);
        }
        if (!boardNames.empty()) {
            std::vector<std::string> scores;
            for (const std::string& name : boardNames) {
                int64_t uploads = 0;
                for (const Upload& upload : report.uploads) uploads += upload.board == name ? 1 : 0;
                const auto it = report.leaderboards.find(name);
                scores.push_back(name + " " +
                                 (it != report.leaderboards.end() ? FormatNumber(it->second)
                                                                  : std::string("none")) +
                                 " (" + Plural(uploads, "upload", "uploads") + ")");
            }
            AppendWrapped(out, "scores: " + Joined(scores), 2);
        }
    }
    if (!report.unserved.empty()) {
        std::vector<std::string> calls;
        for (const auto& [call, count] : report.unserved) {
            calls.push_back(count == 1 ? call : call + " x" + std::to_string(count));
        }
        AppendWrapped(out, "unserved: " + Joined(calls), 2);
    }
    for (const ReportWarning& warning : report.warnings) {
        AppendWrapped(out, "warning " + warning.code + ": " + warning.text, 2);
    }
    for (const ExpectationResult& expectation : report.expectations) {
        AppendWrapped(out,
                      std::string(expectation.met ? "ok      " : "FAILED  ") + expectation.what +
                          (expectation.detail.empty() ? "" : ": " + expectation.detail),
                      8);
    }
    const int failed = report.failedExpectations();
    if (report.expectations.empty()) {
        out += "all expectations met (none were set)\n";
    } else if (failed == 0) {
        out += "all expectations met\n";
    } else {
        out += std::to_string(failed) + " of " + std::to_string(report.expectations.size()) +
               " expectations failed\n";
    }
    return out;
}

std::string ReportJUnit(const Report& report) {
    const int failures = report.failedExpectations() + (report.started ? 0 : 1);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<testsuite name=\"steambridge-offline\" tests=\"" +
           std::to_string(report.expectations.size() + 1) + "\" failures=\"" +
           std::to_string(failures) + "\" errors=\"0\" skipped=\"0\">\n";
    std::string notStarted = report.startFailure.value_or("the game did not call SteamAPI_Init");
    // An attribute keeps no line breaks.
    for (const std::string& line : report.bridgeTrace) notStarted += " / " + line;
    AppendTestcase(out, "Steam started", report.started, notStarted);
    for (const ExpectationResult& expectation : report.expectations) {
        AppendTestcase(out, expectation.what, expectation.met,
                       expectation.detail.empty() ? "not met" : expectation.detail);
    }
    if (!report.warnings.empty()) {
        out += "  <system-out>";
        for (const ReportWarning& warning : report.warnings) {
            AppendXml(out, "warning " + warning.code + ": " + warning.text + "\n", false);
        }
        out += "</system-out>\n";
    }
    out += "</testsuite>\n";
    return out;
}

}  // namespace offline_tool
