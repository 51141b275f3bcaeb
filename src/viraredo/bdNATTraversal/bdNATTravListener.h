#pragma once
// Told the outcome of finding an address at which a remote peer answers.
#include "bdCore/bdContainers/bdReference.h"
#include "bdSocket/bdCommonAddr.h"

class bdAddr;

class bdNATTravListener {
 public:
  virtual ~bdNATTravListener() = default;
  virtual void onNATAddrDiscovery(bdReference<bdCommonAddr> target, const bdAddr& found) = 0;
  virtual void onNATAddrDiscoveryFailed(bdReference<bdCommonAddr> target) = 0;
};
