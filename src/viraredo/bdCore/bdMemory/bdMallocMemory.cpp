#include "bdCore/bdMemory/bdMallocMemory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "bdCore/bdLog/bdLog.h"

namespace {
using Element = bdMallocMemory::bdMemoryChainElement;

struct ChainState {
  std::mutex mutex;
  Element* head = nullptr;
  std::size_t totalBytes = 0;
  std::size_t count = 0;
};

// Made on first use so that static allocations of other objects can use it.
ChainState& chain() {
  static ChainState state;
  return state;
}

bool isPowerOfTwo(std::size_t x) { return x != 0 && (x & (x - 1)) == 0; }

Element* elementOf(void* block) {
  return reinterpret_cast<Element*>(static_cast<unsigned char*>(block) -
                                    bdMallocMemory::HEADER_SIZE);
}

void* userBlockOf(Element* element) {
  return reinterpret_cast<unsigned char*>(element) + bdMallocMemory::HEADER_SIZE;
}

std::size_t effectiveAlignment(std::size_t alignment) {
  return alignment < alignof(Element) ? alignof(Element) : alignment;
}

// A raw block with room for the header; 0 on failure or an impossible size.
Element* makeElement(std::size_t size, std::size_t alignment) {
  if (size > UINT32_MAX) return nullptr;
  void* p = bdAlignedOffsetMalloc(size + bdMallocMemory::HEADER_SIZE, effectiveAlignment(alignment),
                                  bdMallocMemory::HEADER_SIZE);
  return static_cast<Element*>(p);
}

void link(Element* element, std::size_t size, bool aligned) {
  ChainState& c = chain();
  std::lock_guard<std::mutex> lock(c.mutex);
  element->m_magic = BD_MEMORY_MAGIC;
  element->m_size = static_cast<std::uint32_t>(size);
  element->m_aligned = aligned ? 1 : 0;
  element->m_prev = nullptr;
  element->m_next = c.head;
  if (c.head != nullptr) c.head->m_prev = element;
  c.head = element;
  c.totalBytes += size;
  c.count += 1;
}

void* allocateElement(std::size_t size, std::size_t alignment, bool aligned) {
  Element* element = makeElement(size, alignment);
  if (element == nullptr) return nullptr;
  link(element, size, aligned);
  return userBlockOf(element);
}

void release(void* block) {
  Element* element = elementOf(block);
  // A damaged header cannot be trusted to find the raw block: keep it rather
  // than free an arbitrary address.
  if (!bdMallocMemory::eraseMemory(element)) return;
  bdAlignedOffsetFree(element);
}

void* reallocateElement(void* block, std::size_t size, std::size_t alignment, bool aligned) {
  if (block == nullptr) return allocateElement(size, alignment, aligned);
  Element* old = elementOf(block);
  Element* fresh = makeElement(size, alignment);
  if (fresh == nullptr) return nullptr;  // the old block stays valid, as with realloc
  std::size_t oldSize = old->m_size;
  if (!bdMallocMemory::eraseMemory(old)) {
    bdAlignedOffsetFree(fresh);
    return nullptr;
  }
  std::memcpy(userBlockOf(fresh), block, oldSize < size ? oldSize : size);
  bdAlignedOffsetFree(old);
  link(fresh, size, aligned);
  return userBlockOf(fresh);
}
}  // namespace

void* bdAlignedOffsetMalloc(std::size_t size, std::size_t alignment, std::size_t offset) {
  if (!isPowerOfTwo(alignment)) {
    bdAssertMsg("bdAlignedOffsetMalloc, alignment must a power of 2.");
    return nullptr;
  }
  const std::size_t overhead = alignment + offset + sizeof(void*);
  if (size > SIZE_MAX - overhead) return nullptr;
  unsigned char* raw = static_cast<unsigned char*>(std::malloc(overhead + size));
  if (raw == nullptr) return nullptr;
  std::uintptr_t a = (reinterpret_cast<std::uintptr_t>(raw) + overhead) & ~(alignment - 1);
  unsigned char* p = raw + (a - reinterpret_cast<std::uintptr_t>(raw)) - offset;
  std::memcpy(p - sizeof(void*), &raw, sizeof(void*));
  if (((reinterpret_cast<std::uintptr_t>(p) + offset) & (alignment - 1)) != 0) {
    bdAssertMsg("bdAlignedOffsetMalloc, incorrect alignment.");
  }
  return p;
}

