/* A game that is not ours: it uses Valve's flat C API directly, with no
 * steambridge, the way a typical C or C++ game does. It loads Valve's client
 * library from its own folder at run time and looks every function up by name,
 * so one build runs against every SDK release from 1.48 to 1.63.
 *
 * The session: start, the user's Steam ID, persona, app ID and language; the
 * user's stats (requested and awaited up to 1.60; from 1.61 the client has them
 * at start); read and unlock an achievement, set an integer stat and read it
 * back, store and await both notices; find or create a leaderboard and upload
 * a score, awaiting each call result; shut down. One line per step on stdout.
 * Like any game it finds the Steam client where a running Steam leaves it;
 * the tests run it under steambridge-offline run, which puts ours there.
 *
 * Usage: flat_game [--achievement NAME] [--stat NAME=VALUE] [--score N]
 *                  [--leaderboard NAME] [--frames N] [--frame-ms N]
 *                  [--steam-client PATH] [--early-read] [--no-store] [--no-shutdown]
 *                  [--community STEAMID] [--start-list V,V...] [--ask VERSION]
 *                  [--start-optional] [--init-safe]
 *   --achievement   the achievement read and unlocked (ACH_FIRSTSTEPS)
 *   --stat          the integer stat set and read back (STAT_JUMPS=42)
 *   --score         the score uploaded, keeping the user's best (1234)
 *   --leaderboard   the board found or created, descending, numeric
 *                   ("Offline Board")
 *   --frames        how many frames each awaited answer may take (300)
 *   --frame-ms      a pause after each frame, for a real Steam (0: none)
 *   --steam-client  test only, Windows: point Valve's library at this Steam
 *                   client first, as a running Steam would (see UseSteamClient)
 *   --early-read    read the stat before the stats arrive, as games do by mistake
 *   --no-store      set without StoreStats, leaving Steam to store at shutdown
 *   --no-shutdown   end without SteamAPI_Shutdown, leaving Steam to store at exit
 *   --community     after the score, what Steam knows beyond the user's stats:
 *                   the global achievement percentages, that user's stats, the
 *                   global stats of --stat, the number of players, the icon of
 *                   --achievement as RGBA, content attached to the score and the
 *                   entries of the user and that user
 *   --start-list    start through SteamInternal_SteamAPI_Init with these
 *                   interface versions, as a C++ game's SteamAPI_InitEx does
 *   --ask           after the start, ask for this interface version as a C++
 *                   game's accessor does (SteamInternal_FindOrCreateUserInterface)
 *   --start-optional  a failed start is no failure: the game plays on without
 *                   Steam and exits 0
 *   --apps-and-friends  at the end, the app's DLC, build, branch and folder, the
 *                   friends, rich presence, the computer, and a leaderboard
 *                   call result polled through ISteamUtils
 *   --kill-after-store  kill itself (SIGKILL; on Windows TerminateProcess)
 *                   right after UserStatsStored_t arrives, as a crash would
 *   --init-safe     start through SteamAPI_InitSafe, the legacy start, and say
 *                   whether the library's SteamClient() is an object
 *
 * Exit status:
 *   0   the session ran to its end, whatever Steam answered
 *   2   the command line is wrong
 *   10  the start failed: no client library, one that lacks a start or
 *       dispatch function, or the start function refused
 *   11  an awaited callback or call result did not come within --frames
 *   12  --steam-client could not be put in place
 */
#if !defined(_WIN32)
#define _XOPEN_SOURCE 700
#endif

#include <errno.h>
#include <inttypes.h>
#include <stdarg.h>
#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#if defined(_WIN32)
#include <wchar.h>
#include <windows.h>
#else
#include <dlfcn.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>
#endif

enum {
    EXIT_USAGE = 2,
    EXIT_START_FAILED = 10,
    EXIT_NO_ANSWER = 11,
    EXIT_CLIENT_SETUP = 12,
};

/* ---- Valve's records, declared here in the headers' packing -------------
 * Valve builds the Windows libraries with MSVC, callback records packed to 8,
 * and the Linux one with GCC, packed to 4 (VALVE_CALLBACK_PACK_LARGE / _SMALL
 * in steamclientpublic.h): the same record differs in size between them. */
#if defined(_WIN32)
#pragma pack(push, 8)
#else
#pragma pack(push, 4)
#endif

/* CallbackMsg_t: what ManualDispatch_GetNextCallback fills. */
typedef struct {
    int32_t user;
    int32_t id;
    unsigned char* data;
    int32_t size;
} CallbackMessage;

/* A CSteamID inside a record: a byte-packed class, so alignment 1. */
typedef struct {
    unsigned char bytes[8];
} LooseSteamId;

/* SteamAPICallCompleted_t, 703. */
typedef struct {
    uint64_t call;
    int32_t expected_id;
    uint32_t size;
} CallCompleted;

/* UserStatsReceived_t, 1101. */
typedef struct {
    uint64_t game_id;
    int32_t result;
    LooseSteamId user;
} StatsReceived;

/* UserStatsStored_t, 1102. */
typedef struct {
    uint64_t game_id;
    int32_t result;
} StatsStored;

/* UserAchievementStored_t, 1103. */
typedef struct {
    uint64_t game_id;
    bool group_achievement;
    char name[128];
    uint32_t progress;
    uint32_t max_progress;
} AchievementStored;

/* LeaderboardFindResult_t, 1104. */
typedef struct {
    uint64_t board;
    uint8_t found;
} LeaderboardFound;

/* LeaderboardScoresDownloaded_t, 1105. */
typedef struct {
    uint64_t board;
    uint64_t entries;
    int32_t count;
} ScoresDownloaded;

/* LeaderboardEntry_t, which GetDownloadedLeaderboardEntry fills. */
typedef struct {
    LooseSteamId user;
    int32_t global_rank;
    int32_t score;
    int32_t details;
    uint64_t ugc;
} LeaderboardEntry;

/* NumberOfCurrentPlayers_t, 1107. */
typedef struct {
    uint8_t success;
    int32_t players;
} CurrentPlayers;

/* UserAchievementIconFetched_t, 1109: its CGameID is byte-packed too. */
typedef struct {
    LooseSteamId game_id;
    char name[128];
    bool achieved;
    int32_t icon;
} IconFetched;

/* GlobalAchievementPercentagesReady_t (1110) and GlobalStatsReceived_t (1112). */
typedef struct {
    uint64_t game_id;
    int32_t result;
} GameResult;

/* LeaderboardUGCSet_t, 1111. */
typedef struct {
    int32_t result;
    uint64_t board;
} UgcSet;

/* LeaderboardScoreUploaded_t, 1106. */
typedef struct {
    uint8_t success;
    uint64_t board;
    int32_t score;
    uint8_t changed;
    int32_t global_rank;
    int32_t previous_global_rank;
} ScoreUploaded;

#pragma pack(pop)

enum {
    ID_CALL_COMPLETED = 703,
    ID_STATS_RECEIVED = 1101,
    ID_STATS_STORED = 1102,
    ID_ACHIEVEMENT_STORED = 1103,
    ID_LEADERBOARD_FOUND = 1104,
    ID_SCORE_UPLOADED = 1106,
    ID_SCORES_DOWNLOADED = 1105,
    ID_CURRENT_PLAYERS = 1107,
    ID_ICON_FETCHED = 1109,
    ID_PERCENTAGES_READY = 1110,
    ID_UGC_SET = 1111,
    ID_GLOBAL_STATS_RECEIVED = 1112,
};

