#pragma once
// The network layer over the SDK's network façade (the process-wide one).
#include "Modules/NetworkService/Src/NetworkLayer.h"

namespace OX_Toolbox {

class SdkNetworkLayer : public NetworkLayer {
 public:
  // discovery false: an online start skips public-address discovery (for a
  // machine that reaches its servers without it, such as loopback). port 0
  // takes any free one.
  explicit SdkNetworkLayer(bool discovery = true, unsigned short port = 3074)
      : m_discovery(discovery), m_port(port) {}
  bool start(const std::vector<bdInetAddr>& localAddresses, bool online) override;
  std::int32_t getStatus() override;
  void pump() override;
  void sendAll() override;
  void receiveAndDispatchAll() override;
  void stop() override;
  bool getLocalAddressValue(std::uint32_t& value) override;

 private:
  bool m_discovery;
  unsigned short m_port;
};

}  // namespace OX_Toolbox
