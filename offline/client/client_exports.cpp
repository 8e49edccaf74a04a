// The client face: a stand-in steamclient.dll that Valve's real steam_api.dll
// loads (through HKCU\Software\Valve\Steam\ActiveProcess\SteamClientDll) and
// drives. Its exports, its pipes and its callback queue are here; the interface
// objects are in interface_objects.cpp and the methods they serve over the
// shared model in served_methods.cpp.
//
// Call log (see testing/controls/steam_sim.h). A served interface method writes the line
// the flat face writes for the same operation, under its flat name
// SteamAPI_<Interface>_<Method> with the same arguments, e.g.
// "SteamAPI_ISteamUserStats_SetStatInt32(STAT_KILLS, 5)". The client level
// has its own lines:
//   CreateInterface(<version>)                  every call of the export
//   Steam_IsKnownInterface(<version>)           1.59+: the start's version check
//   Steam_NotifyMissingInterface(<pipe>, <version>)
//   Steam_GetAPICallResult(<call>, <size>, <expected callback id>)
//   Steam_ReleaseThreadLocalMemory(<thread exit>)
//   ISteamClient::<Method>(<arguments>)         the served ISteamClient methods, e.g.
//       ISteamClient::CreateSteamPipe(), ISteamClient::ConnectToGlobalUser(1),
//       ISteamClient::GetISteamGenericInterface(<user>, <pipe>, <version>) (user 0
//       for utilities), ISteamClient::GetISteamUser(1, 1, SteamUser023),
//       ISteamClient::ReleaseUser(1, 1), ISteamClient::BReleaseSteamPipe(1),
//       ISteamClient::BShutdownIfAllPipesClosed()
//   refused interface(<version>)                 CreateInterface or an ISteamClient
//       getter answered NULL: a version the generated tables lack, or a refused one
//   unimplemented <version>::<Method>()          any slot no served method fills
//   SteamAPI_ISteamUtils_RunFrame()              each RunCallbacks (the frame clock)
// Steam_BGetCallback and Steam_FreeLastCallback write no line (several per frame).
#if defined(_WIN32)
#include <windows.h>
#endif

#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "call_line.h"
#include "call_results.h"
#include "client_state.h"
#include "event_reports.h"
#include "interface_objects.h"
#include "model_lock.h"
#include "record_queue.h"
#include "records.h"
#include "run_files.h"
#include "schema.h"
#include "session.h"
#include "session_lifecycle.h"
#include "stats_server.h"

using namespace offline_steam;
using namespace offline_steam::client;

#if defined(_WIN32)
#define CLIENT_EXPORT extern "C" __declspec(dllexport)
#else
#define CLIENT_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

constexpr int kCallCompletedId = 703;

// The real headers pack these records to 8 on Windows and to 4 elsewhere.
#if defined(_WIN32)
#pragma pack(push, 8)
#else
#pragma pack(push, 4)
#endif
// SteamAPICallCompleted_t.
struct CallCompletedRecord {
    uint64_t call;
    int32_t expectedCallbackId;
    uint32_t size;
};
// CallbackMsg_t of steam_api_internal.h.
struct CallbackMessage {
    int32_t user;
    int32_t callbackId;
    unsigned char* data;
    int32_t size;
};
#pragma pack(pop)
static_assert(sizeof(CallCompletedRecord) == 16, "703 is 16 bytes");
#if defined(_WIN32)
static_assert(sizeof(CallbackMessage) == 8 + 2 * sizeof(void*), "CallbackMsg_t (Windows)");
#else
static_assert(sizeof(CallbackMessage) == 20, "CallbackMsg_t (Linux x86-64, packed 4)");
#endif

struct PendingMessage {
    int callbackId;
    RecordBytes bytes;
    unsigned epoch;
};

struct ClientState {
    std::set<int> pipes;
    int lastPipe = 0;
    bool userConnected = false;
    std::deque<PendingMessage> messages;
    // The record handed out by the last Steam_BGetCallback: valid until Steam_FreeLastCallback.
    bool hasCurrent = false;
    RecordBytes current;
    int mismatches = 0;
};

