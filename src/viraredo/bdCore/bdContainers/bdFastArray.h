#pragma once
// Growable array of plain values, copied bytewise.
#include <cstring>
#include <type_traits>

#include "bdCore/bdContainers/bdArrayBase.h"
#include "bdCore/bdLog/bdLog.h"

template <typename T>
class bdFastArray {
  static_assert(std::is_trivially_copyable<T>::value, "bdFastArray holds plain values");

 public:
  explicit bdFastArray(unsigned int capacity = 0)
      : m_data(bdArrayDetail::allocateElements<T>(capacity)),
        m_capacity(m_data != nullptr ? capacity : 0),
        m_size(0) {}
  bdFastArray(const bdFastArray& other) : m_data(nullptr), m_capacity(0), m_size(0) {
    *this = other;
  }
  bdFastArray& operator=(const bdFastArray& other) {
    if (this == &other) return *this;
    clear();
    pushBack(other.m_data, other.m_size);
    return *this;
  }
  ~bdFastArray() { bdMemory::deallocate(m_data); }

  T& operator[](const unsigned int index) {
    if (index >= m_size) {
      bdAssertMsg("bdFastArray<T>::operator[], rangecheck failed");
      return bdArrayDetail::outOfRangeElement<T>();
    }
    return m_data[index];
  }
  const T& operator[](const unsigned int index) const {
    return const_cast<bdFastArray&>(*this)[index];
  }

  bool pushBack(const T& value) {
    if (m_size == m_capacity && !increaseCapacity(1)) return false;
    m_data[m_size++] = value;
    return true;
  }
  bool pushBack(const T* values, unsigned int count) {
    if (count == 0) return true;
    if (count > m_capacity - m_size && !increaseCapacity(count - (m_capacity - m_size))) {
      return false;
    }
    std::memcpy(m_data + m_size, values, count * sizeof(T));
    m_size += count;
    return true;
  }
  // Stores value at index; an index at or past the end grows the array to index + 1
  // (new elements in between are zero).
  bool setGrow(unsigned int index, const T& value) {
    if (index >= m_size) {
      if (index == UINT32_MAX) return false;
      if (index >= m_capacity && !increaseCapacity(index + 1 - m_capacity)) return false;
      std::memset(static_cast<void*>(m_data + m_size), 0, (index + 1 - m_size) * sizeof(T));
      m_size = index + 1;
    }
    m_data[index] = value;
    return true;
  }
  void popBack() {
    if (m_size > 0) --m_size;
  }
  // Removes every element equal to value; the last element fills each gap.
  unsigned int removeAll(const T& value) {
    unsigned int removed = 0;
    for (unsigned int i = 0; i < m_size;) {
      if (m_data[i] == value) {
        m_data[i] = m_data[m_size - 1];
        --m_size;
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
    if (m_size > 0) std::memcpy(static_cast<void*>(data), m_data, m_size * sizeof(T));
    bdMemory::deallocate(m_data);
    m_data = data;
    m_capacity = capacity;
    return true;
  }
  void clear() { m_size = 0; }
  // Empties the array and gives its storage back.
  void reset() {
    bdMemory::deallocate(m_data);
    m_data = nullptr;
    m_capacity = 0;
    m_size = 0;
  }

  unsigned int getSize() const { return m_size; }
  unsigned int getCapacity() const { return m_capacity; }
  bool isEmpty() const { return m_size == 0; }
  T* getData() { return m_data; }
  const T* getData() const { return m_data; }

 private:
  T* m_data;
  unsigned int m_capacity;
  unsigned int m_size;
};
