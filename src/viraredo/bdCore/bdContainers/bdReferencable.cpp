#include "bdCore/bdContainers/bdReferencable.h"

#include "bdCore/bdMemory/bdMemory.h"

void* bdReferencable::operator new(std::size_t size) noexcept { return bdMemory::allocate(size); }

void bdReferencable::operator delete(void* block) noexcept { bdMemory::deallocate(block); }
