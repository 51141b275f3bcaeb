#include "Modules/Core/Src/Types/BinaryBlock.h"

#include <cstring>

namespace OX_Toolbox {

BinaryBlock::BinaryBlock(const void* bytes, std::uint32_t size, bool readOnly) {
  set(bytes, size, readOnly);
}

BinaryBlock::BinaryBlock(const BinaryBlock& other) {
  set(other.m_bytes, other.m_size, other.m_readOnly);
  m_offset = other.m_offset;
}

BinaryBlock& BinaryBlock::operator=(const BinaryBlock& other) {
  if (this != &other) {
    set(other.m_bytes, other.m_size, other.m_readOnly);
    m_offset = other.m_offset;
  }
  return *this;
}

BinaryBlock::~BinaryBlock() { release(); }

void BinaryBlock::release() {
  if (!m_readOnly) ToolboxFree(m_bytes);
  m_bytes = nullptr;
  m_size = 0;
  m_offset = 0;
}

bool BinaryBlock::set(const void* bytes, std::uint32_t size, bool readOnly) {
  if (bytes == m_bytes && readOnly && m_readOnly) return true;
  unsigned char* fresh = nullptr;
  if (!bytes) size = 0;
  if (readOnly) {
    fresh = static_cast<unsigned char*>(const_cast<void*>(bytes));
  } else if (size) {
    fresh = static_cast<unsigned char*>(ToolboxAlloc(size));
    if (!fresh) return false;
    std::memcpy(fresh, bytes, size);
  }
  release();
  m_bytes = fresh;
  m_size = size;
  m_readOnly = readOnly;
  return true;
}

}  // namespace OX_Toolbox
