#include "online/toolbox_matchmaking.h"

#include <cerrno>
#include <cstdlib>

#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"
#include "Modules/Services/Src/OnlineLink.h"
#include "Modules/Session/Src/GameSession.h"

namespace online {

using OX_Toolbox::MatchmakingService;

namespace {

OX_Toolbox::MatchmakingConfig* Config() {
  MatchmakingService* service = MatchmakingService::find();
  return service != nullptr ? service->getConfig() : nullptr;
}

OX_Toolbox::GameSession* Session() {
  OX_Toolbox::MatchmakingConfig* config = Config();
  return config != nullptr ? config->currentSession() : nullptr;
}

OX_Toolbox::MatchmakingServiceListener* ListenerOf(MatchmakingReports* reports) {
  return dynamic_cast<OX_Toolbox::MatchmakingServiceListener*>(reports);
}

// Names are shown as narrow text: the low byte of each character.
std::string Narrow(const OX_Toolbox::String& text) {
  std::string out;
  if (const char16_t* wide = text.c_wstr()) {
    for (; *wide != 0; ++wide)
      out.push_back(static_cast<char>(*wide & 0xFF));
  }
  return out;
}

}  // namespace

OX_Toolbox::ERRORID ToolboxMatchmaking::CreateService() { return MatchmakingService::create(); }

bool ToolboxMatchmaking::HasCurrentSession() { return Session() != nullptr; }

void ToolboxMatchmaking::ReleaseCurrentSession() {
  OX_Toolbox::MatchmakingConfig* config = Config();
  if (config == nullptr) return;
  config->clearSlots();
  config->destroyCurrentSession();
}

void ToolboxMatchmaking::FreeLastSearchResults() {
  if (OX_Toolbox::MatchmakingConfig* config = Config()) config->clearSearchResults();
}

std::vector<SessionMember> ToolboxMatchmaking::SessionMembers() {
  std::vector<SessionMember> members;
  if (OX_Toolbox::GameSession* session = Session()) {
    for (const OX_Toolbox::SessionPeer& peer : session->peers())
      members.push_back(SessionMember{peer.id, Narrow(peer.login), peer.isLocal});
  }
  return members;
}

bool ToolboxMatchmaking::MatchStarted() {
  OX_Toolbox::GameSession* session = Session();
  return session != nullptr && session->inMatch();
}

void ToolboxMatchmaking::SetMatchStarted(bool started) {
  if (OX_Toolbox::GameSession* session = Session()) session->setInMatch(started);
}

void ToolboxMatchmaking::SetIntAttribute(uint32_t id, int32_t value) {
  SetTextAttribute(id, std::to_string(value));
}

bool ToolboxMatchmaking::GetIntAttribute(uint32_t id, int32_t* value) {
  std::string text;
  if (!GetTextAttribute(id, &text) || text.empty()) return false;
  // A value from the network: only a whole number in range is taken.
  char* end = nullptr;
  errno = 0;
  const long long number = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != 0 || number < INT32_MIN || number > INT32_MAX) return false;
  *value = static_cast<int32_t>(number);
  return true;
}

void ToolboxMatchmaking::SetTextAttribute(uint32_t id, const std::string& value) {
  if (OX_Toolbox::GameSession* session = Session()) {
    OX_Toolbox::String text;
    text.assignUtf8(value.c_str());
    session->info().setAttribute(id, text);
  }
}

bool ToolboxMatchmaking::GetTextAttribute(uint32_t id, std::string* value) {
  OX_Toolbox::GameSession* session = Session();
  const OX_Toolbox::String* text = session != nullptr ? session->info().findAttribute(id) : nullptr;
  if (text == nullptr) return false;
  *value = Narrow(*text);
  return true;
}

uint32_t ToolboxMatchmaking::UpdateSession(MatchmakingReports* reports) {
  MatchmakingService* service = MatchmakingService::find();
  return service != nullptr ? service->updateSession(ListenerOf(reports)) : 0;
}

uint32_t ToolboxMatchmaking::SearchSessions(MatchmakingReports* reports, int32_t query) {
  MatchmakingService* service = MatchmakingService::find();
  if (service == nullptr || Config() == nullptr) return 0;
  return service->searchSessions(ListenerOf(reports), OX_Toolbox::NetworkConnectionType(),
                                 Config()->findQueryById(query));
}

uint32_t ToolboxMatchmaking::DeleteSession(MatchmakingReports* reports) {
  MatchmakingService* service = MatchmakingService::find();
  return service != nullptr ? service->deleteSession(ListenerOf(reports)) : 0;
}

uint32_t ToolboxMatchmaking::EndMatch(MatchmakingReports* reports) {
  MatchmakingService* service = MatchmakingService::find();
  return service != nullptr ? service->endMatch(ListenerOf(reports)) : 0;
}

}  // namespace online
