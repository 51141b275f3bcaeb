#pragma once
// Files stored for a user. Requests go through startTask with the catalogue's arguments.
#include "bdLobbyService/bdLobbyServiceObject.h"

class bdStorage : public bdLobbyServiceObject {
 public:
  explicit bdStorage(bdRemoteTaskManager* taskManager)
      : bdLobbyServiceObject(BD_STORAGE_SERVICE, taskManager) {}
};
