// The guarded AchievementInfo record.
#include "host_support/host_record.h"

#include <cstring>

#define RECORD_FIELD(member) \
    HostRecord::Field { offsetof(AchievementInfo, member), sizeof(AchievementInfo::member) }
const HostRecord::Fields kWrittenAlways = {RECORD_FIELD(index), RECORD_FIELD(achieved),
                                           RECORD_FIELD(hasStat)};
const HostRecord::Fields kWrittenWithStat = {RECORD_FIELD(statMin), RECORD_FIELD(statMax),
                                             RECORD_FIELD(statValue)};
const HostRecord::Fields kWrittenWhenAchieved = {RECORD_FIELD(unlockTime)};
#undef RECORD_FIELD

HostRecord::HostRecord() : bytes_(kGuardBytes + sizeof(AchievementInfo) + kGuardBytes) {
    Prepare(nullptr, nullptr, nullptr);
}

HostRecord::HostRecord(SteamBridgeChar16* const* name, SteamBridgeChar16* const* description,
                       SteamBridgeChar16* const* statName)
    : HostRecord() {
    Prepare(name, description, statName);
}

AchievementInfo* HostRecord::Prepare(SteamBridgeChar16* const* name,
                                     SteamBridgeChar16* const* description,
                                     SteamBridgeChar16* const* statName) {
    std::memset(bytes_.data(), kSentinel, bytes_.size());
    PutSlot(offsetof(AchievementInfo, nameSlot), name);
    PutSlot(offsetof(AchievementInfo, descriptionSlot), description);
    PutSlot(offsetof(AchievementInfo, statNameSlot), statName);
    before_ = bytes_;
    return info();
}

AchievementInfo* HostRecord::info() {
    return reinterpret_cast<AchievementInfo*>(bytes_.data() + kGuardBytes);
}

const AchievementInfo& HostRecord::info() const {
    return *reinterpret_cast<const AchievementInfo*>(bytes_.data() + kGuardBytes);
}

std::string HostRecord::ChangedOutside(std::initializer_list<Fields> written) const {
    std::string changed;
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        if (bytes_[i] == before_[i]) continue;
        const long offset = static_cast<long>(i) - static_cast<long>(kGuardBytes);
        bool allowed = false;
        for (const Fields& fields : written)
            for (const Field& field : fields)
                if (offset >= static_cast<long>(field.offset) &&
                    offset < static_cast<long>(field.offset + field.size))
                    allowed = true;
        if (!allowed) changed += std::to_string(offset) + " ";
    }
    return changed;
}

void HostRecord::PutSlot(std::size_t offset, SteamBridgeChar16* const* slot) {
    std::memcpy(bytes_.data() + kGuardBytes + offset, &slot, sizeof slot);
}
