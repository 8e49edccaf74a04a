// Each host call: make it, print it with its result, print what it changed.
#include "host_calls.h"

#include <climits>
#include <cwchar>
#include <vector>

#include "achievement_card.h"
#include "console.h"
#include "host_support/host_platform.h"
#include "host_support/sim_controls.h"
#include "host_support/utf_reference.h"

using transcript::Bool;
using transcript::Int;

namespace {

// UTF-16 text as narrow text of the current C locale, a character at a time
// through wcrtomb, as the bridge converts leaderboard names: the same
// conversion lets the demo ask Steam about the board it named. Empty when a
// character has no form in the locale.
std::string NarrowUnderLocale(const std::u16string& text) {
    std::string out;
    std::mbstate_t state{};
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = utf_reference::CodePointAt(text, i);
        // A 16-bit wchar_t (Windows) cannot hold what lies beyond the BMP.
        if (c > WCHAR_MAX) return std::string();
        char bytes[MB_LEN_MAX];
        const std::size_t count = std::wcrtomb(bytes, static_cast<wchar_t>(c), &state);
        if (count == static_cast<std::size_t>(-1)) return std::string();
        out.append(bytes, count);
    }
    return out;
}

std::string Args(int64_t a) { return "(" + Int(a) + ")"; }
std::string Args(int64_t a, int64_t b) { return "(" + Int(a) + ", " + Int(b) + ")"; }

std::string FrameLabel(int first, int last) {
    return first == last ? "[frame " + Int(first) + "]"
                         : "[frames " + Int(first) + "-" + Int(last) + "]";
}

int32_t StatusAnswer(const BridgeExports& steam) { return steam.steamStatus(); }
int32_t BoardAnswer(const BridgeExports& steam) { return steam.steamLeaderBoardFound(); }

}  // namespace

HostCalls::HostCalls(const BridgeExports& steam)
    : steam_(steam),
      language_(),
      availableLanguages_(),
      languageBuffer_(language_),
      availableLanguagesBuffer_(availableLanguages_),
      before_(ReadBridgeState(steam)) {}

bool HostCalls::Start() {
    running_ = steam_.steamInit(&languageBuffer_, &availableLanguagesBuffer_);
    transcript::Call("steamInit(&languageSlot, &availableLanguagesSlot)", Bool(running_));
    if (!running_) return false;
    transcript::Effect("current language:    " + utf_reference::Utf8FromUtf16(language_));
    transcript::Effect("available languages: " + utf_reference::Utf8FromUtf16(availableLanguages_));
    transcript::Call("steamUserID()", Int(static_cast<int64_t>(steam_.steamUserID())));
    before_ = ReadBridgeState(steam_);
    return true;
}

void HostCalls::Stop() {
    transcript::Call("steamFree()", Bool(steam_.steamFree()));
    running_ = false;
    boardLabel_.clear();
    boardName_.clear();
    hasKeptScore_ = false;
    transcript::Say("afterwards every export answers as not ready:");
    transcript::Call("steamStatus()", Int(steam_.steamStatus()));
    transcript::Call("steamUserID()", Int(static_cast<int64_t>(steam_.steamUserID())));
    before_ = ReadBridgeState(steam_);
}

void HostCalls::Pump(int frames) {
    // Quiet frames are shown as one run, frames where something happened alone.
    int quietFrom = 0;
    const auto closeQuietRun = [&](int last) {
        if (quietFrom == 0) return;
        transcript::Call(FrameLabel(quietFrom, last) + " steamCallBacks()");
        transcript::Effect("nothing changed");
        quietFrom = 0;
    };
    for (int i = 0; i < frames; ++i) {
        WaitOneFrame();
        steam_.steamCallBacks();
        ++frame_;
        const std::vector<std::string> changes = TakeChanges();
        if (changes.empty()) {
            if (quietFrom == 0) quietFrom = frame_;
            continue;
        }
        closeQuietRun(frame_ - 1);
        transcript::Call(FrameLabel(frame_, frame_) + " steamCallBacks()");
        for (const std::string& change : changes) transcript::Effect(change);
    }
    closeQuietRun(frame_);
}

int HostCalls::WaitFor(const char* query, int32_t (*answer)(const BridgeExports&), int maxFrames) {
    if (answer(steam_) == 1) {
        transcript::Call(std::string(query) + "()", "1");
        return 0;
    }
    for (int waited = 1; waited <= maxFrames; ++waited) {
        WaitOneFrame();
        steam_.steamCallBacks();
        ++frame_;
        const int32_t value = answer(steam_);
        transcript::Call(FrameLabel(frame_, frame_) + " steamCallBacks(); " + query + "()",
                         Int(value));
        ReportChanges(false);
        if (value == 1) return waited;
    }
    return -1;
}

int HostCalls::WaitForStats(int maxFrames) {
    return WaitFor("steamStatus", StatusAnswer, maxFrames);
}

int HostCalls::WaitForBoard(int maxFrames) {
    return WaitFor("steamLeaderBoardFound", BoardAnswer, maxFrames);
}

bool HostCalls::Unlock(int32_t number) {
    const bool stored = steam_.steamAchievement(number);
    transcript::Call("steamAchievement" + Args(number), Bool(stored));
    ReportChanges(true);
    return stored;
}

bool HostCalls::SetStat(int32_t index, int32_t value) {
    const bool stored = steam_.steamStat(index, value);
    transcript::Call("steamStat" + Args(index, value), Bool(stored));
    ReportChanges(true);
    return stored;
}

