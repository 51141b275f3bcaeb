#include "bdRemoteTaskManager/bdRemoteTask.h"

#include "bdCore/bdLog/bdLog.h"

bdRemoteTask::bdStatus bdRemoteTask::getStatus() {
  if (m_status == BD_PENDING && m_timeout > 0.0f &&
      m_timer.getElapsedTimeAsSeconds() >= static_cast<double>(m_timeout)) {
    m_status = BD_TIMED_OUT;
    m_reply = nullptr;
    bdLogInfo("lobbyservice/Remote task", "Remote task timed out after %.3fs.",
              static_cast<double>(m_timeout));
  }
  return m_status;
}

void bdRemoteTask::start(unsigned char transactionID, float timeout) {
  m_timer.start();
  m_timeout = timeout;
  m_status = BD_PENDING;
  m_reply = nullptr;
  m_transactionID = transactionID;
}

void bdRemoteTask::handleReply(bdReference<bdBitBuffer> payload) {
  m_timer.stop();
  m_status = BD_DONE;
  m_reply = payload;
}

void bdRemoteTask::reset() {
  m_timeout = 0.0f;
  m_status = BD_EMPTY;
  m_reply = nullptr;
}

void bdRemoteTask::fail() {
  if (m_status == BD_PENDING) m_status = BD_FAILED;
}
