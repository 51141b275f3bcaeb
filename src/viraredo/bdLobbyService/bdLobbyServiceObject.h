#pragma once
// The shape every lobby service shares: requests are written from the task
// catalogue and started through the lobby's task manager; replies are read
// as an error code, the operation id, then records as the catalogue says.
#include "bdLobbyCommon/bdLobbyCatalogue.h"
#include "bdLobbyCommon/bdQueryResult.h"
#include "bdRemoteTaskManager/bdRemoteTaskManager.h"

class bdLobbyServiceObject {
 public:
  // The arguments did not match the task's catalogue entry; nothing was sent.
  static constexpr unsigned int BD_INVALID_ARGUMENTS = 5;

  bdLobbyServiceObject(unsigned char serviceID, bdRemoteTaskManager* taskManager)
      : m_taskManager(taskManager), m_lastError(0), m_serviceID(serviceID) {}
  virtual ~bdLobbyServiceObject() { m_taskManager = nullptr; }
  bdLobbyServiceObject(const bdLobbyServiceObject&) = delete;
  bdLobbyServiceObject& operator=(const bdLobbyServiceObject&) = delete;

  // Starts a task of this service; null when it was not started (the reason
  // is the last error). index is the local user's; tasks that take none write 0.
  bdRemoteTaskRef startTask(unsigned char taskID, unsigned char index,
                            const bdLobbyArgs& args = bdLobbyArgs());
  // Reads a finished task's reply; true when its error code was 0 and every
  // record was read. A null result reads no records.
  virtual bool handleTask(const bdRemoteTask* task, bdQueryResult* result);

  unsigned int getLastError() const { return m_lastError; }
  unsigned char getServiceID() const { return m_serviceID; }

 protected:
  // Sends a request body written by a named operation.
  bdRemoteTaskRef startWritten(unsigned char taskID, const bdReference<bdBitBuffer>& args);
  virtual bdReplyKind replyKind(unsigned char opID);

  bdRemoteTaskManager* m_taskManager;
  unsigned int m_lastError;
  unsigned char m_serviceID;
};
