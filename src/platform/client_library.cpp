// Binding of the client library through one table of names.
#include "platform/client_library.h"

#include "bridge/trace.h"
#include "platform/function_address.h"
#include "platform/os_services.h"

namespace steambridge {

const ClientFunctionNames kClientFunctionNames[kClientFunctionCount] = {
#define STEAMBRIDGE_NAMES_ENTRY(result, member, Interface, parameters, arguments, nullAnswer, \
                                wrapper, need, ...)                                           \
    {{__VA_ARGS__}, Need::need},
    STEAMBRIDGE_CLIENT_FUNCTIONS(STEAMBRIDGE_NAMES_ENTRY)
#undef STEAMBRIDGE_NAMES_ENTRY
};

namespace {

ClientFunctions g_bound;

}  // namespace

BindResult BindClientFunctions(ClientFunctions& functions, SymbolLookup lookup, void* context) {
    void* addresses[kClientFunctionCount] = {};
    bool startFound = false;
    for (int function = 0; function < kClientFunctionCount; ++function) {
        const ClientFunctionNames& entry = kClientFunctionNames[function];
        if (entry.need == Need::Start && startFound) continue;
        for (int alternative = 0; alternative < kMaxExportNames && entry.names[alternative];
             ++alternative) {
            addresses[function] = lookup(context, entry.names[alternative]);
            if (addresses[function]) break;
        }
        if (addresses[function] && entry.need == Need::Start) startFound = true;
        if (!addresses[function] && entry.need == Need::Required)
            return BindResult{false, entry.names[0]};
    }
    // No start function at all: named by the newest.
    if (!startFound)
        return BindResult{
            false, kClientFunctionNames[static_cast<int>(ClientFunction::InitFlat)].names[0]};

    ClientFunctions bound{};
#define STEAMBRIDGE_ASSIGN_ENTRY(result, member, ...) \
    bound.member =                                    \
        FunctionAt<decltype(bound.member)>(addresses[static_cast<int>(ClientFunction::member)]);
    STEAMBRIDGE_CLIENT_FUNCTIONS(STEAMBRIDGE_ASSIGN_ENTRY)
#undef STEAMBRIDGE_ASSIGN_ENTRY
    functions = bound;
    return BindResult{true, nullptr};
}

const ClientFunctions& BoundClient() { return g_bound; }

bool BindClientLibraryWith(SymbolLookup lookup, void* context) {
    const BindResult result = BindClientFunctions(g_bound, lookup, context);
    if (!result.bound) {
        Trace(TraceId::LibraryLacksFunction);
        TraceDetail(result.missingFunction);
    }
    return result.bound;
}

bool BindClientLibrary() {
    void* library = OpenClientLibrary();
    if (!library) return false;
    return BindClientLibraryWith(&FindLibrarySymbol, library);
}

void UnbindClientLibrary() { g_bound = ClientFunctions{}; }

}  // namespace steambridge
