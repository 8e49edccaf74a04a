// Appending journal lines, flushed one by one.
#include "journal.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace offline_steam {
namespace {

// Keys in the order the line's documentation gives them.
using Line = nlohmann::ordered_json;

// Built key by key: an initializer list costs a call line a third more.
Line Begin(const char* event, int frame) {
    Line line;
    line["event"] = event;
    line["frame"] = frame;
    return line;
}

// An integral value as an integer (5, not 5.0), any other as the shortest
// text that reads back the same; NaN and infinities become null.
Line Number(double value) {
    constexpr double kInt64Bound = 9223372036854775808.0;  // 2^63
    if (std::floor(value) == value && value >= -kInt64Bound && value < kInt64Bound)
        return static_cast<std::int64_t>(value);
    return value;
}

Line Text(const char* text) { return text != nullptr ? Line(text) : Line(nullptr); }

struct ArgumentJson {
    Line operator()(std::monostate) const { return nullptr; }
    Line operator()(const std::string& text) const { return text; }
    Line operator()(std::int64_t value) const { return value; }
    // As a text: a JSON reader may hold numbers as doubles, which lose 64-bit handles.
    Line operator()(std::uint64_t value) const { return std::to_string(value); }
    Line operator()(bool value) const { return value; }
    Line operator()(double value) const { return Number(value); }
    Line operator()(const std::vector<std::int32_t>& values) const { return values; }
};

}  // namespace

bool Journal::Open(const std::string& path) {
    Close();
    file_ = std::fopen(path.c_str(), "ab");
    return file_ != nullptr;
}

void Journal::Close() {
    if (file_ == nullptr) return;
    std::fclose(static_cast<std::FILE*>(file_));
    file_ = nullptr;
}

void Journal::Write(const std::string& line) {
    auto* file = static_cast<std::FILE*>(file_);
    std::fwrite(line.data(), 1, line.size(), file);
    std::fputc('\n', file);
    // Flushed line by line: a game that crashes next loses nothing.
    std::fflush(file);
}

namespace {

// One line as the journal writes it: compact, and bytes that are not UTF-8
// replaced rather than refused (a game's text need not be UTF-8).
std::string Dump(const Line& line) {
    return line.dump(-1, ' ', false, Line::error_handler_t::replace);
}

}  // namespace

void Journal::Opened(int frame, std::uint32_t app, std::uint64_t steamId, unsigned long pid,
                     std::uint32_t time, const char* scenario) {
    if (!IsOpen()) return;
    Line line = Begin("open", frame);
    line["app"] = app;
    line["steamId"] = std::to_string(steamId);
    line["pid"] = pid;
    line["time"] = time;
    line["scenario"] = Text(scenario);
    Write(Dump(line));
}

void Journal::Started(int frame, bool ok, const std::string& reason) {
    if (!IsOpen()) return;
    Line line = Begin("start", frame);
    line["ok"] = ok;
    if (!ok) line["reason"] = reason;
    Write(Dump(line));
}

void Journal::StatsReceived(int frame, int result) {
    if (!IsOpen()) return;
    Line line = Begin("statsReceived", frame);
    line["result"] = result;
    Write(Dump(line));
}

void Journal::Stored(int frame, const StoreEvent& store) {
    if (!IsOpen()) return;
    Line line = Begin("store", frame);
    line["call"] = store.call;
    line["when"] = store.when;
    line["result"] = store.result;
    Line& unlocked = line["unlocked"] = Line::array();
    for (const StoreEvent::Unlock& unlock : store.unlocked) unlocked.push_back(unlock.achievement);
    Line& rejected = line["rejected"] = Line::array();
    for (const StoreEvent::Rejection& rejection : store.rejected)
        rejected.push_back(Line{{"stat", rejection.stat}, {"reason", rejection.reason}});
    Write(Dump(line));
    for (const StoreEvent::Unlock& unlock : store.unlocked) {
        Line unlockLine = Begin("unlock", frame);
        unlockLine["name"] = unlock.achievement;
        unlockLine["time"] = unlock.time;
        Write(Dump(unlockLine));
    }
}

void Journal::Scored(int frame, const char* board, int score, bool changed, bool success) {
    if (!IsOpen()) return;
    Line line = Begin("score", frame);
    line["board"] = Text(board);
    line["score"] = score;
    line["changed"] = changed;
    line["result"] = success ? 1 : 2;
    Write(Dump(line));
}

void Journal::InterfaceAsked(int frame, const std::string& version, bool served) {
    if (!IsOpen()) return;
    Line line = Begin("interface", frame);
    line["version"] = version;
    line["served"] = served;
    Write(Dump(line));
}

void Journal::Unserved(int frame, const std::string& method) {
    if (!IsOpen()) return;
    Line line = Begin("unserved", frame);
    line["call"] = method;
    Write(Dump(line));
}

void Journal::Warned(int frame, WarningCode code, const std::string& text) {
    if (!IsOpen()) return;
    Line line = Begin("warning", frame);
    line["code"] = WarningCodeText(code);
    line["text"] = text;
    Write(Dump(line));
}

void Journal::StateNow(int frame, const SteamState& state) {
    if (!IsOpen()) return;
    Line line = Begin("state", frame);
    Line& achievements = line["achievements"] = Line::object();
    for (const SteamState::Achievement& achievement : state.achievements) {
        achievements[achievement.name] =
            Line{{"unlocked", achievement.unlocked}, {"unlockTime", achievement.unlockTime}};
    }
    Line& stats = line["stats"] = Line::object();
    for (const SteamState::Stat& stat : state.stats) stats[stat.name] = Number(stat.value);
    Line& boards = line["leaderboards"] = Line::object();
    for (const SteamState::Score& score : state.scores)
        boards[score.board] = Line{{"score", score.score}};
    Write(Dump(line));
}

void Journal::ShutDown(int frame, const char* how) {
    if (!IsOpen()) return;
    Line line = Begin("shutdown", frame);
    line["how"] = how;
    Write(Dump(line));
}

void Journal::Called(int frame, const char* name, const std::vector<CallArgument>& arguments) {
    if (!IsOpen()) return;
    Line line = Begin("call", frame);
    line["call"] = name;
    Line& args = line["args"] = Line::array();
    for (const CallArgument& argument : arguments)
        args.push_back(std::visit(ArgumentJson{}, argument));
    Write(Dump(line));
}

void Journal::RichPresenceNow(int frame,
                              const std::vector<std::pair<std::string, std::string>>& keys) {
    if (!IsOpen()) return;
    Line line = Begin("richPresence", frame);
    Line& presence = line["keys"] = Line::object();
    for (const auto& [key, value] : keys) presence[key] = value;
    Write(Dump(line));
}

}  // namespace offline_steam
