#pragma once
// The small typed messages with which the machines of one game session keep
// its players, attributes, heartbeat and match state in step. They travel
// through the peer message transport under the tag below.
//
// Sending: construct with the session id and the body, then serialize().
// Player lists are counted by one signed byte, so a list longer than 127
// entries (or parallel lists of unequal length) is refused there and nothing
// is written. Receiving: decodeSessionMessage() (SessionMessageDecoder.h).
#include <cstdint>
#include <utility>
#include <vector>

#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"
#include "Modules/Session/Src/SessionTypes.h"
#include "Modules/Session/Src/Ticket.h"

namespace OX_Toolbox {

// "MMDS" read as a big-endian character constant.
constexpr std::uint32_t kSessionMessageTag = 0x4D4D4453;

enum SessionMessageType : std::int32_t {
  SESSION_MSG_HEARTBEAT = 2,
  SESSION_MSG_ENTER_SESSION = 3,
  SESSION_MSG_SESSION_STATE = 4,
  SESSION_MSG_PLAYERS_LEFT = 5,
  SESSION_MSG_PLAYERS_JOINED = 6,
  SESSION_MSG_PLAYERS_LEFT_OTHER = 7,
  SESSION_MSG_ASK_FOR_TICKETS = 8,
  SESSION_MSG_TICKETS = 9,
  SESSION_MSG_PLAYER_FLAGS = 11,
  SESSION_MSG_PLAYER_FLAGS_OTHER = 13,
  SESSION_MSG_ATTRIBUTES = 14,
  SESSION_MSG_SESSION_CLOSED = 15,
  SESSION_MSG_MATCH_STARTED = 16,
  SESSION_MSG_MATCH_ENDED = 17,
  SESSION_MSG_PLAYER_STATUS_TO_PEERS = 18,
  SESSION_MSG_PLAYER_STATUS_TO_HOST = 19,
};

// Most entries an OX_INT8 count can carry.
constexpr std::size_t kMaxSessionListEntries = 127;

class SessionMessage {
 public:
  virtual ~SessionMessage() = default;

  // Appends the header (type, sender, session id) and the body at the
  // blob's end. False, with the blob unchanged, when the body cannot be
  // written as it stands.
  virtual bool serialize(Blob& blob) const;
  // Reads the session id and the body from the blob's front (the type and
  // sender were read by the receiver). False on a malformed stream.
  virtual bool deserialize(Blob& blob);

  std::int32_t getType() const { return m_type; }
  const SessionID& getSessionId() const { return m_sessionId; }
  const PlayerID& getSender() const { return m_sender; }
  // The main local player's id, set by the session layer before sending;
  // an empty id when there is none.
  void setSender(const PlayerID& sender) { m_sender = sender; }

 protected:
  SessionMessage(std::int32_t type, const SessionID& sessionId)
      : m_type(type), m_sessionId(sessionId) {}
  virtual bool writeBody(Blob& out) const = 0;
  virtual bool readBody(Blob& in) = 0;

 private:
  std::int32_t m_type;
  SessionID m_sessionId;
  PlayerID m_sender;
};

// Codes 2, 5 and 7: a list of players.
class PlayerListMessage : public SessionMessage {
 public:
  PlayerListMessage(std::int32_t type, const SessionID& id, std::vector<PlayerID> players)
      : SessionMessage(type, id), players(std::move(players)) {}
  std::vector<PlayerID> players;

 protected:
  bool writeBody(Blob& out) const override;
  bool readBody(Blob& in) override;
};

class HeartbeatMessage : public PlayerListMessage {
 public:
  HeartbeatMessage(const SessionID& id, std::vector<PlayerID> players)
      : PlayerListMessage(SESSION_MSG_HEARTBEAT, id, std::move(players)) {}
};

class PlayersLeftMessage : public PlayerListMessage {
 public:
  PlayersLeftMessage(const SessionID& id, std::vector<PlayerID> players,
                     std::int32_t type = SESSION_MSG_PLAYERS_LEFT)
      : PlayerListMessage(type, id, std::move(players)) {}
};

class EnterSessionMessage : public SessionMessage {
 public:
  EnterSessionMessage(const SessionID& id, std::vector<PlayerID> players,
                      std::vector<String> logins, std::vector<Ticket> tickets,
                      PeerAddress ownAddress)
      : SessionMessage(SESSION_MSG_ENTER_SESSION, id),
        players(std::move(players)),
        logins(std::move(logins)),
        tickets(std::move(tickets)),
        ownAddress(std::move(ownAddress)) {}
  std::vector<PlayerID> players;
  std::vector<String> logins;
  std::vector<Ticket> tickets;
  PeerAddress ownAddress;

