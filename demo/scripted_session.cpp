// The steps of the scripted game session, from steamInit to steamFree.
#include <string>

#include "console.h"
#include "host_calls.h"
#include "host_support/sim_controls.h"
#include "sessions.h"

namespace {

// The game's own numbering: achievements 1-61, stats 0-23.
constexpr int32_t kLevelVeteran = 1;  // linked to STAT_LEVELS, target 50
constexpr int32_t kFirstSteps = 4;
constexpr int32_t kEarlyBird = 9;     // Japanese texts
constexpr int32_t kStoryteller = 33;  // linked to STAT_ENDINGS, target 3
constexpr int32_t kLevelsStat = 0;
constexpr int32_t kEndingsStat = 15;

// Ten seconds of frames: the simulator answers within a frame or two, a
// real Steam within a second or so.
constexpr int kMaxWaitFrames = 600;

const char* const kBoardName = "Fastest Escape";
const int32_t kRuns[] = {1200, 900, 1500};

void DescribeClientLibrary() {
    const int profile = sim_controls::Profile();
    if (profile == 0) {
        transcript::Say(
            "The client library is not the simulator: lines that need its controls are left out.");
        return;
    }
    if (profile == STEAM_SIM_CLIENT_FACE_PROFILE) {
        transcript::Say(
            "The client library is Valve's own, over the simulator's stand-in Steam client.");
        return;
    }
    transcript::Say("The client library is the simulator, SDK " + std::to_string(profile / 100) +
                    "." + std::to_string(profile % 100) + " profile.");
}

bool StartSteam(HostCalls& host) {
    transcript::Section("Start");
    transcript::Say(
        "The game starts Steam, giving steamInit the host buffers for the language texts.");
    if (!host.Start()) return false;
    DescribeClientLibrary();
    return true;
}

void WaitForStats(HostCalls& host) {
    transcript::Section("Waiting for the user's stats");
    transcript::Say("Steam sends the user's stats and achievements a little later; the game pumps");
    transcript::Say("steamCallBacks once per frame until steamStatus reports 1.");
    const int frames = host.WaitForStats(kMaxWaitFrames);
    if (frames < 0) {
        transcript::Say("The stats did not come within " + std::to_string(kMaxWaitFrames) +
                        " frames: Steam will refuse unlocks and stats below.");
    } else {
        transcript::Say("Stats ready after " + std::to_string(frames) + " frame(s).");
    }
}

void UnlockAchievement(HostCalls& host) {
    transcript::Section("Unlocking an achievement");
    transcript::Say("The player takes the first steps into the world.");
    host.Peek(kFirstSteps);
    host.Unlock(kFirstSteps);
    host.Peek(kFirstSteps);
    transcript::Say("The unlock time comes with Steam's answer to the store, one frame later:");
    host.Pump(1);
    host.Peek(kFirstSteps);
}

void RaiseStatToTarget(HostCalls& host) {
    transcript::Section("Raising a stat to its target");
    transcript::Say("The player clears 12 levels: STAT_LEVELS rises, Level Veteran needs 50.");
    host.AddToStat(kLevelsStat, 12);
    host.Pump(1);
    transcript::Say("Storyteller is unlocked by Steam itself once STAT_ENDINGS reaches 3.");
    host.Peek(kStoryteller);
    transcript::Say("The player sees a first and a second ending:");
    host.AddToStat(kEndingsStat, 1);
    host.Pump(1);
    host.AddToStat(kEndingsStat, 1);
    host.Pump(1);
    transcript::Say("The third ending: the game sets the stat to its target.");
    host.SetStat(kEndingsStat, 3);
    transcript::Say("Steam unlocked Storyteller while storing; the bridge does not know yet:");
    host.Peek(kStoryteller);
    transcript::Say("It learns it when the store's answer arrives, at the next frame:");
    host.Pump(1);
    host.Peek(kStoryteller);
}

void ShowAchievementScreen(HostCalls& host) {
    transcript::Section("Achievement details");
    transcript::Say(
        "The achievement screen fills one AchievementInfo per achievement, with buffers");
    transcript::Say("of 128, 256 and 32 UTF-16 units owned by the game.");
    transcript::Say("A locked achievement:");
    host.ShowAchievement(kEarlyBird);
    transcript::Say("An unlocked achievement:");
    host.ShowAchievement(kFirstSteps);
    transcript::Say("A stat-linked achievement on its way:");
    host.ShowAchievement(kLevelVeteran);
    transcript::Say("A stat-linked achievement whose target was reached:");
    host.ShowAchievement(kStoryteller);
}

void OpenOverlay(HostCalls& host) {
    transcript::Section("Steam overlay");
    transcript::Say("The player opens the achievements page from the game's menu.");
    host.OpenOverlay();
}

void PlayLeaderboard(HostCalls& host) {
    transcript::Section("Leaderboard");
    transcript::Say("The game names its board and waits until Steam has found (or made) it.");
    host.NameBoard(kBoardName);
    const int frames = host.WaitForBoard(kMaxWaitFrames);
    if (frames < 0) {
        transcript::Say("The board was not found within " + std::to_string(kMaxWaitFrames) +
                        " frames: the uploads below are not sent.");
    } else {
        transcript::Say("Board ready after " + std::to_string(frames) + " frame(s).");
    }
    transcript::Say(
        "Three runs. The bridge waits on one upload at a time, so the game pumps a frame");
    transcript::Say("after each for Steam's answer. Steam keeps the user's best (highest) score.");
    for (const int32_t score : kRuns) {
        host.Upload(score);
        host.Pump(1);
    }
    host.ShowKeptScore();
}

}  // namespace

int RunScriptedSession(const BridgeExports& steam) {
    HostCalls host(steam);
    if (!StartSteam(host)) {
        transcript::Say(
            "Steam is unavailable: the game goes on without achievements, stats and leaderboards.");
        transcript::Section("Stop");
        host.Stop();
        return 0;
    }
    WaitForStats(host);
    UnlockAchievement(host);
    RaiseStatToTarget(host);
    ShowAchievementScreen(host);
    OpenOverlay(host);
    PlayLeaderboard(host);
    transcript::Section("Stop");
    transcript::Say("The game quits.");
    host.Stop();
    return 0;
}
