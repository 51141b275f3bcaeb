// Native blocks: a heap block with a header that records the size, so that
// GlobalSizePtr and GlobalReAllocPtr work from the pointer alone.
#include <cstdlib>
#include <cstring>

#include "gui/gui_memory.h"
#include "gui/gui_memory_alloc.h"

namespace gui {

namespace {
// Keeps the user area aligned for any type.
struct alignas(16) BlockHeader {
  size_t size;
};

BlockHeader* HeaderOf(const void* block) {
  return reinterpret_cast<BlockHeader*>(const_cast<char*>(static_cast<const char*>(block))) - 1;
}
}  // namespace

void* GlobalAllocPtr(size_t size, uint32_t) {
  if (!detail::AllocationAllowed()) return nullptr;
  auto* h = static_cast<BlockHeader*>(std::calloc(1, sizeof(BlockHeader) + size));
  if (!h) return nullptr;
  h->size = size;
  return h + 1;
}

int GlobalFreePtr(void* block) {
  if (block) std::free(HeaderOf(block));
  return 0;
}

void* GlobalReAllocPtr(void* block, size_t size, uint32_t flags) {
  if (!block) return GlobalAllocPtr(size, flags);
  if (!detail::AllocationAllowed()) return nullptr;
  BlockHeader* old = HeaderOf(block);
  size_t oldSize = old->size;
  auto* h = static_cast<BlockHeader*>(std::realloc(old, sizeof(BlockHeader) + size));
  if (!h) return nullptr;  // realloc left the old block intact
  if (size > oldSize) std::memset(reinterpret_cast<char*>(h + 1) + oldSize, 0, size - oldSize);
  h->size = size;
  return h + 1;
}

size_t GlobalSizePtr(const void* block) { return block ? HeaderOf(block)->size : 0; }

}  // namespace gui
