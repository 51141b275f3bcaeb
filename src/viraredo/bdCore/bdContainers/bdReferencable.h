#pragma once
// The base of every reference-counted SDK object. Counts are plain integers:
// each object belongs to the thread that drives the SDK.
#include <cstddef>
#include <new>

class bdReferencable {
 public:
  bdReferencable() : m_refCount(0) {}
  bdReferencable(const bdReferencable&) : m_refCount(0) {}
  bdReferencable& operator=(const bdReferencable&) { return *this; }
  virtual ~bdReferencable() = default;

  void addRef() { ++m_refCount; }
  // Returns the count left; the caller deletes the object at 0.
  int releaseRef() { return --m_refCount; }
  int getRefCount() const { return m_refCount; }

  // Objects live in SDK memory; a failed allocation yields null and no object.
  static void* operator new(std::size_t size) noexcept;
  static void operator delete(void* block) noexcept;
  static void* operator new(std::size_t, void* place) noexcept { return place; }
  static void operator delete(void*, void*) noexcept {}

 private:
  int m_refCount;
};
