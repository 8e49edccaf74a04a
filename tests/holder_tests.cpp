// Callback holders against the simulated client library: the fields it
// writes, and delivery inside RunCallbacks only.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/callback_holders.h"
#include "platform/client_calls.h"
#include "steam_sim.h"
#include "steambridge.h"

using namespace steambridge;

namespace {

// After the table pointer: 4 bytes on 32-bit processes, 8 on 64-bit ones.
constexpr std::size_t kFlagsOffset = sizeof(void*), kIdOffset = sizeof(void*) + 4;

unsigned char FlagsOf(const void* holder) {
    return static_cast<const unsigned char*>(holder)[kFlagsOffset];
}
int IdOf(const void* holder) {
    int id;
    std::memcpy(&id, static_cast<const unsigned char*>(holder) + kIdOffset, sizeof id);
    return id;
}

struct Listener {
    Listener() : statsReceived(this, &Listener::OnStatsReceived), found(this, &Listener::OnFound) {}

    void OnStatsReceived(UserStatsReceived_t* record) {
        ++received;
        lastGameId = record->m_nGameID;
        lastResult = record->m_eResult;
        lastUser = record->m_steamIDUser.Value();
    }
    void OnFound(LeaderboardFindResult_t* record, bool ioFailure) {
        ++foundCalls;
        lastBoard = record->m_hSteamLeaderboard;
        lastFound = record->m_bLeaderboardFound;
        lastIoFailure = ioFailure;
    }

    CCallback<Listener, UserStatsReceived_t> statsReceived;
    CCallResult<Listener, LeaderboardFindResult_t> found;
    int received = 0, foundCalls = 0;
    std::uint64_t lastGameId = 0, lastUser = 0, lastBoard = 0;
    int lastResult = 0, lastFound = -1;
    bool lastIoFailure = true;
};

// A holder that misstates its record's size.
class WrongSizeHolder final : public CCallbackBase {
public:
    void Run(void*, bool, SteamAPICall_t) override { ++runs; }
    void Run(void*) override { ++runs; }
    int GetCallbackSizeBytes() override {
        return static_cast<int>(sizeof(UserStatsReceived_t)) + 4;
    }
    int runs = 0;
};

class Holders : public testing::Test {
protected:
    void SetUp() override {
        SteamSim_Reset();
        ASSERT_TRUE(steamInit(nullptr, nullptr));  // binds the library this test links
        client::RunCallbacks();                    // the keepers' stats requests are answered
        keeperHolders = SteamSim_RegisteredCallbacks(1101);
    }
    void TearDown() override { steamFree(); }