_Static_assert(sizeof(LooseSteamId) == 8 && _Alignof(LooseSteamId) == 1, "CSteamID: 8 loose bytes");
_Static_assert(sizeof(CallCompleted) == 16, "703 is 16 bytes everywhere");
_Static_assert(sizeof(CurrentPlayers) == 8, "1107 is 8 bytes everywhere");
_Static_assert(sizeof(IconFetched) == 144 && offsetof(IconFetched, icon) == 140, "1109");
#if defined(_WIN32)
#if defined(_WIN64)
_Static_assert(sizeof(CallbackMessage) == 24, "CallbackMsg_t (Win64)");
#else
_Static_assert(sizeof(CallbackMessage) == 16, "CallbackMsg_t (Win32)");
#endif
_Static_assert(sizeof(StatsReceived) == 24, "1101 (Windows)");
_Static_assert(offsetof(StatsReceived, user) == 12, "1101 user (Windows)");
_Static_assert(sizeof(StatsStored) == 16, "1102 (Windows)");
_Static_assert(sizeof(AchievementStored) == 152, "1103 (Windows)");
_Static_assert(offsetof(AchievementStored, progress) == 140, "1103 progress (Windows)");
_Static_assert(sizeof(LeaderboardFound) == 16, "1104 (Windows)");
_Static_assert(sizeof(ScoreUploaded) == 32, "1106 (Windows)");
_Static_assert(offsetof(ScoreUploaded, board) == 8, "1106 board (Windows)");
_Static_assert(offsetof(ScoreUploaded, changed) == 20, "1106 changed (Windows)");
_Static_assert(offsetof(ScoreUploaded, previous_global_rank) == 28, "1106 previous (Windows)");
_Static_assert(sizeof(ScoresDownloaded) == 24, "1105 (Windows)");
_Static_assert(sizeof(LeaderboardEntry) == 32, "LeaderboardEntry_t (Windows)");
_Static_assert(sizeof(GameResult) == 16, "1110, 1112 (Windows)");
_Static_assert(sizeof(UgcSet) == 16 && offsetof(UgcSet, board) == 8, "1111 (Windows)");
#else
_Static_assert(sizeof(void*) != 8 || sizeof(CallbackMessage) == 20, "CallbackMsg_t (Linux 64)");
_Static_assert(sizeof(StatsReceived) == 20, "1101 (Linux)");
_Static_assert(offsetof(StatsReceived, user) == 12, "1101 user (Linux)");
_Static_assert(sizeof(StatsStored) == 12, "1102 (Linux)");
_Static_assert(sizeof(AchievementStored) == 148, "1103 (Linux)");
_Static_assert(offsetof(AchievementStored, progress) == 140, "1103 progress (Linux)");
_Static_assert(sizeof(LeaderboardFound) == 12, "1104 (Linux)");
_Static_assert(sizeof(ScoreUploaded) == 28, "1106 (Linux)");
_Static_assert(offsetof(ScoreUploaded, board) == 4, "1106 board (Linux)");
_Static_assert(offsetof(ScoreUploaded, changed) == 16, "1106 changed (Linux)");
_Static_assert(offsetof(ScoreUploaded, previous_global_rank) == 24, "1106 previous (Linux)");
_Static_assert(sizeof(ScoresDownloaded) == 20, "1105 (Linux)");
_Static_assert(sizeof(LeaderboardEntry) == 28, "LeaderboardEntry_t (Linux)");
_Static_assert(sizeof(GameResult) == 12, "1110, 1112 (Linux)");
_Static_assert(sizeof(UgcSet) == 12 && offsetof(UgcSet, board) == 4, "1111 (Linux)");
#endif

/* ---- Valve's flat functions, all cdecl ----------------------------------
 * Enumerations are passed and returned as int; ESteamAPIInitResult 0 is OK. */
typedef int (*InitFlatFn)(char* error_1024);
typedef bool (*InitFn)(void);
typedef int (*InternalInitFn)(const char* versions, char* error_1024);
typedef void (*VoidFn)(void);
typedef int32_t (*PipeFn)(void);
typedef void (*RunFrameFn)(int32_t pipe);
typedef bool (*NextCallbackFn)(int32_t pipe, CallbackMessage* message);
typedef void (*FreeCallbackFn)(int32_t pipe);
typedef bool (*CallResultFn)(int32_t pipe, uint64_t call, void* record, int size, int expected_id,
                             bool* failed);
typedef void* (*AccessorFn)(void);
typedef uint64_t (*SteamIdFn)(void* user);
typedef bool (*SelfBoolFn)(void* self);
typedef uint32_t (*AppIdFn)(void* utils);
typedef const char* (*SelfTextFn)(void* self);
typedef bool (*GetAchievementFn)(void* stats, const char* name, bool* achieved);
typedef bool (*SetAchievementFn)(void* stats, const char* name);
typedef bool (*GetStatFn)(void* stats, const char* name, int32_t* value);
typedef bool (*SetStatFn)(void* stats, const char* name, int32_t value);
typedef uint64_t (*FindBoardFn)(void* stats, const char* name, int sort_method, int display_type);
typedef uint64_t (*UploadScoreFn)(void* stats, uint64_t board, int method, int32_t score,
                                  const int32_t* details, int detail_count);
typedef uint64_t (*SelfCallFn)(void* self);
typedef uint64_t (*IdCallFn)(void* self, uint64_t id);
typedef uint64_t (*IntCallFn)(void* self, int value);
typedef int (*MostAchievedFn)(void* stats, char* name, uint32_t name_size, float* percent,
                              bool* achieved);
typedef int (*NextMostAchievedFn)(void* stats, int previous, char* name, uint32_t name_size,
                                  float* percent, bool* achieved);
typedef bool (*PercentFn)(void* stats, const char* name, float* percent);
typedef bool (*UserStatFn)(void* stats, uint64_t user, const char* name, int32_t* value);
typedef bool (*UserAchievementFn)(void* stats, uint64_t user, const char* name, bool* achieved);
typedef bool (*GlobalStatFn)(void* stats, const char* name, int64_t* value);
typedef int32_t (*GlobalHistoryFn)(void* stats, const char* name, int64_t* days, uint32_t bytes);
typedef int (*IconFn)(void* stats, const char* name);
typedef bool (*ImageSizeFn)(void* utils, int image, uint32_t* width, uint32_t* height);
typedef bool (*ImageRgbaFn)(void* utils, int image, uint8_t* pixels, int size);
typedef uint64_t (*AttachUgcFn)(void* stats, uint64_t board, uint64_t ugc);
typedef uint64_t (*EntriesForUsersFn)(void* stats, uint64_t board, LooseSteamId* users, int count);
typedef bool (*DownloadedEntryFn)(void* stats, uint64_t entries, int index, LeaderboardEntry* entry,
                                  int32_t* details, int details_max);

enum {
    SORT_DESCENDING = 2,
    DISPLAY_NUMERIC = 1,
    UPLOAD_KEEP_BEST = 1,
    RESULT_OK = 1,
};

typedef void* (*SteamClientFn)(void);

typedef struct {
    InitFlatFn init_flat;
    InitFn init;
    InitFn init_safe;
    SteamClientFn steam_client;
    InternalInitFn internal_init;
    VoidFn shutdown;
    VoidFn dispatch_init;
    PipeFn pipe;
    RunFrameFn run_frame;
    NextCallbackFn next_callback;
    FreeCallbackFn free_callback;
    CallResultFn call_result;
    void* user;
    void* utils;
    void* apps;
    void* friends;
    void* stats;
    SteamIdFn steam_id;
    SelfBoolFn logged_on;
    SelfTextFn persona;
    AppIdFn app_id;
    SelfTextFn language;
    SelfBoolFn request_stats;
    GetAchievementFn get_achievement;
    SetAchievementFn set_achievement;
    GetStatFn get_stat;
    SetStatFn set_stat;
    SelfBoolFn store_stats;
    FindBoardFn find_board;
    UploadScoreFn upload_score;
    SelfCallFn request_percentages;
    MostAchievedFn most_achieved;
    NextMostAchievedFn next_most_achieved;
    PercentFn achieved_percent;
    IdCallFn request_user_stats;
    UserStatFn user_stat;
    UserAchievementFn user_achievement;
    IntCallFn request_global_stats;
    GlobalStatFn global_stat;
    GlobalHistoryFn global_history;
    SelfCallFn current_players;
    IconFn icon;
    ImageSizeFn image_size;
    ImageRgbaFn image_rgba;
    AttachUgcFn attach_ugc;
    EntriesForUsersFn entries_for_users;
    DownloadedEntryFn downloaded_entry;
} Flat;

typedef struct {
    const char* achievement;
    const char* stat;
    int32_t stat_value;
    int32_t score;
    const char* leaderboard;
    long frames;
    long frame_ms;
    const char* steam_client;
    bool early_read;
    bool no_store;
    bool no_shutdown;
    uint64_t community; /* another user's Steam ID; 0: no --community */
    const char* start_list;
    const char* ask;
    bool start_optional;
} Options;

/* --kill-after-store: the process ends unannounced once it was told its store is kept. */
static bool g_kill_after_store;
static bool g_init_safe;

static void KillSelf(void) {
    fflush(stdout);
#if defined(_WIN32)
    TerminateProcess(GetCurrentProcess(), 137);
#else
    kill(getpid(), SIGKILL);
#endif
}

