// Game messages from a peer: the router must keep only what passes the
// checks, never read past a message, and never relay a bad one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "online/game_message.h"
#include "online/game_message_router.h"
#include "online/peer_sender.h"

namespace {

class NullSender : public online::PeerSender {
 public:
  OX_Toolbox::ERRORID SendToPeer(const OX_Toolbox::PlayerID&, uint32_t,
                                 const OX_Toolbox::Blob& message) override {
    if (message.getSize() > online::kMaxGameMessageSize) std::abort();
    return OX_Toolbox::ERRORID_SUCCEEDED;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int32_t players = data[0] % 6;
  const bool hosting = (data[1] & 1) != 0;
  data += 2;
  size -= 2;

  NullSender sender;
  online::GameMessageRouter router(&sender);
  router.SetPacing(online::SendPacing{0, false});
  online::SessionRoster roster;
  for (int32_t i = 0; i < players; ++i)
    roster.players.push_back(online::RosterPlayer{OX_Toolbox::PlayerID(2, 100 + i), true});
  roster.localSlot = hosting ? 0 : (players > 1 ? 1 : -1);
  roster.hosting = hosting;
  router.SetRoster(roster);

  const bool ok = online::CheckGameMessage(data, size, players) == online::GameMessageCheck::kOk;
  OX_Toolbox::Blob blob(data, static_cast<uint32_t>(size), OX_Toolbox::BLOB_READONLY);
  router.OnPeerMessage(0, blob);
  if (ok != (router.ChatListSize() + router.LobbyListSize() == 1)) std::abort();
  if (!ok && router.OutgoingCount() != 0) std::abort();
  router.OnFriendChatLine(data, size);
  while (router.StepLobbyMessage()) {
  }
  router.DrainChatList();
  while (router.ApplyPendingGameDescription()) {
  }
  router.FlushOutgoingMessages();

  // Round trip: a chat line built from the input reads back as its text.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const online::GameMessage line = online::BuildChatLine(0, text.c_str());
  if (online::CheckGameMessage(line.data(), line.size(), 1) != online::GameMessageCheck::kOk)
    std::abort();
  const std::string back = online::GameMessageText(line);
  if (back != text.substr(0, back.size()) || back.size() > 511) std::abort();
  return 0;
}
