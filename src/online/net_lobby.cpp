#include "online/net_lobby.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace online {

namespace {

constexpr int32_t kResultSucceeded = 1;
constexpr int32_t kLobbySlot = 30;
constexpr int32_t kFriendsSlot = 29;
constexpr int32_t kStatusConnecting = 0;
constexpr int32_t kStatusWaitingForPlayers = 4;

PlayerSetupEntry EntryFor(const std::string& name, int32_t kind) {
  PlayerSetupEntry entry;
  std::strncpy(entry.name, name.c_str(), sizeof entry.name - 1);
  entry.playerType = kind;
  return entry;
}

}  // namespace

int32_t InternetLoginFailureText(int32_t code) {
  switch (code) {
    case 8:
      return kTextUnableToConnect;
    case 9:
      return kTextAccountBlocked;
    case 10:
      return kTextAccountExpired;
    case 12:
      return kTextNoSuchUser;
    case 13:
      return kTextWrongPassword;
    case 41:
    case 42:
    case 43:
      return kTextUserMalformed;
    case 44:
    case 45:
    case 46:
      return kTextPasswordMalformed;
    case 47:
      return kTextPasswordHasUser;
    default:
      return kTextConnectionFailed;
  }
}

NetLobby::NetLobby(int32_t mode, OnlineSessionManager& manager, LobbyServices& services,
                   LobbyWindows& windows)
    : mode_(mode), manager_(manager), services_(services), windows_(windows) {}

void NetLobby::Begin(const std::string& sessionName) {
  hosting_ = false;
  startRequest_ = 1;
  state_ = 0;
  subPhase_ = -1;
  sessionName_ = sessionName.substr(0, 259);
  manager_.SetConnectionType(mode_);
  services_.StartNetwork(manager_, mode_);
  windows_.ShowStatusWindow(kStatusConnecting);
}

int32_t NetLobby::ConnectedCount() const {
  return static_cast<int32_t>(std::count_if(
      players_.begin(), players_.end(), [](const LobbyPlayerRecord& r) { return r.connected; }));
}

void NetLobby::ResetSetupAndPlayers() {
  setup_ = GameSetup();
  players_.clear();
  localSlot_ = -1;
}

void NetLobby::StepStateMachine() {
  if (!services_.PumpAlive()) return;
  const int32_t event = manager_.GetFrontEvent();
  const int32_t result = manager_.GetFrontResult();
  switch (state_) {
    case 0:
      if (event == eStartOlvex)
        OnStart(result);
      else if (event == eLoginOlvex)
        OnLogin(result);
      else if (event != eidle)
        manager_.PopFront();
      return;
    case 1:
      windows_.GamesListStep();
      loggedIn_ = true;
      state_ = 2;
      return;
    case 2:
      windows_.GamesListStep();
      if (!windows_.GamesListShown()) {
        windows_.CloseStatusWindow();
        ResetSetupAndPlayers();
      }
      if (event == eSearchSessions)
        OnSearchSessions(result);
      else if (event == eHostSession)
        OnHostSession(result);
      else if (event == eJoinSession)
        OnJoinSession(result);
      else if (event != eidle)
        manager_.PopFront();
      return;
    case 3:
      windows_.SessionStep();
      if (!windows_.WaitShown()) {
        windows_.CloseStatusWindow();
        windows_.ShowWait();
      }
      switch (event) {
        case eDeleteSession:
          return OnDeleteSession(result);
        case ePlayerJoin:
          return OnPlayerJoin();
        case ePlayerLeave:
          OnPlayerLeave(true);
          return;
        case eHostLeave:
          return OnHostLeave();
        case eStartGame:
          return OnStartGame(result);
        case eEndGame:
          return OnEndGame(result);
        case eidle:
          return;
        default:
          manager_.PopFront();
          return;
      }
    case 4:
    case 5: {
      const bool waiting = state_ == 5;
      const bool abort = DrainWhileStarting();
      if (abort) {
        if (MatchmakingPort* matchmaking = GetMatchmakingPort()) matchmaking->EndMatch(&manager_);
        if (waiting) windows_.CloseStatusWindow();
        state_ = 3;
        windows_.ShowText(kTextGameAborted, false);
      } else if (!waiting) {
        windows_.ShowStatusWindow(kStatusWaitingForPlayers);
        state_ = 5;
      } else {
        windows_.HideSessionWindow();
        subPhase_ = 0;
        startRequest_ = 2;
        windows_.AddStatusLine(kStatusStartingGame);
      }
      return;
    }
    default:
      return;
  }
}