/* What has arrived so far; each flag is set by Dispatch. */
typedef struct {
    int32_t pipe;
    long frames_run;
    bool stats_received;
    bool stored;
    bool achievement_stored;
    const char* awaited_achievement;
    uint64_t find_call;
    bool find_done;
    bool find_failed;
    LeaderboardFound find;
    uint64_t upload_call;
    bool upload_done;
    bool upload_failed;
    ScoreUploaded upload;
    /* Any other awaited call result, one at a time, and the icon callback. */
    uint64_t other_call;
    bool other_done;
    bool other_failed;
    union {
        uint64_t alignment;
        unsigned char bytes[256];
    } other;
    bool icon_fetched;
    IconFetched fetched;
} Session;

static void Say(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    vprintf(format, arguments);
    va_end(arguments);
    putchar('\n');
    fflush(stdout);
}

/* ---- the client library, beside the program ------------------------------ */

static void* g_library;

#if defined(_WIN32)
#if defined(_WIN64)
static const wchar_t kLibraryName[] = L"steam_api64.dll";
#else
static const wchar_t kLibraryName[] = L"steam_api.dll";
#endif

static bool OpenClientLibrary(void) {
    wchar_t path[4096];
    const DWORD length = GetModuleFileNameW(NULL, path, sizeof path / sizeof path[0]);
    wchar_t* separator =
        length > 0 && length < sizeof path / sizeof path[0] ? wcsrchr(path, L'\\') : NULL;
    const size_t folder = separator ? (size_t)(separator - path) + 1 : 0;
    if (!separator || folder + wcslen(kLibraryName) + 1 > sizeof path / sizeof path[0]) {
        Say("start failed: the program's own folder is unknown");
        return false;
    }
    wcscpy(path + folder, kLibraryName);
    Say("flat_game: Valve's client library %ls", path);
    g_library = LoadLibraryW(path);
    if (!g_library) Say("flat_game: cannot load it: error %lu", (unsigned long)GetLastError());
    return g_library != NULL;
}

/* Copies the export's address into *slot, a function pointer of its own type. */
static bool Find(const char* name, void* slot, size_t slot_size) {
    FARPROC address = GetProcAddress((HMODULE)g_library, name);
    if (!address || slot_size != sizeof address) return false;
    memcpy(slot, &address, sizeof address);
    return true;
}

static void WaitFrame(long milliseconds) {
    if (milliseconds > 0) Sleep((DWORD)milliseconds);
}
#else
static bool OpenClientLibrary(void) {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    path[length > 0 ? length : 0] = '\0';
    char* separator = strrchr(path, '/');
    const size_t folder = separator ? (size_t)(separator - path) + 1 : 0;
    static const char kLibraryName[] = "libsteam_api.so";
    if (!separator || folder + sizeof kLibraryName > sizeof path) {
        Say("start failed: the program's own folder is unknown");
        return false;
    }
    memcpy(path + folder, kLibraryName, sizeof kLibraryName);
    Say("flat_game: Valve's client library %s", path);
    g_library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!g_library) {
        const char* error = dlerror();
        Say("flat_game: cannot load it: %s", error ? error : "unknown error");
    }
    return g_library != NULL;
}

static bool Find(const char* name, void* slot, size_t slot_size) {
    void* address = dlsym(g_library, name);
    if (!address || slot_size != sizeof address) return false;
    memcpy(slot, &address, sizeof address);
    return true;
}

static void WaitFrame(long milliseconds) {
    if (milliseconds <= 0) return;
    struct timespec pause;
    pause.tv_sec = milliseconds / 1000;
    pause.tv_nsec = (milliseconds % 1000) * 1000000L;
    nanosleep(&pause, NULL);
}
#endif

#define FIND(name, slot) Find(name, &(slot), sizeof(slot))

/* The first of the versioned accessors the library exports, called. */
static void* Interface(const char* what, const char* const* accessors) {
    for (; *accessors; ++accessors) {
        AccessorFn accessor = NULL;
        if (!FIND(*accessors, accessor)) continue;
        void* object = accessor();
        if (!object) Say("interface: %s() gave no %s", *accessors, what);
        return object;
    }
    Say("interface: the library exports no accessor of %s", what);
    return NULL;
}

/* ---- test only, Windows: what a running Steam would provide -------------
 * A game started by Steam finds the Steam client through what Steam leaves
 * behind: on Windows the key HKCU\Software\Valve\Steam\ActiveProcess, naming
 * the client library for each bitness and Steam's process ID. The tests run
 * the game under steambridge-offline run, which writes that key (on Linux it
 * makes ~/.steam instead); only the 32-bit runs under qemu start the game
 * alone, with --steam-client, where a launcher process would cost seconds
 * more per run (tests/offline/CMakeLists.txt). */
#if defined(_WIN32)
static const wchar_t kActiveProcessKey[] = L"Software\\Valve\\Steam\\ActiveProcess";
#if defined(_WIN64)
static const wchar_t kSteamClientValue[] = L"SteamClientDll64";
#else
static const wchar_t kSteamClientValue[] = L"SteamClientDll";
#endif

static void ForgetSteamClient(void) { RegDeleteKeyW(HKEY_CURRENT_USER, kActiveProcessKey); }

static bool UseSteamClient(const char* client) {
    wchar_t given[4096];
    wchar_t path[4096];
    if (MultiByteToWideChar(CP_ACP, 0, client, -1, given, sizeof given / sizeof given[0]) == 0)
        return false;
    for (wchar_t* unit = given; *unit; ++unit)
        if (*unit == L'/') *unit = L'\\';
    const DWORD length = GetFullPathNameW(given, sizeof path / sizeof path[0], path, NULL);
    if (length == 0 || length >= sizeof path / sizeof path[0]) return false;
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        Say("steam client: no file %ls", path);
        return false;
    }
    HKEY key = NULL;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kActiveProcessKey, 0, NULL, REG_OPTION_VOLATILE,
                        KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    atexit(ForgetSteamClient);
    const DWORD pid = GetCurrentProcessId();
    const bool written =
        RegSetValueExW(key, kSteamClientValue, 0, REG_SZ, (const BYTE*)path,
                       (DWORD)((wcslen(path) + 1) * sizeof path[0])) == ERROR_SUCCESS &&
        RegSetValueExW(key, L"pid", 0, REG_DWORD, (const BYTE*)&pid, sizeof pid) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (written) Say("steam client: %ls", path);
    return written;
}
#endif

/* ---- callbacks: one frame of manual dispatch ------------------------------ */

/* Copies a record of the library's size into ours, zero-filling what is short. */
static void Take(void* ours, size_t our_size, const void* data, int32_t size) {
    memset(ours, 0, our_size);
    if (data && size > 0) memcpy(ours, data, (size_t)size < our_size ? (size_t)size : our_size);
}

static void CheckSize(const char* what, int32_t size, size_t ours) {
    if (size != (int32_t)ours)
        Say("warning: %s came with %" PRId32 " bytes, this game knows %u", what, size,
            (unsigned)ours);
}

static void TakeCallResult(const Flat* flat, Session* session, const CallCompleted* completed) {
    const bool is_find = completed->call != 0 && completed->call == session->find_call;
    const bool is_upload = completed->call != 0 && completed->call == session->upload_call;
    const bool is_other = completed->call != 0 && completed->call == session->other_call;
    if (!is_find && !is_upload && !is_other) return;
    union {
        uint64_t alignment;
        unsigned char bytes[1024];
    } record;
    memset(&record, 0, sizeof record);
    if (completed->size > sizeof record.bytes) {
        Say("warning: call result %" PRId32 " of %u bytes is too large", completed->expected_id,
            (unsigned)completed->size);
        return;
    }
    bool failed = false;
    const bool got = flat->call_result(session->pipe, completed->call, record.bytes,
                                       (int)completed->size, completed->expected_id, &failed);
    if (is_other) {
        Take(&session->other, sizeof session->other, record.bytes,
             got ? (int32_t)completed->size : 0);
        session->other_failed = !got || failed;
        session->other_done = true;
    } else if (is_find) {
        CheckSize("LeaderboardFindResult_t", (int32_t)completed->size, sizeof(LeaderboardFound));
        Take(&session->find, sizeof session->find, record.bytes,
             got ? (int32_t)completed->size : 0);
        session->find_failed = !got || failed;
        session->find_done = true;
    } else {
        CheckSize("LeaderboardScoreUploaded_t", (int32_t)completed->size, sizeof(ScoreUploaded));
        Take(&session->upload, sizeof session->upload, record.bytes,
             got ? (int32_t)completed->size : 0);
        session->upload_failed = !got || failed;
        session->upload_done = true;
    }
}

