// Platform seam: opening the client library and looking up its exports.
#pragma once

namespace steambridge {

// The client library: a copy the process has already loaded, else the one
// in the directory of this module, else the one in the application's
// directory. Never searched for elsewhere (not in the current directory).
// Null when none is found, with the cause and each path tried traced.
// Once found it is kept for the life of the process and never unloaded.
void* OpenClientLibrary();

void* FindLibrarySymbol(void* library, const char* name);

}  // namespace steambridge
