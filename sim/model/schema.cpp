// The game's schema: achievement and stat API names, display texts, stat targets.
#include "schema.h"

#include <cstring>

namespace steam_sim {
namespace {

// Texts that tests depend on (achievement numbers, 1-based):
//   5  display name is 149 bytes; the 3-byte "匠" spans bytes 125-127, so a cut to 127 bytes splits
//   it. 6  description is 299 bytes; the 3-byte "—" spans bytes 253-255, so a cut to 255 bytes
//   splits it. 7  accented Latin in name and description ("Café Régulier"). 9  Japanese (CJK) name
//   and description. 10 display name holds U+1F6D2, outside the Basic Multilingual Plane.
// Also: 44 French accents, 47 a BMP symbol, 48 CJK, 50 and 61 more characters outside the BMP.
// Hidden: 7, 52, 60.
constexpr char kTutorialName[] =
    "Tutorial Graduate: you sat through every lesson of Master Oswin, from sword drills to market "
    "haggling, and still said, 「師匠、ありがとう」";
static_assert(sizeof(kTutorialName) - 1 == 149, "achievement 5 name length");

constexpr char kFirstBossDescription[] =
    "Defeat the Gravekeeper, guardian of the Hollow Crypt. He waits beneath the cathedral where "
    "the bells "
    "no longer ring. Watch his lantern: when it glows red he sweeps the floor with a scythe, and "
    "when it "
    "dims he calls the restless dead. Read every pattern — only a patient héros sees the dawn "
    "again.";
static_assert(sizeof(kFirstBossDescription) - 1 == 299, "achievement 6 description length");

constexpr AchievementDefinition kAchievements[kAchievementCount] = {
    {"ACH_LEVELVETERAN", "Level Veteran", "Complete 50 levels.", false},
    {"ACH_TREASURER", "Treasurer", "Collect 30,000 coins.", false},
    {"ACH_EXTERMINATOR", "Exterminator", "Defeat 200 enemies.", false},
    {"ACH_FIRSTSTEPS", "First Steps", "Take your very first steps into the world.", false},
    {"ACH_TUTORIAL", kTutorialName, "Finish the tutorial.", false},
    {"ACH_FIRSTBOSS", "First Boss", kFirstBossDescription, false},
    {"ACH_NIGHTOWL", "Café Régulier",
     "Play past midnight with a crème brûlée and a café au lait. Déjà vu!", true},
    {"ACH_GRASSHOPPER", "Grasshopper", "Jump 500 times.", false},
    {"ACH_EARLYBIRD", "早起きは三文の徳", "夜明け前にゲームを始めよう。", false},
    {"ACH_SHOPAHOLIC", "Shopaholic \U0001F6D2", "Buy every item the travelling merchant sells.",
     false},
    {"ACH_SEEKER", "Seeker", "Discover 30 secrets.", false},
    {"ACH_SURVIVOR", "Survivor", "Finish a level with a single heart left.", false},
    {"ACH_DAREDEVIL", "Daredevil", "Leap across the Chasm of Doubt without a rope.", false},
    {"ACH_HIGHROLLER", "High Roller", "Reach a score of 5,000,000.", false},
    {"ACH_SHARPSHOOTER", "Sharpshooter", "Hit ten targets in a row without missing.", false},
    {"ACH_UNTOUCHABLE", "Untouchable", "Clear a level without taking any damage.", false},
    {"ACH_GIANTSLAYER", "Giant Slayer", "Defeat 10 bosses.", false},
    {"ACH_JEWELLER", "Jeweller", "Gather 500 gems.", false},
    {"ACH_SWIMMER", "Swimmer", "Swim the length of the Sunken Lake.", false},
    {"ACH_CLIMBER", "Climber", "Reach the summit of Mount Skyreach.", false},
    {"ACH_EXPLORER", "Explorer", "Visit every region of the map.", false},
    {"ACH_HOARDER", "Hoarder", "Fill every slot of your inventory.", false},
    {"ACH_FLAWLESS", "Flawless", "Finish 10 perfect runs.", false},
    {"ACH_CHAMPION", "Champion", "Win the Grand Tournament.", false},
    {"ACH_SPEEDSTER", "Speedster", "Finish 10 speed runs.", false},
    {"ACH_PEACEKEEPER", "Peacekeeper", "Finish 10 runs without defeating anyone.", false},
    {"ACH_HARDMODE", "Hard Mode", "Beat the game on hard difficulty.", false},
    {"ACH_MARATHON", "Marathon", "Travel 5,000,000 metres.", false},
    {"ACH_ALCHEMIST", "Alchemist", "Brew 500 potions.", false},
    {"ACH_LOCKSMITH", "Locksmith", "Find 20 keys.", false},
    {"ACH_CARTOGRAPHER", "Cartographer", "Complete 15 maps.", false},
    {"ACH_BLACKSMITH", "Blacksmith", "Forge a legendary blade.", false},
    {"ACH_STORYTELLER", "Storyteller", "See all 3 endings.", false},
    {"ACH_NOVICE", "Novice", "Reach the rank of Novice.", false},
    {"ACH_ADEPT", "Adept", "Reach the rank of Adept.", false},
    {"ACH_ZOOKEEPER", "Zookeeper", "Befriend 30 pets.", false},
    {"ACH_MASTER", "Master", "Reach the rank of Master.", false},
    {"ACH_ANGLER", "Angler", "Catch 40 fish.", false},
    {"ACH_GARDENER", "Gardener", "Grow a flower in every garden.", false},
    {"ACH_LOOTER", "Looter", "Open 150 chests.", false},
    {"ACH_COMBOMASTER", "Combo Master", "Land 200 combos.", false},
    {"ACH_PERSISTENT", "Persistent", "Fall 100 times and get back up every time.", false},
    {"ACH_QUESTER", "Quester", "Complete 30 quests.", false},
    {"ACH_DIPLOMAT", "Diplomate émérite", "Négociez la paix entre les trois royaumes.", false},
    {"ACH_MERCHANT", "Merchant", "Sell goods worth 10,000 coins.", false},
    {"ACH_COLLECTOR", "Collector", "Own one of every trinket.", false},
    {"ACH_MUSICIAN", "Musician \u266A", "Play the ocarina song at the Old Well.", false},
    {"ACH_PAINTER", "灯台の画家", "Paint the lighthouse at sunset (灯台を描く).", false},
    {"ACH_SCHOLAR", "Scholar", "Read every book in the Great Library.", false},
    {"ACH_STARGAZER", "Stargazer \U0001F31F", "Name all twelve constellations.", false},
    {"ACH_STEALTHY", "Stealthy", "Sneak past the castle guards unseen.", false},
    {"ACH_GHOST", "Ghost", "Cross the Shadow Keep without being spotted once.", true},
    {"ACH_ARCHAEOLOGIST", "Archaeologist", "Unearth 20 relics.", false},
    {"ACH_RIDER", "Rider", "Tame a wild horse.", false},
    {"ACH_SAILOR", "Sailor", "Cross the Northern Sea.", false},
    {"ACH_PILOT", "Pilot", "Fly the airship through the storm.", false},
    {"ACH_BUILDER", "Builder", "Rebuild the village bridge.", false},
    {"ACH_DEFENDER", "Defender", "Hold the gate until dawn.", false},
    {"ACH_HERO", "Hero", "Save the kingdom.", false},
    {"ACH_LEGEND", "Legend", "Beat the game on legendary difficulty.", true},
    {"ACH_COMPLETIONIST", "Completionist \U0001F3C6", "Win 15 trophies.", false},
};

constexpr StatDefinition kStats[kStatCount] = {
    {"STAT_LEVELS", 1, 50},     {"STAT_COINS", 2, 30000},      {"STAT_ENEMIES", 3, 200},
    {"STAT_JUMPS", 8, 500},     {"STAT_SECRETS", 11, 30},      {"STAT_SCORE", 14, 5000000},
    {"STAT_BOSSES", 17, 10},    {"STAT_GEMS", 18, 500},        {"STAT_PERFECTRUNS", 23, 10},
    {"STAT_SPEEDRUNS", 25, 10}, {"STAT_PACIFISTRUNS", 26, 10}, {"STAT_DISTANCE", 28, 5000000},
    {"STAT_POTIONS", 29, 500},  {"STAT_KEYS", 30, 20},         {"STAT_MAPS", 31, 15},
    {"STAT_ENDINGS", 33, 3},    {"STAT_PETS", 36, 30},         {"STAT_FISH", 38, 40},
    {"STAT_CHESTS", 40, 150},   {"STAT_COMBOS", 41, 200},      {"STAT_DEATHS", 42, 100},
    {"STAT_QUESTS", 43, 30},    {"STAT_RELICS", 53, 20},       {"STAT_TROPHIES", 61, 15},
};

}  // namespace

const AchievementDefinition& achievementDefinition(int index) { return kAchievements[index]; }

const StatDefinition& statDefinition(int index) { return kStats[index]; }

int achievementIndex(const char* apiName) {
    if (apiName == nullptr) return -1;
    for (int i = 0; i < kAchievementCount; ++i) {
        if (std::strcmp(kAchievements[i].apiName, apiName) == 0) return i;
    }
    return -1;
}

int statIndex(const char* apiName) {
    if (apiName == nullptr) return -1;
    for (int i = 0; i < kStatCount; ++i) {
        if (std::strcmp(kStats[i].apiName, apiName) == 0) return i;
    }
    return -1;
}

}  // namespace steam_sim
