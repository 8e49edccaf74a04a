// Decoding of fuzz scripts: the compact byte form libFuzzer mutates and the text form of the seeds.
#include "script.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host_support/utf_reference.h"

namespace fuzz {
namespace {

enum class Arg : std::uint8_t {
    None,
    Int,
    Wide,
    Count,
    Bool,
    Accessor,
    Key,
    Locale,
    Slots2,
    Slots3,
    Bytes,
    Units
};

struct OpInfo {
    const char* name;
    Arg args[3];
};

// Indexed by Op.
constexpr OpInfo kOps[] = {
    {"init", {Arg::Slots2}},
    {"free", {}},
    {"pump", {Arg::Count}},
    {"userid", {}},
    {"achievement", {Arg::Int}},
    {"overlay", {}},
    {"reset", {}},
    {"stat", {Arg::Int, Arg::Int}},
    {"statinc", {Arg::Int, Arg::Int}},
    {"status", {}},
    {"count", {}},
    {"data", {Arg::Int, Arg::Slots3}},
    {"data.nullrecord", {Arg::Int}},
    {"board", {Arg::Units}},
    {"found", {}},
    {"upload", {Arg::Int}},
    {"sim.start", {Arg::Bool}},
    {"sim.loggedOn", {Arg::Bool}},
    {"sim.appId", {Arg::Wide}},
    {"sim.userId", {Arg::Wide}},
    {"sim.languages", {Arg::Bytes, Arg::Bytes}},
    {"sim.accessorNull", {Arg::Accessor, Arg::Bool}},
    {"sim.statsDelay", {Arg::Int}},
    {"sim.statsResult", {Arg::Int}},
    {"sim.postStats", {Arg::Int}},
    {"sim.storeResult", {Arg::Int}},
    {"sim.statRange", {Arg::Int, Arg::Int, Arg::Int}},
    {"sim.statOther", {Arg::Int, Arg::Int}},
    {"sim.achievementOther", {Arg::Int, Arg::Bool}},
    {"sim.clock", {Arg::Wide}},
    {"sim.display", {Arg::Int, Arg::Key, Arg::Bytes}},
    {"sim.failHandle", {}},
    {"sim.failIo", {}},
    {"sim.notFound", {}},
    {"sim.latency", {Arg::Int}},
    {"sim.recordGameId", {Arg::Wide}},
    {"oom", {Arg::Int}},
    {"locale", {Arg::Locale}},
};
static_assert(sizeof kOps / sizeof kOps[0] == static_cast<std::size_t>(Op::kCount),
              "one entry per op");

// SteamClient is last, so the others keep their numbers.
constexpr const char* kAccessors[kAccessorChoices] = {"SteamUser", "SteamUserStats", "SteamUtils",
                                                      "SteamApps", "SteamFriends",   "SteamBogus",
                                                      nullptr,     "SteamClient"};
constexpr const char* kKeys[kKeyChoices] = {"name", "desc", "hidden", "other", nullptr};
constexpr const char* kLocales[2] = {"C", "C.UTF-8"};

// Values near the bridge's and the simulator's edges, reachable with one tag byte.
constexpr std::int32_t kInterestingInts[] = {
    INT32_MIN,
    INT32_MAX,
    INT32_MIN + 1,
    INT32_MAX - 1,
    61,
    62,
    23,
    24,
    100,
    127,
    128,
    255,
    256,
    1000,
    30000,
    5000000,
    2000000000,
    2000000001,
    0x7FFF,
    0x8000,
    0xFFFF,
    0x10000,
    -2000000000,
    8,
    2,
    1,
    -100,
    15,
};
constexpr std::uint64_t kInterestingWides[] = {
    0, 480, 481, (1ULL << 32) | 480, 76561197960287930ULL, 0xFFFFFFFFULL, UINT64_MAX,
};
// Units chosen by one byte: Latin-1 edges, the two- and three-byte UTF-8 edges, CJK,
// both surrogate halves and the non-characters.
constexpr char16_t kInterestingUnits[] = {
    0x80,   0xA0,   0xE9,   0xFF,   0x100,  0x7FF,  0x800,  0x20AC, 0x3042, 0x5320, 0xD800,
    0xD83D, 0xDBFF, 0xDC00, 0xDE00, 0xDFFF, 0xE000, 0xFEFF, 0xFFFD, 0xFFFE, 0xFFFF, 0x266A,
};

template <class T, std::size_t N>
constexpr std::size_t CountOf(const T (&)[N]) {
    return N;
}

// ---- Compact form ----------------------------------------------------------

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool AtEnd() const { return position_ >= size_; }
    // Past the end every byte reads as 0, so a cut step still decodes.
    std::uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }
    std::uint64_t Raw(int bytes) {
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) value |= static_cast<std::uint64_t>(Byte()) << (8 * i);
        return value;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// One tag byte: 0..63 as is, -1..-64, an interesting value, or four raw bytes.
std::int64_t ReadInt(Reader& reader) {
    const std::uint8_t tag = reader.Byte();
    switch (tag >> 6) {
        case 0:
            return tag;
        case 1:
            return -static_cast<std::int64_t>(tag & 0x3F) - 1;
        case 2:
            return kInterestingInts[(tag & 0x3F) % CountOf(kInterestingInts)];
        default:
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(reader.Raw(4)));
    }
}

