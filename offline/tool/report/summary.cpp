// The report as lines for a person at a terminal.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "number_text.h"
#include "report.h"

namespace offline_tool {

namespace {

constexpr size_t kColumns = 80;

std::string Plural(int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

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

}  // namespace

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
        if (report.hasRichPresence) {
            std::vector<std::string> keys;
            for (const auto& [key, value] : report.richPresence) keys.push_back(key + "=" + value);
            AppendWrapped(out, "rich presence: " + (keys.empty() ? "none (cleared)" : Joined(keys)),
                          2);
        }
    }
    if (!report.unserved.empty()) {
        // The five most called, ties in first-seen order; the JSON has them all.
        constexpr size_t kShown = 5;
        std::vector<std::pair<std::string, int>> byCount = report.unserved;
        std::stable_sort(byCount.begin(), byCount.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
        std::vector<std::string> calls;
        for (size_t i = 0; i < byCount.size() && i < kShown; ++i) {
            const auto& [call, count] = byCount[i];
            calls.push_back(count == 1 ? call : call + " x" + std::to_string(count));
        }
        std::string line = "answered by default, most called: " + Joined(calls);
        if (byCount.size() > kShown)
            line += " and " + Plural(static_cast<int64_t>(byCount.size() - kShown), "other method",
                                     "other methods");
        AppendWrapped(out, line, 2);
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
    const int failed = report.FailedExpectations();
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

}  // namespace offline_tool
