#include "Modules/NetworkService/Src/PeerConnections.h"

#include <atomic>

namespace OX_Toolbox {

std::uint32_t NextRouteRequestId() {
  static std::atomic<std::uint32_t> s_next{0};
  return ++s_next;
}

}  // namespace OX_Toolbox
