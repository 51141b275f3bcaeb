#pragma once
// The current game session on this machine: its description, whether this
// machine hosts it or joined it, and every player in it with the machine the
// player sits at. Host and joiners keep these lists equal with the in-session
// messages, watch each other with heartbeats on the toolbox clock and drop a
// machine that falls silent; every change reaches the game interface and the
// event manager. Runs on the pump thread; no locks.
#include <cstdint>
#include <vector>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"
#include "Modules/NetworkService/Src/PeerMessenger.h"
#include "Modules/Session/Src/SessionInfo.h"
#include "Modules/Session/Src/SessionMessage.h"
#include "Modules/Session/Src/Ticket.h"

namespace OX_Toolbox {

struct SessionPeer {
  PlayerID id;
  String login;
  PeerAddress address;
  bool isLocal = false;  // the player sits at this machine
  std::uint32_t silenceMs = 0;
  std::uint32_t state = 0;  // 1 or 2 once a flags message named the player
  std::uint8_t flag = 0;
  std::int32_t status = 0;
};

// Why players leave, as given to removePlayers and the game interface.
enum SessionLeaveReason : std::int32_t {
  SESSION_LEAVE_LEFT = 0,
  SESSION_LEAVE_TIMED_OUT = 1,
  SESSION_LEAVE_CLOSED_BY_HOST = 2,
};

// What the session layer needs of matchmaking: slot assignment, tickets and
// the match and session-update operations. The matchmaking service supplies
// it; without one, every ticket takes a slot and none are issued.
class SessionMatchmaking {
 public:
  virtual ~SessionMatchmaking() = default;
  // False when the ticket takes no slot of the session.
  virtual bool assignSlot(const Ticket& ticket, const PlayerID& player) = 0;
  virtual std::vector<Ticket> createTickets(std::uint32_t count, bool privateSlots) = 0;
  // New players joined (none of them was already in the session).
  virtual void playersAdded(const std::vector<PlayerID>& ids) = 0;
  // The list of a removal that took the owner.
  virtual void ownerRemoved(const std::vector<PlayerID>& ids) = 0;
  virtual void matchStarted() = 0;
  virtual void matchEnded() = 0;
  // Sets the "match has started" field and publishes the session.
  virtual void setMatchStartedField(bool started) = 0;
  // Every matchmaking field's id and current value as text.
  virtual std::vector<SessionInfo::Attribute> fieldValues() = 0;
};

// A task waiting for the outcome of a join or a ticket request.
class SessionWaiter {
 public:
  virtual ~SessionWaiter() = default;
  virtual void onSessionResult(ERRORID result) = 0;
};

class GameSession : public ToolboxObject {
 public:
  enum Role : std::uint32_t { ROLE_HOST = 1, ROLE_JOINED = 2 };
  static constexpr std::uint32_t kDefaultThresholdMs = 10000;
  static constexpr std::uint32_t kDefaultHeartbeatsPerSecond = 3;

  // Without info, a new description owned by the local player at the slot.
  GameSession(int localIndex, std::uint32_t role, std::int32_t connectionType,
              const SessionInfo* info);
  ~GameSession();
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  // The one current session (null: none); not owned.
  static GameSession* current();
  static void setCurrent(GameSession* session);

  void setMessenger(PeerMessenger* messenger) { m_messenger = messenger; }
  void setMatchmaking(SessionMatchmaking* matchmaking) { m_matchmaking = matchmaking; }
  // This machine's address in the session; players added at it are local.
  void setLocalAddress(const PeerAddress& address) { m_localAddress = address; }
  const PeerAddress& localAddress() const { return m_localAddress; }

  SessionInfo& info() { return m_info; }
  const SessionInfo& info() const { return m_info; }
  std::uint32_t role() const { return m_role; }
  const std::vector<SessionPeer>& peers() const { return m_peers; }
  const SessionPeer* findPeer(const PlayerID& id) const;
  bool inMatch() const { return m_inMatch; }
  bool isClosing() const { return m_closing; }
  std::uint32_t totalMs() const { return m_totalMs; }

  // All at one address, each starting with the status.
  void addPlayers(const std::vector<PlayerID>& ids, const std::vector<String>& logins,
                  const PeerAddress& address, std::int32_t status);
  void removePlayers(const std::vector<PlayerID>& ids, std::int32_t reason);
  void dropPeer(const PlayerID& id, std::int32_t reason);
  void dropLocalPlayers();
  // One received in-session message; malformed or foreign ones are dropped.
  void processMessage(int localIndex, Blob& message);
  void updateHeartbeat(std::uint32_t elapsedMs);
  void updateSession();
  void startMatch();
  void endMatch();
  void setInMatch(bool inMatch);
  void markClosing() { m_closing = true; }
  void leave();

  void addWaiter(SessionWaiter* waiter);
  void removeWaiter(SessionWaiter* waiter);
  // Tells each waiting task once, then forgets them.
  void notifyWaiters(ERRORID result);

  // The join request this machine's players send to the host.
  EnterSessionMessage makeEnterRequest() const;
  // Sends it to the owner; false when the messenger could not.
  bool requestToEnter();

  // The configured thresholds, read on each use.
  static std::uint32_t timeoutThresholdMs();
  static std::uint32_t heartbeatIntervalMs();

 private:
  struct Arrival {
    PlayerID id;
    String login;
    PeerAddress address;
    std::int32_t status;
  };

  void addArrivals(const std::vector<Arrival>& arrivals);
  SessionPeer* peer(const PlayerID& id);
  PlayerID senderId() const;
  std::vector<PlayerID> localIds() const;
  // Sends and reports whether the messenger took it.
  bool send(const PlayerID& to, SessionMessage& message);
  // Sends; on failure the addressee is dropped at the next heartbeat pass.
  void sendOrSilence(const PlayerID& to, SessionMessage& message, const char* failureText);
  void forceSilence(const PlayerID& id);
  void tellOthersLeft(const PlayerID& id);

  void onEnterSession(const PlayerID& from, const EnterSessionMessage& m);
  void onSessionState(const SessionStateMessage& m);
  void onAskForTickets(const PlayerID& from, const AskForTicketsMessage& m);
  void onTickets(const TicketsMessage& m);
  void onAttributes(const SessionAttributesMessage& m);
  void onStatusToHost(const PlayerStatusMessage& m);
  void sessionUpdated();

  SessionInfo m_info;
  std::uint32_t m_role;
  std::vector<SessionPeer> m_peers;
  bool m_inMatch = false;
  bool m_closing = false;
  std::uint32_t m_totalMs = 0;
  std::uint32_t m_sinceHeartbeatMs = 0;
  std::vector<SessionWaiter*> m_waiters;

  PeerMessenger* m_messenger = nullptr;
  SessionMatchmaking* m_matchmaking = nullptr;
  PeerAddress m_localAddress;
};

// The transport's sink for in-session messages: hands each to the current
// session.
class SessionMessageSink : public PeerMessageSink {
 public:
  SessionMessageSink() : PeerMessageSink(kSessionMessageTag) {}
  void onMessage(int localPlayerIndex, Blob& message) override;
};

}  // namespace OX_Toolbox
