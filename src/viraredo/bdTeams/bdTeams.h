#pragma once
// Clans and their members. Requests go through startTask with the catalogue's arguments.
#include "bdLobbyService/bdLobbyServiceObject.h"

class bdTeams : public bdLobbyServiceObject {
 public:
  explicit bdTeams(bdRemoteTaskManager* taskManager)
      : bdLobbyServiceObject(BD_TEAMS_SERVICE, taskManager) {}
};
