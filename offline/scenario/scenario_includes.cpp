// A scenario's includes: each file read, checked alone and laid over the
// files it includes, with the file each value came from.
#include "scenario_includes.h"

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "scenario_reader.h"

namespace offline_steam {
namespace {

using namespace json_file;

constexpr int kMaxIncludeDepth = 8;
// A file may list others many times over (fan-out): the whole tree's reads
// are capped, so a loader never spends long on one scenario.
constexpr int kMaxIncludedFiles = 64;
constexpr std::size_t kMaxIncludedBytes = std::size_t{16} << 20;

// Puts `key`'s value on top of what `into` holds; `ownerOf` names the file
// each value came from. The merged objects (app, user, global, start, faults,
// expect: IsMergedObject) are laid field by field; every other key, each
// list among them (achievements, users, ...), whole.
template <class OwnerOf>
void Lay(Layers* into, const std::string& key, json&& value, const OwnerOf& ownerOf) {
    if (IsMergedObject(key)) {
        json& target = into->root[key];
        if (!target.is_object()) target = json::object();
        for (auto field = value.begin(); field != value.end(); ++field) {
            const std::string fieldPath = key + "." + field.key();
            target[field.key()] = std::move(field.value());
            into->owners[fieldPath] = ownerOf(fieldPath);
        }
        return;
    }
    into->root[key] = std::move(value);
    into->owners[key] = ownerOf(key);
}

void LayFile(Layers* into, const std::shared_ptr<const Document>& document, json&& root) {
    for (auto item = root.begin(); item != root.end(); ++item) {
        if (item.key() == "$schema" || item.key() == "include") continue;
        Lay(into, item.key(), std::move(item.value()),
            [&](const std::string&) { return document; });
    }
}

void LayLayers(Layers* into, Layers&& from) {
    for (auto item = from.root.begin(); item != from.root.end(); ++item) {
        Lay(into, item.key(), std::move(item.value()),
            [&](const std::string& path) { return from.owners.at(path); });
    }
}

// A file's identity for finding include cycles, whatever path names it.
std::string Identity(const std::string& path) {
    std::error_code failure;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(path, failure);
    if (!failure) return canonical.string();
    canonical = std::filesystem::absolute(path, failure);
    return failure ? path : canonical.lexically_normal().string();
}

struct Chain {
    std::vector<std::string> identities;
    std::vector<std::string> names;
    int filesRead = 0;  // included files read so far, in the whole tree
    std::size_t bytesRead = 0;
};

Layers LoadLayers(const std::shared_ptr<Document>& document, int depth, Chain* chain) {
    // Each file alone first, so a value a later file replaces is held to the
    // same rules.
    const std::string ownFolder = FolderOfFile(document->fileName);
    try {
        CheckScenarioFile(document->root, [&](const std::string&) { return ownFolder; });
    } catch (const Refusal& refusal) {
        throw FileError{Message(*document, refusal)};
    }
    Layers layers;
    if (const json* includes = Find(document->root, "include")) {
        const std::filesystem::path folder =
            std::filesystem::path(document->fileName).parent_path();
        for (std::size_t i = 0; i < includes->size(); ++i) {
            const std::string name = (*includes)[i].get<std::string>();
            const std::string path = (folder / name).string();
            auto refuse = [&](const std::string& what) {
                throw FileError{Message(*document, Refusal{Element("include", i), what})};
            };
            if (depth + 1 > kMaxIncludeDepth)
                refuse("includes nest deeper than " + std::to_string(kMaxIncludeDepth) + " files");
            const std::string identity = Identity(path);
            const auto cycle =
                std::find(chain->identities.begin(), chain->identities.end(), identity);
            if (cycle != chain->identities.end()) {
                std::string loop;
                for (auto at = chain->names.begin() + (cycle - chain->identities.begin());
                     at != chain->names.end(); ++at)
                    loop += *at + " -> ";
                refuse("include cycle: " + loop + path);
            }
            if (chain->filesRead >= kMaxIncludedFiles)
                refuse("the includes read more than " + std::to_string(kMaxIncludedFiles) +
                       " files in all");
            std::string text;
            const std::string problem = ReadFile(path, &text);
            if (!problem.empty()) refuse(Quote(path) + " " + problem);
            ++chain->filesRead;
            chain->bytesRead += text.size();
            if (chain->bytesRead > kMaxIncludedBytes)
                refuse("the includes read more than " + std::to_string(kMaxIncludedBytes >> 20) +
                       " MiB in all");
            chain->identities.push_back(identity);
            chain->names.push_back(path);
            Layers included = LoadLayers(Parse(text, path), depth + 1, chain);
            chain->identities.pop_back();
            chain->names.pop_back();
            LayLayers(&layers, std::move(included));
        }
    }
    LayFile(&layers, document, std::move(document->root));
    return layers;
}

}  // namespace

const json_file::Document& Layers::OwnerOf(const std::string& path,
                                           const json_file::Document& fallback) const {
    const std::size_t first = path.find_first_of(".[");
    if (first != std::string::npos && path[first] == '.') {
        const auto field = owners.find(path.substr(0, path.find_first_of(".[", first + 1)));
        if (field != owners.end()) return *field->second;
    }
    const auto whole = owners.find(path.substr(0, first));
    return whole != owners.end() ? *whole->second : fallback;
}

Layers LoadWithIncludes(const std::shared_ptr<json_file::Document>& document) {
    Chain chain;
    chain.identities.push_back(Identity(document->fileName));
    chain.names.push_back(document->fileName);
    return LoadLayers(document, 0, &chain);
}

}  // namespace offline_steam
