#include "bdSocket/bdSecurity/bdSecurityKeyMap.h"

#include "bdCore/bdCrypto/bdRandom.h"
#include "bdCore/bdLog/bdLog.h"

namespace {
const char* const kChannel = "bdCore/bdSocket/bdSecurity";

struct Printed {
  explicit Printed(const bdSecurityID& id) { id.toString(text, sizeof text); }
  explicit Printed(const bdSecurityKey& key) { key.toString(text, sizeof text); }
  char text[bdSecurityID::TEXT_SIZE];
};
}  // namespace

bdSecurityKeyMap::bdSecurityKeyMap() : m_listener(nullptr), m_map(4, 0.75f) {}

bool bdSecurityKeyMap::create(bdSecurityID& id, bdSecurityKey& key) const {
  bdRandom* random = bdRandom::getInstance();
  if (random == nullptr || !random->getRandomBytes(id.ab, sizeof id.ab) ||
      !random->getRandomBytes(key.ab, sizeof key.ab)) {
    return false;
  }
  bdLogInfo(kChannel, "Created bdSecurityID: %s", Printed(id).text);
  bdLogInfo(kChannel, "Created bdSecurityKey: %s", Printed(key).text);
  return true;
}

bool bdSecurityKeyMap::put(const bdSecurityID& id, const bdSecurityKey& key) {
  bdLogInfo(kChannel, "Putting bdSecurityID: %s", Printed(id).text);
  bdLogInfo(kChannel, "Putting bdSecurityKey: %s", Printed(key).text);
  if (!m_map.put(id, key)) {
    bdLogInfo(kChannel, "bdSecurityID already present.");
    return false;
  }
  return true;
}

bool bdSecurityKeyMap::remove(const bdSecurityID& id) {
  bdLogInfo(kChannel, "Removing bdSecurityID: %s", Printed(id).text);
  if (!m_map.contains(id)) {
    bdLogInfo(kChannel, "bdSecurityID not present.");
    return false;
  }
  if (m_listener != nullptr) m_listener->onSecurityKeyRemove(id);
  return m_map.remove(id);
}

bool bdSecurityKeyMap::get(const bdSecurityID& id, bdSecurityKey& key) {
  bdLogInfo(kChannel, "Searching for bdSecurityID: %s", Printed(id).text);
  if (!m_map.get(id, key)) {
    bdLogInfo(kChannel, "bdSecurityID not present");
    return false;
  }
  bdLogInfo(kChannel, "Found bdSecurityKey: %s", Printed(key).text);
  return true;
}

bool bdSecurityKeyMap::contains(const bdSecurityID& id) const {
  if (m_map.contains(id)) {
    bdLogInfo(kChannel, "Found bdSecurityID: %s", Printed(id).text);
    return true;
  }
  bdLogInfo(kChannel, "bdSecurityID: %s not present.", Printed(id).text);
  return false;
}

void bdSecurityKeyMap::registerListener(bdSecurityKeyMapListener* listener) {
  bdAssert(m_listener == nullptr, "Only one listener is allowed at once.");
  m_listener = listener;
}

void bdSecurityKeyMap::clear() {
  if (m_listener != nullptr) {
    for (auto it = m_map.getIterator(); it != nullptr; it = m_map.next(it)) {
      m_listener->onSecurityKeyRemove(m_map.getKey(it));
    }
  }
  m_map.clear();
}
