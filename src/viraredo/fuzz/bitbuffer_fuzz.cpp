// Reads every field of a received bit buffer, writes the values into a new
// buffer of the same mode and reads them back: both readings must agree.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <algorithm>
#include <vector>

#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "fuzz_core.h"

namespace {

struct Field {
  unsigned int code;
  std::vector<unsigned char> bytes;  // the value as read
  std::int64_t begin = 0;
  std::int64_t end = 0;
  bool operator==(const Field& o) const {
    if (code != o.code || begin != o.begin || end != o.end) return false;
    // A quantised float need not survive a second rounding exactly: its range
    // and precision (after the value) must.
    if (code == BD_BB_RANGED_FLOAT32_TYPE) {
      return std::equal(bytes.begin() + 4, bytes.end(), o.bytes.begin() + 4);
    }
    return bytes == o.bytes;
  }
};

template <typename T>
Field make(unsigned int code, const T& value) {
  Field f{code, std::vector<unsigned char>(sizeof(T))};
  std::memcpy(f.bytes.data(), &value, sizeof(T));
  return f;
}

template <typename T>
T valueOf(const Field& f) {
  T v;
  std::memcpy(&v, f.bytes.data(), sizeof(T));
  return v;
}

// The next typed field's code, leaving the read position where it was.
unsigned int peekCode(bdBitBuffer& b) {
  const unsigned int at = b.getReadPosition();
  const unsigned int code = b.readDataTypeUnchecked();
  b.setReadPosition(at);
  return code;
}

// The range written after a ranged field's code (typed buffers only).
template <typename T, typename Reader>
bool peekRange(bdBitBuffer& b, T& begin, T& end, Reader read) {
  const unsigned int at = b.getReadPosition();
  b.readDataTypeUnchecked();
  const bool ok = (b.*read)(begin) && (b.*read)(end);
  b.setReadPosition(at);
  return ok;
}

bool readField(bdBitBuffer& b, unsigned int code, std::vector<Field>& out, size_t maxText) {
  switch (code) {
    case BD_BB_BOOL_TYPE: {
      bool v;
      if (!b.readBool(v)) return false;
      out.push_back(make(code, static_cast<unsigned char>(v)));
      return true;
    }
#define SIMPLE(CODE, TYPE, READ)  \
  case CODE: {                    \
    TYPE v;                       \
    if (!b.READ(v)) return false; \
    out.push_back(make(code, v)); \
    return true;                  \
  }
      SIMPLE(BD_BB_UNSIGNED_CHAR8_TYPE, unsigned char, readUChar8)
      SIMPLE(BD_BB_SIGNED_INTEGER16_TYPE, std::int16_t, readInt16)
      SIMPLE(BD_BB_UNSIGNED_INTEGER16_TYPE, std::uint16_t, readUInt16)
      SIMPLE(BD_BB_SIGNED_INTEGER32_TYPE, std::int32_t, readInt32)
      SIMPLE(BD_BB_UNSIGNED_INTEGER32_TYPE, std::uint32_t, readUInt32)
      SIMPLE(BD_BB_SIGNED_INTEGER64_TYPE, std::int64_t, readInt64)
      SIMPLE(BD_BB_UNSIGNED_INTEGER64_TYPE, std::uint64_t, readUInt64)
      SIMPLE(BD_BB_FLOAT32_TYPE, float, readFloat32)
      SIMPLE(BD_BB_FLOAT64_TYPE, double, readFloat64)
#undef SIMPLE
    case BD_BB_RANGED_UNSIGNED_INTEGER32_TYPE: {
      std::uint32_t lo = 0, hi = 0, v = 0;
      if (b.isTyped() && !peekRange(b, lo, hi, &bdBitBuffer::readUInt32)) return false;
      if (!b.isTyped()) hi = 1000;
      if (lo > hi) return false;  // an inverted range has no round trip; stop here
      if (!b.readRangedUInt32(v, lo, hi, true)) return false;
      Field f = make(code, v);
      f.begin = lo;
      f.end = hi;
      out.push_back(f);
      return true;
    }
    case BD_BB_RANGED_SIGNED_INTEGER32_TYPE: {
      std::int32_t lo = -50, hi = 50, v = 0;
      if (b.isTyped() && !peekRange(b, lo, hi, &bdBitBuffer::readInt32)) return false;
      if (lo > hi) return false;
      if (!b.readRangedInt32(v, lo, hi)) return false;
      Field f = make(code, v);
      f.begin = lo;
      f.end = hi;
      out.push_back(f);
      return true;
    }
    case BD_BB_RANGED_FLOAT32_TYPE: {
      float v = 0;
      float lo = 0, hi = 1, precision = 0.01f;
      if (b.isTyped()) {
        const unsigned int at = b.getReadPosition();
        b.readDataTypeUnchecked();
        const bool ok = b.readFloat32(lo) && b.readFloat32(hi) && b.readFloat32(precision);
        b.setReadPosition(at);
        if (!ok) return false;
      }
      if (!b.readRangedFloat32(v, lo, hi, precision)) return false;
      const float values[4] = {v, lo, hi, precision};
      Field f{code, std::vector<unsigned char>(sizeof values)};
      std::memcpy(f.bytes.data(), values, sizeof values);
      out.push_back(f);
      return true;
    }
    case BD_BB_SIGNED_CHAR8_STRING_TYPE: {
      std::vector<char> text(maxText + 1);
      if (!b.readString(text.data(), static_cast<unsigned int>(text.size()))) return false;
      Field f{code,
              std::vector<unsigned char>(text.begin(), text.begin() + std::strlen(text.data()))};
      out.push_back(f);
      return true;
    }
    case BD_BB_BLOB_TYPE: {
      std::vector<unsigned char> blob(maxText + 1);
      unsigned int length = static_cast<unsigned int>(blob.size());
      if (!b.readBlob(blob.data(), length)) return false;
      FUZZ_CHECK(length <= blob.size());
      blob.resize(length);
      out.push_back(Field{code, blob});
      return true;
    }
    case BD_BB_FULL_TYPE: {
      std::vector<unsigned char> id(8);
      if (!b.readFullType(id.data(), 64)) return false;
      out.push_back(Field{code, id});
      return true;
    }
    default:
      return false;
  }
}

void writeField(bdBitBuffer& b, const Field& f) {
  switch (f.code) {
    case BD_BB_BOOL_TYPE:
      b.writeBool(f.bytes[0] != 0);
      break;
    case BD_BB_UNSIGNED_CHAR8_TYPE:
      b.writeUChar8(valueOf<unsigned char>(f));
      break;
    case BD_BB_SIGNED_INTEGER16_TYPE:
      b.writeInt16(valueOf<std::int16_t>(f));
      break;
    case BD_BB_UNSIGNED_INTEGER16_TYPE:
      b.writeUInt16(valueOf<std::uint16_t>(f));
      break;
    case BD_BB_SIGNED_INTEGER32_TYPE:
      b.writeInt32(valueOf<std::int32_t>(f));
      break;
    case BD_BB_UNSIGNED_INTEGER32_TYPE:
      b.writeUInt32(valueOf<std::uint32_t>(f));
      break;
    case BD_BB_SIGNED_INTEGER64_TYPE:
      b.writeInt64(valueOf<std::int64_t>(f));
      break;
    case BD_BB_UNSIGNED_INTEGER64_TYPE:
      b.writeUInt64(valueOf<std::uint64_t>(f));
      break;
    case BD_BB_FLOAT32_TYPE:
      b.writeFloat32(valueOf<float>(f));
      break;
    case BD_BB_FLOAT64_TYPE:
      b.writeFloat64(valueOf<double>(f));
      break;
    case BD_BB_RANGED_UNSIGNED_INTEGER32_TYPE:
      b.writeRangedUInt32(valueOf<std::uint32_t>(f), static_cast<std::uint32_t>(f.begin),
                          static_cast<std::uint32_t>(f.end), true);
      break;
    case BD_BB_RANGED_SIGNED_INTEGER32_TYPE:
      b.writeRangedInt32(valueOf<std::int32_t>(f), static_cast<std::int32_t>(f.begin),
                         static_cast<std::int32_t>(f.end));
      break;
    case BD_BB_RANGED_FLOAT32_TYPE: {
      float values[4];
      std::memcpy(values, f.bytes.data(), sizeof values);
      b.writeRangedFloat32(values[0], values[1], values[2], values[3]);
      break;
    }
    case BD_BB_SIGNED_CHAR8_STRING_TYPE:
      b.writeString(reinterpret_cast<const char*>(f.bytes.data()),
                    static_cast<unsigned int>(f.bytes.size()));
      break;
    case BD_BB_BLOB_TYPE:
      b.writeBlob(f.bytes.data(), static_cast<unsigned int>(f.bytes.size()));
      break;
    case BD_BB_FULL_TYPE:
      b.writeFullType(f.bytes.data(), 64);
      break;
  }
}

// Untyped buffers carry no codes: they are read against a fixed schema.
const unsigned int kUntypedSchema[] = {BD_BB_UNSIGNED_INTEGER32_TYPE,
                                       BD_BB_BOOL_TYPE,
                                       BD_BB_SIGNED_CHAR8_STRING_TYPE,
                                       BD_BB_BLOB_TYPE,
                                       BD_BB_RANGED_UNSIGNED_INTEGER32_TYPE,
                                       BD_BB_SIGNED_INTEGER64_TYPE,
                                       BD_BB_RANGED_SIGNED_INTEGER32_TYPE,
                                       BD_BB_UNSIGNED_CHAR8_TYPE,
                                       BD_BB_RANGED_FLOAT32_TYPE};

std::vector<Field> readAll(bdBitBuffer& b, size_t maxText) {
  std::vector<Field> fields;
  for (unsigned int i = 0; i < 10000; ++i) {
    const unsigned int code =
        b.isTyped() ? peekCode(b)
                    : kUntypedSchema[i % (sizeof kUntypedSchema / sizeof kUntypedSchema[0])];
    if (!readField(b, code, fields, maxText)) break;
    FUZZ_CHECK(b.getReadPosition() <= b.getNumBitsWritten());
  }
  return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzStartCore();
  if (size < 1 || size > 4096) return 0;
  // The first byte trims the bit length so that partial last bytes are covered.
  const unsigned int numBits =
      static_cast<unsigned int>((size - 1) * 8) - (size > 1 ? (data[0] & 7u) : 0u);
  bdBitBuffer in(data + 1, numBits, true);
  const std::vector<Field> fields = readAll(in, size);

  bdBitBuffer out(0, in.isTyped());
  for (const Field& f : fields)
    writeField(out, f);
  bdBitBuffer again(out.getData(), out.getNumBitsWritten(), true);
  FUZZ_CHECK(again.isTyped() == in.isTyped());
  std::vector<Field> second = readAll(again, size);
  second.resize(std::min(second.size(), fields.size()));
  FUZZ_CHECK(second == fields);
  return 0;
}
