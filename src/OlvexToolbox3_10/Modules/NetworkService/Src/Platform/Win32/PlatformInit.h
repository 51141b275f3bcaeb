#pragma once
// The network service's platform start-up: the socket library, and this
// machine's IPv4 addresses for the network layer's start (loopback when it
// has none).
#include <vector>

#include "bdSocket/bdInetAddr.h"

namespace OX_Toolbox {

class bdExamplePlatformInit {
 public:
  // Appends the addresses; returns the socket library's start-up result
  // (0 when it started).
  static int init(std::vector<bdInetAddr>& localAddresses);
  // Undoes init's socket library start-up.
  static void shutdown();
};

}  // namespace OX_Toolbox