bool NetLobby::DrainWhileStarting() {
  bool abort = setup_.GetPlayerCount() < 2;
  for (int32_t event = manager_.GetFrontEvent(); services_.PumpAlive() && event != eidle;
       event = manager_.GetFrontEvent()) {
    const int32_t result = manager_.GetFrontResult();
    switch (event) {
      case eDeleteSession:
        OnDeleteSession(result);
        abort = true;
        break;
      case ePlayerLeave:
        OnPlayerLeave(true);
        if (setup_.GetPlayerCount() < 2) abort = true;
        break;
      case eHostLeave:
        OnHostLeave();
        abort = true;
        break;
      case eEndGame:
        OnEndGame(result);
        abort = true;
        break;
      default:
        manager_.PopFront();
        break;
    }
  }
  return abort;
}

void NetLobby::OnStart(int32_t result) {
  manager_.PopFront();
  if (result == kResultSucceeded)
    services_.ObtainQosProbe();
  else
    services_.CancelPump();
}

void NetLobby::OnLogin(int32_t result) {
  windows_.CloseStatusWindow();
  if (result == kResultSucceeded)
    state_ = 1;
  else
    windows_.ShowText(kTextInitError, false);
  manager_.PopFront();
}

void NetLobby::OnSearchSessions(int32_t) {
  windows_.FillGamesList();
  manager_.PopFront();
}

void NetLobby::WriteSessionAttributes(MatchmakingPort& m) {
  m.SetIntAttribute(kAttrMaxPlayers, maxPlayers_);
  m.SetIntAttribute(kAttrKind, setup_.kind);
  m.SetIntAttribute(kAttrClockMode, setup_.clockMode);
  m.SetIntAttribute(kAttrGameTime, setup_.gameTimeMs);
  m.SetIntAttribute(kAttrMoveTime, setup_.moveTimeMs);
  m.SetIntAttribute(kAttrConnectedPlayers, 1);
  m.SetIntAttribute(kAttrMatchState, -1);
  m.SetIntAttribute(kAttrRankingOption, setup_.rankingGame != 0 ? 1 : 0);
  m.SetIntAttribute(kAttrChallengeOptions,
                    (setup_.challengeMode & 0xFF) | (setup_.invalidWordForfeits != 0 ? 0x100 : 0));
  m.SetIntAttribute(kAttrProfileSetting, services_.ProfileSetting());
  m.SetIntAttribute(kAttrFlags, setup_.flags);
  m.SetTextAttribute(kAttrSessionName, sessionName_);
  char version[32];
  std::snprintf(version, sizeof version, "%.4f", static_cast<double>(services_.LexiconVersion()));
  m.SetTextAttribute(kAttrLexiconVersion, version);
}

void NetLobby::ReadSessionAttributes(MatchmakingPort& m) {
  const int32_t profile = services_.ProfileSetting();
  int32_t value = 0;
  if (m.GetIntAttribute(kAttrMaxPlayers, &value)) maxPlayers_ = value;
  if (m.GetIntAttribute(kAttrKind, &value)) setup_.kind = value;
  if (m.GetIntAttribute(kAttrClockMode, &value)) setup_.clockMode = value;
  if (m.GetIntAttribute(kAttrGameTime, &value)) setup_.gameTimeMs = value;
  if (m.GetIntAttribute(kAttrMoveTime, &value)) setup_.moveTimeMs = value;
  if (m.GetIntAttribute(kAttrRankingOption, &value)) setup_.rankingGame = value != 0 ? 1 : 0;
  if (m.GetIntAttribute(kAttrChallengeOptions, &value)) {
    setup_.challengeMode = value & 0xFF;
    setup_.invalidWordForfeits = (value & 0x100) != 0 ? 1 : 0;
  }
  if (m.GetIntAttribute(kAttrFlags, &value)) setup_.flags |= value;
  std::string name;
  if (m.GetTextAttribute(kAttrSessionName, &name)) sessionName_ = name.substr(0, 259);
  // The joiner's own profile setting goes with its set-up.
  setup_.language = profile;
}

