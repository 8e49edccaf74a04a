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
    // Handlers may register, unregister or request again while we deliver:
    // work on copies, and deliver what they owe at the next call.
    OwedRecord owed[kMaxOwed];
    const int owedCount = g_owedCount;
    for (int i = 0; i < owedCount; ++i) owed[i] = g_owed[i];
    g_owedCount = 0;

    for (int i = 0; i < owedCount; ++i) {
        CCallbackBase* holders[kMaxHolders];
        for (int h = 0; h < kMaxHolders; ++h) holders[h] = g_holders[h];
        for (CCallbackBase* holder : holders) {
            bool stillRegistered = false;
            for (CCallbackBase* current : g_holders)
                if (current == holder) stillRegistered = true;
            if (!holder || !stillRegistered || !holder->IsRegistered()) continue;
            UserStatsReceived_t record{};
            record.m_nGameID = GameIdOfApp(owed[i].appId);
            record.m_eResult = k_EResultOK;
            record.m_steamIDUser.Set(owed[i].steamId);
            holder->Run(&record);
        }
    }
}

void ForgetOwedStatsReceived() { g_owedCount = 0; }

}  // namespace steambridge
