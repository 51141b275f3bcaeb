#include "Modules/NetworkService/Src/NetworkLayer.h"

namespace OX_Toolbox {

namespace {
NetworkLayerFactory g_factory = nullptr;
}

void SetNetworkLayerFactory(NetworkLayerFactory factory) { g_factory = factory; }

NetworkLayer* CreateNetworkLayer() { return g_factory ? g_factory() : nullptr; }

}  // namespace OX_Toolbox
