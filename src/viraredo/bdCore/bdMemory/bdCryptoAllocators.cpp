// The crypto and big-number libraries are built to allocate through these
// (their XMALLOC and MP_MALLOC families): every block they take goes through
// the SDK's memory hooks, so it is counted and a leak is reported like the
// SDK's own.
#include <cstddef>

#include "bdCore/bdMemory/bdMemory.h"

extern "C" {

void* bd_tc_malloc(std::size_t size) { return bdMemory::allocate(size); }
void* bd_tc_realloc(void* block, std::size_t size) { return bdMemory::reallocate(block, size); }
void* bd_tc_calloc(std::size_t count, std::size_t size) {
  return bdMemory::allocateCleared(count, size);
}
void bd_tc_free(void* block) { bdMemory::deallocate(block); }

void* bd_mp_malloc(std::size_t size) { return bdMemory::allocate(size); }
void* bd_mp_realloc(void* block, std::size_t, std::size_t size) {
  return bdMemory::reallocate(block, size);
}
void* bd_mp_calloc(std::size_t count, std::size_t size) {
  return bdMemory::allocateCleared(count, size);
}
void bd_mp_free(void* block, std::size_t) { bdMemory::deallocate(block); }
}
