// The JSON reading shared by scenario and state files: nlohmann's parser fed
// through an iterator that counts lines, and typed value checks.
#include "json_document.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <unordered_set>
#include <utility>
#include <vector>

namespace offline_steam::json_file {
namespace {

// No file of ours nests deeper than five levels; refusing deep input early
// keeps key paths (and the line map) small whatever the input.
constexpr std::size_t kMaxNesting = 16;
// Far above any real scenario; a bound so that a path naming a device or a
// huge file is refused rather than read forever.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

struct LineCounter {
    int line = 1;       // of the next character
    int tokenLine = 1;  // of the last character read that was not white space
};

// The parser reads its input one character at a time through this, so the
// counter always knows where the parser is. A number is the one token the
// lexer reads past (by one character, then puts it back); that character is
// white space or a delimiter on the same line, so `tokenLine` is the line of
// the token just read when the parser reports it.
class CountingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    CountingIterator(const char* at, LineCounter* counter) : at_(at), counter_(counter) {}

    reference operator*() const { return *at_; }
    CountingIterator& operator++() {
        const char c = *at_++;
        if (c == '\n') {
            ++counter_->line;
        } else if (c != ' ' && c != '\t' && c != '\r') {
            counter_->tokenLine = counter_->line;
        }
        return *this;
    }
    CountingIterator operator++(int) {
        CountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const CountingIterator& other) const { return at_ == other.at_; }
    bool operator!=(const CountingIterator& other) const { return at_ != other.at_; }

private:
    const char* at_;
    LineCounter* counter_;
};

// Follows the parser's events to name the path of every key and element.
class PathTracker {
public:
    PathTracker(Document* document, const LineCounter* counter)
        : document_(document), counter_(counter) {}

    bool operator()(int /*depth*/, json::parse_event_t event, json& parsed) {
        switch (event) {
            case json::parse_event_t::object_start:
            case json::parse_event_t::array_start: {
                std::string path = NewValuePath();
                if (frames_.size() >= kMaxNesting)
                    Refuse(path, "nested deeper than " + std::to_string(kMaxNesting) + " levels");
                frames_.emplace_back(event == json::parse_event_t::array_start, std::move(path));
                break;
            }
            case json::parse_event_t::key: {
                Frame& frame = frames_.back();
                const std::string& key = parsed.get_ref<const std::string&>();
                frame.childPath = Child(frame.path, key);
                if (!frame.keys.insert(key).second) {
                    Refuse(frame.childPath, "duplicate key (also on line " +
                                                std::to_string(document_->LineOf(frame.childPath)) +
                                                ")");
                }
                document_->lines[frame.childPath] = counter_->tokenLine;
                break;
            }
            case json::parse_event_t::value:
                NewValuePath();
                break;
            case json::parse_event_t::object_end:
            case json::parse_event_t::array_end:
                frames_.pop_back();
                break;
        }
        return true;
    }

private:
    struct Frame {
        Frame(bool list, std::string at) : isList(list), path(std::move(at)) {}
        bool isList;
        std::string path;
        std::size_t nextIndex = 0;
        std::string childPath;  // objects: the path of the last key read
        std::unordered_set<std::string> keys;
    };

    // The path of a value that starts now; list elements get their line here.
    std::string NewValuePath() {
        if (frames_.empty()) {
            document_->lines[""] = counter_->tokenLine;
            return "";
        }
        Frame& frame = frames_.back();
        if (!frame.isList) return frame.childPath;
        std::string path = Element(frame.path, frame.nextIndex++);
        document_->lines[path] = counter_->tokenLine;
        return path;
    }

    [[noreturn]] void Refuse(const std::string& path, const std::string& what) const {
        throw FileError{Message(document_->fileName, counter_->tokenLine, path, what)};
    }

