#include "bdAddressMap/bdAddrHandle.h"

#include "bdCore/bdCrypto/bdRandom.h"
#include "bdCore/bdUtilities/bdCString.h"

bdAddrHandle::bdAddrHandle(bdReference<bdCommonAddr> ca, const bdSecurityID& id)
    : m_status(BD_ADDR_NOT_RESOLVED), m_realAddr(), m_ca(ca), m_id(id), m_random(0) {
  bdRandom* random = bdRandom::getInstance();
  if (random != nullptr) m_random = random->getRandomUInt();
}

bdAddrHandle::~bdAddrHandle() = default;

unsigned int bdAddrHandle::toString(char* buffer, unsigned int size) const {
  if (buffer == nullptr || size == 0) return 0;
  if (m_status == BD_ADDR_RESOLVED) return m_realAddr.toString(buffer, size);
  const char* text = m_ca.notNull() && m_ca->isLoopback() ? "loopback" : "not resolved";
  return bdStrlcpy(buffer, text, size);
}
