#pragma once
// Storage shared by bdArray and bdFastArray: capacity doubling through bdMemory
// and the refused out-of-range access.
#include <cstddef>
#include <cstdint>

#include "bdCore/bdMemory/bdMemory.h"

namespace bdArrayDetail {

// Capacity + max(n, capacity): appending to a full array at least doubles it.
// Returns 0 when the new capacity does not fit.
inline unsigned int grownCapacity(unsigned int capacity, unsigned int n) {
  const unsigned int step = n > capacity ? n : capacity;
  if (step > UINT32_MAX - capacity) return 0;
  return capacity + step;
}

template <typename T>
T* allocateElements(unsigned int count) {
  if (count == 0) return nullptr;
  if (count > SIZE_MAX / sizeof(T)) return nullptr;
  return static_cast<T*>(bdMemory::allocate(count * sizeof(T)));
}

// What an out-of-range index yields instead of memory past the end: a fresh
// default value, so nothing outside the array is ever read or written.
template <typename T>
T& outOfRangeElement() {
  static T scratch;
  scratch = T();
  return scratch;
}

}  // namespace bdArrayDetail
