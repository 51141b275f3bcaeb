#pragma once
// Gives each peer's common address one shared address handle. Common
// addresses with equal 32-bit hashes share a handle.
#include "bdAddressMap/bdAddrHandle.h"
#include "bdCore/bdContainers/bdHashMap.h"

class bdAddressMap {
 public:
  virtual ~bdAddressMap() = default;
  virtual bool registerAddr(bdReference<bdCommonAddr> ca, const bdSecurityID& id,
                            bdAddrHandleRef& handle) = 0;
  virtual bool unregisterAddr(bdAddrHandleRef& handle) = 0;
  virtual void unregisterAddr(bdReference<bdCommonAddr> ca) = 0;
  virtual bool getAddrHandle(const bdAddr& addr, bdAddrHandleRef& handle) = 0;
};

class bdAddressMapImpl : public bdAddressMap {
 public:
  class bdCommonAddrRefWrapper {
   public:
    bdCommonAddrRefWrapper() = default;
    explicit bdCommonAddrRefWrapper(bdReference<bdCommonAddr> ca) : m_ca(ca) {}
    bool operator==(const bdCommonAddrRefWrapper& o) const { return getHash() == o.getHash(); }
    unsigned int getHash() const { return m_ca.notNull() ? m_ca->getHash() : 0; }
    static unsigned int getHash(const bdCommonAddrRefWrapper& w) { return w.getHash(); }
    bdReference<bdCommonAddr> m_ca;
  };

  bdAddressMapImpl();
  ~bdAddressMapImpl() override;

  bool registerAddr(bdReference<bdCommonAddr> ca, const bdSecurityID& id,
                    bdAddrHandleRef& handle) override;
  bool unregisterAddr(bdAddrHandleRef& handle) override;
  void unregisterAddr(bdReference<bdCommonAddr> ca) override;
  bool getAddrHandle(const bdAddr& addr, bdAddrHandleRef& handle) override;
  static bool addrToCommonAddr(const bdAddrHandleRef& handle, bdReference<bdCommonAddr>& ca,
                               bdSecurityID& id);
  unsigned int getSize() const { return m_map.getSize(); }

 private:
  bdReference<bdCommonAddr> m_localAddr;
  bdHashMap<bdCommonAddrRefWrapper, bdAddrHandleRef, bdCommonAddrRefWrapper> m_map;
};