static void Dispatch(const Flat* flat, Session* session, const CallbackMessage* message) {
    switch (message->id) {
        case ID_CALL_COMPLETED: {
            CallCompleted completed;
            CheckSize("SteamAPICallCompleted_t", message->size, sizeof completed);
            Take(&completed, sizeof completed, message->data, message->size);
            TakeCallResult(flat, session, &completed);
            break;
        }
        case ID_STATS_RECEIVED: {
            StatsReceived record;
            CheckSize("UserStatsReceived_t", message->size, sizeof record);
            Take(&record, sizeof record, message->data, message->size);
            Say("stats received: result %" PRId32 " (game %" PRIu64 ")", record.result,
                record.game_id);
            session->stats_received = true;
            break;
        }
        case ID_STATS_STORED: {
            StatsStored record;
            CheckSize("UserStatsStored_t", message->size, sizeof record);
            Take(&record, sizeof record, message->data, message->size);
            Say("stored: result %" PRId32 " (game %" PRIu64 ")", record.result, record.game_id);
            session->stored = true;
            if (g_kill_after_store) KillSelf();
            break;
        }
        case ID_ACHIEVEMENT_STORED: {
            AchievementStored record;
            CheckSize("UserAchievementStored_t", message->size, sizeof record);
            Take(&record, sizeof record, message->data, message->size);
            record.name[sizeof record.name - 1] = '\0';
            Say("achievement stored: %s (progress %" PRIu32 "/%" PRIu32 ")", record.name,
                record.progress, record.max_progress);
            if (session->awaited_achievement &&
                strcmp(record.name, session->awaited_achievement) == 0)
                session->achievement_stored = true;
            break;
        }
        case ID_ICON_FETCHED: {
            CheckSize("UserAchievementIconFetched_t", message->size, sizeof session->fetched);
            Take(&session->fetched, sizeof session->fetched, message->data, message->size);
            session->fetched.name[sizeof session->fetched.name - 1] = '\0';
            Say("icon fetched: %s achieved %d handle %" PRId32, session->fetched.name,
                session->fetched.achieved ? 1 : 0, session->fetched.icon);
            session->icon_fetched = true;
            break;
        }
        default:
            break;
    }
}

static void RunFrame(const Flat* flat, Session* session, long frame_ms) {
    flat->run_frame(session->pipe);
    CallbackMessage message;
    memset(&message, 0, sizeof message);
    while (flat->next_callback(session->pipe, &message)) {
        Dispatch(flat, session, &message);
        flat->free_callback(session->pipe);
        memset(&message, 0, sizeof message);
    }
    ++session->frames_run;
    WaitFrame(frame_ms);
}

/* Runs frames until *flag is set; false when the budget ran out first. */
static bool Await(const Flat* flat, Session* session, const Options* options, const bool* flag,
                  const char* what) {
    for (long frame = 0; !*flag && frame < options->frames; ++frame)
        RunFrame(flat, session, options->frame_ms);
    if (!*flag) Say("no %s within %ld frames", what, options->frames);
    return *flag;
}

/* ---- the session ----------------------------------------------------------- */

static bool BindDispatch(Flat* flat) {
    const bool found = FIND("SteamAPI_ManualDispatch_Init", flat->dispatch_init) &&
                       FIND("SteamAPI_GetHSteamPipe", flat->pipe) &&
                       FIND("SteamAPI_ManualDispatch_RunFrame", flat->run_frame) &&
                       FIND("SteamAPI_ManualDispatch_GetNextCallback", flat->next_callback) &&
                       FIND("SteamAPI_ManualDispatch_FreeLastCallback", flat->free_callback) &&
                       FIND("SteamAPI_ManualDispatch_GetAPICallResult", flat->call_result);
    if (!found) Say("start failed: the library lacks the manual dispatch functions");
    return found;
}

/* SteamInternal_SteamAPI_Init with `list` (commas between versions). */
static bool StartWithList(Flat* flat, const char* list) {
    char versions[4096];
    const size_t length = strlen(list);
    if (length + 2 > sizeof versions || !FIND("SteamInternal_SteamAPI_Init", flat->internal_init)) {
        Say("start failed: no SteamInternal_SteamAPI_Init for the list, or the list is too long");
        return false;
    }
    /* The header's form: each version ended by a NUL, and one more NUL at the end. */
    memcpy(versions, list, length + 1);
    for (size_t i = 0; i < length; ++i)
        if (versions[i] == ',') versions[i] = '\0';
    versions[length + 1] = '\0';
    char error[1024];
    memset(error, 0, sizeof error);
    const int result = flat->internal_init(versions, error);
    error[sizeof error - 1] = '\0';
    if (result == 0) {
        Say("start: SteamInternal_SteamAPI_Init with the list ok");
        return true;
    }
    Say("start failed: SteamInternal_SteamAPI_Init result %d: %s", result, error);
    return false;
}

/* The newest start function the library has, or the one a list needs. */
static bool Start(Flat* flat, const char* start_list) {
    if (start_list) return StartWithList(flat, start_list);
    if (g_init_safe) {
        /* The legacy start older games use; the library fills its SteamClient() at it. */
        if (!FIND("SteamAPI_InitSafe", flat->init_safe) || !flat->init_safe()) {
            Say("start failed: SteamAPI_InitSafe returned false");
            return false;
        }
        Say("start: SteamAPI_InitSafe ok");
        Say("SteamClient(): %s",
            FIND("SteamClient", flat->steam_client) && flat->steam_client() ? "an object" : "NULL");
        return true;
    }
    char error[1024];
    memset(error, 0, sizeof error);
    if (FIND("SteamAPI_InitFlat", flat->init_flat)) {
        const int result = flat->init_flat(error);
        error[sizeof error - 1] = '\0';
        if (result == 0) {
            Say("start: SteamAPI_InitFlat ok");
            return true;
        }
        Say("start failed: SteamAPI_InitFlat result %d: %s", result, error);
        return false;
    }
    if (FIND("SteamAPI_Init", flat->init)) {
        if (flat->init()) {
            Say("start: SteamAPI_Init ok");
            return true;
        }
        Say("start failed: SteamAPI_Init returned false");
        return false;
    }
    if (FIND("SteamInternal_SteamAPI_Init", flat->internal_init)) {
        const int result = flat->internal_init("", error);
        error[sizeof error - 1] = '\0';
        if (result == 0) {
            Say("start: SteamInternal_SteamAPI_Init ok");
            return true;
        }
        Say("start failed: SteamInternal_SteamAPI_Init result %d: %s", result, error);
        return false;
    }
    Say("start failed: the library exports no start function");
    return false;
}

