#pragma once
// One peer's shared, reference-counted address record: the concrete address
// that NAT traversal resolves for the peer's common address.
#include "bdCore/bdContainers/bdReference.h"
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdCommonAddr.h"
#include "bdSocket/bdSecurity/bdSecurityID.h"

class bdAddrHandle : public bdReferencable {
 public:
  enum bdAddrHandleStatus {
    BD_ADDR_NOT_RESOLVED = 1,
    BD_ADDR_ERROR = 2,
    BD_ADDR_RESOLVED = 3,
    BD_ADDR_UNREGISTERED = 4,
  };

  bdAddrHandle(bdReference<bdCommonAddr> ca, const bdSecurityID& id);
  ~bdAddrHandle() override;

  unsigned int getHash() const { return m_random; }
  bool operator==(const bdAddrHandle& o) const { return this == &o; }
  // Text for logs: the resolved address, "loopback" or "not resolved".
  unsigned int toString(char* buffer, unsigned int size) const;

  bdAddrHandleStatus m_status;
  bdAddr m_realAddr;
  bdReference<bdCommonAddr> m_ca;
  bdSecurityID m_id;
  unsigned int m_random;
};

using bdAddrHandleRef = bdReference<bdAddrHandle>;
