#include "bdCore/bdUtilities/bdBitBuffer.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdMemory/bdMemory.h"
#include "bdCore/bdUtilities/bdBitOperations.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

namespace {
const char* const kTypeNames[] = {
    "NoType",          "Bool",    "Char8",    "UChar8",       "WChar16", "Int16",
    "UInt16",          "Int32",   "UInt32",   "Int64",        "UInt64",  "RangedInt32",
    "RangeUInt32",     "Float32", "Float64",  "RangeFloat32", "String",  "String",
    "MultiByteString", "Blob",    "FullType", "Unknown Type"};

// Byte fields longer than this cannot be counted in 32-bit bit positions.
constexpr unsigned int kMaxFieldBytes = 0x1FFFFFFF;
constexpr float kMaxSteps = 4294967296.0f;

unsigned int bytesForBits(unsigned int bits) { return bits / 8 + (bits % 8 != 0 ? 1 : 0); }

template <typename T>
T clampTo(T value, T begin, T end) {
  if (value < begin) return begin;
  if (value > end) return end;
  return value;
}

// Steps of a float range at a precision; the writer and the reader must agree
// on them exactly, so both compute them here the same way.
float floatSteps(float begin, float end, float precision) {
  const float magnitude = precision < 0 ? -precision : precision;
  const float scale = 1.0f / magnitude;
  return (end - begin) * scale;
}

unsigned int stepBits(float steps) {
  if (!(steps >= 1.0f)) return 0;
  return bdBitOperations::highBitNumber(static_cast<unsigned int>(steps)) + 1;
}
}  // namespace

const char* bdBitBufferDataTypeName(int code) {
  if (code < 0) return kTypeNames[0];
  if (code >= BD_BB_MAX_TYPE) return kTypeNames[BD_BB_MAX_TYPE];
  return kTypeNames[code];
}

unsigned int bdBitBuffer::rangeBits(unsigned int begin, unsigned int end) {
  if (begin == end) return 0;
  return bdBitOperations::highBitNumber(end - begin) + 1;
}

bdBitBuffer::bdBitBuffer(const unsigned int numBits, const bool typed)
    : m_data(bytesForBits(numBits)),
      m_writePosition(0),
      m_maxWritePosition(0),
      m_readPosition(0),
      m_readFailed(false),
      m_typed(typed) {
  writeHeader();
}

bdBitBuffer::bdBitBuffer(const unsigned char* data, const unsigned int numBits,
                         const bool dataHasHeader)
    : m_data(0),
      m_writePosition(0),
      m_maxWritePosition(0),
      m_readPosition(0),
      m_readFailed(false),
      m_typed(false) {
  if (!dataHasHeader || numBits == 0 || data == nullptr) {
    writeHeader();
    if (data != nullptr) writeBits(data, numBits);
    return;
  }
  const unsigned int bytes = bytesForBits(numBits);
  if (m_data.pushBack(data, bytes)) {
    // Bits past the end are not part of the stream; keep them 0 as written buffers do.
    if (numBits % 8 != 0)
      m_data[bytes - 1] &= static_cast<unsigned char>((1u << (numBits % 8)) - 1);
    m_writePosition = numBits;
    m_maxWritePosition = numBits;
  }
  unsigned char header = 0;
  if (!readBits(&header, BD_BB_NUM_HEADER_BITS)) {
    bdLogError("bdCore/bitBuffer", "bdBitBuffer constructor failed: could not read bits");
  }
  m_typed = header != 0;
}

bdBitBuffer::~bdBitBuffer() { m_data.reset(); }

void bdBitBuffer::writeHeader() {
  const unsigned char header = m_typed ? 1 : 0;
  writeBits(&header, BD_BB_NUM_HEADER_BITS);
  bdAssert(m_writePosition == BD_BB_NUM_HEADER_BITS,
           "BD_BB_NUM_HEADER_BITS and written header don't match.");
  m_readPosition = BD_BB_NUM_HEADER_BITS;
}

