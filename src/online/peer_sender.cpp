#include "online/peer_sender.h"

#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "Modules/NetworkService/Src/PeerMessenger.h"

namespace online {

namespace {

class NetworkServiceSender : public PeerSender {
 public:
  OX_Toolbox::ERRORID SendToPeer(const OX_Toolbox::PlayerID& player, uint32_t kind,
                                 const OX_Toolbox::Blob& message) override {
    OX_Toolbox::NetworkService* service = OX_Toolbox::NetworkService::find();
    OX_Toolbox::PeerMessenger* messenger = service ? service->getMessenger() : nullptr;
    if (messenger == nullptr) return OX_Toolbox::ERRORID_FAILED;
    messenger->SendMessageToPlayer(player, kind, message);
    return OX_Toolbox::LastResult().get();
  }
};

}  // namespace

PeerSender& NetworkPeerSender() {
  static NetworkServiceSender sender;
  return sender;
}

}  // namespace online
