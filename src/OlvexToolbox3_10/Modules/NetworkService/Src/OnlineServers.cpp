#include "Modules/NetworkService/Src/OnlineServers.h"

namespace OX_Toolbox {

namespace {

ServerAddress& configured() {
  static ServerAddress where{OnlineServers::kConfigurationHost, OnlineServers::kConfigurationPort};
  return where;
}

}  // namespace

void OnlineServers::setConfigurationHost(const char* host, std::uint16_t port) {
  configured() =
      host ? ServerAddress{host, port} : ServerAddress{kConfigurationHost, kConfigurationPort};
}

ServerAddress OnlineServers::configurationHost() { return configured(); }

std::string OnlineServers::configurationPath(const std::string& gameId, const std::string& locale) {
  return std::string(kConfigurationPath) + gameId + "&locale=" + locale;
}

std::string OnlineServers::configurationRequest(const std::string& gameId,
                                                const std::string& locale) {
  const ServerAddress where = configurationHost();
  return "GET " + configurationPath(gameId, locale) + " HTTP/1.1\r\nHost: " + where.host + ":" +
         std::to_string(where.port) + "\r\nConnection: close\r\n\r\n";
}

bool OnlineServers::parseHostPort(const std::string& text, ServerAddress& out) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 >= text.size()) return false;
  unsigned long port = 0;
  for (std::size_t i = colon + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    port = port * 10 + static_cast<unsigned long>(c - '0');
    if (port > 65535) return false;
  }
  if (port == 0) return false;
  out.host = text.substr(0, colon);
  out.port = static_cast<std::uint16_t>(port);
  return true;
}

ERRORID MapLobbyErrorToErrorID(std::int32_t code) {
  switch (code) {
    case 0:
    case 700:
      return ERRORID_SUCCEEDED;
    case 1:
      return ERRORID_TOO_MANY_DB_TASKS;
    case 2:
    case 109:
    case 702:
      return ERRORID_CONNECTION_FAILURE;
    case 108:
      return ERRORID_SERVICE_NOT_AVAILABLE;
    case 300:
      return ERRORID_CLAN_MEMBER_NO_PROPOSAL;
    case 301:
      return ERRORID_CLANNAME_ALREADY_EXISTS;
    case 302:
      return ERRORID_NO_MULTIPLE_CLAN_MEMBERSHIP;
    case 303:
      return ERRORID_NO_MULTIPLE_CLAN_OWNERSHIP;
    case 304:
      return ERRORID_NOT_A_CLAN_MEMBER;
    case 306:
      return ERRORID_INVALID_CLAN_ID;
    case 309:
      return ERRORID_CLAN_MEMBER_NOT_INVITED;
    case 314:
      return ERRORID_CLAN_FULL;
    case 400:
      return ERRORID_INVALID_LEADERBOARD_ID;
    case 401:
      return ERRORID_INVALID_LEADERBOARD_QUERY_ID;
    case 704:
    case 708:
    case 709:
    case 907:
      return ERRORID_INVALID_USERNAME;
    case 707:
      return ERRORID_USERNAME_ALREADY_EXISTS;
    case 713:
      return ERRORID_ACCOUNT_EXPIRED;
    case 714:
      return ERRORID_ACCOUNT_DISABLED;
    case 716:
      return ERRORID_INVALID_PASSWORD;
    case 750:
      return ERRORID_MSG_SEQUENCE_ERROR;
    case 751:
      return ERRORID_CERTIFICATE_REQUEST_FAILED;
    case 752:
      return ERRORID_CHALLENGE_REQUEST_FAILED;
    case 753:
      return ERRORID_TICKET_REQUEST_FAILED;
    case 754:
      return ERRORID_INVALID_CERTIFICATE;
    case 755:
      return ERRORID_INVALID_CHALLENGE;
    case 756:
      return ERRORID_INVALID_TICKET;
    case 757:
      return ERRORID_INVALID_COUNTRY;
    case 758:
      return ERRORID_CREATE_REQUEST_FAILED;
    case 800:
      return ERRORID_PROFILE_EXISTS;
    case 900:
      return ERRORID_FRIENDSHIP_NOT_REQUESTED;
    case 901:
      return ERRORID_NOT_A_FRIEND;
    case 902:
      return ERRORID_NOT_INVITED_TO_SESSION;
    case 904:
      return ERRORID_FRIENDSHIP_EXISTS;
    case 905:
      return ERRORID_PENDING_FRIENDSHIP_EXISTS;
    case 906:
      return ERRORID_USERID_BANNED;
    case 909:
      return ERRORID_FRIEND_FULL;
    default:
      return ERRORID_FAILED;
  }
}

}  // namespace OX_Toolbox