void bdBitBuffer::writeBits(const void* bits, unsigned int numBits) {
  if (numBits == 0) return;
  if (numBits > UINT32_MAX - m_writePosition) {
    bdAssertMsg("bdBitBuffer::writeBits, buffer too large.");
    return;
  }
  const unsigned int lastByte = (m_writePosition + numBits - 1) / 8;
  if (lastByte >= m_data.getSize() && !m_data.setGrow(lastByte, 0)) {
    bdLogError("bdCore/bitBuffer", "bdBitBuffer::writeBits, out of memory.");
    return;
  }
  const unsigned char* src = static_cast<const unsigned char*>(bits);
  unsigned char* dest = m_data.getData();
  unsigned int position = m_writePosition;
  for (unsigned int remaining = numBits; remaining > 0; ++src) {
    const unsigned int count = remaining < 8 ? remaining : 8;
    const unsigned int value = *src & ((1u << count) - 1);
    const unsigned int byte = position / 8;
    const unsigned int shift = position % 8;
    // Bits below the write position stay; those above it are not valid and become 0.
    dest[byte] = static_cast<unsigned char>((dest[byte] & ((1u << shift) - 1)) | (value << shift));
    if (shift + count > 8) dest[byte + 1] = static_cast<unsigned char>(value >> (8 - shift));
    position += count;
    remaining -= count;
  }
  m_writePosition = position;
  if (m_writePosition > m_maxWritePosition) m_maxWritePosition = m_writePosition;
}

bool bdBitBuffer::readBits(void* bits, unsigned int numBits) {
  if (numBits == 0) return true;
  if (m_readPosition > m_maxWritePosition || numBits > m_maxWritePosition - m_readPosition) {
    m_readFailed = true;
    return false;
  }
  const unsigned char* src = m_data.getData();
  const unsigned int size = m_data.getSize();
  if (bytesForBits(m_readPosition + numBits) > size) {
    m_readFailed = true;
    return false;
  }
  unsigned char* dest = static_cast<unsigned char*>(bits);
  unsigned int position = m_readPosition;
  for (unsigned int remaining = numBits; remaining > 0; ++dest) {
    const unsigned int count = remaining < 8 ? remaining : 8;
    const unsigned int byte = position / 8;
    const unsigned int shift = position % 8;
    unsigned int value = src[byte] >> shift;
    if (shift + count > 8) value |= static_cast<unsigned int>(src[byte + 1]) << (8 - shift);
    *dest = static_cast<unsigned char>(value & ((1u << count) - 1));
    position += count;
    remaining -= count;
  }
  m_readPosition = position;
  return true;
}

bool bdBitBuffer::append(bdBitBuffer& other) {
  if (other.m_typed != m_typed) return false;
  if (other.m_maxWritePosition <= BD_BB_NUM_HEADER_BITS) return true;
  const unsigned int numBits = other.m_maxWritePosition - BD_BB_NUM_HEADER_BITS;
  unsigned char* temp = static_cast<unsigned char*>(bdMemory::allocate(bytesForBits(numBits)));
  if (temp == nullptr) return false;
  const unsigned int savedPosition = other.m_readPosition;
  const bool savedFailure = other.m_readFailed;
  other.m_readPosition = BD_BB_NUM_HEADER_BITS;
  const bool ok = other.readBits(temp, numBits);
  other.m_readPosition = savedPosition;
  other.m_readFailed = savedFailure;
  if (ok) writeBits(temp, numBits);
  bdMemory::deallocate(temp);
  return ok;
}

void bdBitBuffer::writeDataType(bdBitBufferDataType type) {
  if (m_typed) writeRangedUInt32(static_cast<unsigned int>(type), 0, 31, false);
}

bool bdBitBuffer::readDataType(const bdBitBufferDataType expected) {
  if (!m_typed) return true;
  unsigned int code = 0;
  if (!readRangedUInt32(code, 0, 31, false)) return false;
  if (code != static_cast<unsigned int>(expected)) {
    bdLogError("bdCore/bitBuffer", "Expected: %s , read: %s ", bdBitBufferDataTypeName(expected),
               bdBitBufferDataTypeName(static_cast<int>(code)));
    return false;
  }
  return true;
}

unsigned int bdBitBuffer::readDataTypeUnchecked() {
  unsigned int code = 0;
  if (!readRangedUInt32(code, 0, 31, false)) return 0;
  return code;
}

namespace {
template <typename T>
void writeTyped(bdBitBuffer& buffer, bdBitBufferDataType type, T value) {
  buffer.writeDataType(type);
  unsigned char bytes[sizeof(T)];
  bdBytePacker::toLittleEndian(value, bytes);
  buffer.writeBits(bytes, sizeof(T) * 8);
}

template <typename T>
bool readTyped(bdBitBuffer& buffer, bdBitBufferDataType type, T& value) {
  if (!buffer.readDataType(type)) return false;
  unsigned char bytes[sizeof(T)];
  if (!buffer.readBits(bytes, sizeof(T) * 8)) return false;
  bdBytePacker::fromLittleEndian(bytes, value);
  return true;
}
}  // namespace