std::int64_t ReadWide(Reader& reader) {
    const std::uint8_t tag = reader.Byte();
    switch (tag >> 6) {
        case 0:
            return static_cast<std::int64_t>(kInterestingWides[tag % CountOf(kInterestingWides)]);
        case 1:
            return tag & 0x3F;
        default:
            return static_cast<std::int64_t>(reader.Raw(8));
    }
}

// A length byte (0xFF: null), the elements, then a byte whose low three bits repeat them.
template <class Element>
void ReadRepeated(Reader& reader, Text& text, Element element) {
    const std::uint8_t length = reader.Byte();
    if (length == 0xFF) {
        text.isNull = true;
        return;
    }
    for (int i = 0; i < length; ++i) element();
    const int repeats = (reader.Byte() & 7) + 1;
    const std::string bytes = text.bytes;
    const std::u16string units = text.units;
    for (int i = 1; i < repeats; ++i) {
        text.bytes += bytes;
        text.units += units;
    }
}

char16_t ReadUnit(Reader& reader) {
    const std::uint8_t byte = reader.Byte();
    if (byte < 0x80) return byte;
    if (byte < 0xA0) return kInterestingUnits[(byte - 0x80) % CountOf(kInterestingUnits)];
    if (byte < 0xF0) return byte;  // Latin-1 A0..EF
    return static_cast<char16_t>(reader.Raw(2));
}

void ReadArg(Reader& reader, Arg arg, Step& step, int& number, int& text) {
    switch (arg) {
        case Arg::None:
            return;
        case Arg::Int:
            step.num[number++] = ReadInt(reader);
            return;
        case Arg::Wide:
            step.num[number++] = ReadWide(reader);
            return;
        case Arg::Count:
            step.num[number++] = reader.Byte() % 16 + 1;
            return;
        case Arg::Bool:
            step.num[number++] = reader.Byte() & 1;
            return;
        case Arg::Accessor:
            step.num[number++] = reader.Byte() % kAccessorChoices;
            return;
        case Arg::Key:
            step.num[number++] = reader.Byte() % kKeyChoices;
            return;
        case Arg::Locale:
            step.num[number++] = reader.Byte() & 1;
            return;
        case Arg::Slots2:
        case Arg::Slots3:
            step.num[number++] = reader.Byte();
            return;
        case Arg::Bytes: {
            Text& target = step.text[text++];
            ReadRepeated(reader, target, [&] { target.bytes += static_cast<char>(reader.Byte()); });
            return;
        }
        case Arg::Units: {
            Text& target = step.text[text++];
            ReadRepeated(reader, target, [&] { target.units += ReadUnit(reader); });
            return;
        }
    }
}

std::vector<Step> DecodeCompact(const std::uint8_t* data, std::size_t size) {
    std::vector<Step> steps;
    Reader reader(data, size);
    while (!reader.AtEnd() && steps.size() < kMaxSteps) {
        Step step;
        step.op = static_cast<Op>(reader.Byte() % static_cast<int>(Op::kCount));
        int number = 0;
        int text = 0;
        for (Arg arg : kOps[static_cast<int>(step.op)].args)
            ReadArg(reader, arg, step, number, text);
        steps.push_back(std::move(step));
    }
    return steps;
}

