#include "Modules/NetworkService/Src/NetworkLayer.h"

#include <new>

#include "Modules/NetworkService/Src/SdkNetworkLayer.h"

namespace OX_Toolbox {

namespace {
NetworkLayerFactory g_factory = nullptr;
}

void SetNetworkLayerFactory(NetworkLayerFactory factory) { g_factory = factory; }

NetworkLayer* CreateNetworkLayer() {
  return g_factory ? g_factory() : new (std::nothrow) SdkNetworkLayer();
}

}  // namespace OX_Toolbox
