// Typed functions from the addresses a library lookup gives.
#pragma once

#include <cstring>

namespace steambridge {

// Data and function pointers may not be converted by a cast in standard C++;
// every platform we build for gives both the same representation. Null
// gives null.
template <class Function>
Function FunctionAt(void* address) {
    static_assert(sizeof(Function) == sizeof(address), "function and data pointers differ");
    Function function;
    std::memcpy(&function, &address, sizeof function);
    return function;
}

}  // namespace steambridge