bool HostCalls::AddToStat(int32_t index, int32_t delta) {
    const bool stored = steam_.steamStatIncrease(index, delta);
    transcript::Call("steamStatIncrease" + Args(index, delta), Bool(stored));
    ReportChanges(true);
    return stored;
}

bool HostCalls::QueryCard(int32_t number, AchievementCard& card) {
    card.Fill(steam_, number);
    transcript::Call("steamAchievementData(" + Int(number) + ", &info)");
    if (card.Written()) return true;
    transcript::Effect("nothing was written (Steam not running, or no achievement " + Int(number) +
                       ")");
    return false;
}

void HostCalls::Peek(int32_t number) {
    AchievementCard card;
    if (!QueryCard(number, card)) return;
    std::string line = CardTitle(card) + ": " + CardState(card);
    if (card.info().hasStat == 1) line += "; progress " + CardProgress(card);
    transcript::Effect(line);
}

void HostCalls::ShowAchievement(int32_t number) {
    AchievementCard card;
    if (QueryCard(number, card)) PrintCard(card);
}

void HostCalls::ShowStatus() {
    transcript::Call("steamStatus()", Int(steam_.steamStatus()));
    transcript::Call("steamAchievementsCount()", Int(steam_.steamAchievementsCount()));
    transcript::Call("steamLeaderBoardFound()", Int(steam_.steamLeaderBoardFound()));
    transcript::Call("steamUserID()", Int(static_cast<int64_t>(steam_.steamUserID())));
    transcript::Effect("frames so far: " + Int(frame_) +
                       (boardLabel_.empty() ? "" : "; board asked for: \"" + boardLabel_ + "\""));
}

void HostCalls::OpenOverlay() {
    steam_.steamAchievementsOverlay();
    transcript::Call("steamAchievementsOverlay()");
    std::string dialog;
    if (!sim_controls::LastOverlayDialog(&dialog)) return;
    transcript::Effect(dialog.empty() ? "no overlay was opened (SteamSim_LastOverlayDialog)"
                                      : "Steam opened its overlay on \"" + dialog +
                                            "\" (SteamSim_LastOverlayDialog)");
}

void HostCalls::ResetAll() {
    steam_.steamResetAchievements();
    transcript::Call("steamResetAchievements()");
    ReportChanges(true);
}

bool HostCalls::NameBoard(const std::string& name) {
    const std::u16string wide = utf_reference::Utf16FromUtf8(name);
    // Shown as the bridge got it, with malformed bytes already replaced.
    const std::string shown = utf_reference::Utf8FromUtf16(wide);
    const bool started = steam_.steamSetLeaderBoardName(wide.c_str());
    transcript::Call("steamSetLeaderBoardName(u\"" + shown + "\")", Bool(started));
    if (started) {
        boardLabel_ = shown;
        boardName_ = NarrowUnderLocale(wide);
        hasKeptScore_ = false;
    }
    ReportChanges(false);
    if (!started) {
        transcript::Effect(
            "no search started: not running, or the name is over 127 bytes or has a");
        transcript::Effect("character the locale cannot convert; the current board stays");
    }
    return started;
}

int32_t HostCalls::Upload(int32_t score) {
    const int32_t sent = steam_.steamUploadScore(score);
    transcript::Call("steamUploadScore" + Args(score), Int(sent));
    const bool hadScore = hasKeptScore_;
    const int32_t previousScore = keptScore_;
    ReportChanges(false);
    if (sent == 0) {
        transcript::Effect("nothing was sent: no board is known");
    } else if (hadScore && hasKeptScore_ && keptScore_ == previousScore) {
        transcript::Effect("Steam still keeps " + Int(keptScore_) + " for the user on \"" +
                           boardLabel_ + "\": the board keeps the best score");
    }
    return sent;
}

void HostCalls::ShowKeptScore() {
    if (boardLabel_.empty()) {
        transcript::Say("no board has been named");
        return;
    }
    int32_t score = 0;
    switch (sim_controls::LeaderboardScore(boardName_, &score)) {
        case sim_controls::ScoreLookup::NoControl:
            break;
        case sim_controls::ScoreLookup::NoScore:
            transcript::Say("Steam keeps no score for the user on \"" + boardLabel_ +
                            "\" yet (SteamSim_LeaderboardScore)");
            break;
        case sim_controls::ScoreLookup::Kept:
            transcript::Say("Steam keeps " + Int(score) + " for the user on \"" + boardLabel_ +
                            "\" (SteamSim_LeaderboardScore)");
            break;
    }
}

bool HostCalls::ReadKeptScore(int32_t* score) const {
    if (!running_ || boardName_.empty()) return false;
    return sim_controls::LeaderboardScore(boardName_, score) == sim_controls::ScoreLookup::Kept;
}

std::vector<std::string> HostCalls::TakeChanges() {
    const BridgeState after = ReadBridgeState(steam_);
    std::vector<std::string> changes = DescribeChanges(steam_, before_, after);
    before_ = after;
    int32_t score = 0;
    const bool hasScore = ReadKeptScore(&score);
    if (hasScore && (!hasKeptScore_ || score != keptScore_))
        changes.push_back("Steam now keeps " + Int(score) + " for the user on \"" + boardLabel_ +
                          "\"");
    hasKeptScore_ = hasScore;
    keptScore_ = score;
    return changes;
}

void HostCalls::ReportChanges(bool sayWhenNothing) {
    const std::vector<std::string> changes = TakeChanges();
    for (const std::string& change : changes) transcript::Effect(change);
    if (changes.empty() && sayWhenNothing) transcript::Effect("nothing changed");
}
