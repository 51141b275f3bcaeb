#pragma once
// Growable array whose elements are copy-constructed and destroyed.
#include <new>
#include <utility>

#include "bdCore/bdContainers/bdArrayBase.h"
#include "bdCore/bdLog/bdLog.h"

template <typename T>
class bdArray {
 public:
  explicit bdArray(unsigned int capacity = 0)
      : m_data(bdArrayDetail::allocateElements<T>(capacity)),
        m_capacity(m_data != nullptr ? capacity : 0),
        m_size(0) {}
  bdArray(const bdArray& other) : m_data(nullptr), m_capacity(0), m_size(0) { *this = other; }
  bdArray& operator=(const bdArray& other) {
    if (this == &other) return *this;
    clear();
    if (other.m_size > m_capacity && !increaseCapacity(other.m_size - m_capacity)) return *this;
    for (unsigned int i = 0; i < other.m_size; ++i)
      pushBack(other.m_data[i]);
    return *this;
  }
  ~bdArray() {
    clear();
    bdMemory::deallocate(m_data);
  }

  T& operator[](const unsigned int index) {
    if (index >= m_size) {
      bdAssertMsg("bdArray<T>::operator[], rangecheck failed");
      return bdArrayDetail::outOfRangeElement<T>();
    }
    return m_data[index];
  }
  const T& operator[](const unsigned int index) const { return const_cast<bdArray&>(*this)[index]; }

  bool pushBack(const T& value) {
    if (m_size == m_capacity) {
      // value may live in this array; copy it before the storage moves.
      T copy(value);
      if (!increaseCapacity(1)) return false;
      ::new (static_cast<void*>(m_data + m_size)) T(std::move(copy));
    } else {
      ::new (static_cast<void*>(m_data + m_size)) T(value);
    }
    ++m_size;
    return true;
  }
  bool pushBack(const T* values, unsigned int count) {
    for (unsigned int i = 0; i < count; ++i) {
      if (!pushBack(values[i])) return false;
    }
    return true;
  }
  void popBack() {
    if (m_size == 0) return;
    --m_size;
    m_data[m_size].~T();
  }
  // Removes every element equal to value; the last element fills each gap.
  unsigned int removeAll(const T& value) {
    const T target(value);
    unsigned int removed = 0;
    for (unsigned int i = 0; i < m_size;) {
      if (m_data[i] == target) {
        if (i != m_size - 1) m_data[i] = m_data[m_size - 1];
        popBack();
        ++removed;
      } else {
        ++i;
      }
    }
    return removed;
  }
  bool increaseCapacity(unsigned int n) {
    const unsigned int capacity = bdArrayDetail::grownCapacity(m_capacity, n);
    T* data = bdArrayDetail::allocateElements<T>(capacity);
    if (data == nullptr) return false;
    for (unsigned int i = 0; i < m_size; ++i) {
      ::new (static_cast<void*>(data + i)) T(m_data[i]);
      m_data[i].~T();
    }
    bdMemory::deallocate(m_data);
    m_data = data;
    m_capacity = capacity;
    return true;
  }
  void clear() {
    while (m_size > 0)
      popBack();
  }

  unsigned int getSize() const { return m_size; }
  unsigned int getCapacity() const { return m_capacity; }
  bool isEmpty() const { return m_size == 0; }

 private:
  T* m_data;
  unsigned int m_capacity;
  unsigned int m_size;
};
