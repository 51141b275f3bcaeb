#pragma once
// Player profiles: one record answers every task. Requests go through startTask with the
// catalogue's arguments.
#include "bdLobbyService/bdLobbyServiceObject.h"

class bdProfiles : public bdLobbyServiceObject {
 public:
  explicit bdProfiles(bdRemoteTaskManager* taskManager)
      : bdLobbyServiceObject(BD_PROFILES_SERVICE, taskManager) {}
};
