// Start, pump and stop through the real steambridge library.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host_support/e2e_session.h"

namespace {

constexpr std::uint64_t kUserId = 0x0110000100ABCDEFull;

// Every guarded export answers as not ready and the host's buffers stay as
// they were.
void ExpectNotReady() {
    const BridgeExports& steam = Bridge();
    EXPECT_EQ(steam.steamUserID(), 0u);
    steam.steamCallBacks();
    EXPECT_TRUE(steam.steamFree());
}

// ---- Steam unavailable: run in the stages without a usable library ----

TEST(SteamUnavailable, InitFailsWritesNothingAndEveryExportAnswersNotReady) {
    // Where a Steam client is staged (one that lacks an export), Valve's
    // library is pointed at it, so the start fails for that reason alone.
    if (StageHasSteamClient()) {
        ASSERT_TRUE(UseSteamClient(StageDirectory() + kSteamClientFileName));
    }
    const BridgeExports& steam = Bridge();
    EXPECT_TRUE(steam.steamFree()) << "steamFree before steamInit";
    HostBuffer language, available;
    EXPECT_FALSE(steam.steamInit(language.slot(), available.slot()));
    EXPECT_TRUE(language.Untouched());
    EXPECT_TRUE(available.Untouched());
    ExpectNotReady();
    // Nothing is left half-bound: a second try fails the same way.
    EXPECT_FALSE(steam.steamInit(language.slot(), available.slot()));
    EXPECT_TRUE(language.Untouched());
}

TEST(SteamUnavailable, TheTraceSaysWhyTheStartFailed) {
    if (StageHasSteamClient()) {
        ASSERT_TRUE(UseSteamClient(StageDirectory() + kSteamClientFileName));
    }
    HostBuffer language, available;
    ASSERT_FALSE(Bridge().steamInit(language.slot(), available.slot()));
    const std::vector<std::string> lines = BridgeTraceLines();
    ASSERT_GE(lines.size(), 2u) << "a cause, and what it concerns";
    // The first path tried is the one beside the bridge, in the stage's folder.
    const std::string besideBridge = std::string(kClientLibraryFileName) + ": ";
    const struct {
        const char* stage;
        const char* cause;
        std::string detailEnd;  // how the line after the cause ends
    } causes[] = {
        {"no-library",
         "Steam client library not found; looked for:", besideBridge + "no such file"},
        {"wrong-architecture",
         "Steam client library is built for another architecture; looked for:",
         besideBridge + "built for another architecture"},
        {"broken",
         "Steam client library lacks a required function:", "SteamAPI_ISteamUserStats_StoreStats"},
        {"real-broken-client", "Steam start refused:", ""},
    };
    for (const auto& expected : causes) {
        if (Stage() != expected.stage) continue;
        EXPECT_EQ(lines[0], expected.cause) << lines[1];
        const std::string& detail = lines[1];
        ASSERT_GE(detail.size(), expected.detailEnd.size());
        EXPECT_EQ(detail.substr(detail.size() - expected.detailEnd.size()), expected.detailEnd);
        if (expected.detailEnd.rfind(besideBridge, 0) == 0) {
            EXPECT_NE(detail.find(Stage()), std::string::npos) << detail;
        }
        EXPECT_NE(detail, "no reason given") << "Valve's library gives its reason";
        return;
    }
    ADD_FAILURE() << "no cause known for stage " << Stage();
}

// ---- Where the client library is found ----

bool FileExists(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

// Run alone in its process, from hosts with and without a client library of
// their own beside them: the bridge's directory comes first, the program's
// serves where the bridge's has none.
TEST(LibrarySearch, TheBridgesDirectoryComesBeforeTheProgramsDirectory) {
    ASSERT_EQ(FindClientLibraryExport("SteamSim_Profile"), nullptr) << "run this test alone";
    const bool besideBridge = FileExists(StageDirectory() + kClientLibraryFileName);
    ASSERT_TRUE(besideBridge || FileExists(ProgramDirectory() + kClientLibraryFileName));
    const BridgeExports& steam = Bridge();
    HostBuffer language, available;
    ASSERT_TRUE(steam.steamInit(language.slot(), available.slot()));
    const auto profile = SIM_CONTROL(SteamSim_Profile);
    ASSERT_NE(profile, nullptr) << "no simulator was loaded";
    if (besideBridge) {
        // A simulator's stage is named by its release ("1.57"); a host's own
        // library is another release.
        int major = 0, minor = 0;
        ASSERT_EQ(std::sscanf(Stage().c_str(), "%d.%d", &major, &minor), 2) << Stage();
        EXPECT_EQ(profile(), major * 100 + minor) << "not the library beside the bridge";
    }
    EXPECT_TRUE(steam.steamFree());
}

// ---- A working client library ----

class Running : public BridgeSession {
protected:
    void SetUp() override {
        BridgeSession::SetUp();
        SIM(SteamSim_SetUserId)(kUserId);
    }
};

TEST_F(Running, StartsWithTheGenerationsStartFunction) {
    ASSERT_TRUE(Init());
    EXPECT_EQ(SIM(SteamSim_IsRunning)(), 1);
    const int profile = SIM(SteamSim_Profile)();
    if (IsRealLibrary()) {
        // Valve's library connects to the client once, whatever its start form.
        EXPECT_EQ(SIM(SteamSim_CallCount)("ISteamClient::CreateSteamPipe"), 1);
        EXPECT_EQ(SIM(SteamSim_CallCount)("ISteamClient::ConnectToGlobalUser"), 1);
        return;
    }
    const char* start = profile == 163   ? "SteamAPI_InitFlat"
                        : profile == 158 ? "SteamInternal_SteamAPI_Init"
                                         : "SteamAPI_Init";
    EXPECT_EQ(SIM(SteamSim_CallCount)(start), 1);
    if (profile == 158) {
        // Started with an empty list: no interface version is checked.
        EXPECT_EQ(std::string(SIM(SteamSim_CallLogEntry)(0)), "SteamInternal_SteamAPI_Init(0)");
    }
}

TEST_F(Running, WritesBothLanguagesBeforeAnyCallback) {
    SIM(SteamSim_SetLanguages)("german", "english,german,french");
    ASSERT_TRUE(Init());
    EXPECT_EQ(SIM(SteamSim_CallCount)(FrameCall()), 0);
    EXPECT_EQ(language.Text(), u"german");
    EXPECT_EQ(available.Text(), u"english,german,french");
    EXPECT_TRUE(language.UntouchedAfterText());
    EXPECT_TRUE(available.UntouchedAfterText());
}

TEST_F(Running, TextOutsideTheBasicPlaneArrivesAsSurrogatePairs) {
    SIM(SteamSim_SetLanguages)("klingon \xF0\x90\x90\xB7", "\xC3\xA9,\xE6\x97\xA5\xE6\x9C\xAC");
    ASSERT_TRUE(Init());
    EXPECT_EQ(language.Text(), u"klingon \xD801\xDC37");
    EXPECT_EQ(available.Text(), u"\u00E9,\u65E5\u672C");
}

TEST_F(Running, LanguagesLongerThanTheHostsBuffersAreCutAfterAWholeName) {
    // 100 names of 6 letters: the last comma within 512 units follows name 73.
    std::string many;
    for (int i = 0; i < 100; ++i)
        many += (i ? ",lang" : "lang") + std::to_string(100 + i).substr(1);
    const std::string oneLongName(STEAMBRIDGE_LANGUAGE_UNITS, 'x');
    SIM(SteamSim_SetLanguages)(oneLongName.c_str(), many.c_str());
    ASSERT_TRUE(Init());
    EXPECT_EQ(language.Text(), u"") << "a name longer than the buffer is not cut";
    const std::u16string written = available.Text();
    ASSERT_EQ(written.size(), 73u * 7 - 1);
    EXPECT_EQ(written.substr(written.size() - 7), u",lang72");
    EXPECT_TRUE(language.GuardsUntouched());
    EXPECT_TRUE(available.GuardsUntouched());
    EXPECT_TRUE(available.UntouchedAfterText());
}

TEST_F(Running, NullSlotsAreSkipped) {
    SteamBridgeChar16* nothing = nullptr;
    ASSERT_TRUE(Bridge().steamInit(nullptr, &nothing));
    EXPECT_EQ(nothing, nullptr);
}

TEST_F(Running, UserIdIsTheLoggedOnUsersFull64Bits) {
    EXPECT_EQ(Bridge().steamUserID(), 0u) << "before steamInit";
    ASSERT_TRUE(Init());
    EXPECT_EQ(Bridge().steamUserID(), kUserId);
}

TEST_F(Running, CallBacksRunsTheClientOncePerCall) {
    ASSERT_TRUE(Init());
    Bridge().steamCallBacks();
    Bridge().steamCallBacks();
    EXPECT_EQ(SIM(SteamSim_CallCount)(FrameCall()), 2);
}

TEST_F(Running, FramesWithNothingFromSteamTraceNothing) {
    ASSERT_TRUE(Init());
    Pump(3);  // the stats arrive, and are traced
    const std::size_t tracedAtStart = BridgeTraceLines().size();
    EXPECT_GT(tracedAtStart, 0u);
    Pump(50);
    EXPECT_EQ(BridgeTraceLines().size(), tracedAtStart);
}

TEST_F(Running, FreeShutsDownAndLeavesEverythingNotReady) {
    ASSERT_TRUE(Init());
    EXPECT_TRUE(Bridge().steamFree());
    EXPECT_EQ(SIM(SteamSim_CallCount)(ShutdownCall()), 1);
    EXPECT_EQ(SIM(SteamSim_IsRunning)(), 0);
    SIM(SteamSim_ClearCallLog)();
    ExpectNotReady();
    EXPECT_EQ(SIM(SteamSim_CallLogSize)(), 0) << "no client call after steamFree";
}

TEST_F(Running, SecondInitStartsNothingAndWritesTheLanguagesAgain) {
    ASSERT_TRUE(Init());
    SIM(SteamSim_SetLanguages)("french", "french,english");
    HostBuffer language2, available2;
    EXPECT_TRUE(Bridge().steamInit(language2.slot(), available2.slot()));
    EXPECT_EQ(language2.Text(), u"french");
    EXPECT_EQ(available2.Text(), u"french,english");
    const int starts = SIM(SteamSim_CallCount)("SteamAPI_Init") +
                       SIM(SteamSim_CallCount)("SteamAPI_InitFlat") +
                       SIM(SteamSim_CallCount)("SteamInternal_SteamAPI_Init") +
                       SIM(SteamSim_CallCount)("ISteamClient::CreateSteamPipe");
    EXPECT_EQ(starts, 1);
}

TEST_F(Running, StartsAgainAfterFree) {
    ASSERT_TRUE(Init());
    ASSERT_TRUE(Bridge().steamFree());
    ASSERT_TRUE(Init());
    EXPECT_EQ(Bridge().steamUserID(), kUserId);
}

TEST_F(Running, FailedStartWritesNothingAndLeavesNothingRunning) {
    SIM(SteamSim_SetStartSucceeds)(false);
    EXPECT_FALSE(Init());
    const std::vector<std::string> traced = BridgeTraceLines();
    ASSERT_GE(traced.size(), 2u) << (traced.empty() ? "" : traced.back());
    EXPECT_EQ(traced[traced.size() - 2], "Steam start refused:");
    EXPECT_TRUE(language.Untouched());
    EXPECT_TRUE(available.Untouched());
    SIM(SteamSim_ClearCallLog)();
    ExpectNotReady();
    EXPECT_EQ(SIM(SteamSim_CallLogSize)(), 0) << "no client call after a failed start";
}

TEST_F(Running, AClientLackingAnInterfaceTheStartNeedsStartsNothing) {
    // Valve's library asks for the client and utils while it starts, and from
    // 1.58 on checks the user interface's version too. (No SCOPED_TRACE in
    // these tests: GoogleTest's Windows thread-locals start a thread, and
    // threads crash under qemu-i386 Wine.)
    const int release = IsRealLibrary() ? StageRelease() : SIM(SteamSim_Profile)();
    std::vector<const char*> needed = {"SteamClient", "SteamUtils"};
    if (release >= 158) needed.push_back("SteamUser");
    for (const char* name : needed) {
        SIM(SteamSim_Reset)();
        SIM(SteamSim_SetAccessorNull)(name, true);
        EXPECT_FALSE(Init()) << name;
        EXPECT_TRUE(language.Untouched()) << name;
        EXPECT_TRUE(available.Untouched()) << name;
        EXPECT_EQ(SIM(SteamSim_IsRunning)(), 0) << name;
        ExpectNotReady();
    }
}

TEST_F(Running, AClientLackingAnInterfaceOnlyTheGameUsesStartsWithoutIt) {
    SIM(SteamSim_SetAccessorNull)("SteamUserStats", true);
    ASSERT_TRUE(Init());
    Pump(2);
    EXPECT_EQ(Bridge().steamStatus(), 0);
    EXPECT_FALSE(Bridge().steamStat(0, 1));
    EXPECT_EQ(Bridge().steamUserID(), kUserId);
}

}  // namespace