    Document* document_;
    const LineCounter* counter_;
    std::vector<Frame> frames_;
};

// nlohmann's what(): "[json.exception.parse_error.101] parse error at line 4,
// column 5: syntax error while parsing value - invalid literal; last read: 'x'".
// The reason is what follows the position, without its own "syntax error".
std::string ShortReason(const std::string& what) {
    std::string reason = what;
    const std::size_t column = reason.find(", column ");
    if (column != std::string::npos) {
        const std::size_t colon = reason.find(": ", column);
        if (colon != std::string::npos) reason = reason.substr(colon + 2);
    } else if (!reason.empty() && reason[0] == '[') {
        const std::size_t close = reason.find("] ");
        if (close != std::string::npos) reason = reason.substr(close + 2);
    }
    const std::string prefix = "syntax error ";
    if (reason.compare(0, prefix.size(), prefix) == 0) reason = reason.substr(prefix.size());
    return reason;
}

// The length of the well-formed UTF-8 sequence at `at`, else 0 (overlong
// forms, surrogates and code points beyond U+10FFFF are not well-formed).
std::size_t Utf8Length(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    return length;
}

// Writes `text` with control characters and bytes that are not UTF-8 (a
// syntax error quotes what it read) escaped, so a message is one line of text.
void AppendOneLine(std::string* out, const std::string& text) {
    char escaped[8];
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const std::size_t length = Utf8Length(text, at);
            if (length > 0) {
                out->append(text, at, length);
                at += length;
            } else {
                std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
                *out += escaped;
                ++at;
            }
            continue;
        }
        if (c == '\n') {
            *out += "\\n";
        } else if (c == '\t') {
            *out += "\\t";
        } else if (c == '\r') {
            *out += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            std::snprintf(escaped, sizeof escaped, "\\u%04X", byte);
            *out += escaped;
        } else {
            *out += c;
        }
        ++at;
    }
}

[[noreturn]] void Refuse(const std::string& path, const std::string& what) {
    throw Refusal{path, what};
}

[[noreturn]] void WrongKind(const json& value, const std::string& path, const char* expected) {
    Refuse(path, std::string("must be ") + expected + ", not " + KindOf(value));
}

}  // namespace

int Document::LineOf(const std::string& path) const {
    std::string at = path;
    for (;;) {
        const auto found = lines.find(at);
        if (found != lines.end()) return found->second;
        if (at.empty()) return 1;
        // The parent: drop the last ".key" or "[index]".
        const std::size_t cut = at.find_last_of(".[");
        at.resize(cut == std::string::npos ? 0 : cut);
    }
}

std::shared_ptr<Document> Parse(std::string_view text, const std::string& fileName) {
    auto document = std::make_shared<Document>();
    document->fileName = fileName;
    LineCounter counter;
    PathTracker tracker(document.get(), &counter);
    const CountingIterator first(text.data(), &counter);
    const CountingIterator last(text.data() + text.size(), &counter);
    try {
        document->root = json::parse(first, last, std::ref(tracker), true, false);
    } catch (const json::parse_error& e) {
        // e.byte counts the character the parser stopped at; its line is the
        // number of line ends before it.
        const std::size_t before = std::min<std::size_t>(e.byte > 0 ? e.byte - 1 : 0, text.size());
        int line = 1;
        for (std::size_t i = 0; i < before; ++i) line += text[i] == '\n';
        throw FileError{Message(fileName, line, "", "syntax error: " + ShortReason(e.what()))};
    } catch (const json::exception& e) {
        // A number too large for a double, found where the counter stands.
        throw FileError{
            Message(fileName, counter.tokenLine, "", "syntax error: " + ShortReason(e.what()))};
    }
    return document;
}

std::string ReadFile(const std::string& path, std::string* text) {
    std::error_code failure;
    const std::filesystem::file_status status = std::filesystem::status(path, failure);
    if (failure || !std::filesystem::exists(status)) return "cannot be opened";
    if (!std::filesystem::is_regular_file(status)) return "is not a file";
    const std::uintmax_t size = std::filesystem::file_size(path, failure);
    if (!failure && size > kMaxFileBytes) return "is larger than 64 MiB";
    std::ifstream in(path, std::ios::binary);
    if (!in) return "cannot be opened";
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad() || contents.bad()) return "cannot be read";
    *text = std::move(contents).str();
    return "";
}

std::string Message(const std::string& fileName, int line, const std::string& path,
                    const std::string& what) {
    std::string message;
    AppendOneLine(&message, fileName);
    message += ": line " + std::to_string(line) + ": ";
    if (!path.empty()) {
        AppendOneLine(&message, path);
        message += ": ";
    }
    AppendOneLine(&message, what);
    return message;
}

std::string Message(const Document& document, const Refusal& refusal) {
    const int line = refusal.line > 0 ? refusal.line : document.LineOf(refusal.path);
    return Message(document.fileName, line, refusal.path.empty() ? "top level" : refusal.path,
                   refusal.what);
}

