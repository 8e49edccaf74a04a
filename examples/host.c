/* A game's use of steambridge, whole: start Steam, run frames until the
   user's stats arrive, unlock an achievement, show it, stop.

   32-bit:  i686-w64-mingw32-gcc host.c -Iinclude -Lx86 -lsteambridge
            cl host.c /Iinclude x86\steambridge.lib
   64-bit:  x86_64-w64-mingw32-gcc host.c -Iinclude -Lx64 -lsteambridge64
            cl host.c /Iinclude x64\steambridge64.lib
   Ship the program with steambridge.dll (steambridge64.dll) and Valve's
   steam_api.dll (steam_api64.dll) beside it. */
#include <stdio.h>
#include <windows.h>

#include "steambridge.h"

/* The bridge's texts are UTF-16; the console gets them as UTF-8. */
static void print_text(const char* label, const SteamBridgeChar16* text) {
    char utf8[4 * STEAMBRIDGE_AVAILABLE_LANGUAGES_UNITS];
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, (const wchar_t*)text, -1, utf8,
                                          (int)sizeof utf8, NULL, NULL);
    printf("%-12s %s\n", label, bytes > 0 ? utf8 : "");
}

int main(void) {
    SetConsoleOutputCP(CP_UTF8);

    /* Every text arrives through a slot: the address of a variable that holds
       the address of the game's buffer. */
    SteamBridgeChar16 language[STEAMBRIDGE_LANGUAGE_UNITS] = {0};
    SteamBridgeChar16 languages[STEAMBRIDGE_AVAILABLE_LANGUAGES_UNITS] = {0};
    SteamBridgeChar16* language_buffer = language;
    SteamBridgeChar16* languages_buffer = languages;
    if (!steamInit(&language_buffer, &languages_buffer)) {
        printf("Steam is not available: the game plays on without it.\n");
        return 1;
    }
    print_text("language", language);
    print_text("available", languages);

    /* steamCallBacks once per frame; the user's stats arrive after a few. */
    for (int frame = 0; frame < 600 && !steamStatus(); ++frame) {
        steamCallBacks();
        Sleep(16);
    }
    if (!steamStatus()) {
        printf("The user's stats did not arrive.\n");
        steamFree();
        return 1;
    }
    printf("%-12s %d\n", "achievements", steamAchievementsCount());
    printf("%-12s %s\n", "unlock 1", steamAchievement(1) ? "stored" : "refused");
    steamCallBacks();

    SteamBridgeChar16 name[STEAMBRIDGE_NAME_UNITS] = {0};
    SteamBridgeChar16 description[STEAMBRIDGE_DESCRIPTION_UNITS] = {0};
    SteamBridgeChar16* name_buffer = name;
    SteamBridgeChar16* description_buffer = description;
    AchievementInfo info = {0};
    info.nameSlot = &name_buffer;
    info.descriptionSlot = &description_buffer;
    steamAchievementData(1, &info);
    print_text("name", name);
    print_text("description", description);
    printf("%-12s %s\n", "achieved", info.achieved ? "yes" : "no");

    steamFree();
    return 0;
}
