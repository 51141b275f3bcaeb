#pragma once
// Bit-packed serialisation buffer. Bit n of the stream is bit n % 8 (from the
// least significant) of byte n / 8. The first bit says whether the buffer is
// typed: then every field is preceded by a 5-bit type code that readers check.
// Every read checks the bits that remain; a short read sets a sticky flag.
#include <cstdint>

#include "bdCore/bdContainers/bdFastArray.h"
#include "bdCore/bdContainers/bdReferencable.h"
#include "bdCore/bdContainers/bdString.h"

enum bdBitBufferDataType {
  BD_BB_NO_TYPE = 0,
  BD_BB_BOOL_TYPE = 1,
  BD_BB_CHAR8_TYPE = 2,
  BD_BB_UNSIGNED_CHAR8_TYPE = 3,
  BD_BB_WCHAR16_TYPE = 4,
  BD_BB_SIGNED_INTEGER16_TYPE = 5,
  BD_BB_UNSIGNED_INTEGER16_TYPE = 6,
  BD_BB_SIGNED_INTEGER32_TYPE = 7,
  BD_BB_UNSIGNED_INTEGER32_TYPE = 8,
  BD_BB_SIGNED_INTEGER64_TYPE = 9,
  BD_BB_UNSIGNED_INTEGER64_TYPE = 10,
  BD_BB_RANGED_SIGNED_INTEGER32_TYPE = 11,
  BD_BB_RANGED_UNSIGNED_INTEGER32_TYPE = 12,
  BD_BB_FLOAT32_TYPE = 13,
  BD_BB_FLOAT64_TYPE = 14,
  BD_BB_RANGED_FLOAT32_TYPE = 15,
  BD_BB_SIGNED_CHAR8_STRING_TYPE = 16,
  BD_BB_UNSIGNED_CHAR8_STRING_TYPE = 17,
  BD_BB_MBSTRING_TYPE = 18,
  BD_BB_BLOB_TYPE = 19,
  BD_BB_FULL_TYPE = 20,
  BD_BB_MAX_TYPE = 21,
};

constexpr unsigned int BD_BB_NUM_HEADER_BITS = 1;
constexpr unsigned int BD_BB_TYPE_BITS = 5;

// The name of a type code, for log messages.
const char* bdBitBufferDataTypeName(int code);

class bdBitBuffer : public bdReferencable {
 public:
  // For writing: room for numBits, typed or not; the header bit is written.
  bdBitBuffer(const unsigned int numBits, const bool typed);
  // From received data of numBits bits. With a header its first bit gives the
  // typed flag; without one the bits follow a new untyped header.
  bdBitBuffer(const unsigned char* data, const unsigned int numBits, const bool dataHasHeader);
  ~bdBitBuffer() override;
  bdBitBuffer(const bdBitBuffer&) = delete;
  bdBitBuffer& operator=(const bdBitBuffer&) = delete;

  void writeBits(const void* bits, unsigned int numBits);
  bool readBits(void* bits, unsigned int numBits);
  // Appends the other buffer's fields (after its header); false when the typed modes differ.
  bool append(bdBitBuffer& other);

  void writeDataType(bdBitBufferDataType type);
  bool readDataType(const bdBitBufferDataType expected);
  // The next type code without checking it; 0 on failure.
  unsigned int readDataTypeUnchecked();

  void writeBool(bool value);
  void writeUChar8(unsigned char value);
  void writeInt16(std::int16_t value);
  void writeUInt16(std::uint16_t value);
  void writeInt32(std::int32_t value);
  void writeUInt32(std::uint32_t value);
  void writeInt64(std::int64_t value);
  void writeUInt64(std::uint64_t value);
  void writeFloat32(float value);
  void writeFloat64(double value);
  void writeString(const bdString& value);
  // Characters up to the first zero or maxLength, then one zero byte.
  void writeString(const char* value, unsigned int maxLength);
  void writeBlob(const unsigned char* data, unsigned int length);
  // A raw block of 64 (security id) or 128 (security key) bits.
  void writeFullType(const unsigned char* data, unsigned int numBits);

  bool readBool(bool& value);
  bool readUChar8(unsigned char& value);
  bool readInt16(std::int16_t& value);
  bool readUInt16(std::uint16_t& value);
  bool readInt32(std::int32_t& value);
  bool readUInt32(std::uint32_t& value);
  bool readInt64(std::int64_t& value);
  bool readUInt64(std::uint64_t& value);
  bool readFloat32(float& value);
  bool readFloat64(double& value);
  // Reads to the zero byte; what does not fit is dropped and the buffer ends terminated.
  bool readString(char* buffer, unsigned int size);
  // length: in, the room; out, the blob's length.
  bool readBlob(unsigned char* const buffer, unsigned int& length);
  bool readFullType(unsigned char* data, unsigned int numBits);

  void writeRangedUInt32(const unsigned int value, const unsigned int begin, const unsigned int end,
                         const bool withType);
  bool readRangedUInt32(unsigned int& value, const unsigned int begin, const unsigned int end,
                        const bool withType);
  void writeRangedInt32(const int value, const int begin, const int end);
  bool readRangedInt32(int& value, const int begin, const int end);
  void writeRangedFloat32(const float value, const float begin, const float end,
                          const float precision);
  bool readRangedFloat32(float& value, const float begin, const float end, const float precision);

  bool isTyped() const { return m_typed; }
  bool hasReadFailed() const { return m_readFailed; }
  unsigned int getReadPosition() const { return m_readPosition; }
  void setReadPosition(unsigned int position) { m_readPosition = position; }
  unsigned int getWritePosition() const { return m_writePosition; }
  unsigned int getNumBitsWritten() const { return m_maxWritePosition; }
  const unsigned char* getData() const { return m_data.getData(); }
  unsigned int getDataSize() const { return m_data.getSize(); }

  // Bits needed for values of the range [begin, end].
  static unsigned int rangeBits(unsigned int begin, unsigned int end);

 private:
  void writeHeader();
  bool readTypedRange(unsigned int& begin, unsigned int& end);

  bdFastArray<unsigned char> m_data;
  unsigned int m_writePosition;
  unsigned int m_maxWritePosition;
  unsigned int m_readPosition;
  bool m_readFailed;
  bool m_typed;
};
