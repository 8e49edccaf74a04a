// Files written whole and durably: a reader sees the old file or the new one,
// never part of either, and once a write has answered true the new file
// survives a crash or a power cut.
#pragma once

#include <string>

namespace offline_steam {

// Writes `text` to a uniquely named temporary file beside `path`, flushes it
// to the disk, renames it over `path` and flushes the folder. False with
// `error` set to one line naming `path` when a step fails; the temporary file
// is then removed and `path` left as it was.
bool WriteAtomically(const std::string& path, const std::string& text, std::string* error);

// Whether WriteAtomically could write `path`: makes and removes a temporary
// file beside it. False with `error` set as above.
bool CanWrite(const std::string& path, std::string* error);

}  // namespace offline_steam
