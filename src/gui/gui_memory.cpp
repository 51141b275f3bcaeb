#include "gui/gui_memory.h"

#include <cstring>

#include "gui/gui_memory_alloc.h"

namespace gui {

namespace {
int g_allocationsLeft = -1;  // < 0: no injected failures
}  // namespace

namespace testing {
void FailAllocationsAfter(int count) { g_allocationsLeft = count; }
}  // namespace testing

namespace detail {
bool AllocationAllowed() {
  if (g_allocationsLeft < 0) return true;
  if (g_allocationsLeft == 0) return false;
  --g_allocationsLeft;
  return true;
}
}  // namespace detail

void SafeGlobalFreePtr(void* block) {
  if (block) GlobalFreePtr(block);
}

char* GlobalStrDup(const char* text) {
  if (!text) return nullptr;
  size_t n = std::strlen(text) + 1;
  char* copy = static_cast<char*>(GlobalAllocPtr(n));
  if (copy) std::memcpy(copy, text, n);
  return copy;
}

}  // namespace gui
