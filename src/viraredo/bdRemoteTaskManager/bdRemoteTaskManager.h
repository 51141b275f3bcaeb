#pragma once
// Sends lobby requests from ten slots and matches replies to them by slot
// index and transaction id. A request carries the slot's counter, which then
// moves on, so a late reply to an earlier use of a slot is refused.
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdNet/bdConnection.h"
#include "bdRemoteTaskManager/bdRemoteTask.h"

class bdRemoteTaskManager {
 public:
  static constexpr unsigned int NUM_SLOTS = 10;
  enum bdStartResult {
    BD_START_OK = 0,
    BD_NO_FREE_SLOT = 1,
    BD_NOT_CONNECTED = 2,
    BD_SEND_FAILED = 3,
  };
  static constexpr unsigned char BD_LOBBY_SERVICE_TASK_REPLY = 1;

  explicit bdRemoteTaskManager(bdReference<bdConnection> connection);
  // Every pending task fails; callers' references stay valid.
  virtual ~bdRemoteTaskManager();

  // On success task is the started slot; on failure it is left as it was.
  unsigned int startTask(bdRemoteTaskRef& task, unsigned char serviceID, unsigned char taskID,
                         const bdReference<bdBitBuffer>& args, float timeout);
  static void writeTaskHeader(bdReference<bdBitBuffer> buffer, unsigned int index,
                              unsigned char transactionID);
  static bool readTaskHeader(bdReference<bdBitBuffer> buffer, unsigned int& index,
                             unsigned char& transactionID);
  // True for a task reply (handled); false for other message types.
  bool handleReply(bdReference<bdMessage> message);
  void handleTaskReply(const bdReference<bdMessage> message);
  // The pending slot whose last request carried id, else null.
  bdRemoteTask* findTask(unsigned int index, unsigned char transactionID);
  bdRemoteTask* getSlot(unsigned int index) { return m_tasks[index].get(); }
  // The connection is gone: every pending task fails.
  void failPending();

 private:
  bdRemoteTaskRef m_tasks[NUM_SLOTS];
  bdReference<bdConnection> m_connection;
};
