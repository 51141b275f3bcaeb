#include "Modules/Core/Src/Types/AttributeList.h"

namespace OX_Toolbox {

const String& AttributeList::getAttribute(std::uint32_t fieldId) const {
  static const String kEmpty(u"");
  for (const AttributeRecord& r : m_records) {
    if (r.fieldId == fieldId) return r.value;
  }
  return kEmpty;
}

void AttributeList::setAttribute(std::uint32_t fieldId, const String& value) {
  for (AttributeRecord& r : m_records) {
    if (r.fieldId == fieldId) {
      r.value = value;
      return;
    }
  }
  m_records.push_back({fieldId, value});
}

}  // namespace OX_Toolbox
