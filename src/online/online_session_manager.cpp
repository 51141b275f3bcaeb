#include "online/online_session_manager.h"

#include <algorithm>
#include <cstring>

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/FriendService/Src/FriendService.h"
#include "Modules/MessagingService/Src/Messages/MessageEvents.h"
#include "bdLobbyCommon/bdLobbyMessage.h"
#include "online/game_message.h"
#include "online/online_window_port.h"

namespace online {

using OX_Toolbox::ERRORID;
using OX_Toolbox::ERRORID_FAILED;
using OX_Toolbox::ERRORID_SUCCEEDED;
using OX_Toolbox::ToolboxCore;

const char kOnlineGameId[] = "7c3f19e0b5d24a86e1f09c3b7a5d2e48";
const char kOnlineLocale[] = "fr-FR";
const char kOnlineConfigPath[] = "./Data/Olvex/OlvexConfig.lua";

namespace {

constexpr unsigned int kFriendChatKind = 31;
constexpr std::size_t kFriendChatMaxText = 512;

// The start-up steps after the core, in order; the first failure ends it.
ERRORID CreateServices() {
  ERRORID result = OX_Toolbox::NetworkService::create(kOnlineGameId, kOnlineLocale);
  if (result != ERRORID_SUCCEEDED) return result;
  if ((result = OX_Toolbox::AccountService::create()) != ERRORID_SUCCEEDED) return result;
  if (MatchmakingPort* matchmaking = GetMatchmakingPort()) {
    if ((result = matchmaking->CreateService()) != ERRORID_SUCCEEDED) return result;
  }
  if ((result = OX_Toolbox::MessagingService::create()) != ERRORID_SUCCEEDED) return result;
  if ((result = OX_Toolbox::FriendService::create()) != ERRORID_SUCCEEDED) return result;
  return OX_Toolbox::StatisticsService::create();
}

// The sender and the text of a lobby push message, for the classes that
// carry both; false for the others.
bool SenderAndText(const bdLobbyMessage* message, uint64_t* sender, std::string* text) {
  auto bytesOf = [](const bdByteBuffer* buffer, std::string* out) {
    if (buffer != nullptr && buffer->getData() != nullptr)
      out->assign(reinterpret_cast<const char*>(buffer->getData()), buffer->getSize());
  };
  if (const auto* group = dynamic_cast<const bdLobbyGroupBufferMessage*>(message)) {
    *sender = group->m_user.m_id;
    bytesOf(group->m_payload.get(), text);
    return true;
  }
  if (const auto* user = dynamic_cast<const bdLobbyUserBufferMessage*>(message)) {
    *sender = user->m_user.m_id;
    bytesOf(user->m_payload.get(), text);
    return true;
  }
  if (const auto* data = dynamic_cast<const bdLobbyUserDataMessage*>(message)) {
    *sender = data->m_user.m_id;
    if (data->m_data.m_data != nullptr)
      text->assign(reinterpret_cast<const char*>(data->m_data.m_data), data->m_data.m_size);
    return true;
  }
  return false;
}

}  // namespace

OnlineSessionManager::OnlineSessionManager(LobbyLink* lobby) : lobby_(lobby) {
  ERRORID result = ToolboxCore::create(this, nullptr);
  if (result == ERRORID_SUCCEEDED) result = CreateServices();
  if (result != ERRORID_SUCCEEDED) {
    PushResult(ERRORID_FAILED);
    ToolboxCore::destroy();
  }
}

OnlineSessionManager::~OnlineSessionManager() {
  UnregisterMessageSink();
  if (MatchmakingPort* matchmaking = GetMatchmakingPort()) matchmaking->FreeLastSearchResults();
  // The toolbox goes while the queues still exist: tasks that end with it
  // may still report to this manager.
  if (ToolboxCore::exists()) ToolboxCore::destroy();
  ClearQueues();
}

GameDescription& OnlineSessionManager::Description() {
  if (!description_) description_ = std::make_unique<GameDescription>();
  return *description_;
}

void OnlineSessionManager::RegisterMessageSink() {
  ToolboxCore* core = ToolboxCore::instance();
  if (core == nullptr || sinkRegistered_) return;
  core->getEventManager()->addListener(this);
  sinkRegistered_ = true;
}

void OnlineSessionManager::UnregisterMessageSink() {
  ToolboxCore* core = ToolboxCore::instance();
  if (core != nullptr && sinkRegistered_) core->getEventManager()->removeListener(this);
  sinkRegistered_ = false;
}

void OnlineSessionManager::Report(int32_t result, OnlineEvent event) {
  PushResult(result);
  PushEvent(event);
}

// --- game interface

void OnlineSessionManager::onJoinSession(const OX_Toolbox::SessionInfo&,
                                         const std::vector<OX_Toolbox::PlayerID>&) {
  Report(ERRORID_SUCCEEDED, eJoinSession);
}

void OnlineSessionManager::onHostSession(ERRORID) { Report(ERRORID_SUCCEEDED, eHostSession); }
void OnlineSessionManager::onStartGame() { Report(ERRORID_SUCCEEDED, eStartGame); }
void OnlineSessionManager::onEndGame() { Report(ERRORID_SUCCEEDED, eEndGame); }

void OnlineSessionManager::onPlayerJoin(OX_Toolbox::LocalPlayer*, const OX_Toolbox::PeerAddress&,
                                        std::int32_t) {
  Report(ERRORID_SUCCEEDED, ePlayerJoin);
}

void OnlineSessionManager::onPlayerLeave(const OX_Toolbox::PlayerID&, std::int32_t) {
  Report(ERRORID_SUCCEEDED, ePlayerLeave);
}

void OnlineSessionManager::onHostLeave(const OX_Toolbox::PlayerID&, std::int32_t) {
  Report(ERRORID_SUCCEEDED, eHostLeave);
}

void OnlineSessionManager::onPlayerLogin(OX_Toolbox::LocalPlayer* player) {
  if (player == nullptr) return;
  const OX_Toolbox::PlayerID online = player->getPlayerID(OX_Toolbox::CONNECTIONTYPE_ONLINE);
  if (online.getConnectionType() != OX_Toolbox::CONNECTIONTYPE_ONLINE) return;
  ToolboxCore* core = ToolboxCore::instance();
  if (core == nullptr) return;
  if (auto* messaging = static_cast<OX_Toolbox::MessagingService*>(
          core->findService(OX_Toolbox::MessagingService::kName))) {
    messaging->synchronizeMessages(this, player->getIndex(), 0, 100);
  }
  if (auto* account = static_cast<OX_Toolbox::AccountService*>(
          core->findService(OX_Toolbox::AccountService::kName))) {
    account->retrievePublicProfilePropetyValues(this, player->getIndex(),
                                                player->getPlayerID(connectionType_));
  }
}

int OnlineSessionManager::onPlayerLogout(OX_Toolbox::LocalPlayer*) {
  if (lobby_ != nullptr) lobby_->ClearLoggedIn();
  connectionType_ = 0;
  return 0;
}

OX_Toolbox::String OnlineSessionManager::getConfigPath() {
  return OX_Toolbox::String(kOnlineConfigPath);
}

// --- listeners

void OnlineSessionManager::onStart(std::uint32_t, ERRORID result) { Report(result, eStartOlvex); }

void OnlineSessionManager::onSynchronizeMessages(std::uint32_t, ERRORID) {
  OnlineDebugOutput("onSynchronizeMessages\n");
}

void OnlineSessionManager::onDeleteMessage(std::uint32_t, ERRORID) {
  OnlineDebugOutput("onDeleteMessage\n");
}

void OnlineSessionManager::onCreateOnlinePlayer(std::uint32_t, ERRORID result) {
  Report(result, eCreateAccount);
}

void OnlineSessionManager::onLoginPlayer(std::uint32_t, ERRORID result) {
  Report(result, eLoginOlvex);
}

void OnlineSessionManager::onLogoutPlayer(std::uint32_t, ERRORID result) {
  Report(result, eLogoutOlvex);
}

void OnlineSessionManager::onSetPublicProfilePropertyValues(std::uint32_t, ERRORID result) {
  OnlineDebugOutput(result == ERRORID_SUCCEEDED ? "onSetPublicProfilePropertyValues: Succeeded\n"
                                                : "onSetPublicProfilePropertyValues: Failed\n");
}

void OnlineSessionManager::onSearchSessions(uint32_t, ERRORID result) {
  Report(result, eSearchSessions);
}

void OnlineSessionManager::onDeleteSession(uint32_t, ERRORID result) {
  MatchmakingPort* matchmaking = GetMatchmakingPort();
  if (matchmaking != nullptr && matchmaking->HasCurrentSession())
    matchmaking->ReleaseCurrentSession();
  Report(result, eDeleteSession);
}

void OnlineSessionManager::onStartMatch(uint32_t, ERRORID result) { Report(result, eStartGame); }
void OnlineSessionManager::onEndMatch(uint32_t, ERRORID result) { Report(result, eEndGame); }

bool OnlineSessionManager::onMessage(OX_Toolbox::Event* event) {
  if (event == nullptr) return false;
  const OX_Toolbox::ClassTypeInfo* type = event->getType();
  if (type->isA(&OX_Toolbox::EventLobbyConnectionLost::s_type)) {
    if (lobby_ != nullptr) lobby_->RequestPumpStop();
    return true;
  }
  if (!type->isA(&OX_Toolbox::EventRezovovozMessageStore::s_type)) return false;
  // The reference keeps the record alive while it is read.
  bdReference<bdLobbyMessage> record =
      static_cast<OX_Toolbox::EventRezovovozMessageStore*>(event)->getRecord();
  if (record.isNull() || record->m_type != kFriendChatKind) return false;
  if (lobby_ == nullptr || !lobby_->FriendsListenerExists()) return false;
  uint64_t sender = 0;
  std::string text;
  if (!SenderAndText(record.get(), &sender, &text)) return false;
  // A text that carries its terminator ends there; at most 512 bytes go on.
  text = text.substr(0, std::min(text.find('\0'), kFriendChatMaxText));
  const GameMessage line = BuildFriendChatLine(sender, text.c_str());
  lobby_->DeliverFriendChatLine(line.data(), line.size());
  return true;
}

}  // namespace online
