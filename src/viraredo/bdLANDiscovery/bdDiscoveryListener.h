#pragma once
// Hears LAN discovery: games found by a search, its end, and requests a
// hosting server answered. Every notification does nothing unless overridden.
#include "bdCore/bdContainers/bdReference.h"
#include "bdLANDiscovery/bdGameInfo.h"

class bdDiscoveryListener {
 public:
  virtual ~bdDiscoveryListener() = default;
  virtual void onDiscoveryReply(bdReference<bdGameInfo>) {}
  virtual void onDiscoveryEnd() {}
  virtual void onDiscoveryRequest() {}
};
