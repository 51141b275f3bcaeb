#pragma once
// The lobby's messaging service and its store of received push messages.
// Push messages carry a type id (1 to 39) and the fields of its class; the
// store refuses a message whose non-zero message id it already holds.
#include "bdCore/bdContainers/bdArray.h"
#include "bdLobbyCommon/bdLobbyCatalogue.h"
#include "bdLobbyCommon/bdLobbyMessage.h"
#include "bdNet/bdMessage.h"
#include "bdRemoteTaskManager/bdRemoteTaskManager.h"

class bdMessaging {
 public:
  static constexpr unsigned int NUM_TYPES = 39;

  // Registers a creator for each type id with the process-wide factory.
  bdMessaging();
  ~bdMessaging();
  bdMessaging(const bdMessaging&) = delete;
  bdMessaging& operator=(const bdMessaging&) = delete;

  void setTaskManager(bdRemoteTaskManager* taskManager) { m_taskManager = taskManager; }
  unsigned int getLastError() const { return m_lastError; }

  // Decodes one push message; false when it was unknown or not read whole
  // (a partly read message is still stored).
  bool addMessage(bdReference<bdMessage> message);
  // Reads a messaging reply; kinds 1 and 5 carry push messages.
  bool handleTask(const bdRemoteTask* task);

  unsigned int getMessageCount() const { return m_messages.getSize(); }
  bdReference<bdLobbyMessage> getMessage(unsigned int index) const;
  // The last message moves into the freed place.
  void removeMessage(unsigned int index);
  void removeLast() { m_messages.popBack(); }
  void clear() { m_messages.clear(); }

  // The service's requests (tasks 1, 4, 5, 6); null without a task manager.
  bdRemoteTaskRef startTask(unsigned char taskID, unsigned char index, const bdLobbyArgs& args);

 private:
  bool decode(bdBitBuffer& buffer);

  unsigned int m_lastError;
  bdRemoteTaskManager* m_taskManager;
  bdArray<bdReference<bdLobbyMessage>> m_messages;
};
