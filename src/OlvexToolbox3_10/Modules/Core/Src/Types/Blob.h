#pragma once
// The typed byte stream: every value is preceded by its one-byte type code.
// In the writable mode a read removes what it read (callers read at offset 0
// one value after another); in the read-only mode the blob references
// foreign bytes and a read moves the cursor instead.
//
// Every reader checks the bytes that remain before it touches them, whether
// or not error tracking is on: a read that would run past the data returns 0
// (false, an empty text) and consumes nothing. A wrong type code is an error
// only while tracking (inside readFields); otherwise the reader goes on, for
// callers that read layouts they wrote themselves.
#include <cstddef>
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Types/TypeCodes.h"

namespace OX_Toolbox {

class String;
class BinaryBlock;

// 1 (the default): numbers least significant byte first; 0: most significant
// first.
extern int g_blobByteOrder;

struct BlobField {
  std::uint8_t type;      // a TypeCode
  void* destination;      // 1/2/4/8-byte value, a String, or a const unsigned char* (block)
  std::uint32_t* length;  // a binary block's byte count
  std::uint32_t offset;
};

class Blob : public ToolboxObject {
 public:
  explicit Blob(BlobMode mode = BLOB_EXTRACT_AND_WRITE_ENABLED);
  Blob(const void* bytes, std::uint32_t size, BlobMode mode);
  Blob(const Blob& other);
  Blob& operator=(const Blob& other);
  ~Blob();

  bool setData(const void* bytes, std::uint32_t size);
  void setOwnsData(bool owns) { m_ownsData = owns; }
  bool isReadOnly() const { return m_mode == BLOB_READONLY; }
  std::uint32_t getSize() const { return m_size; }
  const unsigned char* getData() const { return m_data; }
  std::uint32_t getCursor() const { return m_cursor; }
  // Bytes a read at this offset can still see.
  std::uint32_t remaining(std::uint32_t offset) const;
  bool hasError() const { return m_error; }

  // Raw insertion (writable mode only; false in read-only mode or when the
  // offset lies beyond the data).
  bool insertBytes(std::uint32_t offset, const void* bytes, std::uint32_t n);
  bool insertRawUInt8(std::uint32_t offset, std::uint8_t v);
  bool insertRawUInt16(std::uint32_t offset, std::uint16_t v);
  bool insertRawUInt32(std::uint32_t offset, std::uint32_t v);
  bool insertRawUInt64(std::uint32_t offset, std::uint64_t v);
  bool insertRawFloat32(std::uint32_t offset, float v);
  bool insertRawFloat64(std::uint32_t offset, double v);
  bool insertBlob(std::uint32_t offset, const Blob& other);
  bool insertBinaryBlock(std::uint32_t offset, const BinaryBlock& block);

  // Typed writers: each inserts its whole layout at the offset.
  bool writeInt8(std::uint32_t offset, std::int8_t v);
  bool writeUInt8(std::uint32_t offset, std::uint8_t v);
  bool writeInt16(std::uint32_t offset, std::int16_t v);
  bool writeUInt16(std::uint32_t offset, std::uint16_t v);
  bool writeInt32(std::uint32_t offset, std::int32_t v);
  bool writeUInt32(std::uint32_t offset, std::uint32_t v);
  bool writeInt64(std::uint32_t offset, std::int64_t v);
  bool writeUInt64(std::uint32_t offset, std::uint64_t v);
  bool writeFloat32(std::uint32_t offset, float v);
  bool writeFloat64(std::uint32_t offset, double v);
  bool writeString(std::uint32_t offset, const String& v);
  bool writeBool(std::uint32_t offset, bool v);
  bool writeBinaryBlock(std::uint32_t offset, const void* bytes, std::int32_t n);

  // Typed readers.
  std::int8_t readInt8(std::uint32_t offset);
  std::uint8_t readUInt8(std::uint32_t offset);
  std::int16_t readInt16(std::uint32_t offset);
  std::uint16_t readUInt16(std::uint32_t offset);
  std::int32_t readInt32(std::uint32_t offset);
  std::uint32_t readUInt32(std::uint32_t offset);
  std::int64_t readInt64(std::uint32_t offset);
  std::uint64_t readUInt64(std::uint32_t offset);
  float readFloat32(std::uint32_t offset);
  double readFloat64(std::uint32_t offset);
  bool readBool(std::uint32_t offset);
  bool readString(std::uint32_t offset, String& out);
  // In the writable mode the bytes are a copy the caller frees with
  // ToolboxFree; in the read-only mode they point into the referenced data.
  // Null (and size 0) on an error or an empty block.
  unsigned char* readBinaryBlock(std::uint32_t offset, std::uint32_t& size);
  bool readUInt64Into(std::uint32_t offset, std::uint64_t& out);

  // Writable mode: a new copy of n bytes (the caller frees it) removed from
  // the blob. Read-only: a pointer to cursor + offset; the cursor moves past
  // the n bytes. Null when fewer than n bytes remain.
  unsigned char* extractBytes(std::uint32_t offset, std::uint32_t n);
  // The type byte at the offset, consumed; 0 when fewer than two bytes lie
  // there.
  std::uint8_t takeTypeCode(std::uint32_t offset);

  bool readFields(const BlobField* fields, std::size_t count);

 private:
  // One typed number: checks, takes the code, extracts `size` bytes into out
  // in host order. False (nothing consumed) when the data runs short.
  bool readNumber(std::uint32_t offset, std::uint8_t code, std::uint32_t size, void* out);
  // readNumber into a T; T{} when it fails.
  template <typename T>
  T readValue(std::uint32_t offset, std::uint8_t code);
  // The head of a typed value: at least `need` bytes remain and, when
  // tracking, the type byte is `code`; then the type byte is taken.
  bool takeTypedHead(std::uint32_t offset, std::uint8_t code, std::uint32_t need);
  bool insertNumber(std::uint32_t offset, std::uint8_t code, std::uint64_t bits,
                    std::uint32_t size);
  bool check(bool ok);
  void release();

  unsigned char* m_data = nullptr;
  std::uint32_t m_size = 0;
  std::uint32_t m_cursor = 0;
  BlobMode m_mode = BLOB_EXTRACT_AND_WRITE_ENABLED;
  bool m_ownsData = true;
  bool m_error = false;
  bool m_checked = false;
  bool m_tracking = false;
};

}  // namespace OX_Toolbox