void bdBitBuffer::writeBool(bool value) {
  writeDataType(BD_BB_BOOL_TYPE);
  const unsigned char bit = value ? 1 : 0;
  writeBits(&bit, 1);
}

void bdBitBuffer::writeUChar8(unsigned char v) { writeTyped(*this, BD_BB_UNSIGNED_CHAR8_TYPE, v); }
void bdBitBuffer::writeInt16(std::int16_t v) { writeTyped(*this, BD_BB_SIGNED_INTEGER16_TYPE, v); }
void bdBitBuffer::writeUInt16(std::uint16_t v) {
  writeTyped(*this, BD_BB_UNSIGNED_INTEGER16_TYPE, v);
}
void bdBitBuffer::writeInt32(std::int32_t v) { writeTyped(*this, BD_BB_SIGNED_INTEGER32_TYPE, v); }
void bdBitBuffer::writeUInt32(std::uint32_t v) {
  writeTyped(*this, BD_BB_UNSIGNED_INTEGER32_TYPE, v);
}
void bdBitBuffer::writeInt64(std::int64_t v) { writeTyped(*this, BD_BB_SIGNED_INTEGER64_TYPE, v); }
void bdBitBuffer::writeUInt64(std::uint64_t v) {
  writeTyped(*this, BD_BB_UNSIGNED_INTEGER64_TYPE, v);
}
void bdBitBuffer::writeFloat32(float v) { writeTyped(*this, BD_BB_FLOAT32_TYPE, v); }
void bdBitBuffer::writeFloat64(double v) { writeTyped(*this, BD_BB_FLOAT64_TYPE, v); }

bool bdBitBuffer::readBool(bool& value) {
  if (!readDataType(BD_BB_BOOL_TYPE)) return false;
  unsigned char bit = 0;
  if (!readBits(&bit, 1)) return false;
  value = bit != 0;
  return true;
}

bool bdBitBuffer::readUChar8(unsigned char& v) {
  return readTyped(*this, BD_BB_UNSIGNED_CHAR8_TYPE, v);
}
bool bdBitBuffer::readInt16(std::int16_t& v) {
  return readTyped(*this, BD_BB_SIGNED_INTEGER16_TYPE, v);
}
bool bdBitBuffer::readUInt16(std::uint16_t& v) {
  return readTyped(*this, BD_BB_UNSIGNED_INTEGER16_TYPE, v);
}
bool bdBitBuffer::readInt32(std::int32_t& v) {
  return readTyped(*this, BD_BB_SIGNED_INTEGER32_TYPE, v);
}
bool bdBitBuffer::readUInt32(std::uint32_t& v) {
  return readTyped(*this, BD_BB_UNSIGNED_INTEGER32_TYPE, v);
}
bool bdBitBuffer::readInt64(std::int64_t& v) {
  return readTyped(*this, BD_BB_SIGNED_INTEGER64_TYPE, v);
}
bool bdBitBuffer::readUInt64(std::uint64_t& v) {
  return readTyped(*this, BD_BB_UNSIGNED_INTEGER64_TYPE, v);
}
bool bdBitBuffer::readFloat32(float& v) { return readTyped(*this, BD_BB_FLOAT32_TYPE, v); }
bool bdBitBuffer::readFloat64(double& v) { return readTyped(*this, BD_BB_FLOAT64_TYPE, v); }

void bdBitBuffer::writeString(const bdString& value) {
  writeString(value.getBuffer(), value.getLength());
}

void bdBitBuffer::writeString(const char* value, unsigned int maxLength) {
  unsigned int length = 0;
  if (value != nullptr) {
    while (length < maxLength && length < kMaxFieldBytes && value[length] != 0)
      ++length;
  }
  writeDataType(BD_BB_SIGNED_CHAR8_STRING_TYPE);
  if (length > 0) writeBits(value, length * 8);
  const unsigned char zero = 0;
  writeBits(&zero, 8);
}

bool bdBitBuffer::readString(char* buffer, unsigned int size) {
  if (buffer != nullptr && size > 0) buffer[0] = 0;
  if (!readDataType(BD_BB_SIGNED_CHAR8_STRING_TYPE)) return false;
  unsigned int count = 0;
  bool ok = true;
  for (;;) {
    unsigned char c = 0;
    ok = readBits(&c, 8);
    if (!ok) break;
    if (buffer != nullptr && count < size) buffer[count] = static_cast<char>(c);
    ++count;
    if (c == 0) break;
  }
  if (buffer != nullptr && size > 0) {
    if (!ok) buffer[count < size ? count : size - 1] = 0;
    buffer[size - 1] = 0;
  }
  return ok;
}

