#pragma once
// The game's one object facing the online toolbox. It starts the toolbox
// and its services, implements every interface through which the toolbox
// reports back and turns each report into a (result, event) pair for the
// lobby. Reports arrive on the pump thread with the online lock held; the
// lobby reads and pops the pairs on the interface thread, one per frame.
//
// Nothing here touches a window: what the lobby must do about a report goes
// through LobbyLink, which only sets flags and hands bytes on.
#include <cstdint>
#include <memory>

#include "Modules/AccountService/Src/Driver/Rezovovoz/AccountService.h"
#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/ToolboxGameInterface.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"
#include "Modules/MessagingService/Src/MessagingService.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "Modules/StatisticsService/Src/StatisticsService.h"
#include "online/game_description.h"
#include "online/matchmaking_port.h"
#include "online/online_event_queue.h"

namespace online {

// The game identifier and locale the network service starts with; the
// locale is the same for both game languages.
extern const char kOnlineGameId[];
extern const char kOnlineLocale[];
extern const char kOnlineConfigPath[];

// What the session manager needs of the current lobby (pump thread).
class LobbyLink {
 public:
  virtual ~LobbyLink() = default;
  // The game interface's logout: the lobby is no longer logged in.
  virtual void ClearLoggedIn() = 0;
  // The lobby connection is gone: the pump job is asked to stop and the
  // next tick reports the dead connection.
  virtual void RequestPumpStop() = 0;
  virtual bool FriendsListenerExists() = 0;
  // A friend's chat line as a game message, as if a peer had sent it.
  virtual void DeliverFriendChatLine(const uint8_t* bytes, std::size_t size) = 0;
};

class OnlineSessionManager : public OX_Toolbox::ToolboxGameInterface,
                             public OX_Toolbox::NetworkServiceListener,
                             public OX_Toolbox::MessagingServiceListener,
                             public OX_Toolbox::AccountServiceListener,
                             public OX_Toolbox::StatisticsServiceListener,
                             public OX_Toolbox::ToolboxMessageSink,
                             public OX_Toolbox::MatchmakingServiceListener,
                             public MatchmakingReports {
 public:
  // Starts the toolbox and its services. Any failure leaves the single
  // result 2 and no event in the queues, and no toolbox.
  explicit OnlineSessionManager(LobbyLink* lobby = nullptr);
  // Interface thread, after the pump has stopped.
  ~OnlineSessionManager() override;
  OnlineSessionManager(const OnlineSessionManager&) = delete;
  OnlineSessionManager& operator=(const OnlineSessionManager&) = delete;

  void SetLobby(LobbyLink* lobby) { lobby_ = lobby; }

  // --- the queues (any thread)
  void PushResult(int32_t code) { queue_.PushResult(code); }
  void PushEvent(int32_t event) { queue_.PushEvent(event); }
  int32_t GetFrontResult() const { return queue_.GetFrontResult(); }
  int32_t GetFrontEvent() const { return queue_.GetFrontEvent(); }
  void PopFront() { queue_.PopFront(); }
  void ClearQueues() { queue_.ClearQueues(); }

  // 0 none, 1 LAN, 2 Internet.
  int32_t ConnectionType() const { return connectionType_; }
  void SetConnectionType(int32_t type) { connectionType_ = type; }

  // Created on first use; owned.
  GameDescription& Description();

  // Under the online lock. The sink is removed again before the manager
  // goes, so the toolbox never calls a deleted listener.
  void RegisterMessageSink();
  void UnregisterMessageSink();

  // --- the toolbox's game interface
  void onJoinSession(const OX_Toolbox::SessionInfo&,
                     const std::vector<OX_Toolbox::PlayerID>&) override;
  void onHostSession(OX_Toolbox::ERRORID) override;
  void onStartGame() override;
  void onEndGame() override;
  void onPlayerLogin(OX_Toolbox::LocalPlayer* player) override;
  int onPlayerLogout(OX_Toolbox::LocalPlayer*) override;
  void onPlayerJoin(OX_Toolbox::LocalPlayer*, const OX_Toolbox::PeerAddress&,
                    std::int32_t) override;
  void onPlayerLeave(const OX_Toolbox::PlayerID&, std::int32_t) override;
  void onHostLeave(const OX_Toolbox::PlayerID&, std::int32_t) override;
  OX_Toolbox::String getConfigPath() override;

  // --- the services' listeners
  void onStart(std::uint32_t taskId, OX_Toolbox::ERRORID result) override;
  void onSynchronizeMessages(std::uint32_t, OX_Toolbox::ERRORID) override;
  void onDeleteMessage(std::uint32_t, OX_Toolbox::ERRORID) override;
  void onCreateOnlinePlayer(std::uint32_t, OX_Toolbox::ERRORID result) override;
  void onLoginPlayer(std::uint32_t, OX_Toolbox::ERRORID result) override;
  void onLogoutPlayer(std::uint32_t, OX_Toolbox::ERRORID result) override;
  void onSetPublicProfilePropertyValues(std::uint32_t, OX_Toolbox::ERRORID result) override;
  // Hosting and joining are reported through the game interface.
  void onHostSession(uint32_t, OX_Toolbox::ERRORID) override {}
  void onUpdateSession(uint32_t, OX_Toolbox::ERRORID) override {}
  void onJoinSession(uint32_t, OX_Toolbox::ERRORID) override {}
  void onSearchSessions(uint32_t, OX_Toolbox::ERRORID result) override;
  // The found sessions are not kept: the lobby reads them from the service.
  void onSearchSessions(uint32_t task, OX_Toolbox::ERRORID result,
                        const std::vector<OX_Toolbox::SessionInfo*>&) override {
    onSearchSessions(task, result);
  }
  void onDeleteSession(uint32_t, OX_Toolbox::ERRORID result) override;
  void onStartMatch(uint32_t, OX_Toolbox::ERRORID result) override;
  void onEndMatch(uint32_t, OX_Toolbox::ERRORID result) override;
  bool onMessage(OX_Toolbox::Event* event) override;

 private:
  void Report(int32_t result, OnlineEvent event);

  LobbyLink* lobby_;
  OnlineEventQueue queue_;
  int32_t connectionType_ = 0;
  std::unique_ptr<GameDescription> description_;
  bool sinkRegistered_ = false;
};

}  // namespace online
