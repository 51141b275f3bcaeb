#pragma once
// The matchmaking flows over the local network: atomic steps and the
// sequential composites that chain them, with roll-back through each step's
// undo task. Host, search, join, delete, start-match and end-match report
// once, when they leave the task manager, to their listener; sub-tasks get
// no listener and report nothing.
#include <cstdint>
#include <memory>
#include <vector>

#include "Modules/Core/Src/Tasks/Task.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"
#include "Modules/NetworkService/Src/PeerMessenger.h"
#include "Modules/Session/Src/GameSession.h"

namespace OX_Toolbox {

class NetworkService;

// The registered network service, or null.
NetworkService* Network();
// SUCCEEDED when the network service exists and has been started, else
// CONNECTION_FAILURE.
ERRORID CheckNetworkService();
// The messenger of the network service, or null.
PeerMessenger* MatchmakingMessenger();
// This machine's address in the session with that key.
PeerAddress LocalSessionAddress(const SessionID& key);
// The 64-bit key LAN searches and advertisements share: the title text's.
std::uint64_t LanDiscoveryKey();
// The text LAN sessions of this game carry as their second text.
String TitleText();

// A task that waits for the session layer's or the messenger's answer.
class TaskWaitingAtomic : public TaskAtomic, public SessionWaiter, public PeerRouteListener {
 public:
  ~TaskWaitingAtomic() override;
  void step(std::uint32_t clock, bool& ready) override;
  void complete(bool& again) override;
  void onAbort() override { stopWaiting(); }
  void onSessionResult(ERRORID result) override;
  void onRouteResult(std::uint32_t requestId, ERRORID result) override;

 protected:
  void waitForSession(GameSession* session);
  void waitForRoute(std::uint32_t requestId);

 private:
  void stopWaiting();
  GameSession* m_session = nullptr;
  std::uint32_t m_request = 0;
  bool m_waitingRoute = false;
  bool m_answered = false;
  ERRORID m_answer = ERRORID_INVALID;
};

class TaskRezovovozLanCreateHostSession : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozLanCreateHostSession(MatchmakingServiceListener* listener, std::uint8_t index)
      : m_listener(listener), m_index(index) {}
  void onStart() override;
  Task* createUndoTask() override;

 private:
  MatchmakingServiceListener* m_listener;
  std::uint8_t m_index;
};

class TaskRezovovozLanHostSession : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozLanHostSession(MatchmakingServiceListener* listener, std::uint8_t index,
                              bool privateSlots = false);
  void onSubTaskFinished(Task* task, ERRORID& code) override;
  void onRemoved(ERRORID result) override;

 protected:
  // Seats the local players by ticket and announces the session.
  ERRORID seatLocalPlayers(std::int32_t connectionType);

  MatchmakingServiceListener* m_listener;
  std::uint8_t m_index;
  bool m_private;
};

class TaskRezovovozLanSearchSessions : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  static constexpr std::uint32_t kDiscoveryMs = 3000;
  TaskRezovovozLanSearchSessions(MatchmakingServiceListener* listener,
                                 const MatchmakingQuery* query);
  void onStart() override;
  void step(std::uint32_t clock, bool& ready) override;
  void complete(bool& again) override;
  void onAbort() override;
  void onRemoved(ERRORID result) override;

 private:
  MatchmakingServiceListener* m_listener;
  std::unique_ptr<MatchmakingQuery> m_query;  // null: every session
  std::vector<SessionInfo> m_found;
  bool m_searching = false;
};

class TaskRezovovozLanCreatePeerSession : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozLanCreatePeerSession(MatchmakingServiceListener* listener,
                                    const SessionID& sessionId, std::uint8_t index)
      : m_listener(listener), m_sessionId(sessionId), m_index(index) {}
  void onStart() override;
  Task* createUndoTask() override;

 private:
  MatchmakingServiceListener* m_listener;
  SessionID m_sessionId;
  std::uint8_t m_index;
};

