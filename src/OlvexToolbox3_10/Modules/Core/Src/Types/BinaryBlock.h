#pragma once
// A byte block: an owned copy, or (read-only) a view of foreign bytes read
// from its offset.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"

namespace OX_Toolbox {

class BinaryBlock : public ToolboxObject {
 public:
  BinaryBlock() = default;
  BinaryBlock(const void* bytes, std::uint32_t size, bool readOnly);
  BinaryBlock(const BinaryBlock& other);
  BinaryBlock& operator=(const BinaryBlock& other);
  ~BinaryBlock();

  bool set(const void* bytes, std::uint32_t size, bool readOnly);
  const unsigned char* getBytes() const { return m_bytes; }
  std::uint32_t getSize() const { return m_size; }
  std::uint32_t getOffset() const { return m_offset; }
  void setOffset(std::uint32_t offset) { m_offset = offset < m_size ? offset : m_size; }
  bool isReadOnly() const { return m_readOnly; }
  const unsigned char* remainingBytes() const { return m_bytes ? m_bytes + m_offset : nullptr; }
  std::uint32_t remainingSize() const { return m_size - m_offset; }

 private:
  void release();

  unsigned char* m_bytes = nullptr;
  std::uint32_t m_size = 0;
  std::uint32_t m_offset = 0;
  bool m_readOnly = false;
};

}  // namespace OX_Toolbox
