// The stats-received records the binding owes for libraries without
// RequestCurrentStats.
#include "platform/stats_sync_fallback.h"

#include "platform/callback_holders.h"
#include "platform/steam_types.h"

namespace steambridge {
namespace {

// Each keeper registers one holder for stats-received records.
constexpr int kMaxHolders = 8;
constexpr int kMaxOwed = 8;

struct OwedRecord {
    std::uint32_t appId;
    std::uint64_t steamId;
};

CCallbackBase* g_holders[kMaxHolders];
OwedRecord g_owed[kMaxOwed];
int g_owedCount;

bool IsTracked(const CCallbackBase* holder) {
    for (const CCallbackBase* tracked : g_holders)
        if (tracked == holder) return true;
    return false;
}

}  // namespace

void NoteCallbackRegistered(CCallbackBase* holder, int callbackId) {
    if (callbackId != UserStatsReceived_t::k_iCallback) return;
    for (CCallbackBase*& slot : g_holders)
        if (slot == holder) return;
    for (CCallbackBase*& slot : g_holders) {
        if (!slot) {
            slot = holder;
            return;
        }
    }
}

void NoteCallbackUnregistered(CCallbackBase* holder) {
    for (CCallbackBase*& slot : g_holders)
        if (slot == holder) slot = nullptr;
}

void OweStatsReceived(std::uint32_t appId, std::uint64_t steamId) {
    if (g_owedCount < kMaxOwed) g_owed[g_owedCount++] = OwedRecord{appId, steamId};
}

void DeliverOwedStatsReceived() {
    if (g_owedCount == 0) return;
    // Handlers may register, unregister or request again while we deliver:
    // work on copies, and deliver what they owe at the next call.
    OwedRecord owed[kMaxOwed];
    const int owedCount = g_owedCount;
    for (int i = 0; i < owedCount; ++i) owed[i] = g_owed[i];
    g_owedCount = 0;

    for (int i = 0; i < owedCount; ++i) {
        UserStatsReceived_t record{};
        record.m_nGameID = GameIdOfApp(owed[i].appId);
        record.m_eResult = k_EResultOK;
        record.m_steamIDUser.Set(owed[i].steamId);
        CCallbackBase* holders[kMaxHolders];
        for (int h = 0; h < kMaxHolders; ++h) holders[h] = g_holders[h];
        // A holder unregistered by an earlier handler is gone from the list
        // (and may be gone altogether): skip it.
        for (CCallbackBase* holder : holders)
            if (holder && IsTracked(holder)) holder->Run(&record);
    }
}

void ForgetStatsSync() {
    g_owedCount = 0;
    for (CCallbackBase*& slot : g_holders) slot = nullptr;
}

}  // namespace steambridge
