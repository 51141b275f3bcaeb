#include "Modules/Session/Src/SessionMessageDecoder.h"

#include "Modules/Session/Src/WireRead.h"

namespace OX_Toolbox {

namespace {

std::unique_ptr<SessionMessage> emptyMessage(std::int32_t type) {
  const SessionID none{};
  switch (type) {
    case SESSION_MSG_HEARTBEAT:
      return std::make_unique<HeartbeatMessage>(none, std::vector<PlayerID>());
    case SESSION_MSG_PLAYERS_LEFT:
    case SESSION_MSG_PLAYERS_LEFT_OTHER:
      return std::make_unique<PlayersLeftMessage>(none, std::vector<PlayerID>(), type);
    case SESSION_MSG_ENTER_SESSION:
      return std::make_unique<EnterSessionMessage>(none, std::vector<PlayerID>(),
                                                   std::vector<String>(), std::vector<Ticket>(),
                                                   PeerAddress());
    case SESSION_MSG_SESSION_STATE:
      return std::make_unique<SessionStateMessage>(
          none, false, false, std::vector<PlayerID>(), std::vector<String>(),
          std::vector<PeerAddress>(), std::vector<std::int32_t>());
    case SESSION_MSG_PLAYERS_JOINED:
      return std::make_unique<PlayersJoinedMessage>(
          none, std::vector<PlayerID>(), std::vector<String>(), std::vector<PeerAddress>());
    case SESSION_MSG_ASK_FOR_TICKETS:
      return std::make_unique<AskForTicketsMessage>(none, 0, 0);
    case SESSION_MSG_TICKETS:
      return std::make_unique<TicketsMessage>(none, 0, std::vector<Ticket>());
    case SESSION_MSG_PLAYER_FLAGS:
    case SESSION_MSG_PLAYER_FLAGS_OTHER:
      return std::make_unique<PlayerFlagsMessage>(type, none, false, std::vector<PlayerID>());
    case SESSION_MSG_ATTRIBUTES:
      return std::make_unique<SessionAttributesMessage>(
          none, std::vector<SessionAttributesMessage::Attribute>());
    case SESSION_MSG_SESSION_CLOSED:
    case SESSION_MSG_MATCH_STARTED:
    case SESSION_MSG_MATCH_ENDED:
      return std::make_unique<SessionNoticeMessage>(type, none);
    case SESSION_MSG_PLAYER_STATUS_TO_PEERS:
    case SESSION_MSG_PLAYER_STATUS_TO_HOST:
      return std::make_unique<PlayerStatusMessage>(type, none, PlayerID(), 0);
    default:
      return nullptr;
  }
}

}  // namespace

std::unique_ptr<SessionMessage> decodeSessionMessage(Blob& blob) {
  std::int32_t type = 0;
  PlayerID sender;
  if (!wire::read(blob, type) || !wire::read(blob, sender)) return nullptr;
  std::unique_ptr<SessionMessage> message = emptyMessage(type);
  if (!message || !message->deserialize(blob)) return nullptr;
  message->setSender(sender);
  return message;
}

}  // namespace OX_Toolbox