void NetLobby::OnHostSession(int32_t result) {
  pending_ = 0;
  MatchmakingPort* matchmaking = GetMatchmakingPort();
  if (result == kResultSucceeded && cancel_) {
    if (matchmaking != nullptr) matchmaking->DeleteSession(&manager_);
    windows_.RearmListTimer(GetListRefreshMs());
    cancel_ = false;
  } else if (result == kResultSucceeded) {
    if (matchmaking != nullptr) {
      WriteSessionAttributes(*matchmaking);
      matchmaking->UpdateSession(&manager_);
    }
    services_.AnswerQosForSession();
    services_.PublishPlayerList();
    windows_.CloseStatusWindow();
    hosting_ = true;
    state_ = 3;
  } else {
    windows_.CloseStatusWindow();
    windows_.ShowText(kTextCouldNotCreate, false);
    windows_.RearmListTimer(GetListRefreshMs());
  }
  manager_.PopFront();
}

void NetLobby::OnJoinSession(int32_t result) {
  pending_ = 0;
  if (result != kResultSucceeded) {
    windows_.CloseStatusWindow();
    windows_.ShowText(kTextNoHost, false);
    windows_.RearmListTimer(GetListRefreshMs());
    manager_.PopFront();
    return;
  }
  MatchmakingPort* matchmaking = GetMatchmakingPort();
  if (matchmaking == nullptr || !matchmaking->HasCurrentSession()) {
    // The session went while the join was answered: back to browsing, not
    // into a session that does not exist.
    OnDeleteSession(kResultSucceeded);
    manager_.ClearQueues();
    hosting_ = false;
    windows_.CloseStatusWindow();
    return;
  }
  if (matchmaking->MatchStarted() || cancel_) {
    manager_.ClearQueues();
    matchmaking->DeleteSession(&manager_);
    windows_.RearmListTimer(GetListRefreshMs());
    windows_.CloseStatusWindow();
    if (!cancel_) windows_.ShowText(kTextAlreadyStarted, true);
    cancel_ = false;
    return;
  }
  ReadSessionAttributes(*matchmaking);
  hosting_ = false;
  windows_.CloseStatusWindow();
  state_ = 3;
  manager_.PopFront();
}

void NetLobby::OnPlayerJoin() {
  MatchmakingPort* matchmaking = GetMatchmakingPort();
  bool added = false;
  if (matchmaking != nullptr) {
    for (const SessionMember& member : matchmaking->SessionMembers()) {
      const bool known = std::any_of(players_.begin(), players_.end(),
                                     [&](const LobbyPlayerRecord& r) { return r.id == member.id; });
      if (known) continue;
      if (member.local && maxPlayers_ >= 0 && setup_.GetPlayerCount() >= maxPlayers_) {
        matchmaking->DeleteSession(&manager_);
        windows_.ShowText(kTextSessionFull, false);
        manager_.ClearQueues();
        state_ = 2;
        windows_.HideWait();
        windows_.GamesListStep();
        return;
      }
      LobbyPlayerRecord record;
      record.id = member.id;
      players_.push_back(record);
      if (!setup_.AddPlayer(EntryFor(member.name, member.local ? 0 : 2))) continue;
      added = true;
      if (member.local) {
        localSlot_ = setup_.GetPlayerCount() - 1;
        services_.SendLocalPlayerData(localSlot_);
      }
    }
    if (hosting_ && added) {
      matchmaking->SetIntAttribute(kAttrConnectedPlayers, setup_.GetPlayerCount());
      services_.PublishPlayerList();
    }
  }
  windows_.SessionPlayersChanged();
  manager_.PopFront();
}

int32_t NetLobby::OnPlayerLeave(bool remove) {
  MatchmakingPort* matchmaking = GetMatchmakingPort();
  if (matchmaking == nullptr || !matchmaking->HasCurrentSession()) {
    OnDeleteSession(kResultSucceeded);
    manager_.ClearQueues();
    return -1;
  }
  const std::vector<SessionMember> members = matchmaking->SessionMembers();
  int32_t last = -1;
  for (int32_t i = 0; i < static_cast<int32_t>(players_.size());) {
    const bool present = std::any_of(members.begin(), members.end(), [&](const SessionMember& m) {
      return m.id == players_[i].id;
    });
    if (present || (!remove && !players_[i].connected)) {
      ++i;
      continue;
    }
    last = i;
    if (!remove) {
      players_[i].connected = false;
      ++i;
      continue;
    }
    players_.erase(players_.begin() + i);
    setup_.RemovePlayer(i);
    if (localSlot_ == i)
      localSlot_ = -1;
    else if (localSlot_ > i)
      --localSlot_;
  }
  if (hosting_ && last >= 0) {
    matchmaking->SetIntAttribute(kAttrConnectedPlayers, ConnectedCount());
    matchmaking->UpdateSession(&manager_);
    services_.PublishPlayerList();
  }
  windows_.SessionPlayersChanged();
  manager_.PopFront();
  return last;
}