ClientState& State() {
    static ClientState& clientState = *new ClientState;  // never destroyed: see TheSession
    return clientState;
}

// Kept across SteamSim_Reset: it is a fact about the library loaded in this process.
bool userStats013Requested = false;

void DropDeliveries() {
    State().messages.clear();
    State().hasCurrent = false;
    State().current.clear();
    // Finished call results wait in the model (call_results.h), where the
    // game's ISteamUtils polling reads them too.
    TheFinishedCalls().Clear();
}

}  // namespace

namespace offline_steam::client {

int OpenPipe() {
    const int pipe = ++State().lastPipe;
    State().pipes.insert(pipe);
    return pipe;
}

bool ClosePipe(int pipe) { return State().pipes.erase(pipe) != 0; }

bool IsPipeOpen(int pipe) { return State().pipes.count(pipe) != 0; }

bool AnyPipeOpen() { return !State().pipes.empty(); }

int ConnectGlobalUser(int pipe) {
    if (!IsPipeOpen(pipe)) return 0;
    if (!StartSession()) return 0;
    State().userConnected = true;
    return kGlobalUser;
}

void ReleaseUser(int pipe, int user) {
    if (!IsPipeOpen(pipe) || user != kGlobalUser || !State().userConnected) return;
    State().userConnected = false;
    StopSession();
    DropDeliveries();
}

bool IsConnectedUser(int user) { return user == kGlobalUser && State().userConnected; }

void RunClientFrame() {
    TheSession().AdvanceFrame();
    if (!TheSession().Running()) return;
    const unsigned epoch = TheSession().Epoch();
    // A UserStatsStored_t the game receives says its store is on the disk.
    if (ModelEvents* events = InstalledModelEvents()) events->BeforeDelivery();
    for (QueuedRecord& record : TheRecordQueue().TakeDue(TheSession().Frame())) {
        NoteDelivered(record);
        if (record.call == 0) {
            State().messages.push_back({record.callbackId, std::move(record.bytes), epoch});
            continue;
        }
        const CallCompletedRecord completed{record.call, record.callbackId,
                                            static_cast<uint32_t>(record.bytes.size())};
        const auto* raw = reinterpret_cast<const unsigned char*>(&completed);
        TheFinishedCalls().Finish(record.call, record.callbackId, std::move(record.bytes),
                                  record.ioFailure);
        State().messages.push_back(
            {kCallCompletedId, RecordBytes(raw, raw + sizeof completed), epoch});
    }
}

void NoteInterfaceServed(const char* version) {
    if (version == nullptr || std::strcmp(version, "STEAMUSERSTATS_INTERFACE_VERSION013") != 0 ||
        userStats013Requested)
        return;
    userStats013Requested = true;
    // This library has no RequestCurrentStats: the client has the stats before
    // the game starts, so they are there now (and at each later session start),
    // unless the scenario holds them back or fails them.
    const Faults& faults = ActiveScenario().faults;
    if (faults.statsNever || !TheSession().LoggedOn()) return;
    TheStatsServer().NoteStatsReceived(faults.statsResult, TheSession().OwnGameId(),
                                       TheSession().OwnGameId());
    ReportStatsReceived(faults.statsResult);
}

bool LibraryExpectsStatsAtStart() { return userStats013Requested; }

int CallResultMismatches() { return State().mismatches; }

void ResetClientState() {
    DropDeliveries();
    State().mismatches = 0;
}

}  // namespace offline_steam::client

// ---- Exports Valve's library looks up in steamclient.dll (cdecl) -------------

