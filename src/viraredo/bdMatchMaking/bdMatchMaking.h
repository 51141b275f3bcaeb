#pragma once
// Game sessions. Tasks 1, 2 and 5 share one request: the index, then (only
// with a record) the record's fields and two raw zero bytes.
#include "bdLobbyCommon/bdLobbyRecords.h"
#include "bdLobbyService/bdLobbyServiceObject.h"

class bdMatchMaking : public bdLobbyServiceObject {
 public:
  explicit bdMatchMaking(bdRemoteTaskManager* taskManager)
      : bdLobbyServiceObject(BD_MATCHMAKING_SERVICE, taskManager) {}

  bdRemoteTaskRef startTask(const unsigned char index, const bdSerializable* record,
                            const unsigned char taskID);
  using bdLobbyServiceObject::startTask;
  bdRemoteTaskRef startTask1(const unsigned char index, const bdMatchMakingInfo* session) {
    return startTask(index, session, 1);
  }
  bdRemoteTaskRef startTask2(const unsigned char index, const bdMatchMakingInfo* session) {
    return startTask(index, session, 2);
  }
  bdRemoteTaskRef startTask5(const unsigned char index, const bdMatchMakingQuery* query) {
    return startTask(index, query, 5);
  }
};
