#pragma once
// How the front-end hands a message to a player's machine: the network
// service's peer message transport under the given kind. Tests and the
// benchmark replace it.
#include <cstdint>

#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/PlayerID.h"

namespace online {

class PeerSender {
 public:
  virtual ~PeerSender() = default;
  // Called with the online lock held.
  virtual OX_Toolbox::ERRORID SendToPeer(const OX_Toolbox::PlayerID& player, uint32_t kind,
                                         const OX_Toolbox::Blob& message) = 0;
};

// The network service's transport; FAILED when the service or its transport
// does not exist.
PeerSender& NetworkPeerSender();

}  // namespace online
