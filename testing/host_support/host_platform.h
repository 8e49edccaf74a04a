// What the hosts (the demo and the end-to-end tests) ask of the operating
// system besides bridge_library.h's declarations: one file per system
// implements both (windows/host_platform.cpp, posix/host_platform.cpp).
#pragma once

#include <string>

// A library by full path, null when it cannot be loaded; an export of it,
// null when absent; and why the last load failed.
void* OpenLibrary(const std::string& path);
void* FindExport(void* library, const char* name);
std::string LastLibraryError();

// True when standard input is a terminal.
bool StdinIsTerminal();

// Waits one frame (about 1/60 s), so a real client library gets real time
// between steamCallBacks calls as it would in a game.
void WaitOneFrame();