    int keeperHolders = 0;
};

TEST_F(Holders, RegistrationWritesIdAndFlagUnregistrationClearsOnlyTheFlag) {
    Listener listener;
    EXPECT_EQ(FlagsOf(&listener.statsReceived), 0);
    EXPECT_EQ(IdOf(&listener.statsReceived), 0);

    listener.statsReceived.Register();
    EXPECT_EQ(IdOf(&listener.statsReceived), UserStatsReceived_t::k_iCallback);
    EXPECT_EQ(FlagsOf(&listener.statsReceived) & 1, 1);
    EXPECT_EQ(SteamSim_RegisteredCallbacks(1101), keeperHolders + 1);

    listener.statsReceived.Unregister();
    EXPECT_EQ(FlagsOf(&listener.statsReceived) & 1, 0);
    EXPECT_EQ(IdOf(&listener.statsReceived), UserStatsReceived_t::k_iCallback);
    EXPECT_EQ(SteamSim_RegisteredCallbacks(1101), keeperHolders);

    listener.statsReceived.Unregister();
    EXPECT_EQ(SteamSim_CallCount("SteamAPI_UnregisterCallback"), 1)
        << "only a registered holder is unregistered";
}

TEST_F(Holders, CallbacksArriveOnlyInsideRunCallbacksWithTheRecordIntact) {
    Listener listener;
    listener.statsReceived.Register();
    UserStatsReceived_t record{};
    record.m_nGameID = 0xAABBCCDD00112233ull;
    record.m_eResult = 8;
    record.m_steamIDUser.Set(0x0110000100000042ull);
    SteamSim_PostCallback(1101, &record, sizeof record);
    EXPECT_EQ(listener.received, 0);

    client::RunCallbacks();
    EXPECT_EQ(listener.received, 1);
    EXPECT_EQ(listener.lastGameId, 0xAABBCCDD00112233ull);
    EXPECT_EQ(listener.lastResult, 8);
    EXPECT_EQ(listener.lastUser, 0x0110000100000042ull);

    client::RunCallbacks();
    EXPECT_EQ(listener.received, 1);
    listener.statsReceived.Unregister();
}

TEST_F(Holders, CallResultHoldsItsIdAndTheLibraryNeverTouchesIt) {
    Listener listener;
    EXPECT_EQ(IdOf(&listener.found), LeaderboardFindResult_t::k_iCallback);
    const SteamAPICall_t call = client::FindOrCreateLeaderboard(
        "Board", k_ELeaderboardSortMethodDescending, k_ELeaderboardDisplayTypeNumeric);
    ASSERT_NE(call, 0u);
    listener.found.Set(call);
    EXPECT_EQ(FlagsOf(&listener.found), 0);
    EXPECT_EQ(IdOf(&listener.found), LeaderboardFindResult_t::k_iCallback);
    EXPECT_EQ(SteamSim_PendingCallResults(), 1);

    client::RunCallbacks();
    EXPECT_EQ(listener.foundCalls, 1);
    EXPECT_EQ(listener.lastFound, 1);
    EXPECT_FALSE(listener.lastIoFailure);
    EXPECT_EQ(listener.lastBoard, SteamSim_LeaderboardHandle("Board"));
    EXPECT_FALSE(listener.found.IsPending());
}

TEST_F(Holders, SettingACallDropsThePendingOneAndZeroRegistersNothing) {
    Listener listener;
    const SteamAPICall_t first = client::FindOrCreateLeaderboard(
        "A", k_ELeaderboardSortMethodDescending, k_ELeaderboardDisplayTypeNumeric);
    listener.found.Set(first);
    listener.found.Set(0);
    EXPECT_FALSE(listener.found.IsPending());
    EXPECT_EQ(SteamSim_PendingCallResults(), 0);
    EXPECT_EQ(SteamSim_CallCount("SteamAPI_RegisterCallResult"), 1);
    EXPECT_EQ(SteamSim_CallCount("SteamAPI_UnregisterCallResult"), 1);
    client::RunCallbacks();
    EXPECT_EQ(listener.foundCalls, 0);
}

TEST_F(Holders, CallResultIgnoresAnswersToOtherCalls) {
    Listener listener;
    listener.found.Set(77);
    LeaderboardFindResult_t record{};
    record.m_bLeaderboardFound = 1;
    CCallbackBase& holder = listener.found;
    holder.Run(&record, false, 78);
    EXPECT_EQ(listener.foundCalls, 0);
    EXPECT_TRUE(listener.found.IsPending());
    holder.Run(&record, true, 77);
    EXPECT_EQ(listener.foundCalls, 1);
    EXPECT_TRUE(listener.lastIoFailure);
    EXPECT_FALSE(listener.found.IsPending());
}

TEST_F(Holders, SizeEntriesMatchTheRecordsAndOnlyCallResultsReadThem) {
    Listener listener;
    EXPECT_EQ(static_cast<CCallbackBase&>(listener.statsReceived).GetCallbackSizeBytes(),
              static_cast<int>(sizeof(UserStatsReceived_t)));
    EXPECT_EQ(static_cast<CCallbackBase&>(listener.found).GetCallbackSizeBytes(),
              static_cast<int>(sizeof(LeaderboardFindResult_t)));

    // Ordinary callbacks arrive as they come, whatever the size entry says.
    WrongSizeHolder wrong;
    client::RegisterCallback(&wrong, 1101);
    UserStatsReceived_t record{};
    SteamSim_PostCallback(1101, &record, sizeof record);
    client::RunCallbacks();
    EXPECT_EQ(wrong.runs, 1);
    client::UnregisterCallback(&wrong);

    // A call result is sized by the holder, and a wrong size is refused.
    const SteamAPICall_t call = client::FindOrCreateLeaderboard(
        "Board", k_ELeaderboardSortMethodDescending, k_ELeaderboardDisplayTypeNumeric);
    client::RegisterCallResult(&wrong, call);
    client::RunCallbacks();
    EXPECT_EQ(wrong.runs, 1);
    EXPECT_EQ(SteamSim_SizeMismatches(), 1);
}

TEST_F(Holders, AHolderRegisteredTwiceRunsTwice) {
    WrongSizeHolder twice;
    client::RegisterCallback(&twice, 1101);
    client::RegisterCallback(&twice, 1101);
    UserStatsReceived_t record{};
    SteamSim_PostCallback(1101, &record, sizeof record);
    client::RunCallbacks();
    EXPECT_EQ(twice.runs, 2);
    client::UnregisterCallback(&twice);
    SteamSim_PostCallback(1101, &record, sizeof record);
    client::RunCallbacks();
    EXPECT_EQ(twice.runs, 2);
}

}  // namespace
