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
 *                  [--start-list V,V...] [--ask VERSION] [--start-optional]
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
 *   --start-list    start through SteamInternal_SteamAPI_Init with these
 *                   interface versions, as a C++ game's SteamAPI_InitEx does
 *   --ask           after the start, ask for this interface version as a C++
 *                   game's accessor does (SteamInternal_FindOrCreateUserInterface)
 *   --start-optional  a failed start is no failure: the game plays on without
 *                   Steam and exits 0
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
};

_Static_assert(sizeof(LooseSteamId) == 8 && _Alignof(LooseSteamId) == 1, "CSteamID: 8 loose bytes");
_Static_assert(sizeof(CallCompleted) == 16, "703 is 16 bytes everywhere");
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

enum {
    SORT_DESCENDING = 2,
    DISPLAY_NUMERIC = 1,
    UPLOAD_KEEP_BEST = 1,
    RESULT_OK = 1,
};

typedef struct {
    InitFlatFn init_flat;
    InitFn init;
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
    const char* start_list;
    const char* ask;
    bool start_optional;
} Options;

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
    if (!is_find && !is_upload) return;
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
    if (is_find) {
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

/* ---- the command line -------------------------------------------------------- */

static void Usage(FILE* out) {
    fprintf(out,
            "usage: flat_game [--achievement NAME] [--stat NAME=VALUE] [--score N]\n"
            "                 [--leaderboard NAME] [--frames N] [--frame-ms N]\n"
            "                 [--steam-client PATH] [--early-read] [--no-store]\n"
            "                 [--no-shutdown] [--start-list V,V...] [--ask VERSION]\n"
            "                 [--start-optional]\n"
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

    const bool answered =
        PlayStats(&flat, &session, &options) && PlayLeaderboard(&flat, &session, &options);

    FIND("SteamAPI_Shutdown", flat.shutdown);
    if (options.no_shutdown) {
        Say("shutdown skipped");
    } else if (flat.shutdown) {
        flat.shutdown();
        Say("shutdown");
    } else {
        Say("skipped SteamAPI_Shutdown: the library does not export it");
    }
    if (!answered) {
        Say("flat_game: exit %d after %ld frames", EXIT_NO_ANSWER, session.frames_run);
        return EXIT_NO_ANSWER;
    }
    Say("flat_game: session ran to its end in %ld frames; exit 0", session.frames_run);
    return 0;
}