static void BindInterfaces(Flat* flat) {
    static const char* const user[] = {"SteamAPI_SteamUser_v023", "SteamAPI_SteamUser_v022",
                                       "SteamAPI_SteamUser_v021", "SteamAPI_SteamUser_v020", NULL};
    static const char* const utils[] = {"SteamAPI_SteamUtils_v010", "SteamAPI_SteamUtils_v009",
                                        NULL};
    static const char* const apps[] = {"SteamAPI_SteamApps_v008", NULL};
    static const char* const friends[] = {"SteamAPI_SteamFriends_v018",
                                          "SteamAPI_SteamFriends_v017", NULL};
    static const char* const stats[] = {"SteamAPI_SteamUserStats_v013",
                                        "SteamAPI_SteamUserStats_v012",
                                        "SteamAPI_SteamUserStats_v011", NULL};
    flat->user = Interface("ISteamUser", user);
    flat->utils = Interface("ISteamUtils", utils);
    flat->apps = Interface("ISteamApps", apps);
    flat->friends = Interface("ISteamFriends", friends);
    flat->stats = Interface("ISteamUserStats", stats);
    FIND("SteamAPI_ISteamUser_GetSteamID", flat->steam_id);
    FIND("SteamAPI_ISteamUser_BLoggedOn", flat->logged_on);
    FIND("SteamAPI_ISteamFriends_GetPersonaName", flat->persona);
    FIND("SteamAPI_ISteamUtils_GetAppID", flat->app_id);
    FIND("SteamAPI_ISteamApps_GetCurrentGameLanguage", flat->language);
    FIND("SteamAPI_ISteamUserStats_RequestCurrentStats", flat->request_stats);
    FIND("SteamAPI_ISteamUserStats_GetAchievement", flat->get_achievement);
    FIND("SteamAPI_ISteamUserStats_SetAchievement", flat->set_achievement);
    FIND("SteamAPI_ISteamUserStats_GetStatInt32", flat->get_stat);
    FIND("SteamAPI_ISteamUserStats_SetStatInt32", flat->set_stat);
    FIND("SteamAPI_ISteamUserStats_StoreStats", flat->store_stats);
    FIND("SteamAPI_ISteamUserStats_FindOrCreateLeaderboard", flat->find_board);
    FIND("SteamAPI_ISteamUserStats_UploadLeaderboardScore", flat->upload_score);
    FIND("SteamAPI_ISteamUserStats_RequestGlobalAchievementPercentages", flat->request_percentages);
    FIND("SteamAPI_ISteamUserStats_GetMostAchievedAchievementInfo", flat->most_achieved);
    FIND("SteamAPI_ISteamUserStats_GetNextMostAchievedAchievementInfo", flat->next_most_achieved);
    FIND("SteamAPI_ISteamUserStats_GetAchievementAchievedPercent", flat->achieved_percent);
    FIND("SteamAPI_ISteamUserStats_RequestUserStats", flat->request_user_stats);
    FIND("SteamAPI_ISteamUserStats_GetUserStatInt32", flat->user_stat);
    FIND("SteamAPI_ISteamUserStats_GetUserAchievement", flat->user_achievement);
    FIND("SteamAPI_ISteamUserStats_RequestGlobalStats", flat->request_global_stats);
    FIND("SteamAPI_ISteamUserStats_GetGlobalStatInt64", flat->global_stat);
    FIND("SteamAPI_ISteamUserStats_GetGlobalStatHistoryInt64", flat->global_history);
    FIND("SteamAPI_ISteamUserStats_GetNumberOfCurrentPlayers", flat->current_players);
    FIND("SteamAPI_ISteamUserStats_GetAchievementIcon", flat->icon);
    FIND("SteamAPI_ISteamUtils_GetImageSize", flat->image_size);
    FIND("SteamAPI_ISteamUtils_GetImageRGBA", flat->image_rgba);
    FIND("SteamAPI_ISteamUserStats_AttachLeaderboardUGC", flat->attach_ugc);
    FIND("SteamAPI_ISteamUserStats_DownloadLeaderboardEntriesForUsers", flat->entries_for_users);
    FIND("SteamAPI_ISteamUserStats_GetDownloadedLeaderboardEntry", flat->downloaded_entry);
}

/* An interface by its version, as a C++ game's accessor asks for it. */
static void AskInterface(const char* version) {
    typedef int32_t (*UserFn)(void);
    typedef void* (*FindOrCreateFn)(int32_t user, const char* version);
    UserFn user = NULL;
    FindOrCreateFn find = NULL;
    if (!FIND("SteamAPI_GetHSteamUser", user) ||
        !FIND("SteamInternal_FindOrCreateUserInterface", find)) {
        Say("interface %s: not asked, the library lacks the accessor's functions", version);
        return;
    }
    Say("interface %s: %s", version, find(user(), version) ? "served" : "NULL");
}

/* Whether the method can be called on the object; says why not. */
static bool Can(const void* object, bool has_function, const char* name) {
    if (object && has_function) return true;
    Say("skipped %s: %s", name, object ? "the library does not export it" : "no interface");
    return false;
}

static void ShowUser(const Flat* flat) {
    if (Can(flat->user, flat->steam_id != NULL, "GetSteamID"))
        Say("user: %" PRIu64, flat->steam_id(flat->user));
    if (Can(flat->user, flat->logged_on != NULL, "BLoggedOn"))
        Say("logged on: %d", flat->logged_on(flat->user) ? 1 : 0);
    if (Can(flat->friends, flat->persona != NULL, "GetPersonaName")) {
        const char* name = flat->persona(flat->friends);
        if (name)
            Say("persona: \"%s\"", name);
        else
            Say("persona: (none)");
    }
    if (Can(flat->utils, flat->app_id != NULL, "GetAppID"))
        Say("app id: %" PRIu32, flat->app_id(flat->utils));
    if (Can(flat->apps, flat->language != NULL, "GetCurrentGameLanguage")) {
        const char* language = flat->language(flat->apps);
        Say("language: %s", language ? language : "(none)");
    }
}

/* Returns false when an awaited answer did not come. */
static bool PlayStats(const Flat* flat, Session* session, const Options* options) {
    if (!flat->stats) {
        Say("skipped the stats: no ISteamUserStats");
        return true;
    }
    if (options->early_read && Can(flat->stats, flat->get_stat != NULL, "GetStatInt32")) {
        int32_t early = 0;
        const bool read = flat->get_stat(flat->stats, options->stat, &early);
        Say("early read of %s: %d", options->stat, read ? 1 : 0);
    }
    if (!flat->request_stats) {
        Say("stats received: not needed (from 1.61 the client has them at start)");
    } else if (flat->request_stats(flat->stats)) {
        Say("stats requested");
        if (!Await(flat, session, options, &session->stats_received, "UserStatsReceived_t"))
            return false;
    } else {
        Say("stats request refused");
    }

    bool was_unlocked = false;
    bool known = false;
    if (Can(flat->stats, flat->get_achievement != NULL, "GetAchievement")) {
        known = flat->get_achievement(flat->stats, options->achievement, &was_unlocked);
        Say("achievement %s: %s", options->achievement,
            !known         ? "unknown"
            : was_unlocked ? "unlocked"
                           : "locked");
    }
    bool unlocked_now = false;
    if (Can(flat->stats, flat->set_achievement != NULL, "SetAchievement")) {
        unlocked_now = flat->set_achievement(flat->stats, options->achievement);
        if (unlocked_now)
            Say("unlocked %s", options->achievement);
        else
            Say("unlock of %s refused", options->achievement);
    }
    if (Can(flat->stats, flat->set_stat != NULL, "SetStatInt32")) {
        const bool set = flat->set_stat(flat->stats, options->stat, options->stat_value);
        Say("stat %s set to %" PRId32 ": %d", options->stat, options->stat_value, set ? 1 : 0);
    }
    if (Can(flat->stats, flat->get_stat != NULL, "GetStatInt32")) {
        int32_t value = 0;
        if (flat->get_stat(flat->stats, options->stat, &value))
            Say("stat %s reads %" PRId32, options->stat, value);
        else
            Say("stat %s cannot be read", options->stat);
    }
    if (options->no_store) {
        Say("store skipped");
        return true;
    }
    if (!Can(flat->stats, flat->store_stats != NULL, "StoreStats")) return true;
    if (!flat->store_stats(flat->stats)) {
        Say("store refused");
        return true;
    }
    Say("store requested");
    /* Steam tells of an achievement only when this store unlocked it. */
    const bool expect_notice = unlocked_now && !(known && was_unlocked);
    session->awaited_achievement = expect_notice ? options->achievement : NULL;
    if (!Await(flat, session, options, &session->stored, "UserStatsStored_t")) return false;
    if (!expect_notice) {
        Say("achievement stored: none expected");
        return true;
    }
    return Await(flat, session, options, &session->achievement_stored, "UserAchievementStored_t");
}

static bool PlayLeaderboard(const Flat* flat, Session* session, const Options* options) {
    if (!Can(flat->stats, flat->find_board != NULL, "FindOrCreateLeaderboard")) return true;
    session->find_call =
        flat->find_board(flat->stats, options->leaderboard, SORT_DESCENDING, DISPLAY_NUMERIC);
    if (session->find_call == 0) {
        Say("leaderboard: no call made");
        return true;
    }
    if (!Await(flat, session, options, &session->find_done, "LeaderboardFindResult_t"))
        return false;
    if (session->find_failed || !session->find.found || session->find.board == 0) {
        Say("leaderboard %s not found (I/O failure %d)", options->leaderboard,
            session->find_failed ? 1 : 0);
        return true;
    }
    Say("leaderboard found: %s (handle %" PRIu64 ")", options->leaderboard, session->find.board);

    if (!Can(flat->stats, flat->upload_score != NULL, "UploadLeaderboardScore")) return true;
    session->upload_call = flat->upload_score(flat->stats, session->find.board, UPLOAD_KEEP_BEST,
                                              options->score, NULL, 0);
    if (session->upload_call == 0) {
        Say("score upload: no call made");
        return true;
    }
    if (!Await(flat, session, options, &session->upload_done, "LeaderboardScoreUploaded_t"))
        return false;
    if (session->upload_failed) {
        Say("score upload failed (I/O failure)");
        return true;
    }
    Say("score uploaded: %" PRId32 " changed %d (success %d, global rank %" PRId32 ", was %" PRId32
        ")",
        session->upload.score, session->upload.changed ? 1 : 0, session->upload.success ? 1 : 0,
        session->upload.global_rank, session->upload.previous_global_rank);
    return true;
}