// ---- Text form ---------------------------------------------------------------

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class LineParser {
public:
    explicit LineParser(const std::string& line) : line_(line) {}

    void SkipSpace() {
        while (at_ < line_.size() &&
               (line_[at_] == ' ' || line_[at_] == '\t' || line_[at_] == '\r'))
            ++at_;
    }
    bool AtEnd() {
        SkipSpace();
        return at_ >= line_.size() || line_[at_] == '#';
    }
    std::string Word() {
        SkipSpace();
        const std::size_t start = at_;
        while (at_ < line_.size() && line_[at_] != ' ' && line_[at_] != '\t' && line_[at_] != '\r')
            ++at_;
        return line_.substr(start, at_ - start);
    }
    std::int64_t Number(std::int64_t fallback) {
        if (AtEnd()) return fallback;
        const std::string word = Word();
        if (word == "true") return 1;
        if (word == "false") return 0;
        const char* text = word.c_str();
        char* end = nullptr;
        // Unsigned parsing keeps 64-bit IDs above INT64_MAX; a sign goes through strtoll.
        if (text[0] == '-') return std::strtoll(text, &end, 0);
        return static_cast<std::int64_t>(std::strtoull(text, &end, 0));
    }
    void Quoted(Text& text, bool units) {
        if (AtEnd()) return;
        if (line_[at_] != '"') {
            if (Word() == "null") text.isNull = true;
            return;
        }
        ++at_;
        std::string raw;  // undecoded bytes waiting to join the units
        auto flush = [&] {
            if (units) text.units += utf_reference::Utf16FromUtf8(raw);
            raw.clear();
        };
        while (at_ < line_.size() && line_[at_] != '"') {
            const char c = line_[at_++];
            if (c != '\\' || at_ >= line_.size()) {
                if (units)
                    raw += c;
                else
                    text.bytes += c;
                continue;
            }
            const char escape = line_[at_++];
            if (escape == 'x' || escape == 'u' || escape == 'U') {
                const int digits = escape == 'x' ? 2 : escape == 'u' ? 4 : 8;
                std::uint32_t value = 0;
                for (int i = 0; i < digits && at_ < line_.size() && HexValue(line_[at_]) >= 0; ++i)
                    value = value * 16 + static_cast<std::uint32_t>(HexValue(line_[at_++]));
                flush();
                if (units) {
                    if (escape == 'U')
                        utf_reference::AppendUtf16(text.units, value);
                    else
                        text.units += static_cast<char16_t>(value);
                } else if (escape == 'x') {
                    text.bytes += static_cast<char>(value);
                } else {
                    utf_reference::AppendUtf8(text.bytes, value > 0x10FFFF ? 0xFFFD : value);
                }
                continue;
            }
            const char plain = escape == 'n'   ? '\n'
                               : escape == 't' ? '\t'
                               : escape == '0' ? '\0'
                                               : escape;
            if (units)
                raw += plain;
            else
                text.bytes += plain;
        }
        flush();
        if (at_ < line_.size()) ++at_;  // closing quote
        if (at_ < line_.size() && line_[at_] == '*') {
            ++at_;
            const std::int64_t repeats = Number(1);
            const std::string bytes = text.bytes;
            const std::u16string unitsOnce = text.units;
            // Long enough for every bound the bridge has, short enough to stay quick.
            for (std::int64_t i = 1; i < repeats && text.bytes.size() + text.units.size() < 4096;
                 ++i) {
                text.bytes += bytes;
                text.units += unitsOnce;
            }
        }
    }
    std::int64_t Choice(const char* const* names, int count) {
        if (AtEnd()) return 0;
        const std::string word = Word();
        for (int i = 0; i < count; ++i)
            if (names[i] ? word == names[i] : word == "null") return i;
        return std::strtoll(word.c_str(), nullptr, 0);
    }
    // Letters per slot: b a buffer, n a slot holding null, z a null slot.
    std::int64_t Slots() {
        if (AtEnd()) return 0;
        const std::string word = Word();
        std::int64_t packed = 0;
        for (std::size_t i = 0; i < word.size() && i < 3; ++i) {
            const SlotMode mode = word[i] == 'n'   ? SlotMode::HoldsNull
                                  : word[i] == 'z' ? SlotMode::Null
                                                   : SlotMode::Buffer;
            packed |= static_cast<std::int64_t>(SlotBits(mode)) << (2 * i);
        }
        return packed;
    }

private:
    const std::string& line_;
    std::size_t at_ = 0;
};

