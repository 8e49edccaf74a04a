// The achievement table with the game's start titles. Titles are plain ASCII
// so they read the same in any code page and as UTF-8.
#include "achievements/achievement_table.h"

namespace steambridge {
namespace {

AchievementRow g_achievements[kAchievementCount] = {
    {1, "ACH_LEVELVETERAN", "Level Veteran", "", false, 0},
    {2, "ACH_TREASURER", "Treasurer", "", false, 0},
    {3, "ACH_EXTERMINATOR", "Exterminator", "", false, 0},
    {4, "ACH_FIRSTSTEPS", "First Steps", "", false, 0},
    {5, "ACH_TUTORIAL", "Tutorial Complete", "", false, 0},
    {6, "ACH_FIRSTBOSS", "First Boss Down", "", false, 0},
    {7, "ACH_NIGHTOWL", "Night Owl", "", false, 0},
    {8, "ACH_GRASSHOPPER", "Grasshopper", "", false, 0},
    {9, "ACH_EARLYBIRD", "Early Bird", "", false, 0},
    {10, "ACH_SHOPAHOLIC", "Shopaholic", "", false, 0},
    {11, "ACH_SEEKER", "Secret Seeker", "", false, 0},
    {12, "ACH_SURVIVOR", "Survivor", "", false, 0},
    {13, "ACH_DAREDEVIL", "Daredevil", "", false, 0},
    {14, "ACH_HIGHROLLER", "High Roller", "", false, 0},
    {15, "ACH_SHARPSHOOTER", "Sharpshooter", "", false, 0},
    {16, "ACH_UNTOUCHABLE", "Untouchable", "", false, 0},
    {17, "ACH_GIANTSLAYER", "Giant Slayer", "", false, 0},
    {18, "ACH_JEWELLER", "Jeweller", "", false, 0},
    {19, "ACH_SWIMMER", "Deep Diver", "", false, 0},
    {20, "ACH_CLIMBER", "Peak Climber", "", false, 0},
    {21, "ACH_EXPLORER", "Explorer", "", false, 0},
    {22, "ACH_HOARDER", "Hoarder", "", false, 0},
    {23, "ACH_FLAWLESS", "Flawless", "", false, 0},
    {24, "ACH_CHAMPION", "Champion", "", false, 0},
    {25, "ACH_SPEEDSTER", "Speedster", "", false, 0},
    {26, "ACH_PEACEKEEPER", "Peacekeeper", "", false, 0},
    {27, "ACH_HARDMODE", "Hard Mode Hero", "", false, 0},
    {28, "ACH_MARATHON", "Marathon Runner", "", false, 0},
    {29, "ACH_ALCHEMIST", "Alchemist", "", false, 0},
    {30, "ACH_LOCKSMITH", "Locksmith", "", false, 0},
    {31, "ACH_CARTOGRAPHER", "Cartographer", "", false, 0},
    {32, "ACH_BLACKSMITH", "Blacksmith", "", false, 0},
    {33, "ACH_STORYTELLER", "Storyteller", "", false, 0},
    {34, "ACH_NOVICE", "Novice", "", false, 0},
    {35, "ACH_ADEPT", "Adept", "", false, 0},
    {36, "ACH_ZOOKEEPER", "Zookeeper", "", false, 0},
    {37, "ACH_MASTER", "Master", "", false, 0},
    {38, "ACH_ANGLER", "Angler", "", false, 0},
    {39, "ACH_GARDENER", "Gardener", "", false, 0},
    {40, "ACH_LOOTER", "Looter", "", false, 0},
    {41, "ACH_COMBOMASTER", "Combo Master", "", false, 0},
    {42, "ACH_PERSISTENT", "Persistent", "", false, 0},
    {43, "ACH_QUESTER", "Quester", "", false, 0},
    {44, "ACH_DIPLOMAT", "Diplomat", "", false, 0},
    {45, "ACH_MERCHANT", "Merchant", "", false, 0},
    {46, "ACH_COLLECTOR", "Collector", "", false, 0},
    {47, "ACH_MUSICIAN", "Musician", "", false, 0},
    {48, "ACH_PAINTER", "Painter", "", false, 0},
    {49, "ACH_SCHOLAR", "Scholar", "", false, 0},
    {50, "ACH_STARGAZER", "Stargazer", "", false, 0},
    {51, "ACH_STEALTHY", "Stealthy", "", false, 0},
    {52, "ACH_GHOST", "Ghost", "", false, 0},
    {53, "ACH_ARCHAEOLOGIST", "Archaeologist", "", false, 0},
    {54, "ACH_RIDER", "Rider", "", false, 0},
    {55, "ACH_SAILOR", "Sailor", "", false, 0},
    {56, "ACH_PILOT", "Pilot", "", false, 0},
    {57, "ACH_BUILDER", "Builder", "", false, 0},
    {58, "ACH_DEFENDER", "Defender", "", false, 0},
    {59, "ACH_HERO", "Hero of the Realm", "", false, 0},
    {60, "ACH_LEGEND", "Living Legend", "", false, 0},
    {61, "ACH_COMPLETIONIST", "Completionist", "", false, 0},
};

}  // namespace

AchievementRow* AchievementTable() { return g_achievements; }

}  // namespace steambridge
