// steamAchievementData seen by a host: which record bytes and buffer units it writes, and the
// texts.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <list>
#include <optional>
#include <string>

#include "host_support/e2e_session.h"
#include "host_support/host_record.h"

namespace {

// Buffer sizes the header asks the host for, terminators included.
constexpr std::size_t kNameUnits = STEAMBRIDGE_NAME_UNITS;
constexpr std::size_t kDescriptionUnits = STEAMBRIDGE_DESCRIPTION_UNITS;
constexpr std::size_t kStatNameUnits = STEAMBRIDGE_STAT_NAME_UNITS;

class AchievementDetails : public BridgeSession {
protected:
    // A fresh record and fresh buffers, then the query.
    HostRecord& Query(int number, const BridgeExports& bridge = Bridge()) {
        name.emplace(kNameUnits);
        description.emplace(kDescriptionUnits);
        statName.emplace(kStatNameUnits);
        bridge.steamAchievementData(
            number, record.Prepare(name->slot(), description->slot(), statName->slot()));
        return record;
    }

    bool BuffersUntouched() const {
        return name->Untouched() && description->Untouched() && statName->Untouched();
    }

    // Made anew for each query; emplaced, as a buffer is neither copied nor moved.
    std::optional<HostBuffer> name{kNameUnits}, description{kDescriptionUnits},
        statName{kStatNameUnits};
    HostRecord record;
};

// ---- What is written, and nothing else ----

TEST_F(AchievementDetails, OnlyTheFieldsTheStateCallsForAreWritten) {
    StartWithStatsArrived();
    SIM(SteamSim_ClearCallLog)();

    // Achievement 4 has no stat, achievement 1 counts STAT_LEVELS.
    Query(4);
    EXPECT_EQ(record.ChangedOutside({kWrittenAlways}), "") << "unlinked, locked";
    EXPECT_EQ(record.info()->index, 3);
    EXPECT_EQ(record.info()->achieved, 0);
    EXPECT_EQ(record.info()->hasStat, 0);
    EXPECT_TRUE(statName->Untouched());

    Query(1);
    EXPECT_EQ(record.ChangedOutside({kWrittenAlways, kWrittenWithStat}), "") << "linked, locked";
    EXPECT_EQ(record.info()->hasStat, 1);
    EXPECT_EQ(SIM(SteamSim_CallLogSize)(), 0) << "steamAchievementData called Steam";

    ASSERT_TRUE(Bridge().steamAchievement(4));
    ASSERT_TRUE(Bridge().steamAchievement(1));
    Bridge().steamCallBacks();

    Query(4);
    EXPECT_EQ(record.ChangedOutside({kWrittenAlways, kWrittenWhenAchieved}), "")
        << "unlinked, unlocked";
    EXPECT_EQ(record.info()->achieved, 1);
    EXPECT_TRUE(statName->Untouched());

    Query(1);
    EXPECT_EQ(record.ChangedOutside({kWrittenAlways, kWrittenWithStat, kWrittenWhenAchieved}), "")
        << "linked, unlocked";
    EXPECT_EQ(record.info()->achieved, 1);
    EXPECT_EQ(record.info()->unlockTime, 1700000000u);
}

#if UINTPTR_MAX == 0xFFFFFFFFu
TEST_F(AchievementDetails, DllWritesAtTheDocumented32BitOffsets) {
    StartWithStatsArrived();
    SIM(SteamSim_SetClock)(0x5A0B0C0Du);
    ASSERT_TRUE(Bridge().steamStat(23, 6));
    ASSERT_TRUE(Bridge().steamAchievement(61));
    Bridge().steamCallBacks();

    alignas(4) unsigned char raw[36 + HostRecord::kGuardBytes];
    std::memset(raw, HostRecord::kSentinel, sizeof raw);
    SteamBridgeChar16* const* slots[3] = {name->slot(), description->slot(), statName->slot()};
    std::memcpy(raw + 4, &slots[0], 4);
    std::memcpy(raw + 8, &slots[1], 4);
    std::memcpy(raw + 28, &slots[2], 4);
    Bridge().steamAchievementData(61, reinterpret_cast<AchievementInfo*>(raw));

    auto at = [&raw](std::size_t offset) {
        std::uint32_t value;
        std::memcpy(&value, raw + offset, sizeof value);
        return value;
    };
    EXPECT_EQ(at(0), 60u);
    EXPECT_EQ(raw[12], 1);
    EXPECT_EQ(raw[13], 1);
    EXPECT_EQ(raw[14], HostRecord::kSentinel);
    EXPECT_EQ(raw[15], HostRecord::kSentinel);
    EXPECT_EQ(at(16), 0u);
    EXPECT_EQ(at(20), 15u);
    EXPECT_EQ(at(24), 6u);
    EXPECT_EQ(at(32), 0x5A0B0C0Du);
    for (std::size_t i = 36; i < sizeof raw; ++i)
        EXPECT_EQ(raw[i], HostRecord::kSentinel) << "offset " << i;
    EXPECT_EQ(statName->Text(), u"STAT_TROPHIES");
    EXPECT_EQ(name->Text(), u"Completionist \xD83C\xDFC6");
}
#endif

TEST_F(AchievementDetails, TheLastNumberUnlocksTheLastRowAndTheNextIsRefused) {
    StartWithStatsArrived();
    for (int number : {STEAMBRIDGE_ACHIEVEMENT_COUNT + 1, 0})
        EXPECT_FALSE(Bridge().steamAchievement(number)) << number;
    EXPECT_EQ(SIM(SteamSim_CallLogSize)(), 0) << "a refused number reached Steam";

    SIM(SteamSim_SetClock)(1715000000u);
    ASSERT_TRUE(Bridge().steamStat(23, 4));
    ASSERT_TRUE(Bridge().steamAchievement(STEAMBRIDGE_ACHIEVEMENT_COUNT));
    EXPECT_TRUE(LoggedCall("SteamAPI_ISteamUserStats_SetAchievement(ACH_COMPLETIONIST)"));
    bool onSteam = false;
    ASSERT_TRUE(SIM(SteamSim_ServerAchievement)("ACH_COMPLETIONIST", &onSteam, nullptr));
    EXPECT_TRUE(onSteam);
    Bridge().steamCallBacks();
    Query(STEAMBRIDGE_ACHIEVEMENT_COUNT);
    EXPECT_EQ(record.info()->index, 60);
    EXPECT_EQ(record.info()->achieved, 1);
    EXPECT_EQ(record.info()->unlockTime, 1715000000u);
    EXPECT_EQ(record.info()->hasStat, 1);
    EXPECT_EQ(record.info()->statValue, 4) << "linked to stat 23";
    EXPECT_EQ(statName->Text(), u"STAT_TROPHIES");
}

TEST_F(AchievementDetails, UnlockTimeIsWrittenOnlyOnceAchieved) {
    StartWithStatsArrived();
    Query(12);
    EXPECT_EQ(record.info()->achieved, 0);
    EXPECT_EQ(record.ChangedOutside({kWrittenAlways}), "");

    SIM(SteamSim_SetClock)(1714000000u);
    ASSERT_TRUE(Bridge().steamAchievement(12));
    Bridge().steamCallBacks();
    Query(12);
    EXPECT_EQ(record.info()->achieved, 1);
    EXPECT_EQ(record.info()->unlockTime, 1714000000u);
}

TEST_F(AchievementDetails, RefusedQueriesWriteNothing) {
    // Not running yet.
    Query(1);
    EXPECT_TRUE(record.Unchanged()) << "before steamInit";
    EXPECT_TRUE(BuffersUntouched());

    StartWithStatsArrived();
    for (int number : {0, 62, -1, INT32_MIN}) {
        Query(number);
        EXPECT_TRUE(record.Unchanged()) << number;
        EXPECT_TRUE(BuffersUntouched()) << number;
    }
    Bridge().steamAchievementData(1, nullptr);

    ASSERT_TRUE(Bridge().steamFree());
    Query(1);
    EXPECT_TRUE(record.Unchanged()) << "after steamFree";
    EXPECT_TRUE(BuffersUntouched());
}

TEST_F(AchievementDetails, NullSlotsAreSkipped) {
    StartWithStatsArrived();
    SteamBridgeChar16* nothing = nullptr;
    HostBuffer shown(kDescriptionUnits);
    // No name slot, a description slot holding null, a stat name slot that works.
    HostRecord someSlots(nullptr, &nothing, statName->slot());
    Bridge().steamAchievementData(1, someSlots.info());
    EXPECT_EQ(someSlots.info()->index, 0);
    EXPECT_EQ(someSlots.info()->hasStat, 1);
    EXPECT_EQ(someSlots.info()->statMax, 50);
    EXPECT_EQ(statName->Text(), u"STAT_LEVELS");
    EXPECT_EQ(nothing, nullptr);

    // The reverse: only the description is asked for, and no stat name->
    HostRecord other(&nothing, shown.slot(), nullptr);
    Bridge().steamAchievementData(1, other.info());
    EXPECT_EQ(shown.Text(), u"Complete 50 levels.");
    EXPECT_EQ(other.info()->statMax, 50);
}

// ---- Texts ----

// A never-started copy of steambridge, loaded from a path of its own: its
// tables still hold the game's start titles, which the staged copy lost to
// Steam's texts in whichever test first let the stats arrive.
const BridgeExports* FreshBridge() {
    namespace fs = std::filesystem;
    static int copies = 0;
    static std::list<BridgeLibrary> libraries;
    const std::string directory =
        ProgramDirectory() + "fresh-bridge-" + Stage() + "-" + std::to_string(++copies) + "/";
    std::error_code error;
    fs::create_directories(directory, error);
    // Removed first: overwriting with copy_file fails under Wine.
    if (!error) fs::remove(directory + kBridgeFileName, error);
    if (!error)
        fs::copy_file(StageDirectory() + kBridgeFileName, directory + kBridgeFileName, error);
    if (error) {
        ADD_FAILURE() << "cannot copy steambridge to " << directory << ": " << error.message();
        return nullptr;
    }
    libraries.emplace_back();
    if (!libraries.back().Open(directory)) {
        ADD_FAILURE() << libraries.back().error();
        return nullptr;
    }
    return &libraries.back().exports();
}

TEST_F(AchievementDetails, BeforeTheStatsArriveTheGamesTitleAndAnEmptyDescription) {
    const BridgeExports* fresh = FreshBridge();
    ASSERT_NE(fresh, nullptr);
    ASSERT_NE(fresh->steamAchievementData, Bridge().steamAchievementData) << "not a second copy";
    ASSERT_TRUE(fresh->steamInit(language.slot(), available.slot()));
    struct Stop {
        const BridgeExports* bridge;
        ~Stop() { bridge->steamFree(); }
    } stop{fresh};

    Query(5, *fresh);
    EXPECT_EQ(name->Text(), u"Tutorial Complete");
    EXPECT_TRUE(name->UntouchedAfterText());
    EXPECT_EQ(description->Text(), u"");
    EXPECT_TRUE(description->UntouchedAfterText()) << "more than a single 0 unit";
    EXPECT_EQ(record.info()->achieved, 0);
    EXPECT_EQ(record.info()->hasStat, 0);
    Query(1, *fresh);
    EXPECT_EQ(name->Text(), u"Level Veteran");
    EXPECT_EQ(record.info()->hasStat, 1);
    EXPECT_EQ(record.info()->statMax, 50);

    fresh->steamCallBacks();
    ASSERT_EQ(fresh->steamStatus(), 1);
    Query(5, *fresh);
    EXPECT_EQ(name->Text().rfind(u"Tutorial Graduate: ", 0), 0u)
        << "Steam's name did not replace the title";
    EXPECT_EQ(description->Text(), u"Finish the tutorial.");
}

TEST_F(AchievementDetails, DisplayTextsArriveAsUtf16) {
    StartWithStatsArrived();
    Query(7);
    EXPECT_EQ(name->Text(), u"Caf\u00E9 R\u00E9gulier");
    EXPECT_EQ(description->Text(),
              u"Play past midnight with a cr\u00E8me br\u00FBl\u00E9e and a caf\u00E9 au lait. "
              u"D\u00E9j\u00E0 vu!");
    Query(9);
    EXPECT_EQ(name->Text(), u"\u65E9\u8D77\u304D\u306F\u4E09\u6587\u306E\u5FB3");
    EXPECT_EQ(
        description->Text(),
        u"\u591C\u660E\u3051\u524D\u306B\u30B2\u30FC\u30E0\u3092\u59CB\u3081\u3088\u3046\u3002");
    EXPECT_TRUE(name->UntouchedAfterText());
    EXPECT_TRUE(description->UntouchedAfterText());
    Query(10);
    EXPECT_EQ(name->Text(), u"Shopaholic \xD83D\xDED2") << "U+1F6D2 as a surrogate pair";
    EXPECT_TRUE(name->UntouchedAfterText());
}

TEST_F(AchievementDetails, OverlongTextsAreCutAtACharacterBoundaryWithinTheBuffers) {
    StartWithStatsArrived();
    // 149 bytes; the 127-byte cut falls inside the 3-byte U+5320.
    Query(5);
    EXPECT_EQ(name->Text(),
              u"Tutorial Graduate: you sat through every lesson of Master Oswin, from sword drills "
              u"to market "
              u"haggling, and still said, \u300C\u5E2B");
    EXPECT_TRUE(name->UntouchedAfterText());
    // 299 bytes; the 255-byte cut falls inside the 3-byte U+2014.
    Query(6);
    EXPECT_EQ(description->Text(),
              u"Defeat the Gravekeeper, guardian of the Hollow Crypt. He waits beneath the "
              u"cathedral where "
              u"the bells no longer ring. Watch his lantern: when it glows red he sweeps the floor "
              u"with a "
              u"scythe, and when it dims he calls the restless dead. Read every pattern ");
    EXPECT_TRUE(description->UntouchedAfterText());
}

TEST_F(AchievementDetails, TextsAtTheBufferBoundsAreKeptOrCutWhole) {
    const std::string cart = "\xF0\x9F\x9B\x92";  // U+1F6D2, 4 bytes
    const std::u16string cartUnits = u"\xD83D\xDED2";
    struct Case {
        const char* apiName;
        int number;
        std::string name;
        std::string description;
        std::u16string expectedName;
        std::u16string expectedDescription;
    } cases[] = {
        // 127 bytes fit whole; 128 bytes lose the character that crosses the bound.
        {"ACH_SEEKER", 11, std::string(123, 'a') + cart, std::string(255, 'b'),
         std::u16string(123, u'a') + cartUnits, std::u16string(255, u'b')},
        {"ACH_SURVIVOR", 12, std::string(124, 'a') + cart, std::string(254, 'b') + "\xC3\xA9",
         std::u16string(124, u'a'), std::u16string(254, u'b')},
    };
    for (const Case& c : cases) {
        SIM(SteamSim_SetDisplayAttribute)(c.apiName, "name", c.name.c_str());
        SIM(SteamSim_SetDisplayAttribute)(c.apiName, "desc", c.description.c_str());
    }
    StartWithStatsArrived();
    for (const Case& c : cases) {
        Query(c.number);
        EXPECT_EQ(name->Text(), c.expectedName) << c.apiName;
        EXPECT_EQ(description->Text(), c.expectedDescription) << c.apiName;
        EXPECT_TRUE(name->GuardsUntouched()) << c.apiName;
        EXPECT_TRUE(description->GuardsUntouched()) << c.apiName;
    }
}

TEST_F(AchievementDetails, MissingDisplayTextsArriveEmpty) {
    SIM(SteamSim_SetDisplayAttribute)("ACH_RIDER", "name", nullptr);
    SIM(SteamSim_SetDisplayAttribute)("ACH_RIDER", "desc", nullptr);
    StartWithStatsArrived();
    Query(54);
    EXPECT_EQ(name->Text(), u"");
    EXPECT_EQ(description->Text(), u"");
    EXPECT_TRUE(name->UntouchedAfterText());
}

// ---- Stats behind achievements ----

TEST_F(AchievementDetails, EachLinkedAchievementCarriesItsStatAndTheOthersNone) {
    struct Link {
        int number;
        const char16_t* statName;
        std::int32_t target;
    };
    // The game's schema: the stat counting towards each achievement and its target.
    const Link links[] = {
        {1, u"STAT_LEVELS", 50},        {2, u"STAT_COINS", 30000},
        {3, u"STAT_ENEMIES", 200},      {8, u"STAT_JUMPS", 500},
        {11, u"STAT_SECRETS", 30},      {14, u"STAT_SCORE", 5000000},
        {17, u"STAT_BOSSES", 10},       {18, u"STAT_GEMS", 500},
        {23, u"STAT_PERFECTRUNS", 10},  {25, u"STAT_SPEEDRUNS", 10},
        {26, u"STAT_PACIFISTRUNS", 10}, {28, u"STAT_DISTANCE", 5000000},
        {29, u"STAT_POTIONS", 500},     {30, u"STAT_KEYS", 20},
        {31, u"STAT_MAPS", 15},         {33, u"STAT_ENDINGS", 3},
        {36, u"STAT_PETS", 30},         {38, u"STAT_FISH", 40},
        {40, u"STAT_CHESTS", 150},      {41, u"STAT_COMBOS", 200},
        {42, u"STAT_DEATHS", 100},      {43, u"STAT_QUESTS", 30},
        {53, u"STAT_RELICS", 20},       {61, u"STAT_TROPHIES", 15},
    };
    // Distinct values on Steam, so a value read from the wrong stat shows.
    for (int i = 0; i < STEAMBRIDGE_STAT_COUNT; ++i) {
        const std::u16string wide = links[i].statName;
        const std::string narrow(wide.begin(), wide.end());
        SIM(SteamSim_SetStatFromOtherDevice)(narrow.c_str(), 1000 + i);
    }
    ASSERT_TRUE(Init());
    Bridge().steamCallBacks();
    ASSERT_EQ(Bridge().steamStatus(), 1);

    int linkedSeen = 0;
    for (int number = 1; number <= STEAMBRIDGE_ACHIEVEMENT_COUNT; ++number) {
        const Link* link = nullptr;
        int statIndex = 0;
        for (int i = 0; i < STEAMBRIDGE_STAT_COUNT; ++i)
            if (links[i].number == number) link = &links[statIndex = i];
        Query(number);
        if (link) {
            ++linkedSeen;
            EXPECT_EQ(record.info()->hasStat, 1) << number;
            EXPECT_EQ(record.info()->statMin, 0) << number;
            EXPECT_EQ(record.info()->statMax, link->target) << number;
            EXPECT_EQ(record.info()->statValue, 1000 + statIndex) << number;
            EXPECT_EQ(statName->Text(), link->statName) << number;
            EXPECT_TRUE(statName->UntouchedAfterText()) << number;
        } else {
            EXPECT_EQ(record.info()->hasStat, 0) << number;
            EXPECT_EQ(record.ChangedOutside({kWrittenAlways}), "") << number;
            EXPECT_TRUE(statName->Untouched()) << number;
        }
    }
    EXPECT_EQ(linkedSeen, STEAMBRIDGE_STAT_COUNT);
}

TEST_F(AchievementDetails, StatValueIsTheLocalOneBeforeSteamAcceptsIt) {
    ASSERT_TRUE(Init());
    EXPECT_FALSE(Bridge().steamStat(23, 7));
    Query(61);
    EXPECT_EQ(record.info()->statValue, 7) << "before the stats arrive";

    Bridge().steamCallBacks();
    ASSERT_EQ(Bridge().steamStatus(), 1);
    Query(61);
    EXPECT_EQ(record.info()->statValue, 0) << "Steam's value once they arrive";

    SIM(SteamSim_SetStatRange)("STAT_TROPHIES", 0, 15);
    EXPECT_TRUE(Bridge().steamStat(23, 99));
    Query(61);
    EXPECT_EQ(record.info()->statValue, 99) << "sent, answer not yet in";
}

}  // namespace