void bdAlignedOffsetFree(void* p) {
  if (p == nullptr) return;
  void* raw;
  std::memcpy(&raw, static_cast<unsigned char*>(p) - sizeof(void*), sizeof(void*));
  std::free(raw);
}

void* bdMallocMemory::allocate(std::size_t size) {
  return allocateElement(size, DEFAULT_ALIGNMENT, false);
}

void* bdMallocMemory::alignedAllocate(std::size_t size, std::size_t alignment) {
  if (!isPowerOfTwo(alignment)) {
    bdAssertMsg("bdAlignedOffsetMalloc, alignment must a power of 2.");
    return nullptr;
  }
  return allocateElement(size, alignment, true);
}

void bdMallocMemory::deallocate(void* block) {
  if (block == nullptr) return;
  if (elementOf(block)->m_aligned == 1) {
    bdAssertMsg(
        "Memory block allocated as aligned but is beign deallocated with "
        "bdMallocMemory::deallocate. Use bdMallocMemory::alignedDeallocate instead.");
  }
  release(block);
}

void bdMallocMemory::alignedDeallocate(void* block) {
  if (block == nullptr) return;
  if (elementOf(block)->m_aligned != 1) {
    bdAssertMsg(
        "Memory block allocated unaligned but is beign deallocated with "
        "bdMallocMemory::alignedDeallocate. Use bdMallocMemory::deallocate instead.");
  }
  release(block);
}

void* bdMallocMemory::reallocate(void* block, std::size_t size) {
  return reallocateElement(block, size, DEFAULT_ALIGNMENT, false);
}

void* bdMallocMemory::alignedReallocate(void* block, std::size_t size, std::size_t alignment) {
  if (!isPowerOfTwo(alignment)) {
    bdAssertMsg("bdAlignedOffsetMalloc, alignment must a power of 2.");
    return nullptr;
  }
  return reallocateElement(block, size, alignment, true);
}

bool bdMallocMemory::eraseMemory(bdMemoryChainElement* element) {
  ChainState& c = chain();
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    if (element->m_magic == BD_MEMORY_MAGIC) {
      if (element->m_prev != nullptr) element->m_prev->m_next = element->m_next;
      if (element->m_next != nullptr) element->m_next->m_prev = element->m_prev;
      if (c.head == element) c.head = element->m_next;
      c.totalBytes -= element->m_size;
      c.count -= 1;
      // Cleared so that a stale pointer to this header no longer passes the check.
      element->m_magic = 0;
      return true;
    }
  }
  // Logging allocates, so it runs outside the allocator's lock.
  bdLogError("mallocmemory", " BD_MEMORY_MAGIC is incorrect.");
  return false;
}

void bdMallocMemory::releaseAll() {
  ChainState& c = chain();
  std::lock_guard<std::mutex> lock(c.mutex);
  while (c.head != nullptr) {
    Element* element = c.head;
    c.head = element->m_next;
    element->m_magic = 0;
    bdAlignedOffsetFree(element);
  }
  c.totalBytes = 0;
  c.count = 0;
}

std::size_t bdMallocMemory::getTotalBytes() {
  std::lock_guard<std::mutex> lock(chain().mutex);
  return chain().totalBytes;
}

std::size_t bdMallocMemory::getAllocationCount() {
  std::lock_guard<std::mutex> lock(chain().mutex);
  return chain().count;
}
