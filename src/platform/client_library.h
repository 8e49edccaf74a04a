// Finding the client library and binding its functions.
#pragma once

#include "platform/client_functions.h"

namespace steambridge {

// Returns the address a library exports under `name`, or null.
using SymbolLookup = void* (*)(void* context, const char* name);

struct BindResult {
    bool bound;
    // First export name of the first required function that was not found;
    // null when bound.
    const char* missingFunction;
};

// Fills `functions` through `lookup`, but only when every required function
// is found: on failure `functions` is left as it was.
BindResult BindClientFunctions(ClientFunctions& functions, SymbolLookup lookup, void* context);

// The functions in use: all null while nothing is bound.
const ClientFunctions& BoundClient();

// Finds the client library (a copy the process already loaded first, then
// the one beside this module, then the one beside the application) and binds
// it. False when it is missing or lacks a required function; the reason is
// traced and nothing stays bound.
bool BindClientLibrary();
// The same through a caller's lookup, for tests.
bool BindClientLibraryWith(SymbolLookup lookup, void* context);
// Sets every function back to null. The library itself stays loaded, as a
// statically imported one would, so a running Steam client is never pulled
// out from under other users of it in the process.
void UnbindClientLibrary();

}  // namespace steambridge
