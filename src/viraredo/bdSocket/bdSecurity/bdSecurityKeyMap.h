#pragma once
// The security keys known to this host, by id. One listener hears each id
// before it leaves the map.
#include "bdCore/bdContainers/bdHashMap.h"
#include "bdSocket/bdSecurity/bdSecurityID.h"

class bdSecurityKeyMapListener {
 public:
  virtual ~bdSecurityKeyMapListener() = default;
  virtual void onSecurityKeyRemove(const bdSecurityID& id) = 0;
};

class bdSecurityKeyMap {
 public:
  bdSecurityKeyMap();

  // Fills a fresh random id and key; does not store them.
  bool create(bdSecurityID& id, bdSecurityKey& key) const;
  // False when the id is present already (its key stays).
  bool put(const bdSecurityID& id, const bdSecurityKey& key);
  bool remove(const bdSecurityID& id);
  bool get(const bdSecurityID& id, bdSecurityKey& key);
  bool contains(const bdSecurityID& id) const;
  void registerListener(bdSecurityKeyMapListener* listener);
  void unregisterListener() { m_listener = nullptr; }
  // Tells the listener about every id, then empties the map.
  void clear();
  unsigned int getSize() const { return m_map.getSize(); }

 private:
  bdSecurityKeyMapListener* m_listener;
  bdHashMap<bdSecurityID, bdSecurityKey, bdHashingClass> m_map;
};
