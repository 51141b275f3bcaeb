#include "bdLobbyService/bdLobbyServiceObject.h"

#include "bdCore/bdLog/bdLog.h"

bdRemoteTaskRef bdLobbyServiceObject::startTask(unsigned char taskID, unsigned char index,
                                                const bdLobbyArgs& args) {
  const bdLobbyTaskSpec* spec = bdLobbyCatalogue::find(m_serviceID, taskID);
  bdReference<bdBitBuffer> buffer(new bdBitBuffer(0, true));
  if (spec == nullptr || buffer.isNull() ||
      !bdLobbyCatalogue::writeRequest(*spec, index, args, *buffer)) {
    bdAssertMsg("Lobby task %u/%u: arguments do not match the task.", m_serviceID, taskID);
    m_lastError = BD_INVALID_ARGUMENTS;
    return nullptr;
  }
  return startWritten(taskID, buffer);
}

bdRemoteTaskRef bdLobbyServiceObject::startWritten(unsigned char taskID,
                                                   const bdReference<bdBitBuffer>& args) {
  bdRemoteTaskRef task;
  if (m_taskManager == nullptr) {
    m_lastError = bdRemoteTaskManager::BD_NOT_CONNECTED;
    return nullptr;
  }
  m_lastError = m_taskManager->startTask(task, m_serviceID, taskID, args, 0.0f);
  return m_lastError == bdRemoteTaskManager::BD_START_OK ? task : nullptr;
}

bdReplyKind bdLobbyServiceObject::replyKind(unsigned char opID) {
  return bdLobbyCatalogue::getReplyKind(m_serviceID, opID);
}

bool bdLobbyServiceObject::handleTask(const bdRemoteTask* task, bdQueryResult* result) {
  if (task == nullptr) return false;
  bdReference<bdBitBuffer> reply = task->getReply();
  std::uint32_t error = 0;
  if (reply.isNull() || !reply->readUInt32(error)) return false;
  m_lastError = error;
  if (error != 0) return false;
  unsigned char opID = 0;
  if (!reply->readUChar8(opID)) return false;
  const bdReplyKind kind = replyKind(opID);
  if (result == nullptr) return true;
  if (kind == bdReplyKind::ONE) return result->handleResult(1, reply);
  if (kind != bdReplyKind::LIST) return true;
  std::uint32_t count = 0;
  if (!reply->readUInt32(count)) return false;
  // Entries are read one by one until the reply runs out, so a count that
  // lies costs no more than the reply's own length.
  return count == 0 || result->handleResult(count, reply);
}
