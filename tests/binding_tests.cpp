// The binding's table of names against the export lists of every supported
// SDK generation, and its all-or-nothing fill.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bridge/trace.h"
#include "platform/client_calls.h"
#include "platform/client_library.h"
#include "platform/os_services.h"
#include "steam_sim.h"

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
    const char* start;                 // the start function bound
    bool requestsStats;
};

const char* const kRequest = "SteamAPI_ISteamUserStats_RequestCurrentStats";

// The export lists of the released 32-bit libraries, generation by generation.
const std::vector<Generation> kGenerations = {
    {"1.48",
     {"SteamAPI_Init", "SteamAPI_SteamUser_v020", "SteamAPI_SteamUserStats_v011",
      "SteamAPI_SteamUtils_v009", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017",
      kRequest},
     "SteamAPI_Init",
     true},
    {"1.49-1.55",
     {"SteamAPI_Init", "SteamAPI_SteamUser_v021", "SteamAPI_SteamUserStats_v012",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017",
      kRequest},
     "SteamAPI_Init",
     true},
    {"1.56",
     {"SteamAPI_Init", "SteamAPI_SteamUser_v022", "SteamAPI_SteamUserStats_v012",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017",
      kRequest},
     "SteamAPI_Init",
     true},
    {"1.57",
     {"SteamAPI_Init", "SteamAPI_SteamUser_v023", "SteamAPI_SteamUserStats_v012",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017",
      kRequest},
     "SteamAPI_Init",
     true},
    {"1.58",
     {"SteamInternal_SteamAPI_Init", "SteamAPI_SteamUser_v023", "SteamAPI_SteamUserStats_v012",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017",
      kRequest},
     "SteamInternal_SteamAPI_Init",
     true},
    {"1.59-1.60",
     {"SteamAPI_InitFlat", "SteamAPI_SteamUser_v023", "SteamAPI_SteamUserStats_v012",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017",
      kRequest},
     "SteamAPI_InitFlat",
     true},
    {"1.61",
     {"SteamAPI_InitFlat", "SteamAPI_SteamUser_v023", "SteamAPI_SteamUserStats_v013",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v017"},
     "SteamAPI_InitFlat",
     false},
    {"1.62-1.63",
     {"SteamAPI_InitFlat", "SteamAPI_SteamUser_v023", "SteamAPI_SteamUserStats_v013",
      "SteamAPI_SteamUtils_v010", "SteamAPI_SteamApps_v008", "SteamAPI_SteamFriends_v018"},
     "SteamAPI_InitFlat",
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

// The start function bound; only one of the three is.
std::string BoundStart(const ClientFunctions& functions) {
    std::string bound;
    if (functions.InitFlat) bound += "SteamAPI_InitFlat";
    if (functions.Init) bound += "SteamAPI_Init";
    if (functions.InternalInit) bound += "SteamInternal_SteamAPI_Init";
    return bound;
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
        EXPECT_EQ(BoundStart(functions), generation.start);
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
        if (entry.need == Need::Start) continue;  // one of them is required: below
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

TEST(Binding, ALibraryWithoutAnyStartFunctionIsNamedByTheNewestAndBindsNothing) {
    Generation none = kGenerations[3];  // 1.57
    none.exports.erase(std::find(none.exports.begin(), none.exports.end(), "SteamAPI_Init"));
    FakeLibrary library = LibraryOf(none);
    ClientFunctions functions{};
    const BindResult result = BindClientFunctions(functions, &LookUp, &library);
    EXPECT_FALSE(result.bound);
    EXPECT_STREQ(result.missingFunction, "SteamAPI_InitFlat");
    EXPECT_TRUE(AllNull(functions));
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
    EXPECT_EQ(BoundStart(functions), "SteamAPI_InitFlat");
}

// ---- The seam itself: the simulated library this test links, bound through
// the bridge's own entry points ----

std::vector<std::pair<TraceId, std::string>> g_traced;
void KeepTraceLine(TraceId id, const char* line) { g_traced.emplace_back(id, line); }

// The real library's exports, less one withheld name, and with the start
// functions replaced by ones whose answer a test chooses.
struct SeamLibrary {
    void* library = OpenClientLibrary();
    std::set<std::string> withheld;
    const char* startServed = nullptr;  // the one start name served, else the library's
};

SeamLibrary* g_seam = nullptr;
bool g_startSucceeds = false;
int g_startCalls = 0;
std::string g_internalInitVersions;

int FakeInitFlat(char*) {
    ++g_startCalls;
    return g_startSucceeds ? 0 : 1;
}
bool FakeInit() {
    ++g_startCalls;
    return g_startSucceeds;
}
int FakeInternalInit(const char* versions, char*) {
    ++g_startCalls;
    g_internalInitVersions = versions ? versions : "(null)";
    return g_startSucceeds ? 0 : 1;
}

template <class Function>
void* AddressOf(Function function) {
    void* address;
    static_assert(sizeof address == sizeof function, "function and data pointers differ");
    std::memcpy(&address, &function, sizeof address);
    return address;
}

void* LookUpSeam(void* context, const char* name) {
    const SeamLibrary& seam = *static_cast<SeamLibrary*>(context);
    if (seam.withheld.count(name)) return nullptr;
    if (seam.startServed) {
        const std::string wanted = name;
        if (wanted != seam.startServed &&
            (wanted == "SteamAPI_InitFlat" || wanted == "SteamAPI_Init" ||
             wanted == "SteamInternal_SteamAPI_Init"))
            return nullptr;
        if (wanted == seam.startServed) {
            if (wanted == "SteamAPI_InitFlat") return AddressOf(&FakeInitFlat);
            if (wanted == "SteamAPI_Init") return AddressOf(&FakeInit);
            return AddressOf(&FakeInternalInit);
        }
    }
    return FindLibrarySymbol(seam.library, name);
}

class BindingSeam : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(seam_.library, nullptr) << "the linked simulator is not found";
        g_seam = &seam_;
        g_traced.clear();
        SetTraceSink(&KeepTraceLine);
    }
    void TearDown() override {
        UnbindClientLibrary();
        SetTraceSink(nullptr);
        g_seam = nullptr;
    }
    SeamLibrary seam_;
};

TEST_F(BindingSeam, AWithheldRequiredFunctionIsTracedByNameAndNothingStaysBound) {
    for (const ClientFunctionNames& entry : kClientFunctionNames) {
        if (entry.need != Need::Required) continue;
        seam_.withheld.clear();
        for (const char* name : entry.names)
            if (name) seam_.withheld.insert(name);
        UnbindClientLibrary();
        g_traced.clear();
        EXPECT_FALSE(BindClientLibraryWith(&LookUpSeam, &seam_)) << entry.names[0];
        EXPECT_EQ(g_traced,
                  (std::vector<std::pair<TraceId, std::string>>{
                      {TraceId::LibraryLacksFunction, TraceText(TraceId::LibraryLacksFunction)},
                      {TraceId::Detail, entry.names[0]}}));
        EXPECT_TRUE(AllNull(BoundClient())) << entry.names[0];
    }
}

TEST_F(BindingSeam, UnbindingLeavesEveryFunctionNull) {
    ASSERT_TRUE(BindClientLibraryWith(&LookUpSeam, &seam_));
    EXPECT_FALSE(AllNull(BoundClient()));
    EXPECT_TRUE(g_traced.empty());
    UnbindClientLibrary();
    EXPECT_TRUE(AllNull(BoundClient()));
    EXPECT_FALSE(client::Start()) << "nothing bound: nothing to start";
}

TEST_F(BindingSeam, EachStartFormAnswersWhatItsFunctionAnswered) {
    for (const char* start :
         {"SteamAPI_InitFlat", "SteamAPI_Init", "SteamInternal_SteamAPI_Init"}) {
        seam_.startServed = start;
        ASSERT_TRUE(BindClientLibraryWith(&LookUpSeam, &seam_)) << start;
        EXPECT_EQ(BoundStart(BoundClient()), start);
        for (bool succeeds : {true, false}) {
            g_startSucceeds = succeeds;
            g_startCalls = 0;
            EXPECT_EQ(client::Start(), succeeds) << start;
            EXPECT_EQ(g_startCalls, 1) << start;
        }
        UnbindClientLibrary();
    }
    EXPECT_EQ(g_internalInitVersions, "") << "the 1.58 start checks no interface versions";
}

}  // namespace