void NetLobby::OnHostLeave() {
  ResetSetupAndPlayers();
  if (!hosting_) {
    windows_.ShowText(kTextHostCanceled, true);
    if (MatchmakingPort* matchmaking = GetMatchmakingPort()) matchmaking->DeleteSession(&manager_);
  }
  manager_.PopFront();
}

void NetLobby::OnDeleteSession(int32_t result) {
  ResetSetupAndPlayers();
  MatchmakingPort* matchmaking = GetMatchmakingPort();
  if (result != kResultSucceeded && matchmaking != nullptr && matchmaking->HasCurrentSession())
    matchmaking->ReleaseCurrentSession();
  if (hosting_) services_.StopQosAnswers();
  hosting_ = false;
  state_ = 2;
  windows_.HideWait();
  windows_.GamesListStep();
  windows_.ShowSlot(kLobbySlot);
  if (mode_ == 2) windows_.ShowSlot(kFriendsSlot);
  manager_.PopFront();
}

void NetLobby::OnStartGame(int32_t result) {
  if (result == kResultSucceeded) {
    MatchmakingPort* matchmaking = GetMatchmakingPort();
    if (hosting_ && matchmaking != nullptr) {
      matchmaking->SetMatchStarted(true);
      matchmaking->SetIntAttribute(kAttrMatchState, 0);
    }
    state_ = 4;
  }
  manager_.PopFront();
}

void NetLobby::OnEndGame(int32_t) {
  MatchmakingPort* matchmaking = GetMatchmakingPort();
  if (hosting_ && matchmaking != nullptr) {
    matchmaking->SetMatchStarted(false);
    matchmaking->SetIntAttribute(kAttrMatchState, -1);
  }
  manager_.PopFront();
}

void NetLobby::ReconnectAfterLogout() {
  if (state_ != 0 || !services_.PumpAlive()) return;
  if (manager_.ConnectionType() == 0) {
    manager_.SetConnectionType(mode_);
    services_.StartNetwork(manager_, mode_);
    windows_.ShowStatusWindow(kStatusConnecting);
  }
  const int32_t event = manager_.GetFrontEvent();
  if (event != eidle && event != eStartOlvex && event != eLoginOlvex && event != eLogoutOlvex)
    manager_.PopFront();
}

void LanLobby::StepStateMachine() {
  ReconnectAfterLogout();
  if (state_ == 1 && services_.PumpAlive()) windows_.CloseStatusWindow();
  NetLobby::StepStateMachine();
}

void LanLobby::OnStart(int32_t result) {
  windows_.CloseStatusWindow();
  if (result == kResultSucceeded && services_.Login(manager_, manager_.ConnectionType()) == 0)
    windows_.ShowText(kTextUnableToConnect, false);
  NetLobby::OnStart(result);
}

void InternetLobby::StepStateMachine() {
  ReconnectAfterLogout();
  if (state_ == 1 && services_.PumpAlive()) windows_.CloseStatusWindow();
  NetLobby::StepStateMachine();
}

void InternetLobby::OnStart(int32_t result) {
  windows_.CloseStatusWindow();
  if (result == kResultSucceeded && !cancel_) {
    windows_.ShowLoginWindow();
    NetLobby::OnStart(result);
    return;
  }
  windows_.ShowText(kTextUnableToConnect, false);
  NetLobby::OnStart(2);
}

void InternetLobby::OnLogin(int32_t result) {
  if (result == kResultSucceeded) return NetLobby::OnLogin(result);
  windows_.CloseStatusWindow();
  windows_.ShowText(InternetLoginFailureText(result), false);
  manager_.PopFront();
}

}  // namespace online