/* ---- beyond the user's stats (--community) --------------------------------- */

/* Makes the call, awaits its result into session->other; false when no call
 * was made, it failed or the answer did not come (said why). */
static bool AwaitCall(const Flat* flat, Session* session, const Options* options, uint64_t call,
                      const char* what) {
    if (call == 0) {
        Say("%s: no call made", what);
        return false;
    }
    session->other_call = call;
    session->other_done = false;
    if (!Await(flat, session, options, &session->other_done, what)) return false;
    if (session->other_failed) Say("%s: I/O failure", what);
    return !session->other_failed;
}

static void ShowPercentages(const Flat* flat, Session* session, const Options* options) {
    if (!Can(flat->stats,
             flat->request_percentages && flat->most_achieved && flat->next_most_achieved &&
                 flat->achieved_percent,
             "the global achievement percentages") ||
        !AwaitCall(flat, session, options, flat->request_percentages(flat->stats),
                   "GlobalAchievementPercentagesReady_t"))
        return;
    GameResult ready;
    Take(&ready, sizeof ready, session->other.bytes, (int32_t)sizeof ready);
    Say("percentages: result %" PRId32, ready.result);
    char name[128];
    float percent = 0;
    bool achieved = false;
    int at = flat->most_achieved(flat->stats, name, sizeof name, &percent, &achieved);
    while (at >= 0) {
        Say("most achieved %d: %s %.1f%% (achieved %d)", at, name, percent, achieved ? 1 : 0);
        at = flat->next_most_achieved(flat->stats, at, name, sizeof name, &percent, &achieved);
    }
    char cut[5];
    if (flat->most_achieved(flat->stats, cut, sizeof cut, NULL, NULL) >= 0)
        Say("most achieved, cut to %u bytes: %s", (unsigned)sizeof cut, cut);
    if (flat->achieved_percent(flat->stats, options->achievement, &percent))
        Say("achieved percent %s: %.1f", options->achievement, percent);
}

static void ShowOtherUser(const Flat* flat, Session* session, const Options* options) {
    if (!Can(flat->stats, flat->request_user_stats && flat->user_stat && flat->user_achievement,
             "RequestUserStats") ||
        !AwaitCall(flat, session, options,
                   flat->request_user_stats(flat->stats, options->community),
                   "UserStatsReceived_t"))
        return;
    StatsReceived received;
    Take(&received, sizeof received, session->other.bytes, (int32_t)sizeof received);
    uint64_t user = 0;
    memcpy(&user, received.user.bytes, sizeof user);
    Say("user stats %" PRIu64 ": result %" PRId32, user, received.result);
    int32_t value = 0;
    bool achieved = false;
    if (flat->user_stat(flat->stats, options->community, options->stat, &value))
        Say("user stat %s: %" PRId32, options->stat, value);
    if (flat->user_achievement(flat->stats, options->community, options->achievement, &achieved))
        Say("user achievement %s: %d", options->achievement, achieved ? 1 : 0);
}

static void ShowGlobalStats(const Flat* flat, Session* session, const Options* options) {
    if (!Can(flat->stats, flat->request_global_stats && flat->global_stat && flat->global_history,
             "RequestGlobalStats") ||
        !AwaitCall(flat, session, options, flat->request_global_stats(flat->stats, 2),
                   "GlobalStatsReceived_t"))
        return;
    GameResult received;
    Take(&received, sizeof received, session->other.bytes, (int32_t)sizeof received);
    Say("global stats: result %" PRId32, received.result);
    int64_t total = 0;
    if (flat->global_stat(flat->stats, options->stat, &total))
        Say("global stat %s: %" PRId64, options->stat, total);
    int64_t days[8];
    const int32_t count = flat->global_history(flat->stats, options->stat, days, sizeof days);
    char line[256] = "";
    for (int32_t day = 0; day < count && day < 8; ++day) {
        const size_t used = strlen(line);
        snprintf(line + used, sizeof line - used, " %" PRId64, days[day]);
    }
    Say("global history %s: %" PRId32 " days:%s", options->stat, count, line);
}

static void ShowPlayers(const Flat* flat, Session* session, const Options* options) {
    if (!Can(flat->stats, flat->current_players != NULL, "GetNumberOfCurrentPlayers") ||
        !AwaitCall(flat, session, options, flat->current_players(flat->stats),
                   "NumberOfCurrentPlayers_t"))
        return;
    CurrentPlayers players;
    Take(&players, sizeof players, session->other.bytes, (int32_t)sizeof players);
    Say("current players: success %d, %" PRId32, players.success, players.players);
}

static bool ShowIcon(const Flat* flat, Session* session, const Options* options) {
    if (!Can(flat->stats, flat->icon != NULL, "GetAchievementIcon") ||
        !Can(flat->utils, flat->image_size && flat->image_rgba, "GetImageRGBA"))
        return true;
    int icon = flat->icon(flat->stats, options->achievement);
    Say("icon %s: %d at first ask", options->achievement, icon);
    if (icon == 0) {
        if (!Await(flat, session, options, &session->icon_fetched, "UserAchievementIconFetched_t"))
            return false;
        icon = flat->icon(flat->stats, options->achievement);
    }
    uint32_t width = 0;
    uint32_t height = 0;
    if (!flat->image_size(flat->utils, icon, &width, &height) || width == 0 || height == 0 ||
        width > 4096 || height > 4096) {
        Say("icon %s: handle %d has no image", options->achievement, icon);
        return true;
    }
    const size_t size = (size_t)width * height * 4;
    uint8_t* pixels = (uint8_t*)malloc(size);
    if (pixels && flat->image_rgba(flat->utils, icon, pixels, (int)size))
        Say("icon %s: handle %d, %" PRIu32 " x %" PRIu32
            ", first pixel %u %u %u %u, last %u %u %u %u",
            options->achievement, icon, width, height, pixels[0], pixels[1], pixels[2], pixels[3],
            pixels[size - 4], pixels[size - 3], pixels[size - 2], pixels[size - 1]);
    else
        Say("icon %s: the image cannot be read", options->achievement);
    free(pixels);
    return true;
}

static void ShowBoardContent(const Flat* flat, Session* session, const Options* options) {
    const uint64_t board = session->find.board;
    if (!session->find_done || session->find_failed || board == 0 ||
        !Can(flat->stats, flat->attach_ugc && flat->entries_for_users && flat->downloaded_entry,
             "AttachLeaderboardUGC"))
        return;
    if (!AwaitCall(flat, session, options, flat->attach_ugc(flat->stats, board, 4242),
                   "LeaderboardUGCSet_t"))
        return;
    UgcSet set;
    Take(&set, sizeof set, session->other.bytes, (int32_t)sizeof set);
    Say("content attached: result %" PRId32, set.result);
    LooseSteamId users[2];
    uint64_t self = flat->steam_id && flat->user ? flat->steam_id(flat->user) : 0;
    memcpy(users[0].bytes, &self, sizeof self);
    memcpy(users[1].bytes, &options->community, sizeof options->community);
    if (!AwaitCall(flat, session, options, flat->entries_for_users(flat->stats, board, users, 2),
                   "LeaderboardScoresDownloaded_t"))
        return;
    ScoresDownloaded downloaded;
    Take(&downloaded, sizeof downloaded, session->other.bytes, (int32_t)sizeof downloaded);
    Say("entries of the users: %" PRId32, downloaded.count);
    for (int32_t i = 0; i < downloaded.count; ++i) {
        LeaderboardEntry entry;
        memset(&entry, 0, sizeof entry);
        if (!flat->downloaded_entry(flat->stats, downloaded.entries, i, &entry, NULL, 0)) continue;
        uint64_t user = 0;
        memcpy(&user, entry.user.bytes, sizeof user);
        Say("entry %" PRId32 ": %" PRIu64 " rank %" PRId32 " score %" PRId32 " content %" PRIu64, i,
            user, entry.global_rank, entry.score, entry.ugc);
    }
}

