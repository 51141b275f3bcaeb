#pragma once
// A byte ring over one block. The stream connection uses it without
// wrapping: used bytes run from read to write and are moved to the front
// (alignUsedBlock) when the free block at the end grows too small.
#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdMemory/bdMemory.h"

template <typename T>
class bdCircularBuffer {
 public:
  bdCircularBuffer(unsigned int capacity, bool allowWrap)
      : m_allowWrap(allowWrap),
        m_capacity(capacity),
        m_begin(static_cast<T*>(bdMemory::allocate(capacity * sizeof(T)))),
        m_ownsMemory(true) {
    if (m_begin == nullptr) m_capacity = 0;
    m_end = m_begin + m_capacity;
    m_read = m_write = m_begin;
  }
  bdCircularBuffer(T* block, unsigned int capacity, bool allowWrap)
      : m_allowWrap(allowWrap),
        m_capacity(block != nullptr ? capacity : 0),
        m_begin(block),
        m_end(block + m_capacity),
        m_read(block),
        m_write(block),
        m_ownsMemory(false) {}
  ~bdCircularBuffer() {
    if (m_ownsMemory) bdMemory::deallocate(m_begin);
  }
  bdCircularBuffer(const bdCircularBuffer&) = delete;
  bdCircularBuffer& operator=(const bdCircularBuffer&) = delete;

  bool isValid() const { return m_begin != nullptr; }
  unsigned int getCapacity() const { return m_capacity; }
  T* getReadPtr() const { return m_read; }
  T* getWritePtr() const { return m_write; }

  unsigned int getFreeBlockSize() const {
    if (m_write >= m_read) return static_cast<unsigned int>(m_end - m_write);
    bdAssert(m_allowWrap, "Buffer seems wrapped, but not allowed.");
    return static_cast<unsigned int>(m_read - m_write - 1);
  }
  unsigned int getUsedBlockSize() const {
    if (m_write >= m_read) return static_cast<unsigned int>(m_write - m_read);
    bdAssert(m_allowWrap, "Buffer seems wrapped, but not allowed.");
    return static_cast<unsigned int>(m_end - m_read);
  }
  unsigned int getFreeSpace() const {
    unsigned int free = getFreeBlockSize();
    if (m_write >= m_read) free += static_cast<unsigned int>(m_read - m_begin);
    return free;
  }
  void alignUsedBlock() {
    bdAssert(!m_allowWrap, "Aligning not implemented on wrappable buffers.");
    if (m_allowWrap || m_read == m_begin) return;
    const unsigned int used = getUsedBlockSize();
    std::memmove(m_begin, m_read, used * sizeof(T));
    m_read = m_begin;
    m_write = m_begin + used;
  }
  bool protectBlock(unsigned int n) {
    if (n > getFreeBlockSize()) {
      bdAssertMsg("Tried to put more data than allowed.");
      return false;
    }
    m_write += n;
    if (m_allowWrap && m_write == m_end && m_read > m_begin) m_write = m_begin;
    return true;
  }
  bool freeBlock(unsigned int n) {
    if (n > getUsedBlockSize()) {
      bdAssertMsg("Tried to remove more data than available.");
      return false;
    }
    m_read += n;
    if (m_allowWrap && m_read == m_end) m_read = m_begin;
    // An empty ring starts again at the front, which keeps the free block whole.
    if (!m_allowWrap && m_read == m_write) m_read = m_write = m_begin;
    return true;
  }
  bool appendBuffer(const T* data, unsigned int n) {
    T* const savedRead = m_read;
    T* const savedWrite = m_write;
    while (n > 0) {
      const unsigned int chunk = n < getFreeBlockSize() ? n : getFreeBlockSize();
      if (chunk == 0) {
        m_read = savedRead;
        m_write = savedWrite;
        bdLogError("bdCircularBuffer", "Operation should never fail.");
        return false;
      }
      std::memcpy(m_write, data, chunk * sizeof(T));
      protectBlock(chunk);
      data += chunk;
      n -= chunk;
    }
    return true;
  }
  bool removeBuffer(T* out, unsigned int n) {
    if (n > getUsedBlockSize()) {
      bdLogError("bdCircularBuffer", "Operation should never fail.");
      return false;
    }
    if (out != nullptr) std::memcpy(out, m_read, n * sizeof(T));
    return freeBlock(n);
  }

 private:
  bool m_allowWrap;
  unsigned int m_capacity;
  T* m_begin;
  T* m_end;
  T* m_read;
  T* m_write;
  bool m_ownsMemory;
};
