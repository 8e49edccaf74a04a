// Plain allocation for the objects steamInit makes: never a throwing new.
#pragma once

#include <cstddef>
#include <new>
#include <utility>

namespace steambridge {

// Null when memory cannot be had.
void* AllocateObjectMemory(std::size_t size);
void ReleaseObjectMemory(void* memory);

// Makes the next `successes` allocations succeed and every later one fail;
// a negative count (the default) never fails. For tests of the out-of-memory
// paths.
void FailObjectAllocationsAfter(int successes);

template <class Object>
void DestroyObject(Object*& object) {
    if (!object) return;
    object->~Object();
    ReleaseObjectMemory(object);
    object = nullptr;
}

}  // namespace steambridge
