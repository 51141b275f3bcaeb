#include "Modules/NetworkService/Src/SdkNetworkLayer.h"

#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdNet/bdNetImpl.h"

namespace OX_Toolbox {

namespace {
bdNetImpl* net() { return bdSingleton<bdNetImpl>::getInstance(); }
}  // namespace

bool SdkNetworkLayer::start(const std::vector<bdInetAddr>& localAddresses, bool online) {
  bdNetImpl* n = net();
  if (!n) return false;
  bdNetStartParams params;
  params.m_useDiscovery = online && m_discovery;
  params.m_port = m_port;
  for (const bdInetAddr& a : localAddresses)
    params.m_localAddresses.pushBack(a);
  return n->start(params);
}

std::int32_t SdkNetworkLayer::getStatus() {
  return bdSingleton<bdNetImpl>::exists() ? net()->getStatus() : STOPPED;
}

void SdkNetworkLayer::pump() {
  if (bdSingleton<bdNetImpl>::exists()) net()->pump();
}

void SdkNetworkLayer::sendAll() {
  if (bdSingleton<bdNetImpl>::exists()) net()->sendAll();
}

void SdkNetworkLayer::receiveAndDispatchAll() {
  if (bdSingleton<bdNetImpl>::exists()) net()->receiveAndDispatchAll();
}

void SdkNetworkLayer::stop() {
  if (bdSingleton<bdNetImpl>::exists()) net()->stop();
}

bool SdkNetworkLayer::getLocalAddressValue(std::uint32_t& value) {
  if (!bdSingleton<bdNetImpl>::exists()) return false;
  const bdReference<bdCommonAddr> local = net()->getLocalCommonAddr();
  if (local.isNull() || local->getLocalAddrs().getSize() == 0) return false;
  value = local->getLocalAddr(0).getAddress().getInAddr();
  return true;
}

}  // namespace OX_Toolbox