std::string Child(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

std::string Element(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

std::string Quote(const std::string& text) {
    return json(text).dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string NumberText(double value) {
    // 5, not nlohmann's 5.0: as the number was most likely written.
    constexpr double kInt64Bound = 9223372036854775808.0;  // 2^63
    if (std::floor(value) == value && value >= -kInt64Bound && value < kInt64Bound)
        return std::to_string(static_cast<std::int64_t>(value));
    return json(value).dump();
}

const char* KindOf(const json& value) {
    switch (value.type()) {
        case json::value_t::null:
            return "null";
        case json::value_t::boolean:
            return "a boolean";
        case json::value_t::string:
            return "a string";
        case json::value_t::array:
            return "a list";
        case json::value_t::object:
            return "an object";
        case json::value_t::number_integer:
        case json::value_t::number_unsigned:
        case json::value_t::number_float:
            return "a number";
        default:
            return "not a JSON value";
    }
}

void ExpectObject(const json& value, const std::string& path) {
    if (!value.is_object()) WrongKind(value, path, "an object");
}

void ExpectList(const json& value, const std::string& path) {
    if (!value.is_array()) WrongKind(value, path, "a list");
}

void CheckKeys(const json& object, const std::string& path, const char* const* allowed,
               const char* owner) {
    for (auto item = object.begin(); item != object.end(); ++item) {
        bool known = false;
        for (const char* const* name = allowed; *name != nullptr && !known; ++name)
            known = item.key() == *name;
        if (known) continue;
        std::string what = std::string("unknown key; ") + owner + " takes ";
        for (const char* const* name = allowed; *name != nullptr; ++name) {
            if (name != allowed) what += name[1] == nullptr ? " and " : ", ";
            what += *name;
        }
        Refuse(Child(path, item.key()), what);
    }
}

const json* Find(const json& object, const char* key) {
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

bool Bool(const json& value, const std::string& path) {
    if (!value.is_boolean()) WrongKind(value, path, "true or false");
    return value.get<bool>();
}

std::string String(const json& value, const std::string& path) {
    if (!value.is_string()) WrongKind(value, path, "a string");
    return value.get<std::string>();
}

std::string NonEmptyString(const json& value, const std::string& path) {
    std::string text = String(value, path);
    if (text.empty()) Refuse(path, "must not be empty");
    return text;
}

double Number(const json& value, const std::string& path) {
    if (!value.is_number()) WrongKind(value, path, "a number");
    return value.get<double>();
}

std::int64_t Integer(const json& value, const std::string& path, std::int64_t low,
                     std::int64_t high) {
    const std::string range =
        "an integer from " + std::to_string(low) + " to " + std::to_string(high);
    if (!value.is_number()) WrongKind(value, path, range.c_str());
    bool inRange = false;
    std::int64_t result = 0;
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        inRange = high >= 0 && number <= static_cast<std::uint64_t>(high);
        if (inRange) result = static_cast<std::int64_t>(number);
        inRange = inRange && result >= low;
    } else if (value.is_number_integer()) {
        result = value.get<std::int64_t>();
        inRange = result >= low && result <= high;
    } else {
        const double number = value.get<double>();
        if (std::floor(number) != number)
            Refuse(path, "must be " + range + ", not " + value.dump());
        // Both bounds are exact in a double: every caller's fit in 54 bits.
        inRange = number >= static_cast<double>(low) && number <= static_cast<double>(high);
        if (inRange) result = static_cast<std::int64_t>(number);
    }
    if (!inRange) Refuse(path, "must be " + range + ", not " + value.dump());
    return result;
}

std::uint64_t SteamId(const json& value, const std::string& path) {
    if (value.is_number()) {
        Refuse(path,
               "must be a string of decimal digits, not a number (a JSON number cannot "
               "hold every 64-bit ID exactly)");
    }
    const std::string text = NonEmptyString(value, path);
    std::uint64_t id = 0;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    for (const char c : text) {
        if (c < '0' || c > '9')
            Refuse(path, Quote(text) + " holds a character that is not a digit");
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (id > (kMax - digit) / 10) Refuse(path, Quote(text) + " does not fit in 64 bits");
        id = id * 10 + digit;
    }
    return id;
}

}  // namespace offline_steam::json_file
