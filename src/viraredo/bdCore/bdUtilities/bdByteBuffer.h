#pragma once
// A fixed-size, reference-counted byte buffer with a read and a write position.
#include "bdCore/bdContainers/bdReferencable.h"

class bdByteBuffer : public bdReferencable {
 public:
  explicit bdByteBuffer(const unsigned int size);
  ~bdByteBuffer() override;
  bdByteBuffer(const bdByteBuffer&) = delete;
  bdByteBuffer& operator=(const bdByteBuffer&) = delete;

  // False, writing nothing, when the rest of the buffer cannot hold length bytes.
  bool write(const void* data, unsigned int length);
  // Reads are bounded by the buffer's size; false, reading nothing, when short.
  bool read(void* data, unsigned int length);

  unsigned char* getData() const { return m_data; }
  unsigned int getSize() const { return m_size; }
  unsigned char* getReadPtr() const { return m_readPtr; }
  unsigned char* getWritePtr() const { return m_writePtr; }
  void setReadPtr(unsigned char* p) { m_readPtr = p; }
  void setWritePtr(unsigned char* p) { m_writePtr = p; }
  unsigned int getReadOffset() const { return static_cast<unsigned int>(m_readPtr - m_data); }
  unsigned int getWriteOffset() const { return static_cast<unsigned int>(m_writePtr - m_data); }

 private:
  unsigned int m_size;
  unsigned char* m_data;
  unsigned char* m_readPtr;
  unsigned char* m_writePtr;
};