std::vector<Step> DecodeText(const std::uint8_t* data, std::size_t size) {
    std::vector<Step> steps;
    const std::string all(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start < all.size() && steps.size() < kMaxSteps) {
        std::size_t end = all.find('\n', start);
        if (end == std::string::npos) end = all.size();
        const std::string line = all.substr(start, end - start);
        start = end + 1;
        LineParser parser(line);
        if (parser.AtEnd()) continue;
        const std::string name = parser.Word();
        int op = 0;
        while (op < static_cast<int>(Op::kCount) && name != kOps[op].name) ++op;
        if (op == static_cast<int>(Op::kCount)) continue;
        Step step;
        step.op = static_cast<Op>(op);
        int number = 0;
        int text = 0;
        for (Arg arg : kOps[op].args) {
            switch (arg) {
                case Arg::None:
                    break;
                case Arg::Int:
                case Arg::Wide:
                case Arg::Bool:
                    step.num[number++] = parser.Number(0);
                    break;
                case Arg::Count:
                    step.num[number++] = parser.Number(1);
                    break;
                case Arg::Accessor:
                    step.num[number++] = parser.Choice(kAccessors, kAccessorChoices);
                    break;
                case Arg::Key:
                    step.num[number++] = parser.Choice(kKeys, kKeyChoices);
                    break;
                case Arg::Locale:
                    step.num[number++] = parser.Choice(kLocales, 2);
                    break;
                case Arg::Slots2:
                case Arg::Slots3:
                    step.num[number++] = parser.Slots();
                    break;
                case Arg::Bytes:
                    parser.Quoted(step.text[text++], false);
                    break;
                case Arg::Units:
                    parser.Quoted(step.text[text++], true);
                    break;
            }
        }
        steps.push_back(std::move(step));
    }
    return steps;
}

std::string QuotedBytes(const Text& text) {
    if (text.isNull) return "null";
    std::string out = "\"";
    for (char c : text.bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
            out += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        }
    }
    return out + "\"";
}

std::string QuotedUnits(const Text& text) {
    if (text.isNull) return "null";
    std::string out = "\"";
    for (char16_t unit : text.units) {
        if (unit >= 0x20 && unit < 0x7F && unit != u'"' && unit != u'\\') {
            out += static_cast<char>(unit);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(unit));
            out += escape;
        }
    }
    return out + "\"";
}

std::string SlotLetters(std::int64_t packed, int count) {
    std::string letters;
    for (int i = 0; i < count; ++i) {
        const SlotMode mode = SlotAt(packed, i);
        letters += mode == SlotMode::Buffer ? 'b' : mode == SlotMode::HoldsNull ? 'n' : 'z';
    }
    return letters;
}

}  // namespace

const char* AccessorChoice(std::int64_t choice) {
    return choice >= 0 && choice < kAccessorChoices ? kAccessors[choice] : nullptr;
}

const char* KeyChoice(std::int64_t choice) {
    return choice >= 0 && choice < kKeyChoices ? kKeys[choice] : nullptr;
}

std::vector<Step> DecodeScript(const std::uint8_t* data, std::size_t size) {
    static const char kHeader[] = "#script";
    if (size >= sizeof kHeader - 1 && std::memcmp(data, kHeader, sizeof kHeader - 1) == 0)
        return DecodeText(data, size);
    return DecodeCompact(data, size);
}

std::string FormatStep(const Step& step) {
    const OpInfo& info = kOps[static_cast<int>(step.op)];
    std::string out = info.name;
    int number = 0;
    int text = 0;
    for (Arg arg : info.args) {
        if (arg == Arg::None) break;
        out += ' ';
        char buffer[32];
        switch (arg) {
            case Arg::None:
                break;
            case Arg::Int:
            case Arg::Count:
            case Arg::Bool:
                std::snprintf(buffer, sizeof buffer, "%lld",
                              static_cast<long long>(step.num[number++]));
                out += buffer;
                break;
            case Arg::Wide:
                std::snprintf(buffer, sizeof buffer, "%llu",
                              static_cast<unsigned long long>(step.num[number++]));
                out += buffer;
                break;
            case Arg::Accessor: {
                const char* name = AccessorChoice(step.num[number++]);
                out += name ? name : "null";
                break;
            }
            case Arg::Key: {
                const char* name = KeyChoice(step.num[number++]);
                out += name ? name : "null";
                break;
            }
            case Arg::Locale:
                out += kLocales[step.num[number++] & 1];
                break;
            case Arg::Slots2:
                out += SlotLetters(step.num[number++], 2);
                break;
            case Arg::Slots3:
                out += SlotLetters(step.num[number++], 3);
                break;
            case Arg::Bytes:
                out += QuotedBytes(step.text[text++]);
                break;
            case Arg::Units:
                out += QuotedUnits(step.text[text++]);
                break;
        }
    }
    return out;
}

}  // namespace fuzz
