#pragma once
// The network lobby: one stretch of LAN or Internet play on the interface
// thread. Once a frame it consumes at most one (result, event) pair of the
// session manager through a six-state machine:
//   0 connecting -> 1 logged in -> 2 browsing -> 3 in a session
//   -> 4 starting -> 5 waiting -> start request 2 (the game is handed over);
// an abort in 4 or 5 returns to 3, a deleted or full session to 2.
//
// The toolbox is reached through LobbyServices and the matchmaking port
// (each call under the online lock); the windows through LobbyWindows. Both
// are narrow so tests replace them with recording fakes.
#include <cstdint>
#include <string>
#include <vector>

#include "Modules/Core/Src/Types/PlayerID.h"
#include "online/matchmaking_port.h"
#include "online/online_session_manager.h"
#include "rules/game_setup.h"

namespace online {

// Matchmaking attributes of a session.
enum SessionAttribute : uint32_t {
  kAttrMaxPlayers = 0x10000011,
  kAttrKind = 0x10000012,
  kAttrClockMode = 0x10000013,
  kAttrGameTime = 0x10000014,
  kAttrMoveTime = 0x10000015,
  kAttrConnectedPlayers = 0x10000016,
  kAttrMatchState = 0x10000017,
  kAttrRankingOption = 0x10000045,
  kAttrChallengeOptions = 0x10000046,
  kAttrProfileSetting = 0x10000047,
  kAttrFlags = 0x10000048,
  kAttrSessionName = 0x40000010,
  kAttrLexiconVersion = 0x40000049,
};

// Online texts the lobby shows.
enum LobbyText : int32_t {
  kTextInitError = 2,
  kTextUnableToConnect = 6,
  kTextConnectionFailed = 9,
  kTextUserMalformed = 14,
  kTextPasswordMalformed = 17,
  kTextPasswordHasUser = 18,
  kTextWrongPassword = 21,
  kTextNoSuchUser = 23,
  kTextAccountBlocked = 25,
  kTextAccountExpired = 26,
  kTextCouldNotCreate = 47,
  kTextNoHost = 51,
  kTextHostCanceled = 58,
  kTextAlreadyStarted = 59,
  kTextSessionFull = 65,
  kTextGameAborted = 69,
  kStatusStartingGame = 72,
};

// The lobby's windows (interface thread).
class LobbyWindows {
 public:
  virtual ~LobbyWindows() = default;
  // A message box with an online text; disabled: the lobby windows are
  // disabled while it shows.
  virtual void ShowText(int32_t text, bool disabled) = 0;
  virtual void AddStatusLine(int32_t text) = 0;
  virtual void ShowStatusWindow(int32_t mode) = 0;
  virtual void CloseStatusWindow() = 0;
  virtual void ShowLoginWindow() = 0;
  // The games list: opens it when needed and searches.
  virtual void GamesListStep() = 0;
  virtual bool GamesListShown() = 0;
  virtual void FillGamesList() = 0;
  virtual void RearmListTimer(uint32_t ms) = 0;
  virtual void SessionStep() = 0;
  // The game-creation wait.
  virtual bool WaitShown() = 0;
  virtual void ShowWait() = 0;
  virtual void HideWait() = 0;
  virtual void HideSessionWindow() = 0;
  // Tells the session window its players changed.
  virtual void SessionPlayersChanged() = 0;
  virtual void ShowSlot(int32_t slot) = 0;
};

// The toolbox side of the lobby (interface thread; each call takes the
// online lock itself).
class LobbyServices {
 public:
  virtual ~LobbyServices() = default;
  virtual bool PumpAlive() = 0;
  virtual void CancelPump() = 0;
  virtual uint32_t StartNetwork(OnlineSessionManager& manager, int32_t connectionType) = 0;
  virtual uint32_t Login(OnlineSessionManager& manager, int32_t connectionType) = 0;
  virtual void ObtainQosProbe() = 0;
  virtual void AnswerQosForSession() = 0;
  virtual void StopQosAnswers() = 0;
  virtual void PublishPlayerList() = 0;
  // The local player's data to the host.
  virtual void SendLocalPlayerData(int32_t localSlot) = 0;
  // The user profile's first field, published with a hosted session.
  virtual int32_t ProfileSetting() = 0;
  virtual float LexiconVersion() = 0;
};

// One member of the session as the lobby keeps it.
struct LobbyPlayerRecord {
  OX_Toolbox::PlayerID id;
  bool connected = true;
  int32_t values[3] = {0, 0, 0};
};

class NetLobby {
 public:
  NetLobby(int32_t mode, OnlineSessionManager& manager, LobbyServices& services,
           LobbyWindows& windows);
  virtual ~NetLobby() = default;

