#include "bdCore/bdUtilities/bdByteBuffer.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdMemory/bdMemory.h"

// The block starts zeroed: reads may run past what was written (up to the size).
bdByteBuffer::bdByteBuffer(const unsigned int size)
    : m_size(size),
      m_data(static_cast<unsigned char*>(bdMemory::allocateCleared(size, 1))),
      m_readPtr(m_data),
      m_writePtr(m_data) {
  if (m_data == nullptr) m_size = 0;
}

bdByteBuffer::~bdByteBuffer() {
  bdMemory::deallocate(m_data);
  m_data = nullptr;
  m_readPtr = nullptr;
  m_writePtr = nullptr;
  m_size = 0;
}

bool bdByteBuffer::write(const void* data, unsigned int length) {
  const unsigned int room = m_size - getWriteOffset();
  if (length > room) {
    bdLogError("err", "Could not write data to buffer. Insufficient space.\n");
    bdAssertMsg("Could not write data to buffer. Insufficient space.\n");
    return false;
  }
  if (length > 0) std::memcpy(m_writePtr, data, length);
  m_writePtr += length;
  return true;
}

bool bdByteBuffer::read(void* data, unsigned int length) {
  const unsigned int room = m_size - getReadOffset();
  if (length > room) {
    bdLogError("err", "Could not read data from buffer. Insufficient data available.\n");
    bdAssertMsg("Could not read data from buffer. Insufficient data available.\n");
    return false;
  }
  if (length > 0) std::memcpy(data, m_readPtr, length);
  m_readPtr += length;
  return true;
}
