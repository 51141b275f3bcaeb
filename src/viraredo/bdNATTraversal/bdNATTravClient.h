#pragma once
// What the prober and the router need of NAT traversal: start finding a
// remote's address (the listener is told the outcome), or drop a search
// without telling anyone.
#include "bdCore/bdContainers/bdReference.h"
#include "bdSocket/bdCommonAddr.h"

class bdNATTravListener;

class bdNATTravClient {
 public:
  virtual ~bdNATTravClient() = default;
  // Throttled searches draw on the router's shared bandwidth allowance.
  virtual bool connect(bdReference<bdCommonAddr> target, bdNATTravListener* listener,
                       bool throttled) = 0;
  virtual void cancel(bdReference<bdCommonAddr> target) = 0;
};
