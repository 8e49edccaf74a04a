// The process-wide registry of what steamInit made, and the memory those
// objects live in: plain allocation, never a throwing new.
#pragma once

#include <cstddef>
#include <new>
#include <utility>

namespace steambridge {

class CSteamAchievements;
class CSteamStats;
class CSteamLeaderboards;
struct StatLinks;

// Zero at load; steamFree brings it back to zero, so every export answers
// as not ready before steamInit and after steamFree.
struct ModuleState {
    bool loaded;
    CSteamAchievements* achievements;
    CSteamStats* stats;
    CSteamLeaderboards* leaderboards;
    StatLinks* links;
};

ModuleState& Module();

// Null when memory cannot be had.
void* AllocateObjectMemory(std::size_t size);
void ReleaseObjectMemory(void* memory);

#ifdef STEAMBRIDGE_ALLOCATION_FAULTS
// Tests only: makes the next `successes` allocations succeed and every later
// one fail; a negative count (the default) never fails.
void FailObjectAllocationsAfter(int successes);
#endif

template <class Object>
void DestroyObject(Object*& object) {
    if (!object) return;
    object->~Object();
    ReleaseObjectMemory(object);
    object = nullptr;
}

}  // namespace steambridge
