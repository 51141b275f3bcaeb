#pragma once
// Every toolbox allocation (objects, buffers, vectors, Lua's memory) goes
// through these six entries, each of which calls the process-wide table, so
// the game can route the toolbox's memory wherever it likes.
#include <cstddef>
#include <new>
#include <vector>

namespace OX_Toolbox {

struct AllocatorTable {
  void* (*allocate)(std::size_t size);
  void* (*reallocate)(void* block, std::size_t size);
  void (*free)(void* block);
  void* (*alignedAllocate)(std::size_t size, std::size_t alignment);
  void* (*alignedReallocate)(void* block, std::size_t size, std::size_t alignment);
  void (*alignedFree)(void* block);
};

// The table in use; starts with the defaults below.
AllocatorTable& ToolboxAllocatorTable();
AllocatorTable DefaultAllocatorTable();

void* DefaultMalloc(std::size_t size);
void* DefaultRealloc(void* block, std::size_t size);
void DefaultFree(void* block);
// The aligned block keeps two pointer-sized words below it: the requested
// size, then (nearest the block) the raw pointer the allocate entry gave.
void* DefaultAlignedAlloc(std::size_t size, std::size_t alignment);
void* DefaultAlignedRealloc(void* block, std::size_t size, std::size_t alignment);
void DefaultAlignedFree(void* block);

void* ToolboxAlloc(std::size_t size);
void* ToolboxRealloc(void* block, std::size_t size);
void ToolboxFree(void* block);
void* ToolboxAlignedAlloc(std::size_t size, std::size_t alignment);
void* ToolboxAlignedRealloc(void* block, std::size_t size, std::size_t alignment);
void ToolboxAlignedFree(void* block);

// Base of every toolbox class: its objects live in toolbox memory.
struct ToolboxObject {
  static void* operator new(std::size_t size) {
    void* p = ToolboxAlloc(size);
    if (!p) throw std::bad_alloc();
    return p;
  }
  static void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return ToolboxAlloc(size);
  }
  static void operator delete(void* p) noexcept { ToolboxFree(p); }
  static void operator delete(void* p, const std::nothrow_t&) noexcept { ToolboxFree(p); }
};

template <typename T>
struct ToolboxAllocator {
  using value_type = T;
  ToolboxAllocator() = default;
  template <typename U>
  ToolboxAllocator(const ToolboxAllocator<U>&) {}
  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    void* p = ToolboxAlloc(n * sizeof(T));
    if (!p) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t) { ToolboxFree(p); }
  template <typename U>
  bool operator==(const ToolboxAllocator<U>&) const {
    return true;
  }
  template <typename U>
  bool operator!=(const ToolboxAllocator<U>&) const {
    return false;
  }
};

template <typename T>
using ToolboxVector = std::vector<T, ToolboxAllocator<T>>;

}  // namespace OX_Toolbox
