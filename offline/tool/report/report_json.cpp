// The report as a JSON document.
#include <cstdint>
#include <nlohmann/json.hpp>

#include "number_text.h"
#include "report.h"

namespace offline_tool {

namespace {

using nlohmann::ordered_json;

ordered_json NumberJson(double value) {
    if (IsWhole(value)) return static_cast<int64_t>(value);
    return value;
}

}  // namespace

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
    // Key to value, {} when the game set none or cleared it.
    ordered_json richPresence = ordered_json::object();
    for (const auto& [key, value] : report.richPresence) richPresence[key] = value;
    out["richPresence"] = richPresence;

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
    out["interfaces"] = {{"served", report.servedInterfaces},
                         {"refused", report.refusedInterfaces}};
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

}  // namespace offline_tool