  // The lobby's part of Init once the manager and the pump exist.
  void Begin(const std::string& sessionName);
  // One frame of the state machine.
  virtual void StepStateMachine();

  virtual uint32_t GetListRefreshMs() const = 0;
  virtual const char* GetExitQuestion() const = 0;
  virtual const char* GetTitle() const = 0;

  int32_t State() const { return state_; }
  int32_t StartRequest() const { return startRequest_; }
  int32_t SubPhase() const { return subPhase_; }
  bool Hosting() const { return hosting_; }
  bool LoggedIn() const { return loggedIn_; }
  void ClearLoggedIn() { loggedIn_ = false; }
  int32_t LocalSlot() const { return localSlot_; }
  int32_t MaxPlayers() const { return maxPlayers_; }
  void SetMaxPlayers(int32_t max) { maxPlayers_ = max; }
  const std::string& SessionName() const { return sessionName_; }
  GameSetup& Setup() { return setup_; }
  const std::vector<LobbyPlayerRecord>& Players() const { return players_; }
  // Set by the waits when the user gives up a creation or a join.
  void SetCancelFlag(bool cancel) { cancel_ = cancel; }
  bool CancelFlag() const { return cancel_; }

  // Handlers (each pops its pair unless said otherwise).
  virtual void OnStart(int32_t result);
  virtual void OnLogin(int32_t result);
  void OnSearchSessions(int32_t result);
  void OnHostSession(int32_t result);
  void OnJoinSession(int32_t result);
  void OnDeleteSession(int32_t result);
  void OnStartGame(int32_t result);
  void OnEndGame(int32_t result);
  void OnPlayerJoin();
  // Returns the slot of the last player who left, -1 when none.
  int32_t OnPlayerLeave(bool remove);
  void OnHostLeave();

 protected:
  // What the LAN and Internet lobbies do before the base step.
  void ReconnectAfterLogout();
  void ResetSetupAndPlayers();
  void WriteSessionAttributes(MatchmakingPort& matchmaking);
  void ReadSessionAttributes(MatchmakingPort& matchmaking);
  // Leaves state 4 or 5: true when the start must be given up.
  bool DrainWhileStarting();
  int32_t ConnectedCount() const;

  int32_t mode_;
  OnlineSessionManager& manager_;
  LobbyServices& services_;
  LobbyWindows& windows_;
  int32_t state_ = -1;
  int32_t subPhase_ = -1;
  int32_t startRequest_ = -1;
  int32_t pending_ = 0;
  bool hosting_ = false;
  bool loggedIn_ = false;
  bool cancel_ = false;
  std::string sessionName_;
  int32_t maxPlayers_ = -1;
  int32_t localSlot_ = -1;
  GameSetup setup_;
  std::vector<LobbyPlayerRecord> players_;
};

class LanLobby : public NetLobby {
 public:
  LanLobby(OnlineSessionManager& manager, LobbyServices& services, LobbyWindows& windows)
      : NetLobby(1, manager, services, windows) {}
  void StepStateMachine() override;
  void OnStart(int32_t result) override;
  uint32_t GetListRefreshMs() const override { return 7000; }
  const char* GetExitQuestion() const override { return "Exit LAN mode ?"; }
  const char* GetTitle() const override { return "LAN Games"; }
};

class InternetLobby : public NetLobby {
 public:
  InternetLobby(OnlineSessionManager& manager, LobbyServices& services, LobbyWindows& windows)
      : NetLobby(2, manager, services, windows) {}
  void StepStateMachine() override;
  void OnStart(int32_t result) override;
  void OnLogin(int32_t result) override;
  uint32_t GetListRefreshMs() const override { return 10000; }
  const char* GetExitQuestion() const override { return "Exit NorvaneNet ?"; }
  const char* GetTitle() const override { return "Internet Games"; }
};

// The online text for a failed Internet login.
int32_t InternetLoginFailureText(int32_t code);

}  // namespace online
