#include "bdAddressMap/bdAddressMap.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"

bdAddressMapImpl::bdAddressMapImpl() : m_localAddr(), m_map(4, 0.75f) {}

bdAddressMapImpl::~bdAddressMapImpl() { m_map.clear(); }

bool bdAddressMapImpl::registerAddr(bdReference<bdCommonAddr> ca, const bdSecurityID& id,
                                    bdAddrHandleRef& handle) {
  const bdCommonAddrRefWrapper key(ca);
  bdAddrHandleRef existing;
  if (m_map.get(key, existing)) {
    // A resolved handle stays resolved; any other restarts resolution.
    if (existing->m_status != bdAddrHandle::BD_ADDR_RESOLVED) {
      existing->m_status = bdAddrHandle::BD_ADDR_NOT_RESOLVED;
    }
    handle = existing;
    return true;
  }
  bdAddrHandleRef made(new bdAddrHandle(ca, id));
  if (made.notNull()) m_map.put(key, made);
  handle = made;
  return true;
}

bool bdAddressMapImpl::unregisterAddr(bdAddrHandleRef& handle) {
  if (handle.isNull()) return true;
  m_map.remove(bdCommonAddrRefWrapper(handle->m_ca));
  handle->m_ca = nullptr;
  handle->m_status = bdAddrHandle::BD_ADDR_UNREGISTERED;
  std::memset(handle->m_id.ab, 0, bdSecurityID::SIZE);
  return true;
}

void bdAddressMapImpl::unregisterAddr(bdReference<bdCommonAddr> ca) {
  m_map.remove(bdCommonAddrRefWrapper(ca));
}

bool bdAddressMapImpl::getAddrHandle(const bdAddr& addr, bdAddrHandleRef& handle) {
  for (auto it = m_map.getIterator(); it != nullptr; it = m_map.next(it)) {
    const bdAddrHandleRef& h = m_map.getValue(it);
    if (h->m_status == bdAddrHandle::BD_ADDR_RESOLVED && h->m_realAddr == addr) {
      handle = h;
      return true;
    }
  }
  return false;
}

bool bdAddressMapImpl::addrToCommonAddr(const bdAddrHandleRef& handle,
                                        bdReference<bdCommonAddr>& ca, bdSecurityID& id) {
  if (handle.isNull() || handle->m_ca.isNull()) {
    bdLogWarn("bdSocket/addrmap", "Failed to get common addr from addr handle.");
    return false;
  }
  ca = handle->m_ca;
  id = handle->m_id;
  return true;
}
