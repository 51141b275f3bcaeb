#pragma once
// Smart pointer over a bdReferencable: the last release deletes the object.
#include "bdCore/bdContainers/bdReferencable.h"

template <typename T>
class bdReference {
 public:
  bdReference() : m_ptr(nullptr) {}
  bdReference(T* ptr) : m_ptr(ptr) { acquire(); }  // NOLINT: implicit by design
  bdReference(const bdReference& other) : m_ptr(other.m_ptr) { acquire(); }
  template <typename U>
  bdReference(const bdReference<U>& other) : m_ptr(other.get()) {  // NOLINT
    acquire();
  }
  ~bdReference() { release(); }

  bdReference& operator=(const bdReference& other) { return assign(other.m_ptr); }
  bdReference& operator=(T* ptr) { return assign(ptr); }

  T* operator->() const { return m_ptr; }
  T& operator*() const { return *m_ptr; }
  T* get() const { return m_ptr; }
  bool isNull() const { return m_ptr == nullptr; }
  bool notNull() const { return m_ptr != nullptr; }
  explicit operator bool() const { return m_ptr != nullptr; }
  bool operator==(const bdReference& other) const { return m_ptr == other.m_ptr; }
  bool operator!=(const bdReference& other) const { return m_ptr != other.m_ptr; }

 private:
  void acquire() {
    if (m_ptr != nullptr) m_ptr->addRef();
  }
  void release() {
    if (m_ptr != nullptr && m_ptr->releaseRef() == 0) delete m_ptr;
    m_ptr = nullptr;
  }
  bdReference& assign(T* ptr) {
    if (ptr == m_ptr) return *this;
    // Taking the new count first keeps an object alive that only the old one held.
    if (ptr != nullptr) ptr->addRef();
    release();
    m_ptr = ptr;
    return *this;
  }

  T* m_ptr;
};