class TaskRezovovozLanOpenRoute : public TaskWaitingAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  explicit TaskRezovovozLanOpenRoute(const SessionID& sessionId) : m_sessionId(sessionId) {}
  void onStart() override;
  Task* createUndoTask() override;

 private:
  SessionID m_sessionId;
  PlayerID m_host;
};

class TaskRezovovozLanAskForTickets : public TaskWaitingAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozLanAskForTickets(std::uint32_t count, bool privateSlots)
      : m_count(count), m_private(privateSlots) {}
  void onStart() override;

 private:
  std::uint32_t m_count;
  bool m_private;
};

class TaskRezovovozLanEnterSession : public TaskWaitingAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozLanEnterSession(const std::vector<PlayerID>& players,
                               const std::vector<Ticket>& tickets)
      : m_players(players), m_tickets(tickets) {}
  void onStart() override;

 private:
  std::vector<PlayerID> m_players;
  std::vector<Ticket> m_tickets;
};

class TaskRezovovozLanJoinSession : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozLanJoinSession(MatchmakingServiceListener* listener, std::uint8_t index,
                              const std::vector<PlayerID>& players, const SessionID& sessionId,
                              bool privateSlots);
  void onSubTaskFinished(Task* task, ERRORID& code) override;
  void onRemoved(ERRORID result) override;

 protected:
  // The tickets of this session the joining players hold; false when one
  // holds none (`missing` counts them).
  bool collectTickets(std::vector<Ticket>& tickets, std::uint32_t& missing) const;
  void dropTickets() const;

  MatchmakingServiceListener* m_listener;
  std::uint8_t m_index;
  std::vector<PlayerID> m_players;
  SessionID m_sessionId;
  bool m_private;
};

class TaskRezovovozLanAddPlayerToSession : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozLanAddPlayerToSession(MatchmakingServiceListener* listener,
                                     const std::vector<PlayerID>& players)
      : m_listener(listener), m_players(players) {}
  void onStart() override;

 private:
  MatchmakingServiceListener* m_listener;
  std::vector<PlayerID> m_players;
};

class TaskRezovovozLanCloseRoute : public TaskWaitingAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  explicit TaskRezovovozLanCloseRoute(const PlayerID& peer) : m_peer(peer) {}
  void onStart() override;

 private:
  PlayerID m_peer;
};

class TaskRezovovozLanCloseAllRoute : public TaskWaitingAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  void onStart() override;
};

class TaskRezovovozLanRemovePlayerFromSession : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  TaskRezovovozLanRemovePlayerFromSession(MatchmakingServiceListener* listener,
                                          const std::vector<PlayerID>& players)
      : m_listener(listener), m_players(players) {}
  void onStart() override;
  void onSubTaskFinished(Task* task, ERRORID& code) override;
  void onFinished(ERRORID result) override;

 private:
  MatchmakingServiceListener* m_listener;
  std::vector<PlayerID> m_players;
};

class TaskRezovovozLanDeleteSessionOnServer : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  explicit TaskRezovovozLanDeleteSessionOnServer(MatchmakingServiceListener* listener)
      : m_listener(listener) {}
  void onStart() override;

 private:
  MatchmakingServiceListener* m_listener;
};

class TaskRezovovozLanDeleteSession : public TaskSequentialComposite {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  explicit TaskRezovovozLanDeleteSession(MatchmakingServiceListener* listener)
      : m_listener(listener) {}
  void onStart() override;
  void onFinished(ERRORID result) override;
  void onRemoved(ERRORID result) override;

 private:
  MatchmakingServiceListener* m_listener;
};

class TaskRezovovozLanStartMatch : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  explicit TaskRezovovozLanStartMatch(MatchmakingServiceListener* listener)
      : m_listener(listener) {}
  void onStart() override;
  void onRemoved(ERRORID result) override;

 private:
  MatchmakingServiceListener* m_listener;
};

class TaskRezovovozLanEndMatch : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  explicit TaskRezovovozLanEndMatch(MatchmakingServiceListener* listener) : m_listener(listener) {}
  void onStart() override;
  void onRemoved(ERRORID result) override;

 private:
  MatchmakingServiceListener* m_listener;
};

}  // namespace OX_Toolbox
