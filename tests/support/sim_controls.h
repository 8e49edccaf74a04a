// Typed access to the simulated client library's controls from a host that
// only has the library loaded at run time.
#pragma once

#include <stdexcept>
#include <string>

#include "bridge_library.h"
#include "steam_sim.h"

// SIM_CONTROL(SteamSim_Profile): the control of the loaded client library,
// typed by its declaration in steam_sim.h; null where there is none (Valve's
// library, or none loaded).
#define SIM_CONTROL(name) (FindClientLibraryFunction<decltype(&name)>(#name))

template <class Function>
Function RequiredSimControl(Function function, const char* name) {
    if (!function) throw std::runtime_error(std::string("client library lacks ") + name);
    return function;
}

// SIM(SteamSim_Reset)() calls the control, which a test cannot do without.
#define SIM(name) (RequiredSimControl(SIM_CONTROL(name), #name))
