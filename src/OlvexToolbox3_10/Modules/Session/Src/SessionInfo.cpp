#include "Modules/Session/Src/SessionInfo.h"

namespace OX_Toolbox {

void SessionInfo::setAttribute(std::uint32_t id, const String& text) {
  for (Attribute& a : attributes) {
    if (a.first == id) {
      a.second.assign(text);
      return;
    }
  }
  attributes.emplace_back(id, text);
}

const String* SessionInfo::findAttribute(std::uint32_t id) const {
  for (const Attribute& a : attributes) {
    if (a.first == id) return &a.second;
  }
  return nullptr;
}

}  // namespace OX_Toolbox
