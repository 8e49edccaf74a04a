// Reading the offline Steam's JSON files (scenarios, state files) with the
// line of every key, so that each refusal names the line it is about.
// Private to the scenario library.
#pragma once

#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <unordered_map>

namespace offline_steam::json_file {

using json = nlohmann::json;

// Key path ("achievements[3].progress.stat") to the line where that key, or
// that list element, was read. "" is the top-level value.
using LineMap = std::unordered_map<std::string, int>;

struct Document {
    std::string fileName;  // as given, for messages
    json root;
    LineMap lines;

    // The line of `path`, or of its nearest ancestor that was read (a key
    // that is missing has no line of its own).
    int LineOf(const std::string& path) const;
};

// A value refused while reading: its key path and what is wrong. `line` 0
// means the line of the path.
struct Refusal {
    std::string path;
    std::string what;
    int line = 0;
};

// Whole-file problems and refusals already written as a full message line.
struct FileError {
    std::string message;
};

// Parses `text`: no comments, no duplicate keys, no nesting deeper than any
// file of ours needs. Throws FileError for each of those and for syntax errors.
std::shared_ptr<Document> Parse(std::string_view text, const std::string& fileName);

// Reads a whole regular file into `text`; else says why not ("cannot be
// opened", "is not a file", ...). Empty when it was read.
std::string ReadFile(const std::string& path, std::string* text);

// "<file>: line <n>: <path>: <what>" as one line: control characters that
// keys or names may carry are escaped.
std::string Message(const std::string& fileName, int line, const std::string& path,
                    const std::string& what);
std::string Message(const Document& document, const Refusal& refusal);

// ---- Paths and values ----------------------------------------------------------
// Each check throws Refusal naming `path`.

std::string Child(const std::string& path, const std::string& key);
std::string Element(const std::string& path, std::size_t index);
// A name or text quoted as JSON writes it, for messages.
std::string Quote(const std::string& text);
// A number as JSON writes it: 5, 2.5, 1e+20.
std::string NumberText(double value);

// "a string", "a number", "a list", ...
const char* KindOf(const json& value);

void ExpectObject(const json& value, const std::string& path);
void ExpectList(const json& value, const std::string& path);
// Refuses a key that is not in `allowed` (a null-terminated list).
void CheckKeys(const json& object, const std::string& path, const char* const* allowed,
               const char* owner);
const json* Find(const json& object, const char* key);

bool Bool(const json& value, const std::string& path);
std::string String(const json& value, const std::string& path);
std::string NonEmptyString(const json& value, const std::string& path);
double Number(const json& value, const std::string& path);
// An integer within [low, high]; a number written with a fraction of zero
// (5.0) is an integer, as JSON Schema counts them.
std::int64_t Integer(const json& value, const std::string& path, std::int64_t low,
                     std::int64_t high);
// A 64-bit Steam ID written as a string of decimal digits.
std::uint64_t SteamId(const json& value, const std::string& path);

}  // namespace offline_steam::json_file
