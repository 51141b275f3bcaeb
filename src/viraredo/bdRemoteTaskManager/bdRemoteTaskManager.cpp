#include "bdRemoteTaskManager/bdRemoteTaskManager.h"

#include "bdCore/bdLog/bdLog.h"

namespace {
const char* const kChannel = "lobbyservice/Remote task manager";
}

bdRemoteTaskManager::bdRemoteTaskManager(bdReference<bdConnection> connection)
    : m_connection(connection) {
  for (bdRemoteTaskRef& task : m_tasks)
    task = new bdRemoteTask();
}

bdRemoteTaskManager::~bdRemoteTaskManager() {
  for (bdRemoteTaskRef& task : m_tasks) {
    if (task.notNull()) task->fail();
    task = nullptr;
  }
}

void bdRemoteTaskManager::failPending() {
  for (bdRemoteTaskRef& task : m_tasks) {
    if (task.notNull()) task->fail();
  }
}

unsigned int bdRemoteTaskManager::startTask(bdRemoteTaskRef& task, unsigned char serviceID,
                                            unsigned char taskID,
                                            const bdReference<bdBitBuffer>& args, float timeout) {
  unsigned int index = 0;
  while (index < NUM_SLOTS &&
         (m_tasks[index].isNull() || m_tasks[index]->getStatus() != bdRemoteTask::BD_EMPTY)) {
    ++index;
  }
  if (index == NUM_SLOTS) return BD_NO_FREE_SLOT;
  bdRemoteTask* slot = m_tasks[index].get();
  bdReference<bdMessage> message(new bdMessage(serviceID, true));
  if (message.isNull() || m_connection.isNull()) return BD_SEND_FAILED;
  bdReference<bdBitBuffer> payload = message->getPayload();
  if (payload.isNull()) return BD_SEND_FAILED;
  writeTaskHeader(payload, index, slot->getTransactionID());
  payload->writeUChar8(taskID);
  if (args.notNull() && !payload->append(*args)) return BD_SEND_FAILED;
  const unsigned int trailer = 0;
  payload->writeBits(&trailer, 32);
  if (!m_connection->send(message, true)) return BD_SEND_FAILED;
  slot->start(static_cast<unsigned char>(slot->getTransactionID() + 1), timeout);
  task = m_tasks[index];
  return BD_START_OK;
}

void bdRemoteTaskManager::writeTaskHeader(bdReference<bdBitBuffer> buffer, unsigned int index,
                                          unsigned char transactionID) {
  if (buffer.isNull()) return;
  if (index > 255) bdLogError("err", "bdRemoteTaskManager::writeTaskHeader, index is too big.");
  buffer->writeUChar8(static_cast<unsigned char>(index));
  buffer->writeUChar8(transactionID);
}

bool bdRemoteTaskManager::readTaskHeader(bdReference<bdBitBuffer> buffer, unsigned int& index,
                                         unsigned char& transactionID) {
  if (buffer.isNull()) return false;
  unsigned char slot = 0;
  if (!buffer->readUChar8(slot) || !buffer->readUChar8(transactionID)) return false;
  index = slot;
  return true;
}

bool bdRemoteTaskManager::handleReply(bdReference<bdMessage> message) {
  if (message.isNull() || message->getType() != BD_LOBBY_SERVICE_TASK_REPLY) return false;
  handleTaskReply(message);
  return true;
}

void bdRemoteTaskManager::handleTaskReply(const bdReference<bdMessage> message) {
  bdReference<bdMessage> m(message);
  bdReference<bdBitBuffer> payload = m->getPayload();
  unsigned int index = 0;
  unsigned char id = 0;
  if (!readTaskHeader(payload, index, id)) {
    bdLogWarn(kChannel, "Malformed response message.");
    return;
  }
  bdRemoteTask* task = findTask(index, id);
  if (task == nullptr) {
    bdLogWarn(kChannel, "Task retrieval failed.");
    return;
  }
  task->handleReply(payload);
}

bdRemoteTask* bdRemoteTaskManager::findTask(unsigned int index, unsigned char transactionID) {
  if (index >= NUM_SLOTS || m_tasks[index].isNull()) return nullptr;
  bdRemoteTask* task = m_tasks[index].get();
  // The counter moved on when the request left: the reply carries counter - 1.
  const unsigned char expected = static_cast<unsigned char>(task->getTransactionID() - 1);
  if (transactionID != expected || task->getStatus() != bdRemoteTask::BD_PENDING) return nullptr;
  return task;
}