void bdBitBuffer::writeBlob(const unsigned char* data, unsigned int length) {
  if (length > kMaxFieldBytes || (data == nullptr && length > 0)) {
    bdAssertMsg("bdBitBuffer::writeBlob, invalid blob.");
    return;
  }
  writeDataType(BD_BB_BLOB_TYPE);
  writeUInt32(length);
  writeBits(data, length * 8);
}

bool bdBitBuffer::readBlob(unsigned char* const buffer, unsigned int& length) {
  std::uint32_t blobLength = 0;
  if (!readDataType(BD_BB_BLOB_TYPE) || !readUInt32(blobLength)) {
    length = 0;
    return false;
  }
  if (blobLength > length) {
    bdLogWarn("warn", "Reading BLOB failed. Buffer too small.\n");
    return false;
  }
  length = blobLength;
  if (blobLength > kMaxFieldBytes) {
    m_readFailed = true;
    return false;
  }
  return readBits(buffer, blobLength * 8);
}

void bdBitBuffer::writeFullType(const unsigned char* data, unsigned int numBits) {
  writeDataType(BD_BB_FULL_TYPE);
  writeBits(data, numBits);
}

// The block is consumed even after a wrong type code, keeping the position in
// step with the writer; the result is false then all the same.
bool bdBitBuffer::readFullType(unsigned char* data, unsigned int numBits) {
  const bool typeOk = readDataType(BD_BB_FULL_TYPE);
  const bool bitsOk = readBits(data, numBits);
  return typeOk && bitsOk;
}

void bdBitBuffer::writeRangedUInt32(const unsigned int value, const unsigned int begin,
                                    const unsigned int end, const bool withType) {
  bdAssert(end >= begin, "bdBitBuffer::writeRangedUInt, end of range is less than the begining");
  if (withType && m_typed) {
    writeDataType(BD_BB_RANGED_UNSIGNED_INTEGER32_TYPE);
    writeUInt32(begin);
    writeUInt32(end);
  }
  const std::uint32_t offset = clampTo(value, begin, end) - begin;
  unsigned char bytes[4];
  bdBytePacker::toLittleEndian(offset, bytes);
  writeBits(bytes, rangeBits(begin, end));
}

bool bdBitBuffer::readTypedRange(unsigned int& begin, unsigned int& end) {
  std::uint32_t readBegin = 0;
  std::uint32_t readEnd = 0;
  if (!readUInt32(readBegin) || !readUInt32(readEnd)) return false;
  if (readBegin != begin || readEnd != end) {
    bdLogError("bdCore/bitBuffer", "Range error. Expected: (%u,%u), read: (%u,%u)", begin, end,
               readBegin, readEnd);
  }
  return true;
}

bool bdBitBuffer::readRangedUInt32(unsigned int& value, const unsigned int begin,
                                   const unsigned int end, const bool withType) {
  bdAssert(end >= begin, "bdBitBuffer::readRangedUInt, end of range is less than the begining");
  if (withType) {
    if (!readDataType(BD_BB_RANGED_UNSIGNED_INTEGER32_TYPE)) return false;
    unsigned int b = begin;
    unsigned int e = end;
    if (m_typed && !readTypedRange(b, e)) return false;
  }
  unsigned char bytes[4] = {0, 0, 0, 0};
  if (!readBits(bytes, rangeBits(begin, end))) return false;
  std::uint32_t bits = 0;
  bdBytePacker::fromLittleEndian(bytes, bits);
  const unsigned int result = bits + begin;
  if (result < begin || result > end) {
    bdLogError("bdCore/bitBuffer", "bdBitBuffer::readRangedUInt32, read error u is out of range.");
  }
  value = clampTo(result, begin, end);
  return true;
}

void bdBitBuffer::writeRangedInt32(const int value, const int begin, const int end) {
  bdAssert(end >= begin, "bdBitBuffer::writeRangedInt32, end of range is less than the begining");
  if (m_typed) {
    writeDataType(BD_BB_RANGED_SIGNED_INTEGER32_TYPE);
    writeInt32(begin);
    writeInt32(end);
  }
  const std::uint32_t offset =
      static_cast<std::uint32_t>(clampTo(value, begin, end)) - static_cast<std::uint32_t>(begin);
  unsigned char bytes[4];
  bdBytePacker::toLittleEndian(offset, bytes);
  writeBits(bytes,
            rangeBits(0, static_cast<std::uint32_t>(end) - static_cast<std::uint32_t>(begin)));
}

