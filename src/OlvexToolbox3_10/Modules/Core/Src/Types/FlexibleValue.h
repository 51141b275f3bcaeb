#pragma once
// A tagged value: a number of one of six kinds, an owned String or an owned
// Blob.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"

namespace OX_Toolbox {

class Blob;
class String;

class FlexibleValue : public ToolboxObject {
 public:
  enum Kind : std::int32_t {
    NOT_SET = 0,
    INTEGER_32 = 1,
    INTEGER_64 = 2,
    FLOAT_32 = 3,
    FLOAT_64 = 4,
    UNSIGNED_INTEGER_32 = 5,
    UNSIGNED_INTEGER_64 = 6,
    STRING = 7,
    BLOB = 8,
  };

  FlexibleValue() = default;
  FlexibleValue(const FlexibleValue& other);
  FlexibleValue& operator=(const FlexibleValue& other);
  ~FlexibleValue();

  Kind getKind() const { return m_kind; }
  // Kinds STRING and BLOB get an empty owned object.
  void setKind(Kind kind);
  void clear();  // frees the owned object, zeroes the payload
  void reset();  // clear and NOT_SET

  void setInt32(std::int32_t v);
  void setUInt32(std::uint32_t v);
  void setInt64(std::int64_t v);
  void setUInt64(std::uint64_t v);
  void setFloat32(float v);
  void setFloat64(double v);
  void setString(const String& v);
  void setBlob(const Blob& v);

  double getFloat64() const { return m_kind == FLOAT_64 ? m_payload.f64 : 0.0; }
  std::int32_t getAsInt32() const { return static_cast<std::int32_t>(getAsInt64()); }
  std::int64_t getAsInt64() const;
  float getAsFloat32() const { return static_cast<float>(getAsFloat64()); }
  double getAsFloat64() const;
  const String* getString() const { return m_kind == STRING ? m_payload.string : nullptr; }
  const Blob* getBlob() const { return m_kind == BLOB ? m_payload.blob : nullptr; }
  void toString(String& out) const;

  // Type 13, the kind as uint32, then the payload as its typed value (a blob:
  // uint32 byte count and the raw bytes).
  bool writeToBlob(Blob& blob, std::uint32_t offset) const;
  // Reads that layout from the front; false on a short or malformed value.
  bool readFromBlob(Blob& blob);

  FlexibleValue& operator+=(const FlexibleValue& other);
  bool operator==(const FlexibleValue& other) const;
  bool lessThan(const FlexibleValue& other) const;
  bool greaterThan(const FlexibleValue& other) const;

 private:
  void copyFrom(const FlexibleValue& other);
  bool isNumeric() const { return m_kind >= INTEGER_32 && m_kind <= UNSIGNED_INTEGER_64; }

  union Payload {
    std::int32_t i32;
    std::uint32_t u32;
    std::int64_t i64;
    std::uint64_t u64;
    float f32;
    double f64;
    String* string;
    Blob* blob;
  } m_payload{};
  Kind m_kind = NOT_SET;
};

}  // namespace OX_Toolbox