 protected:
  bool writeBody(Blob& out) const override;
  bool readBody(Blob& in) override;
};

class SessionStateMessage : public SessionMessage {
 public:
  SessionStateMessage(const SessionID& id, bool accepted, bool matchStarted,
                      std::vector<PlayerID> players, std::vector<String> logins,
                      std::vector<PeerAddress> addresses, std::vector<std::int32_t> statuses)
      : SessionMessage(SESSION_MSG_SESSION_STATE, id),
        accepted(accepted),
        matchStarted(matchStarted),
        players(std::move(players)),
        logins(std::move(logins)),
        addresses(std::move(addresses)),
        statuses(std::move(statuses)) {}
  bool accepted;
  bool matchStarted;
  std::vector<PlayerID> players;
  std::vector<String> logins;
  std::vector<PeerAddress> addresses;
  std::vector<std::int32_t> statuses;

 protected:
  bool writeBody(Blob& out) const override;
  bool readBody(Blob& in) override;
};

class PlayersJoinedMessage : public SessionMessage {
 public:
  PlayersJoinedMessage(const SessionID& id, std::vector<PlayerID> players,
                       std::vector<String> logins, std::vector<PeerAddress> addresses)
      : SessionMessage(SESSION_MSG_PLAYERS_JOINED, id),
        players(std::move(players)),
        logins(std::move(logins)),
        addresses(std::move(addresses)) {}
  std::vector<PlayerID> players;
  std::vector<String> logins;
  std::vector<PeerAddress> addresses;

 protected:
  bool writeBody(Blob& out) const override;
  bool readBody(Blob& in) override;
};

class AskForTicketsMessage : public SessionMessage {
 public:
  AskForTicketsMessage(const SessionID& id, std::uint32_t ticketCount, std::uint32_t privateRequest)
      : SessionMessage(SESSION_MSG_ASK_FOR_TICKETS, id),
        ticketCount(ticketCount),
        privateRequest(privateRequest) {}
  std::uint32_t ticketCount;
  std::uint32_t privateRequest;

 protected:
  bool writeBody(Blob& out) const override;
  bool readBody(Blob& in) override;
};

class TicketsMessage : public SessionMessage {
 public:
  TicketsMessage(const SessionID& id, std::uint32_t result, std::vector<Ticket> tickets)
      : SessionMessage(SESSION_MSG_TICKETS, id), result(result), tickets(std::move(tickets)) {}
  std::uint32_t result;
  std::vector<Ticket> tickets;

 protected:
  bool writeBody(Blob& out) const override;
  bool readBody(Blob& in) override;
};

// Codes 11 and 13; received only.
class PlayerFlagsMessage : public SessionMessage {
 public:
  PlayerFlagsMessage(std::int32_t type, const SessionID& id, bool value,
                     std::vector<PlayerID> players)
      : SessionMessage(type, id), value(value), players(std::move(players)) {}
  bool value;
  std::vector<PlayerID> players;

 protected:
  bool writeBody(Blob& out) const override;
  bool readBody(Blob& in) override;
};

class SessionAttributesMessage : public SessionMessage {
 public:
  using Attribute = std::pair<std::int32_t, String>;
  SessionAttributesMessage(const SessionID& id, std::vector<Attribute> attributes)
      : SessionMessage(SESSION_MSG_ATTRIBUTES, id), attributes(std::move(attributes)) {}
  std::vector<Attribute> attributes;

 protected:
  bool writeBody(Blob& out) const override;
  bool readBody(Blob& in) override;
};

// Codes 15, 16 and 17: no body.
class SessionNoticeMessage : public SessionMessage {
 public:
  SessionNoticeMessage(std::int32_t type, const SessionID& id) : SessionMessage(type, id) {}

 protected:
  bool writeBody(Blob&) const override { return true; }
  bool readBody(Blob&) override { return true; }
};

// Codes 18 (host to peers) and 19 (peer to host).
class PlayerStatusMessage : public SessionMessage {
 public:
  PlayerStatusMessage(std::int32_t type, const SessionID& id, const PlayerID& player,
                      std::int32_t status)
      : SessionMessage(type, id), player(player), status(status) {}
  PlayerID player;
  std::int32_t status;

 protected:
  bool writeBody(Blob& out) const override;
  bool readBody(Blob& in) override;
};

}  // namespace OX_Toolbox