bool bdBitBuffer::readRangedInt32(int& value, const int begin, const int end) {
  bdAssert(end >= begin, "bdBitBuffer::readRangedInt32, end of range is less than the begining");
  if (m_typed) {
    if (!readDataType(BD_BB_RANGED_SIGNED_INTEGER32_TYPE)) return false;
    std::int32_t readBegin = 0;
    std::int32_t readEnd = 0;
    if (!readInt32(readBegin) || !readInt32(readEnd)) return false;
    if (readBegin != begin || readEnd != end) {
      bdLogError("bdCore/bitBuffer", "Range error. Expected: (%i,%i), read: (%i,%i)", begin, end,
                 readBegin, readEnd);
    }
  }
  const std::uint32_t span = static_cast<std::uint32_t>(end) - static_cast<std::uint32_t>(begin);
  unsigned char bytes[4] = {0, 0, 0, 0};
  if (!readBits(bytes, rangeBits(0, span))) return false;
  std::uint32_t bits = 0;
  bdBytePacker::fromLittleEndian(bytes, bits);
  if (bits > span) {
    bdLogError("bdCore/bitBuffer", "bdBitBuffer::readRangedInt32, read error i is out of range.");
    bits = span;
  }
  value = static_cast<int>(static_cast<std::uint32_t>(begin) + bits);
  return true;
}

void bdBitBuffer::writeRangedFloat32(const float value, const float begin, const float end,
                                     const float precision) {
  bdAssert(!(end < begin),
           "bdBitBuffer::writeRangedFloat32, end of range is less then the begining.");
  bdAssert(precision > 0.0f, "bdBitBuffer::writeRangedFloat32, precision must be positive.");
  if (m_typed) {
    writeDataType(BD_BB_RANGED_FLOAT32_TYPE);
    writeFloat32(begin);
    writeFloat32(end);
    writeFloat32(precision);
  }
  const float steps = floatSteps(begin, end, precision);
  if (!(steps < kMaxSteps)) {
    bdLogWarn("bdCore/bitBuffer",
              "The numerical space defined by range/precision combination is too large. No "
              "compression performed.");
    writeFloat32(value);
    return;
  }
  const float limit = steps > 0.0f ? steps : 0.0f;
  const float clamped = value == value ? clampTo(value, begin, end) : begin;
  const float scale = 1.0f / (precision < 0 ? -precision : precision);
  float q = (clamped - begin) * scale + 0.5f;
  if (!(q < limit)) q = limit;
  if (!(q > 0.0f)) q = 0.0f;
  const std::uint32_t n = static_cast<std::uint32_t>(q);
  unsigned char bytes[4];
  bdBytePacker::toLittleEndian(n, bytes);
  writeBits(bytes, stepBits(limit));
}

bool bdBitBuffer::readRangedFloat32(float& value, const float begin, const float end,
                                    const float precision) {
  if (m_typed) {
    if (!readDataType(BD_BB_RANGED_FLOAT32_TYPE)) return false;
    float readBegin = 0;
    float readEnd = 0;
    float readPrecision = 0;
    if (!readFloat32(readBegin) || !readFloat32(readEnd) || !readFloat32(readPrecision)) {
      return false;
    }
    if (readBegin != begin || readEnd != end || readPrecision != precision) {
      bdLogError("bdCore/bitBuffer", "Range error. Expected: (%f,%f,%f), read: (%f,%f,%f)",
                 static_cast<double>(begin), static_cast<double>(end),
                 static_cast<double>(precision), static_cast<double>(readBegin),
                 static_cast<double>(readEnd), static_cast<double>(readPrecision));
    }
  }
  const float steps = floatSteps(begin, end, precision);
  float result = 0;
  if (!(steps < kMaxSteps)) {
    bdLogWarn("bdCore/bitBuffer",
              "The numerical space defined by range/precision combination is too large. No "
              "compression performed.");
    if (!readFloat32(result)) return false;
  } else {
    const float limit = steps > 0.0f ? steps : 0.0f;
    unsigned char bytes[4] = {0, 0, 0, 0};
    if (!readBits(bytes, stepBits(limit))) return false;
    std::uint32_t n = 0;
    bdBytePacker::fromLittleEndian(bytes, n);
    const float magnitude = precision < 0 ? -precision : precision;
    result = static_cast<float>(n) * magnitude + begin;
  }
  if (result < begin || result > end) {
    bdLogError("bdCore/bitBuffer", "bdBitBuffer::readRangedFloat32, read error f is out of range.");
    result = clampTo(result, begin, end);
  }
  value = result;
  return true;
}
