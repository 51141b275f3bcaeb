#pragma once
// Chat channels: subscribe, leave, list and whisper. Requests go through startTask with the
// catalogue's arguments.
#include "bdLobbyService/bdLobbyServiceObject.h"

class bdChannelChat : public bdLobbyServiceObject {
 public:
  explicit bdChannelChat(bdRemoteTaskManager* taskManager)
      : bdLobbyServiceObject(BD_CHANNEL_CHAT_SERVICE, taskManager) {}
};
