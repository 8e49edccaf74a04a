// Typed access to the simulated client library's controls from a host that
// only has the library loaded at run time.
#pragma once

#include <stdexcept>
#include <string>

#include "bridge_library.h"
#include "steam_sim.h"

template <class Function>
Function SimControl(const char* name) {
    const Function function = FindClientLibraryFunction<Function>(name);
    if (!function) throw std::runtime_error(std::string("client library lacks ") + name);
    return function;
}

// SIM(SteamSim_Reset)() calls the control of the loaded client library.
#define SIM(name) (SimControl<decltype(&name)>(#name))
