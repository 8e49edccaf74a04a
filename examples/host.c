/* A game's use of steambridge, whole: start Steam, run frames until the
   user's stats arrive, unlock an achievement, show it, stop.

   Windows, 32-bit:  i686-w64-mingw32-gcc host.c -Iinclude -Lx86 -lsteambridge
                     cl host.c /Iinclude x86\steambridge.lib
   Windows, 64-bit:  x86_64-w64-mingw32-gcc host.c -Iinclude -Lx64 -lsteambridge64
                     cl host.c /Iinclude x64\steambridge64.lib
   Linux, x86-64:    cc host.c -Iinclude -Llib -lsteambridge -Wl,-rpath,'$ORIGIN'
   Ship the program with the bridge and Valve's client library (steam_api.dll,
   steam_api64.dll or libsteam_api.so) beside it. */
#if !defined(_WIN32)
#define _POSIX_C_SOURCE 199309L /* nanosleep */
#endif
#include <stdio.h>

#include "steambridge.h"

#if defined(_WIN32)
#include <windows.h>
static void wait_one_frame(void) { Sleep(16); }
#else
#include <time.h>
static void wait_one_frame(void) {
    const struct timespec frame = {0, 16 * 1000 * 1000};
    nanosleep(&frame, NULL);
}
#endif

/* The bridge's texts are UTF-16; the console gets them as UTF-8. */
static void print_text(const char* label, const SteamBridgeChar16* text) {
    printf("%-12s ", label);
    for (; *text != 0; ++text) {
        unsigned long c = *text;
        if (c >= 0xD800 && c < 0xDC00 && text[1] >= 0xDC00 && text[1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (*++text - 0xDC00);
        if (c < 0x80) {
            putchar((int)c);
        } else if (c < 0x800) {
            printf("%c%c", (int)(0xC0 | c >> 6), (int)(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            printf("%c%c%c", (int)(0xE0 | c >> 12), (int)(0x80 | (c >> 6 & 0x3F)),
                   (int)(0x80 | (c & 0x3F)));
        } else {
            printf("%c%c%c%c", (int)(0xF0 | c >> 18), (int)(0x80 | (c >> 12 & 0x3F)),
                   (int)(0x80 | (c >> 6 & 0x3F)), (int)(0x80 | (c & 0x3F)));
        }
    }
    putchar('\n');
}

int main(void) {
#if defined(_WIN32)
    SetConsoleOutputCP(CP_UTF8);
#endif
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
        wait_one_frame();
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
