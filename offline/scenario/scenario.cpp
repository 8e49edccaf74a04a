// The scenario file: read with nlohmann::json (json_document.h), its keys
// checked (scenario_reader.h), included files merged (scenario_includes.h),
// each refusal named by file, line and key path.
#include "scenario.h"

#include <new>
#include <utility>

#include "json_document.h"
#include "scenario_includes.h"
#include "scenario_reader.h"

namespace offline_steam {
namespace {

using namespace json_file;

constexpr const char* kLanguageCodes[] = {
    "arabic",    "bulgarian",  "schinese", "tchinese",  "czech",   "danish",     "dutch",
    "english",   "finnish",    "french",   "german",    "greek",   "hungarian",  "indonesian",
    "italian",   "japanese",   "koreana",  "norwegian", "polish",  "portuguese", "brazilian",
    "romanian",  "russian",    "spanish",  "latam",     "swedish", "thai",       "turkish",
    "ukrainian", "vietnamese", nullptr};

void SetError(std::string* error, const std::string& message) {
    if (error != nullptr) *error = message;
}

void ParseInto(std::string_view text, const std::string& fileName, Scenario* scenario) {
    const std::shared_ptr<Document> document = Parse(text, fileName);
    const json* includes = document->root.is_object() ? Find(document->root, "include") : nullptr;
    if (includes == nullptr) {
        const std::string folder = FolderOfFile(fileName);
        try {
            *scenario = ReadScenario(document->root, [&](const std::string&) { return folder; });
        } catch (const Refusal& refusal) {
            throw FileError{Message(*document, refusal)};
        }
        return;
    }
    const Layers layers = LoadWithIncludes(document);
    // A file name (an icon's) is relative to the file that wrote it.
    auto folderOf = [&](const std::string& path) {
        return FolderOfFile(layers.OwnerOf(path, *document).fileName);
    };
    try {
        *scenario = ReadScenario(layers.root, folderOf);
    } catch (const Refusal& refusal) {
        throw FileError{Message(layers.OwnerOf(refusal.path, *document), refusal)};
    }
}

}  // namespace

bool ParseScenario(std::string_view text, const std::string& fileName, Scenario* scenario,
                   std::string* error) {
    try {
        Scenario result;
        ParseInto(text, fileName, &result);
        if (scenario != nullptr) *scenario = std::move(result);
        if (error != nullptr) error->clear();
        return true;
    } catch (const FileError& failure) {
        SetError(error, failure.message);
    } catch (const std::bad_alloc&) {
        SetError(error, fileName + ": out of memory");
    } catch (const std::exception& failure) {
        SetError(error, fileName + ": " + failure.what());
    } catch (...) {
        SetError(error, fileName + ": cannot be read");
    }
    return false;
}

bool LoadScenarioFile(const std::string& path, Scenario* scenario, std::string* error) {
    try {
        std::string text;
        const std::string problem = ReadFile(path, &text);
        if (!problem.empty()) {
            SetError(error, path + ": " + problem);
            return false;
        }
        return ParseScenario(text, path, scenario, error);
    } catch (const std::bad_alloc&) {
        SetError(error, path + ": out of memory");
    } catch (...) {
        SetError(error, path + ": cannot be read");
    }
    return false;
}

bool IsSteamLanguageCode(std::string_view code) {
    for (const char* const* known = kLanguageCodes; *known != nullptr; ++known)
        if (code == *known) return true;
    return false;
}

}  // namespace offline_steam
