// The registry itself: plain zero-initialised data, no constructor to run.
#include "bridge/module_state.h"

namespace steambridge {
namespace {

ModuleState g_module;

}  // namespace

ModuleState& Module() { return g_module; }

}  // namespace steambridge
