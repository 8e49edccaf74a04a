// HostCalls: the host's calls to steambridge, each printed with its result and its effects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "achievement_card.h"
#include "bridge_state.h"
#include "host_support/bridge_library.h"

class HostCalls {
public:
    explicit HostCalls(const BridgeExports& steam);

    // steamInit with the host's language buffers, then steamUserID.
    bool Start();
    // steamFree, then what the bridge answers afterwards.
    void Stop();

    // `frames` game frames, one steamCallBacks each.
    void Pump(int frames);
    // Frames pumped until steamStatus (or steamLeaderBoardFound) is 1, or -1
    // when it is still 0 after `maxFrames`.
    int WaitForStats(int maxFrames);
    int WaitForBoard(int maxFrames);

    bool Unlock(int32_t number);
    bool SetStat(int32_t index, int32_t value);
    bool AddToStat(int32_t index, int32_t delta);
    // The achievement's state and progress in one line.
    void Peek(int32_t number);
    // Every field steamAchievementData filled.
    void ShowAchievement(int32_t number);
    void ShowStatus();
    void OpenOverlay();
    void ResetAll();

    // `name` is UTF-8, handed over as UTF-16.
    bool NameBoard(const std::string& name);
    int32_t Upload(int32_t score);
    // What Steam keeps on the board, when the client library can tell.
    void ShowKeptScore();

private:
    int WaitFor(const char* query, int32_t (*answer)(const BridgeExports&), int maxFrames);
    // What changed since the last look, in words; the new state becomes the last.
    std::vector<std::string> TakeChanges();
    void ReportChanges(bool sayWhenNothing);
    bool ReadKeptScore(int32_t* score) const;
    // Fills `card` and shows the call; false when nothing was written.
    bool QueryCard(int32_t number, AchievementCard& card);

    const BridgeExports& steam_;
    SteamBridgeChar16 language_[STEAMBRIDGE_LANGUAGE_UNITS];
    SteamBridgeChar16 availableLanguages_[STEAMBRIDGE_AVAILABLE_LANGUAGES_UNITS];
    SteamBridgeChar16* languageBuffer_;
    SteamBridgeChar16* availableLanguagesBuffer_;
    bool running_ = false;
    int frame_ = 0;
    BridgeState before_;
    std::string boardLabel_;  // as typed, for the transcript
    std::string boardName_;   // narrow, as Steam was given it
    bool hasKeptScore_ = false;
    int32_t keptScore_ = 0;
};