namespace {

// The client stays loaded once loaded (see offline_client_stays_loaded in
// offline/CMakeLists.txt): its model is never destroyed, so a FreeLibrary at
// shutdown would only lose it. Elsewhere the linker's -z nodelete does this.
void StayLoaded() {
#if defined(_WIN32)
    static const bool pinned = [] {
        HMODULE self = nullptr;
        return GetModuleHandleExW(
                   GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                   reinterpret_cast<LPCWSTR>(&StayLoaded), &self) != 0;
    }();
    (void)pinned;
#endif
}

}  // namespace

CLIENT_EXPORT void* CreateInterface(const char* version, int* returnCode) {
    ModelGuard guard;
    StayLoaded();
    // The library's first request: an offline run's files apply from here on.
    run_files::Prepare();
    CallLine("CreateInterface").Text(version).Log();
    ClientObject* object = ObjectForVersion(version);
    // Only the client object is made here; the library gets the others through it.
    const Family family = FamilyOfVersion(version);
    if (object == nullptr || family != Family::Client ||
        TheSession().InterfaceRefused(RefusalNameOf(family))) {
        CallLine("refused interface").Text(version).Log();
        NoteInterfaceAsked(version, false);
        if (returnCode != nullptr) *returnCode = 1;  // IFACE_FAILED
        return nullptr;
    }
    NoteInterfaceAsked(version, true);
    if (returnCode != nullptr) *returnCode = 0;  // IFACE_OK
    return object;
}

// Valve's library (seen with 1.48, 1.57, 1.63) passes a third argument: the
// address of a 4-byte local just after its CallbackMsg_t, the HSteamCall of
// the older client interface. No call handle is meant here, so it gets 0.
CLIENT_EXPORT bool Steam_BGetCallback(int pipe, CallbackMessage* message, int32_t* steamCall) {
    ModelGuard guard;
    if (steamCall != nullptr) *steamCall = 0;
    if (message == nullptr || !IsPipeOpen(pipe)) return false;
    ClientState& s = State();
    while (!s.messages.empty() && s.messages.front().epoch != TheSession().Epoch())
        s.messages.pop_front();
    if (s.messages.empty()) return false;
    PendingMessage next = std::move(s.messages.front());
    s.messages.pop_front();
    s.current = std::move(next.bytes);
    s.hasCurrent = true;
    message->user = kGlobalUser;
    message->callbackId = next.callbackId;
    message->data = s.current.data();
    message->size = static_cast<int32_t>(s.current.size());
    return true;
}

CLIENT_EXPORT void Steam_FreeLastCallback(int /*pipe*/) {
    ModelGuard guard;
    State().hasCurrent = false;
    State().current.clear();
}

CLIENT_EXPORT bool Steam_GetAPICallResult(int pipe, uint64_t call, void* buffer, int size,
                                          int expectedCallbackId, bool* failed) {
    ModelGuard guard;
    CallLine("Steam_GetAPICallResult")
        .UnsignedInteger(call)
        .Integer(size)
        .Integer(expectedCallbackId)
        .Log();
    if (!IsPipeOpen(pipe)) return false;
    // Read once: a result the game already polled (ISteamUtils) is gone.
    const FinishedCalls::Read read =
        TheFinishedCalls().Take(call, buffer, size, expectedCallbackId, failed);
    if (read == FinishedCalls::Read::Mismatch) ++State().mismatches;
    return read == FinishedCalls::Read::Done;
}

CLIENT_EXPORT void Steam_ReleaseThreadLocalMemory(bool threadExit) {
    ModelGuard guard;
    CallLine("Steam_ReleaseThreadLocalMemory").Flag(threadExit).Log();
}

CLIENT_EXPORT bool Steam_IsKnownInterface(const char* version) {
    ModelGuard guard;
    CallLine("Steam_IsKnownInterface").Text(version).Log();
    const bool known = ObjectForVersion(version) != nullptr;
    NoteInterfaceChecked(version, known);
    return known;
}

CLIENT_EXPORT void Steam_NotifyMissingInterface(int pipe, const char* version) {
    ModelGuard guard;
    CallLine("Steam_NotifyMissingInterface").Integer(pipe).Text(version).Log();
    NoteMissingInterface(version);
}
