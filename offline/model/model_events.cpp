// The one sink of the model's events.
#include "model_events.h"

namespace offline_steam {
namespace {

ModelEvents*& Installed() {
    static ModelEvents* sink = nullptr;
    return sink;
}

}  // namespace

void SetModelEvents(ModelEvents* sink) { Installed() = sink; }

ModelEvents* InstalledModelEvents() { return Installed(); }

}  // namespace offline_steam
