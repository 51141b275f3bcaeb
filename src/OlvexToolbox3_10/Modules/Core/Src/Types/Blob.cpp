#include "Modules/Core/Src/Types/Blob.h"

#include <cstring>

#include "Modules/Core/Src/Types/BinaryBlock.h"
#include "Modules/Core/Src/Types/String.h"

namespace OX_Toolbox {

int g_blobByteOrder = 1;

namespace {

void encode(std::uint64_t bits, std::uint32_t size, unsigned char* out) {
  for (std::uint32_t i = 0; i < size; ++i) {
    const std::uint32_t shift = 8 * (g_blobByteOrder ? i : size - 1 - i);
    out[i] = static_cast<unsigned char>(bits >> shift);
  }
}

std::uint64_t decode(const unsigned char* in, std::uint32_t size) {
  std::uint64_t bits = 0;
  for (std::uint32_t i = 0; i < size; ++i) {
    const std::uint32_t shift = 8 * (g_blobByteOrder ? i : size - 1 - i);
    bits |= static_cast<std::uint64_t>(in[i]) << shift;
  }
  return bits;
}

void storeHost(std::uint64_t bits, std::uint32_t size, void* out) {
  switch (size) {
    case 1: {
      auto v = static_cast<std::uint8_t>(bits);
      std::memcpy(out, &v, 1);
      break;
    }
    case 2: {
      auto v = static_cast<std::uint16_t>(bits);
      std::memcpy(out, &v, 2);
      break;
    }
    case 4: {
      auto v = static_cast<std::uint32_t>(bits);
      std::memcpy(out, &v, 4);
      break;
    }
    default:
      std::memcpy(out, &bits, 8);
      break;
  }
}

template <typename T>
std::uint64_t bitsOf(T v) {
  std::uint64_t bits = 0;
  if constexpr (sizeof(T) == 1) {
    std::uint8_t b;
    std::memcpy(&b, &v, 1);
    bits = b;
  } else if constexpr (sizeof(T) == 2) {
    std::uint16_t b;
    std::memcpy(&b, &v, 2);
    bits = b;
  } else if constexpr (sizeof(T) == 4) {
    std::uint32_t b;
    std::memcpy(&b, &v, 4);
    bits = b;
  } else {
    std::memcpy(&bits, &v, 8);
  }
  return bits;
}

}  // namespace

Blob::Blob(BlobMode mode) : m_mode(mode), m_ownsData(mode == BLOB_EXTRACT_AND_WRITE_ENABLED) {}

Blob::Blob(const void* bytes, std::uint32_t size, BlobMode mode)
    : m_mode(mode), m_ownsData(mode == BLOB_EXTRACT_AND_WRITE_ENABLED) {
  setData(bytes, size);
}

Blob::Blob(const Blob& other) : m_mode(other.m_mode), m_ownsData(other.m_ownsData) {
  if (other.isReadOnly()) {
    m_data = other.m_data;
    m_size = other.m_size;
    m_cursor = other.m_cursor;
    m_ownsData = false;
  } else {
    setData(other.m_data, other.m_size);
  }
}

Blob& Blob::operator=(const Blob& other) {
  if (this == &other) return *this;
  release();
  m_mode = other.m_mode;
  if (other.isReadOnly()) {
    m_data = other.m_data;
    m_size = other.m_size;
    m_cursor = other.m_cursor;
    m_ownsData = false;
  } else {
    m_ownsData = true;
    setData(other.m_data, other.m_size);
  }
  return *this;
}

Blob::~Blob() { release(); }

void Blob::release() {
  if (m_ownsData) ToolboxFree(m_data);
  m_data = nullptr;
  m_size = 0;
  m_cursor = 0;
}

bool Blob::setData(const void* bytes, std::uint32_t size) {
  release();
  if (!bytes) size = 0;
  if (isReadOnly()) {
    m_data = static_cast<unsigned char*>(const_cast<void*>(bytes));
    m_size = size;
    m_ownsData = false;
    return true;
  }
  m_ownsData = true;
  if (size == 0) return true;
  m_data = static_cast<unsigned char*>(ToolboxAlloc(size));
  if (!m_data) return false;
  std::memcpy(m_data, bytes, size);
  m_size = size;
  return true;
}

std::uint32_t Blob::remaining(std::uint32_t offset) const {
  const std::uint64_t at = static_cast<std::uint64_t>(isReadOnly() ? m_cursor : 0) + offset;
  return at <= m_size ? static_cast<std::uint32_t>(m_size - at) : 0;
}

bool Blob::check(bool ok) {
  if (m_tracking) {
    m_checked = true;
    m_error = !ok;
  }
  return ok;
}

bool Blob::insertBytes(std::uint32_t offset, const void* bytes, std::uint32_t n) {
  if (isReadOnly() || offset > m_size || n > UINT32_MAX - m_size) return false;
  if (n == 0) return true;
  const std::uint32_t size = m_size + n;
  unsigned char* data;
  if (m_ownsData) {
    data = static_cast<unsigned char*>(ToolboxRealloc(m_data, size));
    if (!data) return false;
  } else {
    data = static_cast<unsigned char*>(ToolboxAlloc(size));
    if (!data) return false;
    if (m_size) std::memcpy(data, m_data, m_size);
    m_ownsData = true;
  }
  std::memmove(data + offset + n, data + offset, m_size - offset);
  if (bytes) {
    std::memcpy(data + offset, bytes, n);
  } else {
    std::memset(data + offset, 0, n);
  }
  m_data = data;
  m_size = size;
  return true;
}

bool Blob::insertRawUInt8(std::uint32_t offset, std::uint8_t v) {
  return insertBytes(offset, &v, 1);
}

bool Blob::insertRawUInt16(std::uint32_t offset, std::uint16_t v) {
  unsigned char b[2];
  encode(v, 2, b);
  return insertBytes(offset, b, 2);
}

bool Blob::insertRawUInt32(std::uint32_t offset, std::uint32_t v) {
  unsigned char b[4];
  encode(v, 4, b);
  return insertBytes(offset, b, 4);
}

bool Blob::insertRawUInt64(std::uint32_t offset, std::uint64_t v) {
  unsigned char b[8];
  encode(v, 8, b);
  return insertBytes(offset, b, 8);
}

bool Blob::insertRawFloat32(std::uint32_t offset, float v) {
  return insertRawUInt32(offset, static_cast<std::uint32_t>(bitsOf(v)));
}

bool Blob::insertRawFloat64(std::uint32_t offset, double v) {
  return insertRawUInt64(offset, bitsOf(v));
}

bool Blob::insertBlob(std::uint32_t offset, const Blob& other) {
  const std::uint32_t start = other.isReadOnly() ? other.m_cursor : 0;
  if (start >= other.m_size) return offset <= m_size && !isReadOnly();
  // Copy first: other may be this blob.
  const std::uint32_t n = other.m_size - start;
  auto* copy = static_cast<unsigned char*>(ToolboxAlloc(n));
  if (!copy) return false;
  std::memcpy(copy, other.m_data + start, n);
  const bool ok = insertBytes(offset, copy, n);
  ToolboxFree(copy);
  return ok;
}

bool Blob::insertBinaryBlock(std::uint32_t offset, const BinaryBlock& block) {
  return insertBytes(offset, block.remainingBytes(), block.remainingSize());
}

bool Blob::insertNumber(std::uint32_t offset, std::uint8_t code, std::uint64_t bits,
                        std::uint32_t size) {
  unsigned char b[9];
  b[0] = code;
  encode(bits, size, b + 1);
  return insertBytes(offset, b, size + 1);
}

bool Blob::writeInt8(std::uint32_t o, std::int8_t v) {
  return insertNumber(o, OX_INT8, bitsOf(v), 1);
}
bool Blob::writeUInt8(std::uint32_t o, std::uint8_t v) { return insertNumber(o, OX_UINT8, v, 1); }
bool Blob::writeInt16(std::uint32_t o, std::int16_t v) {
  return insertNumber(o, OX_INT16, bitsOf(v), 2);
}
bool Blob::writeUInt16(std::uint32_t o, std::uint16_t v) {
  return insertNumber(o, OX_UINT16, v, 2);
}
bool Blob::writeInt32(std::uint32_t o, std::int32_t v) {
  return insertNumber(o, OX_INT32, bitsOf(v), 4);
}
bool Blob::writeUInt32(std::uint32_t o, std::uint32_t v) {
  return insertNumber(o, OX_UINT32, v, 4);
}
bool Blob::writeInt64(std::uint32_t o, std::int64_t v) {
  return insertNumber(o, OX_INT64, bitsOf(v), 8);
}
bool Blob::writeUInt64(std::uint32_t o, std::uint64_t v) {
  return insertNumber(o, OX_UINT64, v, 8);
}
bool Blob::writeFloat32(std::uint32_t o, float v) {
  return insertNumber(o, OX_FLOAT32, bitsOf(v), 4);
}
bool Blob::writeFloat64(std::uint32_t o, double v) {
  return insertNumber(o, OX_FLOAT64, bitsOf(v), 8);
}
bool Blob::writeBool(std::uint32_t o, bool v) { return insertNumber(o, OX_BOOL, v ? 1 : 0, 4); }

bool Blob::writeString(std::uint32_t offset, const String& v) {
  unsigned char b[6 + 3 * String::kMaxLength + 1];
  std::size_t n = 0;
  char* utf8 = v.toUtf8(&n);
  if (!utf8) return false;
  b[0] = OX_STRING;
  b[1] = OX_UINT32;
  const std::uint32_t stored = n ? static_cast<std::uint32_t>(n + 1) : 0;
  encode(stored, 4, b + 2);
  std::memcpy(b + 6, utf8, stored);
  ToolboxFree(utf8);
  return insertBytes(offset, b, 6 + stored);
}

bool Blob::writeBinaryBlock(std::uint32_t offset, const void* bytes, std::int32_t n) {
  if (n < 0 || (n > 0 && !bytes) || static_cast<std::uint32_t>(n) > UINT32_MAX - 6) return false;
  auto* b = static_cast<unsigned char*>(ToolboxAlloc(static_cast<std::size_t>(n) + 6));
  if (!b) return false;
  b[0] = OX_BINARYBLOCK;
  b[1] = OX_INT32;
  encode(static_cast<std::uint32_t>(n), 4, b + 2);
  if (n) std::memcpy(b + 6, bytes, static_cast<std::size_t>(n));
  const bool ok = insertBytes(offset, b, static_cast<std::uint32_t>(n) + 6);
  ToolboxFree(b);
  return ok;
}

unsigned char* Blob::extractBytes(std::uint32_t offset, std::uint32_t n) {
  if (remaining(offset) < n) return nullptr;
  if (isReadOnly()) {
    unsigned char* p = m_data + m_cursor + offset;
    m_cursor += offset + n;
    return p;
  }
  auto* copy = static_cast<unsigned char*>(ToolboxAlloc(n ? n : 1));
  if (!copy) return nullptr;
  if (n) {
    std::memcpy(copy, m_data + offset, n);
    std::memmove(m_data + offset, m_data + offset + n, m_size - offset - n);
    m_size -= n;
  }
  return copy;
}

std::uint8_t Blob::takeTypeCode(std::uint32_t offset) {
  if (remaining(offset) < 2) return 0;
  unsigned char* p = extractBytes(offset, 1);
  if (!p) return 0;
  const std::uint8_t code = *p;
  if (!isReadOnly()) ToolboxFree(p);
  return code;
}

bool Blob::takeTypedHead(std::uint32_t offset, std::uint8_t code, std::uint32_t need) {
  if (remaining(offset) < need) return false;
  const unsigned char found = m_data[(isReadOnly() ? m_cursor : 0) + offset];
  if (m_tracking && found != code) return false;
  takeTypeCode(offset);
  return true;
}

bool Blob::readNumber(std::uint32_t offset, std::uint8_t code, std::uint32_t size, void* out) {
  std::memset(out, 0, size);
  if (!takeTypedHead(offset, code, 1 + size)) return check(false);
  unsigned char* bytes = extractBytes(isReadOnly() ? 0 : offset, size);
  if (!bytes) return check(false);
  storeHost(decode(bytes, size), size, out);
  if (!isReadOnly()) ToolboxFree(bytes);
  return check(true);
}

template <typename T>
T Blob::readValue(std::uint32_t offset, std::uint8_t code) {
  T v;
  return readNumber(offset, code, sizeof(T), &v) ? v : T{};
}

std::int8_t Blob::readInt8(std::uint32_t o) { return readValue<std::int8_t>(o, OX_INT8); }
std::uint8_t Blob::readUInt8(std::uint32_t o) { return readValue<std::uint8_t>(o, OX_UINT8); }
std::int16_t Blob::readInt16(std::uint32_t o) { return readValue<std::int16_t>(o, OX_INT16); }
std::uint16_t Blob::readUInt16(std::uint32_t o) { return readValue<std::uint16_t>(o, OX_UINT16); }
std::int32_t Blob::readInt32(std::uint32_t o) { return readValue<std::int32_t>(o, OX_INT32); }
std::uint32_t Blob::readUInt32(std::uint32_t o) { return readValue<std::uint32_t>(o, OX_UINT32); }
std::int64_t Blob::readInt64(std::uint32_t o) { return readValue<std::int64_t>(o, OX_INT64); }
std::uint64_t Blob::readUInt64(std::uint32_t o) { return readValue<std::uint64_t>(o, OX_UINT64); }
float Blob::readFloat32(std::uint32_t o) { return readValue<float>(o, OX_FLOAT32); }
double Blob::readFloat64(std::uint32_t o) { return readValue<double>(o, OX_FLOAT64); }
bool Blob::readBool(std::uint32_t o) {
  std::uint32_t v;
  return readNumber(o, OX_BOOL, 4, &v) && v != 0;
}
bool Blob::readUInt64Into(std::uint32_t o, std::uint64_t& out) {
  return readNumber(o, OX_UINT64, 8, &out);
}

bool Blob::readString(std::uint32_t offset, String& out) {
  out.clear();
  if (!takeTypedHead(offset, OX_STRING, 6)) return check(false);
  const std::uint32_t at = isReadOnly() ? 0 : offset;
  std::uint32_t length = 0;
  if (!readNumber(at, OX_UINT32, 4, &length)) return check(false);
  // Longer than any String: the text bytes are left where they are.
  if (length == 0 || length >= 800) return check(true);
  if (remaining(at) < length) return check(false);
  unsigned char* bytes = extractBytes(at, length);
  if (!bytes) return check(false);
  out.assignUtf8(reinterpret_cast<const char*>(bytes), length);
  if (!isReadOnly()) ToolboxFree(bytes);
  return check(true);
}

unsigned char* Blob::readBinaryBlock(std::uint32_t offset, std::uint32_t& size) {
  size = 0;
  if (!takeTypedHead(offset, OX_BINARYBLOCK, 6)) {
    check(false);
    return nullptr;
  }
  const std::uint32_t at = isReadOnly() ? 0 : offset;
  std::int32_t count = 0;
  if (!readNumber(at, OX_INT32, 4, &count) || count < 0 ||
      static_cast<std::uint32_t>(count) > remaining(at)) {
    check(false);
    return nullptr;
  }
  if (count == 0) {
    check(true);
    return nullptr;
  }
  unsigned char* bytes = extractBytes(at, static_cast<std::uint32_t>(count));
  if (!check(bytes != nullptr)) return nullptr;
  size = static_cast<std::uint32_t>(count);
  return bytes;
}

bool Blob::readFields(const BlobField* fields, std::size_t count) {
  m_tracking = true;
  m_error = false;
  bool ok = true;
  for (std::size_t i = 0; ok && i < count; ++i) {
    const BlobField& f = fields[i];
    switch (f.type) {
      case OX_INT8:
      case OX_UINT8:
        ok = readNumber(f.offset, f.type, 1, f.destination);
        break;
      case OX_INT16:
      case OX_UINT16:
        ok = readNumber(f.offset, f.type, 2, f.destination);
        break;
      case OX_INT32:
      case OX_UINT32:
      case OX_FLOAT32:
        ok = readNumber(f.offset, f.type, 4, f.destination);
        break;
      case OX_INT64:
      case OX_UINT64:
      case OX_FLOAT64:
        ok = readNumber(f.offset, f.type, 8, f.destination);
        break;
      case OX_BOOL: {
        std::uint32_t v = 0;
        ok = readNumber(f.offset, f.type, 4, &v);
        *static_cast<bool*>(f.destination) = v != 0;
        break;
      }
      case OX_STRING:
        ok = readString(f.offset, *static_cast<String*>(f.destination));
        break;
      case OX_BINARYBLOCK: {
        std::uint32_t n = 0;
        unsigned char* bytes = readBinaryBlock(f.offset, n);
        *static_cast<unsigned char**>(f.destination) = bytes;
        if (f.length) *f.length = n;
        ok = !m_error;
        break;
      }
      case OX_FLEXIBLEVALUE:
        break;
      default:
        ok = check(false);
        break;
    }
  }
  m_tracking = false;
  return ok;
}

}  // namespace OX_Toolbox
