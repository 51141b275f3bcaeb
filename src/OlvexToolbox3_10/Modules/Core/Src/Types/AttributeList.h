#pragma once
// A session's attributes: {field id, text value} pairs in insertion order.
// Two records are equal when their values are equal. Looking an attribute
// up by its field's name needs the matchmaking field definitions, which own
// the names.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Types/String.h"

namespace OX_Toolbox {

struct AttributeRecord {
  std::uint32_t fieldId = 0;
  String value;

  bool operator==(const AttributeRecord& o) const {
    return value.equals(o.value) || (value.isEmpty() && o.value.isEmpty());
  }
};

class AttributeList {
 public:
  // The value of the first record with the id, else the empty text.
  const String& getAttribute(std::uint32_t fieldId) const;
  // Replaces the value of an existing id or appends a new record.
  void setAttribute(std::uint32_t fieldId, const String& value);
  const ToolboxVector<AttributeRecord>& records() const { return m_records; }
  void clear() { m_records.clear(); }

 private:
  ToolboxVector<AttributeRecord> m_records;
};

}  // namespace OX_Toolbox
