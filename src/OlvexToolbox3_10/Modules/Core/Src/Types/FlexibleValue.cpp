#include "Modules/Core/Src/Types/FlexibleValue.h"

#include <cinttypes>
#include <cstring>

#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/String.h"

namespace OX_Toolbox {

FlexibleValue::FlexibleValue(const FlexibleValue& other) { copyFrom(other); }

FlexibleValue& FlexibleValue::operator=(const FlexibleValue& other) {
  if (this != &other) {
    reset();
    copyFrom(other);
  }
  return *this;
}

FlexibleValue::~FlexibleValue() { clear(); }

void FlexibleValue::copyFrom(const FlexibleValue& other) {
  m_kind = other.m_kind;
  if (m_kind == STRING) {
    m_payload.string = new String(*other.m_payload.string);
  } else if (m_kind == BLOB) {
    m_payload.blob = new Blob(*other.m_payload.blob);
  } else {
    m_payload = other.m_payload;
  }
}

void FlexibleValue::clear() {
  if (m_kind == STRING) delete m_payload.string;
  if (m_kind == BLOB) delete m_payload.blob;
  std::memset(&m_payload, 0, sizeof m_payload);
}

void FlexibleValue::reset() {
  clear();
  m_kind = NOT_SET;
}

void FlexibleValue::setKind(Kind kind) {
  reset();
  if (kind == STRING) m_payload.string = new String(u"");
  if (kind == BLOB) m_payload.blob = new Blob(BLOB_EXTRACT_AND_WRITE_ENABLED);
  m_kind = kind;
}

void FlexibleValue::setInt32(std::int32_t v) {
  setKind(INTEGER_32);
  m_payload.i32 = v;
}
void FlexibleValue::setUInt32(std::uint32_t v) {
  setKind(UNSIGNED_INTEGER_32);
  m_payload.u32 = v;
}
void FlexibleValue::setInt64(std::int64_t v) {
  setKind(INTEGER_64);
  m_payload.i64 = v;
}
void FlexibleValue::setUInt64(std::uint64_t v) {
  setKind(UNSIGNED_INTEGER_64);
  m_payload.u64 = v;
}
void FlexibleValue::setFloat32(float v) {
  setKind(FLOAT_32);
  m_payload.f32 = v;
}
void FlexibleValue::setFloat64(double v) {
  setKind(FLOAT_64);
  m_payload.f64 = v;
}
void FlexibleValue::setString(const String& v) {
  String copy(v);  // v may be this value's own string
  setKind(STRING);
  m_payload.string->assign(copy);
}
void FlexibleValue::setBlob(const Blob& v) {
  Blob copy(v);
  setKind(BLOB);
  *m_payload.blob = copy;
}

std::int64_t FlexibleValue::getAsInt64() const {
  switch (m_kind) {
    case INTEGER_32:
      return m_payload.i32;
    case INTEGER_64:
      return m_payload.i64;
    case FLOAT_32:
      return static_cast<std::int64_t>(m_payload.f32);
    case FLOAT_64:
      return static_cast<std::int64_t>(m_payload.f64);
    case UNSIGNED_INTEGER_32:
      return m_payload.u32;
    case UNSIGNED_INTEGER_64:
      return static_cast<std::int64_t>(m_payload.u64);
    case STRING:
      return m_payload.string->toInt64();
    default:
      return 0;
  }
}

double FlexibleValue::getAsFloat64() const {
  switch (m_kind) {
    case INTEGER_32:
      return m_payload.i32;
    case INTEGER_64:
      return static_cast<double>(m_payload.i64);
    case FLOAT_32:
      return m_payload.f32;
    case FLOAT_64:
      return m_payload.f64;
    case UNSIGNED_INTEGER_32:
      return m_payload.u32;
    case UNSIGNED_INTEGER_64:
      return static_cast<double>(m_payload.u64);
    default:
      return 0.0;
  }
}

void FlexibleValue::toString(String& out) const {
  switch (m_kind) {
    case INTEGER_32:
      out.format("%" PRId32, m_payload.i32);
      break;
    case INTEGER_64:
      out.format("%" PRId64, m_payload.i64);
      break;
    case FLOAT_32:
      out.format("%f", static_cast<double>(m_payload.f32));
      break;
    case FLOAT_64:
      out.format("%f", m_payload.f64);
      break;
    case UNSIGNED_INTEGER_32:
      out.format("%" PRIu32, m_payload.u32);
      break;
    case UNSIGNED_INTEGER_64:
      out.format("%" PRIu64, m_payload.u64);
      break;
    case STRING:
      out.assign(*m_payload.string);
      break;
    default:
      out.assignWide(u"");
      break;
  }
}

bool FlexibleValue::writeToBlob(Blob& blob, std::uint32_t offset) const {
  const bool ok = blob.insertRawUInt8(offset, OX_FLEXIBLEVALUE) &&
                  blob.writeUInt32(offset + 1, static_cast<std::uint32_t>(m_kind));
  if (!ok) return false;
  const std::uint32_t at = offset + 6;
  switch (m_kind) {
    case INTEGER_32:
      return blob.writeInt32(at, m_payload.i32);
    case INTEGER_64:
      return blob.writeInt64(at, m_payload.i64);
    case FLOAT_32:
      return blob.writeFloat32(at, m_payload.f32);
    case FLOAT_64:
      return blob.writeFloat64(at, m_payload.f64);
    case UNSIGNED_INTEGER_32:
      return blob.writeUInt32(at, m_payload.u32);
    case UNSIGNED_INTEGER_64:
      return blob.writeUInt64(at, m_payload.u64);
    case STRING:
      return blob.writeString(at, *m_payload.string);
    case BLOB: {
      const Blob& b = *m_payload.blob;
      const std::uint32_t from = b.isReadOnly() ? b.getCursor() : 0;
      const std::uint32_t n = b.getSize() - from;
      return blob.writeUInt32(at, n) && blob.insertBytes(at + 5, b.getData() + from, n);
    }
    default:
      return true;
  }
}

bool FlexibleValue::readFromBlob(Blob& blob) {
  reset();
  // The leading type byte is taken without being checked.
  if (blob.remaining(0) < 6) return false;
  blob.takeTypeCode(0);
  if (blob.remaining(0) < 5) return false;
  const auto kind = static_cast<Kind>(blob.readUInt32(0));
  switch (kind) {
    case INTEGER_32:
      if (blob.remaining(0) < 5) return false;
      setInt32(blob.readInt32(0));
      return true;
    case INTEGER_64:
      if (blob.remaining(0) < 9) return false;
      setInt64(blob.readInt64(0));
      return true;
    case FLOAT_32:
      if (blob.remaining(0) < 5) return false;
      setFloat32(blob.readFloat32(0));
      return true;
    case FLOAT_64:
      if (blob.remaining(0) < 9) return false;
      setFloat64(blob.readFloat64(0));
      return true;
    case UNSIGNED_INTEGER_32:
      if (blob.remaining(0) < 5) return false;
      setUInt32(blob.readUInt32(0));
      return true;
    case UNSIGNED_INTEGER_64:
      if (blob.remaining(0) < 9) return false;
      setUInt64(blob.readUInt64(0));
      return true;
    case STRING: {
      String text;
      if (!blob.readString(0, text)) return false;
      setString(text);
      return true;
    }
    case BLOB: {
      if (blob.remaining(0) < 5) return false;
      const std::uint32_t n = blob.readUInt32(0);
      if (n > blob.remaining(0)) return false;  // a count the data cannot hold
      unsigned char* bytes = blob.extractBytes(0, n);
      if (!bytes) return false;
      setKind(BLOB);
      m_payload.blob->setData(bytes, n);
      if (!blob.isReadOnly()) ToolboxFree(bytes);
      return true;
    }
    default:
      return true;  // another kind leaves the value unset
  }
}

FlexibleValue& FlexibleValue::operator+=(const FlexibleValue& other) {
  if (m_kind != other.m_kind) return *this;
  switch (m_kind) {
    case INTEGER_32:
      m_payload.u32 += other.m_payload.u32;
      break;
    case UNSIGNED_INTEGER_32:
      m_payload.u32 += other.m_payload.u32;
      break;
    case INTEGER_64:
    case UNSIGNED_INTEGER_64:
      m_payload.u64 += other.m_payload.u64;
      break;
    case FLOAT_32:
      m_payload.f32 += other.m_payload.f32;
      break;
    case FLOAT_64:
      m_payload.f64 += other.m_payload.f64;
      break;
    case STRING:
      m_payload.string->append(*other.m_payload.string);
      break;
    case BLOB:
      m_payload.blob->insertBlob(m_payload.blob->getSize(), *other.m_payload.blob);
      break;
    default:
      break;
  }
  return *this;
}

bool FlexibleValue::operator==(const FlexibleValue& other) const {
  if (m_kind != other.m_kind) return false;
  switch (m_kind) {
    case INTEGER_32:
    case UNSIGNED_INTEGER_32:
      return m_payload.u32 == other.m_payload.u32;
    case INTEGER_64:
    case UNSIGNED_INTEGER_64:
      return m_payload.u64 == other.m_payload.u64;
    case FLOAT_32:
      return m_payload.f32 == other.m_payload.f32;
    case FLOAT_64:
      return m_payload.f64 == other.m_payload.f64;
    case STRING:
      return m_payload.string->equals(*other.m_payload.string) ||
             (m_payload.string->isEmpty() && other.m_payload.string->isEmpty());
    case BLOB: {
      const Blob& a = *m_payload.blob;
      const Blob& b = *other.m_payload.blob;
      return a.getSize() == b.getSize() &&
             (a.getSize() == 0 || std::memcmp(a.getData(), b.getData(), a.getSize()) == 0);
    }
    default:
      return true;
  }
}

bool FlexibleValue::lessThan(const FlexibleValue& other) const {
  if (m_kind != other.m_kind || !isNumeric()) return false;
  switch (m_kind) {
    case INTEGER_32:
      return m_payload.i32 < other.m_payload.i32;
    case INTEGER_64:
      return m_payload.i64 < other.m_payload.i64;
    case FLOAT_32:
      return m_payload.f32 < other.m_payload.f32;
    case FLOAT_64:
      return m_payload.f64 < other.m_payload.f64;
    case UNSIGNED_INTEGER_32:
      return m_payload.u32 < other.m_payload.u32;
    default:
      return m_payload.u64 < other.m_payload.u64;
  }
}

bool FlexibleValue::greaterThan(const FlexibleValue& other) const {
  if (m_kind != other.m_kind || !isNumeric()) return false;
  return other.lessThan(*this);
}

}  // namespace OX_Toolbox
