// A scenario's includes, merged. Private to the scenario library.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "json_document.h"

namespace offline_steam {

// A scenario after its includes: the merged keys, and for each top-level key
// (or field of a merged object, "app.id") the file it came from.
struct Layers {
    json_file::json root = json_file::json::object();
    std::map<std::string, std::shared_ptr<const json_file::Document>> owners;

    // The file the value at `path` came from.
    const json_file::Document& OwnerOf(const std::string& path,
                                       const json_file::Document& fallback) const;
};

// Reads the files `document` includes (at most 8 deep, no cycles), each
// checked alone, and lays `document` over them; throws json_file::FileError.
Layers LoadWithIncludes(const std::shared_ptr<json_file::Document>& document);

}  // namespace offline_steam
