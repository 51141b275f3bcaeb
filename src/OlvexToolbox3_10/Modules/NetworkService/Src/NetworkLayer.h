#pragma once
// The network layer as the network service drives it: start it with this
// machine's addresses, pump it while it starts, then pump, send and dispatch
// on every update, and stop it at shut-down. The SDK's façade is the one the
// program uses; tests may put another in its place.
#include <cstdint>
#include <vector>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "bdSocket/bdInetAddr.h"

namespace OX_Toolbox {

class NetworkLayer : public ToolboxObject {
 public:
  enum Status : std::int32_t { STOPPED = 0, STARTING = 1, STARTED = 2 };

  virtual ~NetworkLayer() = default;
  // False when the start could not begin; online asks for the public
  // address to be discovered.
  virtual bool start(const std::vector<bdInetAddr>& localAddresses, bool online) = 0;
  // STOPPED, STARTING, STARTED, or a negative failure.
  virtual std::int32_t getStatus() = 0;
  virtual void pump() = 0;
  virtual void sendAll() = 0;
  virtual void receiveAndDispatchAll() = 0;
  virtual void stop() = 0;
  // A 32-bit value of this machine's network address; false before the
  // layer started.
  virtual bool getLocalAddressValue(std::uint32_t& value) = 0;
};

using NetworkLayerFactory = NetworkLayer* (*)();

// The layer a new network service uses; null restores the SDK's.
void SetNetworkLayerFactory(NetworkLayerFactory factory);
NetworkLayer* CreateNetworkLayer();

}  // namespace OX_Toolbox
