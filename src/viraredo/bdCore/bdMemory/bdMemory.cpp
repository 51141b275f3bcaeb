#include "bdCore/bdMemory/bdMemory.h"

#include <cstdint>
#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdDebug.h"

namespace {
bdMemory::AllocateFunc g_allocate = nullptr;
bdMemory::DeallocateFunc g_deallocate = nullptr;
bdMemory::ReallocateFunc g_reallocate = nullptr;
bdMemory::AlignedAllocateFunc g_alignedAllocate = nullptr;
bdMemory::AlignedDeallocateFunc g_alignedDeallocate = nullptr;
bdMemory::AlignedReallocateFunc g_alignedReallocate = nullptr;

// A host allocator that fails stops in the debugger: the SDK cannot go on sensibly.
void* checked(void* block) {
  if (block == nullptr) bdDebugStop();
  return block;
}

void* checkAlignment(void* block, std::size_t alignment) {
  if (block != nullptr && alignment != 0 &&
      (reinterpret_cast<std::uintptr_t>(block) & (alignment - 1)) != 0) {
    bdAssertMsg("Memory block has incorrect alignment.");
  }
  return block;
}
}  // namespace

void* bdMemory::allocate(std::size_t size) {
  if (g_allocate == nullptr) return nullptr;
  return checked(g_allocate(size));
}

void bdMemory::deallocate(void* block) {
  if (g_deallocate != nullptr) g_deallocate(block);
}

void* bdMemory::reallocate(void* block, std::size_t size) {
  if (g_reallocate == nullptr) return nullptr;
  return checked(g_reallocate(block, size));
}

void* bdMemory::allocateCleared(std::size_t count, std::size_t size) {
  if (size != 0 && count > SIZE_MAX / size) return nullptr;
  void* block = allocate(count * size);
  if (block != nullptr) std::memset(block, 0, count * size);
  return block;
}

void* bdMemory::alignedAllocate(std::size_t size, std::size_t alignment) {
  if (g_alignedAllocate == nullptr) return nullptr;
  return checkAlignment(checked(g_alignedAllocate(size, alignment)), alignment);
}

void bdMemory::alignedDeallocate(void* block) {
  if (g_alignedDeallocate != nullptr) g_alignedDeallocate(block);
}

void* bdMemory::alignedReallocate(void* block, std::size_t size, std::size_t alignment) {
  if (g_alignedReallocate == nullptr) return nullptr;
  return checkAlignment(checked(g_alignedReallocate(block, size, alignment)), alignment);
}

void* bdMemory::fill(void* block, int value, std::size_t count) {
  return std::memset(block, value, count);
}

void bdMemory::setAllocateHook(AllocateFunc hook) { g_allocate = hook; }
void bdMemory::setDeallocateHook(DeallocateFunc hook) { g_deallocate = hook; }
void bdMemory::setReallocateHook(ReallocateFunc hook) { g_reallocate = hook; }
void bdMemory::setAlignedAllocateHook(AlignedAllocateFunc hook) { g_alignedAllocate = hook; }
void bdMemory::setAlignedDeallocateHook(AlignedDeallocateFunc hook) { g_alignedDeallocate = hook; }
void bdMemory::setAlignedReallocateHook(AlignedReallocateFunc hook) { g_alignedReallocate = hook; }
bdMemory::AllocateFunc bdMemory::getAllocateHook() { return g_allocate; }
bdMemory::DeallocateFunc bdMemory::getDeallocateHook() { return g_deallocate; }
bdMemory::ReallocateFunc bdMemory::getReallocateHook() { return g_reallocate; }
bdMemory::AlignedAllocateFunc bdMemory::getAlignedAllocateHook() { return g_alignedAllocate; }
bdMemory::AlignedDeallocateFunc bdMemory::getAlignedDeallocateHook() { return g_alignedDeallocate; }
bdMemory::AlignedReallocateFunc bdMemory::getAlignedReallocateHook() { return g_alignedReallocate; }

void bdMemory::clearHooks() {
  g_allocate = nullptr;
  g_deallocate = nullptr;
  g_reallocate = nullptr;
  g_alignedAllocate = nullptr;
  g_alignedDeallocate = nullptr;
  g_alignedReallocate = nullptr;
}
