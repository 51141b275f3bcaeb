#pragma once
// The toolkit's memory blocks: zero-filled, addressed by pointer, their size
// recoverable from the pointer. On Windows they are movable global-memory
// blocks locked once when made; natively a size-tracked heap block.
#include <cstddef>
#include <cstdint>

namespace gui {

// A new zero-filled block of `size` bytes (the flags are ignored: blocks are
// always movable and zero-filled); null when the allocation fails.
void* GlobalAllocPtr(size_t size, uint32_t flags = 0);
// Frees a block; null is allowed. Always 0.
int GlobalFreePtr(void* block);
void SafeGlobalFreePtr(void* block);
// Resizes a block; bytes past the old size are zero. Null when it fails, and
// then the old block is still valid and still owned by the caller.
void* GlobalReAllocPtr(void* block, size_t size, uint32_t flags = 0);
// A copy of the string in a new block; null for null or on failure.
char* GlobalStrDup(const char* text);
// The size the block was made with (0 for null).
size_t GlobalSizePtr(const void* block);
// 1 for a non-zero value, 4 for zero.
inline int SelectOneOrFour(uint32_t value) { return value ? 1 : 4; }

namespace testing {
// Makes every allocation after the next `count` fail (count < 0: never), so
// that out-of-memory paths can be run in tests.
void FailAllocationsAfter(int count);
}  // namespace testing

}  // namespace gui