static bool PlayCommunity(const Flat* flat, Session* session, const Options* options) {
    if (!flat->stats) return true;
    ShowPercentages(flat, session, options);
    ShowOtherUser(flat, session, options);
    ShowGlobalStats(flat, session, options);
    ShowPlayers(flat, session, options);
    if (!ShowIcon(flat, session, options)) return false;
    ShowBoardContent(flat, session, options);
    return true;
}

/* ---- the app, friends, rich presence, polling (--apps-and-friends) ------------ */

static bool g_apps_and_friends;

typedef int (*AfSelfIntFn)(void* self);
typedef bool (*AfDlcDataFn)(void* apps, int index, uint32_t* app, bool* available, char* name,
                            int name_size);
typedef bool (*AfAppBoolFn)(void* apps, uint32_t app);
typedef uint32_t (*AfInstallDirFn)(void* apps, uint32_t app, char* folder, uint32_t size);
typedef bool (*AfBetaFn)(void* apps, char* name, int size);
typedef uint64_t (*AfSelfIdFn)(void* self);
typedef int (*AfLicenceFn)(void* user, uint64_t id, uint32_t app);
typedef uint32_t (*AfPurchaseFn)(void* apps, uint32_t app);
typedef int (*AfIntArgFn)(void* self, int value);
typedef uint64_t (*AfFriendFn)(void* friends, int index, int flags);
typedef const char* (*AfIdTextFn)(void* friends, uint64_t id);
typedef int (*AfIdIntFn)(void* self, uint64_t id);
typedef bool (*AfSetPresenceFn)(void* friends, const char* key, const char* value);
typedef const char* (*AfGetPresenceFn)(void* friends, uint64_t id, const char* key);
typedef uint8_t (*AfBatteryFn)(void* utils);
typedef bool (*AfCompletedFn)(void* utils, uint64_t call, bool* failed);
typedef bool (*AfCallResultFn)(void* utils, uint64_t call, void* record, int size, int expected_id,
                               bool* failed);

enum { FRIEND_FLAG_IMMEDIATE = 0x04 };

static void ShowApp(const Flat* flat) {
    AfSelfIntFn count = NULL;
    AfDlcDataFn data = NULL;
    AfAppBoolFn subscribed = NULL;
    AfAppBoolFn installed = NULL;
    AfSelfIntFn build = NULL;
    AfBetaFn beta = NULL;
    AfInstallDirFn folder = NULL;
    AfSelfIdFn owner = NULL;
    AfPurchaseFn purchased = NULL;
    AfLicenceFn licence = NULL;
    AfSelfIntFn level = NULL;
    if (!Can(flat->apps,
             FIND("SteamAPI_ISteamApps_GetDLCCount", count) &&
                 FIND("SteamAPI_ISteamApps_BGetDLCDataByIndex", data) &&
                 FIND("SteamAPI_ISteamApps_BIsSubscribedApp", subscribed) &&
                 FIND("SteamAPI_ISteamApps_BIsDlcInstalled", installed) &&
                 FIND("SteamAPI_ISteamApps_GetAppBuildId", build) &&
                 FIND("SteamAPI_ISteamApps_GetCurrentBetaName", beta) &&
                 FIND("SteamAPI_ISteamApps_GetAppInstallDir", folder) &&
                 FIND("SteamAPI_ISteamApps_GetAppOwner", owner) &&
                 FIND("SteamAPI_ISteamApps_GetEarliestPurchaseUnixTime", purchased),
             "the app's DLC"))
        return;
    const int dlc = count(flat->apps);
    Say("dlc: %d", dlc);
    for (int i = 0; i <= dlc; ++i) {
        uint32_t app = 0;
        bool available = false;
        char name[128];
        if (!data(flat->apps, i, &app, &available, name, (int)sizeof name)) {
            Say("dlc %d: none", i);
            continue;
        }
        Say("dlc %d: %" PRIu32 " %s available %d subscribed %d installed %d purchased %" PRIu32, i,
            app, name, available ? 1 : 0, subscribed(flat->apps, app) ? 1 : 0,
            installed(flat->apps, app) ? 1 : 0, purchased(flat->apps, app));
    }
    char cut[9];
    memset(cut, 0, sizeof cut);
    data(flat->apps, 0, NULL, NULL, cut, (int)sizeof cut);
    Say("dlc 0 in %u bytes: %s", (unsigned)sizeof cut, cut);
    char branch[64];
    const bool on_beta = beta(flat->apps, branch, (int)sizeof branch);
    char path[256];
    const uint32_t copied = folder(flat->apps, 2000, path, sizeof path);
    Say("build %d, beta %d %s, folder %s (%" PRIu32 " bytes), owner %" PRIu64, build(flat->apps),
        on_beta ? 1 : 0, branch, path, copied, owner(flat->apps));
    if (flat->user && flat->steam_id && FIND("SteamAPI_ISteamUser_UserHasLicenseForApp", licence) &&
        FIND("SteamAPI_ISteamUser_GetPlayerSteamLevel", level)) {
        const uint64_t self = flat->steam_id(flat->user);
        Say("licence 2001: %d, 2003: %d, level %d", licence(flat->user, self, 2001),
            licence(flat->user, self, 2003), level(flat->user));
    }
}

static void ShowFriends(const Flat* flat) {
    AfIntArgFn count = NULL;
    AfFriendFn by_index = NULL;
    AfIdTextFn name = NULL;
    AfIdIntFn state = NULL;
    AfSetPresenceFn set = NULL;
    AfGetPresenceFn get = NULL;
    if (!Can(flat->friends,
             FIND("SteamAPI_ISteamFriends_GetFriendCount", count) &&
                 FIND("SteamAPI_ISteamFriends_GetFriendByIndex", by_index) &&
                 FIND("SteamAPI_ISteamFriends_GetFriendPersonaName", name) &&
                 FIND("SteamAPI_ISteamFriends_GetFriendPersonaState", state) &&
                 FIND("SteamAPI_ISteamFriends_SetRichPresence", set) &&
                 FIND("SteamAPI_ISteamFriends_GetFriendRichPresence", get),
             "the friends"))
        return;
    const int friends = count(flat->friends, FRIEND_FLAG_IMMEDIATE);
    Say("friends: %d", friends);
    for (int i = 0; i < friends; ++i) {
        const uint64_t id = by_index(flat->friends, i, FRIEND_FLAG_IMMEDIATE);
        Say("friend %d: %" PRIu64 " %s state %d", i, id, name(flat->friends, id),
            state(flat->friends, id));
    }
    Say("friend beyond: %" PRIu64 ", a stranger: %s",
        by_index(flat->friends, friends, FRIEND_FLAG_IMMEDIATE),
        name(flat->friends, 76561197960000099ULL));
    char long_key[65];
    memset(long_key, 'k', sizeof long_key - 1);
    long_key[sizeof long_key - 1] = '\0';
    const bool status = set(flat->friends, "status", "Exploring");
    const bool display = set(flat->friends, "steam_display", "#Exploring");
    const bool too_long = set(flat->friends, long_key, "x");
    const uint64_t self = flat->user && flat->steam_id ? flat->steam_id(flat->user) : 0;
    Say("rich presence: set %d %d, a 64-byte key %d, status reads %s", status ? 1 : 0,
        display ? 1 : 0, too_long ? 1 : 0, get(flat->friends, self, "status"));
}

static void ShowComputer(const Flat* flat) {
    SelfTextFn country = NULL;
    SelfTextFn language = NULL;
    AfBatteryFn battery = NULL;
    if (Can(flat->utils,
            FIND("SteamAPI_ISteamUtils_GetIPCountry", country) &&
                FIND("SteamAPI_ISteamUtils_GetSteamUILanguage", language) &&
                FIND("SteamAPI_ISteamUtils_GetCurrentBatteryPower", battery),
            "the computer"))
        Say("computer: country %s, Steam in %s, battery %u", country(flat->utils),
            language(flat->utils), (unsigned)battery(flat->utils));
}

/* A call result polled through ISteamUtils, as some engines and bindings do,
 * while manual dispatch hands out (and this game ignores) its
 * SteamAPICallCompleted_t. False when it did not come within --frames. */
