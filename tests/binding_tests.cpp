// The binding's table of names against the export lists of every supported
// SDK generation, and its all-or-nothing fill.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/client_library.h"

using namespace steambridge;

namespace {

// Exported by every generation from SDK 1.48 on.
const std::vector<std::string> kCommonExports = {
    "SteamAPI_Shutdown",
    "SteamAPI_RunCallbacks",
    "SteamAPI_RegisterCallback",
    "SteamAPI_UnregisterCallback",
    "SteamAPI_RegisterCallResult",
    "SteamAPI_UnregisterCallResult",
    "SteamAPI_InitSafe",
    "SteamAPI_ISteamUser_BLoggedOn",
    "SteamAPI_ISteamUser_GetSteamID",
    "SteamAPI_ISteamUserStats_GetStatInt32",
    "SteamAPI_ISteamUserStats_GetStatFloat",
    "SteamAPI_ISteamUserStats_SetStatInt32",
    "SteamAPI_ISteamUserStats_SetStatFloat",
    "SteamAPI_ISteamUserStats_UpdateAvgRateStat",
    "SteamAPI_ISteamUserStats_SetAchievement",
    "SteamAPI_ISteamUserStats_GetAchievementAndUnlockTime",
    "SteamAPI_ISteamUserStats_StoreStats",
    "SteamAPI_ISteamUserStats_GetAchievementDisplayAttribute",
    "SteamAPI_ISteamUserStats_ResetAllStats",
    "SteamAPI_ISteamUserStats_FindOrCreateLeaderboard",
    "SteamAPI_ISteamUserStats_UploadLeaderboardScore",
    "SteamAPI_ISteamUtils_GetAppID",
    "SteamAPI_ISteamApps_GetCurrentGameLanguage",
    "SteamAPI_ISteamApps_GetAvailableGameLanguages",
    "SteamAPI_ISteamFriends_ActivateGameOverlay",
};

struct Generation {
    const char* sdk;
    std::vector<std::string> exports;  // besides the common ones
    StartForm start;
    bool requestsStats;
};

const char* const kRequest = "SteamAPI_ISteamUserStats_RequestCurrentStats";

// The export lists of the released 32-bit libraries, generation by generation.
const std::vector<Generation> kGenerations = {
    {"1.48",
     {"SteamAPI_Init", "SteamAPI_SteamUser_v020", "SteamAPI_SteamUserStats_v011",
      "SteamAPI_SteamUtils_v009", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017",
      kRequest},
     StartForm::Init,
     true},
    {"1.49-1.55",
     {"SteamAPI_Init", "SteamAPI_SteamUser_v021", "SteamAPI_SteamUserStats_v012",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017",
      kRequest},
     StartForm::Init,
     true},
    {"1.56",
     {"SteamAPI_Init", "SteamAPI_SteamUser_v022", "SteamAPI_SteamUserStats_v012",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017",
      kRequest},
     StartForm::Init,
     true},
    {"1.57",
     {"SteamAPI_Init", "SteamAPI_SteamUser_v023", "SteamAPI_SteamUserStats_v012",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017",
      kRequest},
     StartForm::Init,
     true},
    {"1.58",
     {"SteamInternal_SteamAPI_Init", "SteamAPI_SteamUser_v023", "SteamAPI_SteamUserStats_v012",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017",
      kRequest},
     StartForm::InternalInit,
     true},
    {"1.59-1.60",
     {"SteamAPI_InitFlat", "SteamAPI_SteamUser_v023", "SteamAPI_SteamUserStats_v012",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017",
      kRequest},
     StartForm::InitFlat,
     true},
    {"1.61",
     {"SteamAPI_InitFlat", "SteamAPI_SteamUser_v023", "SteamAPI_SteamUserStats_v013",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017"},
     StartForm::InitFlat,
     false},
    {"1.62-1.63",
     {"SteamAPI_InitFlat", "SteamAPI_SteamUser_v023", "SteamAPI_SteamUserStats_v013",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v018"},
     StartForm::InitFlat,
     false},
};

// A library seen only through its export names; each export has its own
// address, never called.
struct FakeLibrary {
    std::set<std::string> exports;
    char addresses[256];
    std::vector<std::string> asked;
};

void* LookUp(void* context, const char* name) {
    FakeLibrary& library = *static_cast<FakeLibrary*>(context);
    library.asked.push_back(name);
    auto found = library.exports.find(name);
    if (found == library.exports.end()) return nullptr;
    return &library.addresses[std::distance(library.exports.begin(), found)];
}

FakeLibrary LibraryOf(const Generation& generation) {
    FakeLibrary library;
    library.exports.insert(kCommonExports.begin(), kCommonExports.end());
    library.exports.insert(generation.exports.begin(), generation.exports.end());
    return library;
}

bool AllNull(const ClientFunctions& functions) {
    ClientFunctions empty{};
    return std::memcmp(&functions, &empty, sizeof functions) == 0;
}

TEST(Binding, EveryRequiredFunctionHasANameInEveryGeneration) {
    for (const Generation& generation : kGenerations) {
        FakeLibrary library = LibraryOf(generation);
        for (const ClientFunctionNames& entry : kClientFunctionNames) {
            if (entry.need != Need::Required) continue;
            bool exported = false;
            for (const char* name : entry.names)
                if (name && library.exports.count(name)) exported = true;
            EXPECT_TRUE(exported) << "SDK " << generation.sdk << " lacks " << entry.names[0];
        }
    }
}

TEST(Binding, BindsEveryGenerationWithItsStartFunction) {
    for (const Generation& generation : kGenerations) {
        SCOPED_TRACE(generation.sdk);
        FakeLibrary library = LibraryOf(generation);
        ClientFunctions functions{};
        const BindResult result = BindClientFunctions(functions, &LookUp, &library);
        ASSERT_TRUE(result.bound) << result.missingFunction;
        EXPECT_EQ(result.missingFunction, nullptr);
        EXPECT_EQ(functions.startForm, generation.start);
        EXPECT_EQ(functions.RequestCurrentStats != nullptr, generation.requestsStats);
        EXPECT_NE(functions.SteamFriends, nullptr);
        EXPECT_NE(functions.ActivateGameOverlay, nullptr);
    }
}

TEST(Binding, UsesTheAccessorVersionTheLibraryExports) {
    FakeLibrary library = LibraryOf(kGenerations.back());
    ClientFunctions functions{};
    ASSERT_TRUE(BindClientFunctions(functions, &LookUp, &library).bound);
    const auto index =
        std::distance(library.exports.begin(), library.exports.find("SteamAPI_SteamFriends_v018"));
    EXPECT_EQ(reinterpret_cast<void*>(functions.SteamFriends), &library.addresses[index]);
}

TEST(Binding, AMissingRequiredFunctionIsNamedAndBindsNothing) {
    const Generation& generation = kGenerations[3];  // 1.57
    for (const ClientFunctionNames& entry : kClientFunctionNames) {
        FakeLibrary library = LibraryOf(generation);
        for (const char* name : entry.names)
            if (name) library.exports.erase(name);
        ClientFunctions functions{};
        const BindResult result = BindClientFunctions(functions, &LookUp, &library);
        if (entry.need == Need::Optional) {
            EXPECT_TRUE(result.bound) << entry.names[0] << " is optional";
            continue;
        }
        EXPECT_FALSE(result.bound) << entry.names[0];
        ASSERT_NE(result.missingFunction, nullptr);
        EXPECT_STREQ(result.missingFunction, entry.names[0]);
        EXPECT_TRUE(AllNull(functions)) << "half-bound after missing " << entry.names[0];
    }
}

TEST(Binding, AFailedBindLeavesAnEarlierBindingAsItWas) {
    FakeLibrary good = LibraryOf(kGenerations[3]);
    ClientFunctions functions{};
    ASSERT_TRUE(BindClientFunctions(functions, &LookUp, &good).bound);
    const ClientFunctions before = functions;
    FakeLibrary empty;
    EXPECT_FALSE(BindClientFunctions(functions, &LookUp, &empty).bound);
    EXPECT_EQ(std::memcmp(&functions, &before, sizeof before), 0);
}

TEST(Binding, PrefersTheNewestStartFunction) {
    Generation both = kGenerations[5];
    both.exports.push_back("SteamAPI_Init");
    both.exports.push_back("SteamInternal_SteamAPI_Init");
    FakeLibrary library = LibraryOf(both);
    ClientFunctions functions{};
    ASSERT_TRUE(BindClientFunctions(functions, &LookUp, &library).bound);
    EXPECT_EQ(functions.startForm, StartForm::InitFlat);
}

}  // namespace
