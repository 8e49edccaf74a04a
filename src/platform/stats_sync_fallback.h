// Client libraries of SDK 1.61 and newer have no RequestCurrentStats: the
// Steam client synchronises the user's stats before the game starts, and the
// stats-received callback a request would bring never comes. For those the
// binding answers each request itself, with a stats-received record for
// this application delivered inside the next RunCallbacks.
#pragma once

#include <cstdint>

namespace steambridge {

class CCallbackBase;

// Keeps track of the holders registered for stats-received records.
void NoteCallbackRegistered(CCallbackBase* holder, int callbackId);
void NoteCallbackUnregistered(CCallbackBase* holder);

// One request answered: a record is owed at the next delivery.
void OweStatsReceived(std::uint32_t appId, std::uint64_t steamId);
// Delivers every owed record to the registered holders.
void DeliverOwedStatsReceived();
// Forgets owed records and tracked holders (the client was shut down).
void ForgetStatsSync();

}  // namespace steambridge
