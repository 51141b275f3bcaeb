#pragma once
// Every SDK allocation goes through these six replaceable hooks. The host
// (or bdCore::init(true)) installs them; without hooks allocation yields 0.
#include <cstddef>

class bdMemory {
 public:
  using AllocateFunc = void* (*)(std::size_t size);
  using DeallocateFunc = void (*)(void* block);
  using ReallocateFunc = void* (*)(void* block, std::size_t size);
  using AlignedAllocateFunc = void* (*)(std::size_t size, std::size_t alignment);
  using AlignedDeallocateFunc = void (*)(void* block);
  using AlignedReallocateFunc = void* (*)(void* block, std::size_t size, std::size_t alignment);

  static void* allocate(std::size_t size);
  static void deallocate(void* block);
  static void* reallocate(void* block, std::size_t size);
  // count x size zeroed bytes; 0 on overflow or without a hook.
  static void* allocateCleared(std::size_t count, std::size_t size);
  static void* alignedAllocate(std::size_t size, std::size_t alignment);
  static void alignedDeallocate(void* block);
  static void* alignedReallocate(void* block, std::size_t size, std::size_t alignment);
  static void* fill(void* block, int value, std::size_t count);

  static void setAllocateHook(AllocateFunc hook);
  static void setDeallocateHook(DeallocateFunc hook);
  static void setReallocateHook(ReallocateFunc hook);
  static void setAlignedAllocateHook(AlignedAllocateFunc hook);
  static void setAlignedDeallocateHook(AlignedDeallocateFunc hook);
  static void setAlignedReallocateHook(AlignedReallocateFunc hook);
  static AllocateFunc getAllocateHook();
  static DeallocateFunc getDeallocateHook();
  static ReallocateFunc getReallocateHook();
  static AlignedAllocateFunc getAlignedAllocateHook();
  static AlignedDeallocateFunc getAlignedDeallocateHook();
  static AlignedReallocateFunc getAlignedReallocateHook();
  static void clearHooks();
};
