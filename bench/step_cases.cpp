// The steps that need the bridge's internals or the dynamic loader.
#include "step_cases.h"

#include <dlfcn.h>

#include <cstdio>

#include "bench_session.h"
#include "export_cases.h"
#include "platform/client_library.h"
#include "steambridge.h"
#include "text/platform_conversion.h"

namespace bench {
namespace {

struct LookupCounter {
    void* library;
    int lookups;
};

void* CountedLookup(void* context, const char* name) {
    LookupCounter& counter = *static_cast<LookupCounter*>(context);
    ++counter.lookups;
    return dlsym(counter.library, name);
}

}  // namespace

void BoardNameStep::Run() {
    char narrow[128];
    benchmark::DoNotOptimize(
        steambridge::ConvertToLocaleNarrow(kBoardName16, narrow, sizeof narrow));
    benchmark::DoNotOptimize(narrow);
}

void ClearRowsStep::Prepare() {
    for (int i = 0; i < steambridge::kAchievementCount; ++i)
        g_achievementRows[i] = steambridge::AchievementTable()[i];
    for (int i = 0; i < steambridge::kStatCount; ++i) g_statRows[i] = steambridge::StatTable()[i];
}

void ClearRowsStep::Run() {
    for (steambridge::AchievementRow& row : g_achievementRows) {
        row.achieved = false;
        row.unlockTime = 0;
    }
    for (steambridge::StatRow& row : g_statRows) {
        row.floatValue = 0.0f;
        row.intValue = 0;
    }
    benchmark::ClobberMemory();
}

// Bound while no session runs, so nothing of the bridge's can call through
// the functions in between.
void BindStep::Prepare() {
    StartFreshSession();
    steamFree();
    ClearCallLog();
}

void BindStep::Run() {
    benchmark::DoNotOptimize(steambridge::BindClientLibrary());
    steambridge::UnbindClientLibrary();
}

// The lookups one binding makes, alternative names included, counted by
// binding into a throw-away table.
std::string BindStep::Note() {
    LookupCounter counter{dlopen("libsteam_api.so", RTLD_NOW | RTLD_NOLOAD), 0};
    if (!counter.library) return "client library not loaded";
    steambridge::ClientFunctions functions{};
    steambridge::BindClientFunctions(functions, &CountedLookup, &counter);
    dlclose(counter.library);
    char text[64];
    std::snprintf(text, sizeof text, "%d symbol lookups", counter.lookups);
    return text;
}

}  // namespace bench
