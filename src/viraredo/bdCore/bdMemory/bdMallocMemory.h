#pragma once
// The SDK's own allocator: blocks from malloc, each behind a chain element so
// that live blocks can be counted and leaks reported when the core quits.
#include <cstddef>
#include <cstdint>

constexpr std::uint32_t BD_MEMORY_MAGIC = 0xBDBD;

// Returns p such that p + offset is a multiple of alignment (a power of two);
// the raw malloc pointer is kept in the pointer-sized slot just before p.
void* bdAlignedOffsetMalloc(std::size_t size, std::size_t alignment, std::size_t offset);
void bdAlignedOffsetFree(void* p);

class bdMallocMemory {
 public:
  // Lies immediately before every user block.
  struct bdMemoryChainElement {
    std::uint32_t m_magic;
    std::uint32_t m_size;
    std::uint8_t m_aligned;
    bdMemoryChainElement* m_prev;
    bdMemoryChainElement* m_next;
  };
  static constexpr std::size_t HEADER_SIZE = sizeof(bdMemoryChainElement);
  // Plain blocks are aligned for any object, like malloc's.
  static constexpr std::size_t DEFAULT_ALIGNMENT = alignof(std::max_align_t);

  static void* allocate(std::size_t size);
  static void deallocate(void* block);
  static void* reallocate(void* block, std::size_t size);
  static void* alignedAllocate(std::size_t size, std::size_t alignment);
  static void alignedDeallocate(void* block);
  static void* alignedReallocate(void* block, std::size_t size, std::size_t alignment);

  // Unlinks the element; false (and nothing changed) when its magic is wrong.
  static bool eraseMemory(bdMemoryChainElement* element);
  static void releaseAll();

  static std::size_t getTotalBytes();
  static std::size_t getAllocationCount();
};
