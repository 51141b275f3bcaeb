// Windows blocks: movable, zero-filled global memory locked once when made;
// the handle is found again from the pointer.
#include <windows.h>

#include <cstring>

#include "gui/gui_memory.h"
#include "gui/gui_memory_alloc.h"

namespace gui {

void* GlobalAllocPtr(size_t size, uint32_t) {
  if (!detail::AllocationAllowed()) return nullptr;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size ? size : 1);
  if (!h) return nullptr;
  void* p = GlobalLock(h);
  if (!p) GlobalFree(h);
  return p;
}

int GlobalFreePtr(void* block) {
  if (block) {
    HGLOBAL h = GlobalHandle(block);
    GlobalUnlock(h);
    GlobalFree(h);
  }
  return 0;
}

void* GlobalReAllocPtr(void* block, size_t size, uint32_t flags) {
  if (!block) return GlobalAllocPtr(size, flags);
  if (!detail::AllocationAllowed()) return nullptr;
  HGLOBAL h = GlobalHandle(block);
  size_t oldSize = GlobalSize(h);
  GlobalUnlock(h);
  HGLOBAL nh = GlobalReAlloc(h, size ? size : 1, GMEM_MOVEABLE | GMEM_ZEROINIT);
  if (!nh) {
    // Keep the caller's block usable: lock it again at its old place.
    GlobalLock(h);
    return nullptr;
  }
  char* p = static_cast<char*>(GlobalLock(nh));
  if (p && size > oldSize) std::memset(p + oldSize, 0, size - oldSize);
  return p;
}

size_t GlobalSizePtr(const void* block) { return block ? GlobalSize(GlobalHandle(block)) : 0; }

}  // namespace gui
