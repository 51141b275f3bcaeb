#pragma once
// Friends, their requests and blocked users. Requests go through startTask with the catalogue's
// arguments.
#include "bdLobbyService/bdLobbyServiceObject.h"

class bdFriends : public bdLobbyServiceObject {
 public:
  explicit bdFriends(bdRemoteTaskManager* taskManager)
      : bdLobbyServiceObject(BD_FRIENDS_SERVICE, taskManager) {}
};