static bool PollCallResult(const Flat* flat, Session* session, const Options* options) {
    AfCompletedFn completed = NULL;
    AfCallResultFn result = NULL;
    AfIdIntFn reason = NULL;
    if (!Can(flat->utils,
             flat->find_board && FIND("SteamAPI_ISteamUtils_IsAPICallCompleted", completed) &&
                 FIND("SteamAPI_ISteamUtils_GetAPICallResult", result) &&
                 FIND("SteamAPI_ISteamUtils_GetAPICallFailureReason", reason),
             "polling a call result"))
        return true;
    const uint64_t call =
        flat->find_board(flat->stats, options->leaderboard, SORT_DESCENDING, DISPLAY_NUMERIC);
    bool failed = true;
    const bool pending = !completed(flat->utils, call, &failed);
    Say("polled at once: pending %d failed %d reason %d", pending ? 1 : 0, failed ? 1 : 0,
        reason(flat->utils, call));
    long frames = 0;
    while (!completed(flat->utils, call, &failed) && frames < options->frames) {
        RunFrame(flat, session, options->frame_ms);
        ++frames;
    }
    LeaderboardFound found;
    memset(&found, 0, sizeof found);
    if (!result(flat->utils, call, &found, (int)sizeof found, ID_LEADERBOARD_FOUND, &failed)) {
        Say("no polled LeaderboardFindResult_t within %ld frames", options->frames);
        return false;
    }
    Say("polled: LeaderboardFindResult_t found %d failed %d", found.found ? 1 : 0, failed ? 1 : 0);
    const bool again = completed(flat->utils, call, &failed);
    Say("read once: completed %d failed %d reason %d", again ? 1 : 0, failed ? 1 : 0,
        reason(flat->utils, call));
    return true;
}

static bool PlayAppsAndFriends(const Flat* flat, Session* session, const Options* options) {
    ShowApp(flat);
    ShowFriends(flat);
    ShowComputer(flat);
    return PollCallResult(flat, session, options);
}

/* ---- the command line -------------------------------------------------------- */

static void Usage(FILE* out) {
    fprintf(out,
            "usage: flat_game [--achievement NAME] [--stat NAME=VALUE] [--score N]\n"
            "                 [--leaderboard NAME] [--frames N] [--frame-ms N]\n"
            "                 [--steam-client PATH] [--early-read] [--no-store]\n"
            "                 [--no-shutdown] [--community STEAMID] [--start-list V,V...]\n"
            "                 [--ask VERSION] [--start-optional] [--init-safe]\n"
            "exit status: 0 the session ran to its end, 2 bad command line, 10 the start\n"
            "failed, 11 an awaited answer did not come, 12 --steam-client failed\n");
}

static bool Number(const char* text, long low, long high, long* value) {
    char* end = NULL;
    errno = 0;
    const long parsed = strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < low || parsed > high) return false;
    *value = parsed;
    return true;
}

/* Fills *options; returns -1 to go on, else the exit status. */
static int ParseArguments(int argc, char** argv, Options* options, char* stat_name,
                          size_t stat_name_size) {
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        if (strcmp(option, "--help") == 0) {
            Usage(stdout);
            return 0;
        }
        if (strcmp(option, "--apps-and-friends") == 0) {
            g_apps_and_friends = true;
            continue;
        }
        if (strcmp(option, "--kill-after-store") == 0) {
            g_kill_after_store = true;
            continue;
        }
        if (strcmp(option, "--init-safe") == 0) {
            g_init_safe = true;
            continue;
        }
        bool* flag = strcmp(option, "--early-read") == 0       ? &options->early_read
                     : strcmp(option, "--no-store") == 0       ? &options->no_store
                     : strcmp(option, "--no-shutdown") == 0    ? &options->no_shutdown
                     : strcmp(option, "--start-optional") == 0 ? &options->start_optional
                                                               : NULL;
        if (flag) {
            *flag = true;
            continue;
        }
        if (i + 1 >= argc) {
            fprintf(stderr, "flat_game: %s needs a value\n", option);
            Usage(stderr);
            return EXIT_USAGE;
        }
        const char* value = argv[++i];
        long number = 0;
        bool good = true;
        if (strcmp(option, "--achievement") == 0) {
            options->achievement = value;
        } else if (strcmp(option, "--stat") == 0) {
            const char* equals = strchr(value, '=');
            good = equals && equals != value && (size_t)(equals - value) < stat_name_size &&
                   Number(equals + 1, INT32_MIN, INT32_MAX, &number);
            if (good) {
                memcpy(stat_name, value, (size_t)(equals - value));
                stat_name[equals - value] = '\0';
                options->stat = stat_name;
                options->stat_value = (int32_t)number;
            }
        } else if (strcmp(option, "--score") == 0) {
            good = Number(value, INT32_MIN, INT32_MAX, &number);
            options->score = (int32_t)number;
        } else if (strcmp(option, "--leaderboard") == 0) {
            options->leaderboard = value;
        } else if (strcmp(option, "--start-list") == 0) {
            options->start_list = value;
        } else if (strcmp(option, "--ask") == 0) {
            options->ask = value;
        } else if (strcmp(option, "--community") == 0) {
            char* end = NULL;
            errno = 0;
            options->community = strtoull(value, &end, 10);
            good = errno == 0 && end != value && *end == '\0' && options->community != 0;
        } else if (strcmp(option, "--frames") == 0) {
            good = Number(value, 1, 100000000L, &options->frames);
        } else if (strcmp(option, "--frame-ms") == 0) {
            good = Number(value, 0, 10000, &options->frame_ms);
#if defined(_WIN32)
        } else if (strcmp(option, "--steam-client") == 0) {
            options->steam_client = value;
#endif
        } else {
            fprintf(stderr, "flat_game: unknown option %s\n", option);
            Usage(stderr);
            return EXIT_USAGE;
        }
        if (!good) {
            fprintf(stderr, "flat_game: bad value for %s: %s\n", option, value);
            Usage(stderr);
            return EXIT_USAGE;
        }
    }
    return -1;
}

int main(int argc, char** argv) {
    static char stat_name[256];
    Options options = {"ACH_FIRSTSTEPS",
                       "STAT_JUMPS",
                       42,
                       1234,
                       "Offline Board",
                       300,
                       0,
                       NULL,
                       false,
                       false,
                       false,
                       0,
                       NULL,
                       NULL,
                       false};
    const int parsed = ParseArguments(argc, argv, &options, stat_name, sizeof stat_name);
    if (parsed >= 0) return parsed;

#if defined(_WIN32)
    if (options.steam_client && !UseSteamClient(options.steam_client)) {
        Say("flat_game: could not point Valve's library at %s; exit %d", options.steam_client,
            EXIT_CLIENT_SETUP);
        return EXIT_CLIENT_SETUP;
    }
#endif

    Flat flat;
    memset(&flat, 0, sizeof flat);
    if (!OpenClientLibrary() || !BindDispatch(&flat) || !Start(&flat, options.start_list)) {
        if (options.start_optional) {
            Say("flat_game: plays on without Steam; exit 0");
            return 0;
        }
        Say("flat_game: exit %d", EXIT_START_FAILED);
        return EXIT_START_FAILED;
    }

    flat.dispatch_init();
    Session session;
    memset(&session, 0, sizeof session);
    session.pipe = flat.pipe();
    Say("pipe: %" PRId32, session.pipe);
    BindInterfaces(&flat);
    if (options.ask) AskInterface(options.ask);
    ShowUser(&flat);

    const bool answered = PlayStats(&flat, &session, &options) &&
                          PlayLeaderboard(&flat, &session, &options) &&
                          (options.community == 0 || PlayCommunity(&flat, &session, &options));
    const bool polled = !g_apps_and_friends || PlayAppsAndFriends(&flat, &session, &options);

    FIND("SteamAPI_Shutdown", flat.shutdown);
    if (options.no_shutdown) {
        Say("shutdown skipped");
    } else if (flat.shutdown) {
        flat.shutdown();
        Say("shutdown");
    } else {
        Say("skipped SteamAPI_Shutdown: the library does not export it");
    }
    if (!answered || !polled) {
        Say("flat_game: exit %d after %ld frames", EXIT_NO_ANSWER, session.frames_run);
        return EXIT_NO_ANSWER;
    }
    Say("flat_game: session ran to its end in %ld frames; exit 0", session.frames_run);
    return 0;
}
