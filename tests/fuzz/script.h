// Fuzz scripts: the steps the harness plays, decoded from compact bytes or from readable text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host_support/host_buffers.h"

namespace fuzz {

// The opcode byte of the compact form is taken modulo kCount, so every byte names a step.
enum class Op : std::uint8_t {
    Init,
    Free,
    Pump,
    UserId,
    Achievement,
    Overlay,
    Reset,
    Stat,
    StatIncrease,
    Status,
    Count,
    Data,
    DataNullRecord,
    Board,
    Found,
    Upload,
    SimStart,
    SimLoggedOn,
    SimAppId,
    SimUserId,
    SimLanguages,
    SimAccessorNull,
    SimStatsDelay,
    SimStatsResult,
    SimPostStats,
    SimStoreResult,
    SimStatRange,
    SimStatOther,
    SimAchievementOther,
    SimClock,
    SimDisplay,
    SimFailHandle,
    SimFailIo,
    SimNotFound,
    SimLatency,
    SimRecordGameId,
    OutOfMemory,
    Locale,
    kCount
};

// A step packs one slot mode per slot, two bits each: 0 (and 3) a buffer,
// 1 a slot holding null, 2 a null slot.
inline SlotMode SlotAt(std::int64_t packed, int slot) {
    const int bits = static_cast<int>((packed >> (2 * slot)) & 3);
    return bits == 1 ? SlotMode::HoldsNull : bits == 2 ? SlotMode::Null : SlotMode::Buffer;
}
inline int SlotBits(SlotMode mode) {
    return mode == SlotMode::HoldsNull ? 1 : mode == SlotMode::Null ? 2 : 0;
}

// A text argument: UTF-8 bytes for the simulator, UTF-16 units for the bridge.
struct Text {
    bool isNull = false;
    std::string bytes;
    std::u16string units;
};

struct Step {
    Op op = Op::Status;
    std::int64_t num[3] = {0, 0, 0};  // numeric arguments in their order of appearance
    Text text[2];                     // text arguments in their order of appearance
};

// Longer scripts add little and slow every run down.
constexpr std::size_t kMaxSteps = 200;

// Input starting with "#script" is the text form, anything else the compact form.
std::vector<Step> DecodeScript(const std::uint8_t* data, std::size_t size);

// The text form of one step, which DecodeScript reads back to the same step.
std::string FormatStep(const Step& step);

// Names of the accessors and display keys that steps choose from.
const char* AccessorChoice(std::int64_t choice);
const char* KeyChoice(std::int64_t choice);
constexpr int kAccessorChoices = 8;
constexpr int kKeyChoices = 5;

}  // namespace fuzz
