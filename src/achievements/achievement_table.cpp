// The achievement table with the game's start titles. Titles are plain ASCII
// so they read the same in any code page and as UTF-8.
#include "achievements/achievement_table.h"

#include <cstring>

namespace steambridge {
namespace {

struct AchievementStart {
    const char* apiName;
    const char* title;
};

constexpr AchievementStart kStart[kAchievementCount] = {
    {"ACH_LEVELVETERAN", "Level Veteran"},
    {"ACH_TREASURER", "Treasurer"},
    {"ACH_EXTERMINATOR", "Exterminator"},
    {"ACH_FIRSTSTEPS", "First Steps"},
    {"ACH_TUTORIAL", "Tutorial Complete"},
    {"ACH_FIRSTBOSS", "First Boss Down"},
    {"ACH_NIGHTOWL", "Night Owl"},
    {"ACH_GRASSHOPPER", "Grasshopper"},
    {"ACH_EARLYBIRD", "Early Bird"},
    {"ACH_SHOPAHOLIC", "Shopaholic"},
    {"ACH_SEEKER", "Secret Seeker"},
    {"ACH_SURVIVOR", "Survivor"},
    {"ACH_DAREDEVIL", "Daredevil"},
    {"ACH_HIGHROLLER", "High Roller"},
    {"ACH_SHARPSHOOTER", "Sharpshooter"},
    {"ACH_UNTOUCHABLE", "Untouchable"},
    {"ACH_GIANTSLAYER", "Giant Slayer"},
    {"ACH_JEWELLER", "Jeweller"},
    {"ACH_SWIMMER", "Deep Diver"},
    {"ACH_CLIMBER", "Peak Climber"},
    {"ACH_EXPLORER", "Explorer"},
    {"ACH_HOARDER", "Hoarder"},
    {"ACH_FLAWLESS", "Flawless"},
    {"ACH_CHAMPION", "Champion"},
    {"ACH_SPEEDSTER", "Speedster"},
    {"ACH_PEACEKEEPER", "Peacekeeper"},
    {"ACH_HARDMODE", "Hard Mode Hero"},
    {"ACH_MARATHON", "Marathon Runner"},
    {"ACH_ALCHEMIST", "Alchemist"},
    {"ACH_LOCKSMITH", "Locksmith"},
    {"ACH_CARTOGRAPHER", "Cartographer"},
    {"ACH_BLACKSMITH", "Blacksmith"},
    {"ACH_STORYTELLER", "Storyteller"},
    {"ACH_NOVICE", "Novice"},
    {"ACH_ADEPT", "Adept"},
    {"ACH_ZOOKEEPER", "Zookeeper"},
    {"ACH_MASTER", "Master"},
    {"ACH_ANGLER", "Angler"},
    {"ACH_GARDENER", "Gardener"},
    {"ACH_LOOTER", "Looter"},
    {"ACH_COMBOMASTER", "Combo Master"},
    {"ACH_PERSISTENT", "Persistent"},
    {"ACH_QUESTER", "Quester"},
    {"ACH_DIPLOMAT", "Diplomat"},
    {"ACH_MERCHANT", "Merchant"},
    {"ACH_COLLECTOR", "Collector"},
    {"ACH_MUSICIAN", "Musician"},
    {"ACH_PAINTER", "Painter"},
    {"ACH_SCHOLAR", "Scholar"},
    {"ACH_STARGAZER", "Stargazer"},
    {"ACH_STEALTHY", "Stealthy"},
    {"ACH_GHOST", "Ghost"},
    {"ACH_ARCHAEOLOGIST", "Archaeologist"},
    {"ACH_RIDER", "Rider"},
    {"ACH_SAILOR", "Sailor"},
    {"ACH_PILOT", "Pilot"},
    {"ACH_BUILDER", "Builder"},
    {"ACH_DEFENDER", "Defender"},
    {"ACH_HERO", "Hero of the Realm"},
    {"ACH_LEGEND", "Living Legend"},
    {"ACH_COMPLETIONIST", "Completionist"},
};

// Zero-initialised, so the 24 KiB of text fields cost nothing in the DLL
// file; the start values go in on first use, before anything can read them.
AchievementRow g_achievements[kAchievementCount];
bool g_filled;

void FillStartValues() {
    for (int i = 0; i < kAchievementCount; ++i) {
        AchievementRow& row = g_achievements[i];
        row.id = i + 1;
        row.apiName = kStart[i].apiName;
        std::strncpy(row.name, kStart[i].title, sizeof row.name - 1);
    }
    g_filled = true;
}

}  // namespace

AchievementRow* AchievementTable() {
    if (!g_filled) FillStartValues();
    return g_achievements;
}

}  // namespace steambridge
