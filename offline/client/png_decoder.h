// The client's PNG decoder for achievement icons (achievement_icons.h): libpng
// where the build has it (Linux), none elsewhere (Debian has no libpng built
// for mingw-w64, so the Windows clients serve the generated icon).
#pragma once

#include "achievement_icons.h"

namespace offline_steam::client {

// The decoder this build has, or null.
PngDecoder ThePngDecoder();

}  // namespace offline_steam::client
