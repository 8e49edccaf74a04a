/* A host built as Visual Studio builds one: compiled for the MSVC target and
   linked by an MSVC-compatible linker at its defaults (SafeSEH on for 32-bit
   images) against the release's import library. It needs no C runtime, so
   no MSVC one is needed to build it. The exit status names the first step
   that failed; 0 when all passed. */
#include "steambridge.h"

__declspec(dllimport) void __stdcall ExitProcess(unsigned int code);
__declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

static unsigned int play(void) {
    SteamBridgeChar16 language[STEAMBRIDGE_LANGUAGE_UNITS];
    SteamBridgeChar16 languages[STEAMBRIDGE_AVAILABLE_LANGUAGES_UNITS];
    SteamBridgeChar16* language_buffer = language;
    SteamBridgeChar16* languages_buffer = languages;
    language[0] = 0;
    if (!steamInit(&language_buffer, &languages_buffer)) return 1;
    if (language[0] == 0) return 2;

    for (int frame = 0; frame < 600 && !steamStatus(); ++frame) {
        steamCallBacks();
        Sleep(16);
    }
    if (!steamStatus()) return 3;
    if (steamAchievementsCount() != STEAMBRIDGE_ACHIEVEMENT_COUNT) return 4;
    if (!steamAchievement(1)) return 5;

    SteamBridgeChar16 name[STEAMBRIDGE_NAME_UNITS];
    SteamBridgeChar16* name_buffer = name;
    AchievementInfo info;
    info.nameSlot = &name_buffer;
    info.descriptionSlot = 0;
    info.statNameSlot = 0;
    info.achieved = 0;
    name[0] = 0;
    steamAchievementData(1, &info);
    if (!info.achieved || name[0] == 0) return 6;
    if (steamUserID() == 0) return 7;

    if (!steamFree()) return 8;
    return 0;
}

void __cdecl mainCRTStartup(void) { ExitProcess(play()); }
