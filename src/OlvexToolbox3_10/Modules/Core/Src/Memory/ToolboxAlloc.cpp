#include "Modules/Core/Src/Memory/ToolboxAlloc.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace OX_Toolbox {

namespace {

constexpr std::size_t kSlot = sizeof(void*);
constexpr std::size_t kHeader = 2 * kSlot;  // size word, raw pointer word

bool isPowerOfTwo(std::size_t n) { return n != 0 && (n & (n - 1)) == 0; }

void* rawOf(void* block) {
  void* raw;
  std::memcpy(&raw, static_cast<char*>(block) - kSlot, kSlot);
  return raw;
}

std::size_t sizeOf(void* block) {
  std::size_t size;
  std::memcpy(&size, static_cast<char*>(block) - kHeader, sizeof size);
  return size;
}

}  // namespace

AllocatorTable DefaultAllocatorTable() {
  return {DefaultMalloc,       DefaultRealloc,        DefaultFree,
          DefaultAlignedAlloc, DefaultAlignedRealloc, DefaultAlignedFree};
}

AllocatorTable& ToolboxAllocatorTable() {
  static AllocatorTable table = DefaultAllocatorTable();
  return table;
}

void* DefaultMalloc(std::size_t size) { return std::malloc(size); }
void* DefaultRealloc(void* block, std::size_t size) { return std::realloc(block, size); }
void DefaultFree(void* block) { std::free(block); }

void* DefaultAlignedAlloc(std::size_t size, std::size_t alignment) {
  if (!isPowerOfTwo(alignment)) return nullptr;
  if (size > static_cast<std::size_t>(-1) - alignment - kHeader) return nullptr;
  void* raw = ToolboxAlloc(size + alignment + kHeader);
  if (!raw) return nullptr;
  // Rounding raw + alignment + header down leaves at least the header below
  // the block and the whole size above it.
  const std::uintptr_t top = reinterpret_cast<std::uintptr_t>(raw) + alignment + kHeader;
  char* block = reinterpret_cast<char*>(top & ~(static_cast<std::uintptr_t>(alignment) - 1));
  std::memcpy(block - kSlot, &raw, kSlot);
  std::memcpy(block - kHeader, &size, sizeof size);
  return block;
}

void* DefaultAlignedRealloc(void* block, std::size_t size, std::size_t alignment) {
  void* fresh = ToolboxAlignedAlloc(size, alignment);
  if (!fresh) return nullptr;
  if (block) {
    const std::size_t old = sizeOf(block);
    std::memcpy(fresh, block, old < size ? old : size);
    ToolboxAlignedFree(block);
  }
  return fresh;
}

void DefaultAlignedFree(void* block) {
  if (block) ToolboxFree(rawOf(block));
}

void* ToolboxAlloc(std::size_t size) { return ToolboxAllocatorTable().allocate(size); }
void* ToolboxRealloc(void* block, std::size_t size) {
  return ToolboxAllocatorTable().reallocate(block, size);
}
void ToolboxFree(void* block) { ToolboxAllocatorTable().free(block); }
void* ToolboxAlignedAlloc(std::size_t size, std::size_t alignment) {
  return ToolboxAllocatorTable().alignedAllocate(size, alignment);
}
void* ToolboxAlignedRealloc(void* block, std::size_t size, std::size_t alignment) {
  return ToolboxAllocatorTable().alignedReallocate(block, size, alignment);
}
void ToolboxAlignedFree(void* block) { ToolboxAllocatorTable().alignedFree(block); }

}  // namespace OX_Toolbox
