// Reading a scenario's keys into a Scenario. Private to the scenario library.
#pragma once

#include <functional>
#include <string>

#include "json_document.h"
#include "scenario.h"

namespace offline_steam {

// The folder of the file the value at a key path came from
// ("achievements[2].icon"): what a file name written there is relative to.
using FolderOf = std::function<std::string(const std::string& path)>;

// Checks what one file can get wrong by itself; throws json_file::Refusal.
// Names that other files may define (progress stats, start and expect names)
// wait for ReadScenario.
void CheckScenarioFile(const json_file::json& root, const FolderOf& folderOf);
// Reads a whole scenario (one file, or the merge of a file and its includes)
// with every check; throws json_file::Refusal.
Scenario ReadScenario(const json_file::json& root, const FolderOf& folderOf);
// The folder of a scenario file named `fileName` (empty: the working directory).
std::string FolderOfFile(const std::string& fileName);
// The top-level objects whose fields a later file replaces one by one.
bool IsMergedObject(const std::string& key);

}  // namespace offline_steam
