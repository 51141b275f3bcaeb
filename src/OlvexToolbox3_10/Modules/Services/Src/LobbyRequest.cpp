#include "Modules/Services/Src/LobbyRequest.h"

#include "Modules/Services/Src/OnlineLink.h"

namespace OX_Toolbox {

ERRORID LobbyRequest::begin(const bdRemoteTaskRef& task, std::uint32_t lastError) {
  release();
  if (task.isNull()) {
    // A refusal with no code of its own is still a refusal.
    m_error = lastError == 0 ? ERRORID_FAILED : LobbyErrorToErrorId(lastError);
    return m_error;
  }
  m_task = task;
  m_error = ERRORID_SUCCEEDED;
  return m_error;
}

LobbyRequest::State LobbyRequest::poll() {
  if (m_task.isNull()) return IDLE;
  switch (m_task->getStatus()) {
    case bdRemoteTask::BD_PENDING:
      return PENDING;
    case bdRemoteTask::BD_DONE:
      return ANSWERED;
    case bdRemoteTask::BD_TIMED_OUT:
      m_error = ERRORID_TIMEOUT;
      return FAILED;
    default:
      m_error = ERRORID_CONNECTION_FAILURE;
      return FAILED;
  }
}

void LobbyRequest::release() {
  if (m_task.notNull()) m_task->reset();
  m_task = bdRemoteTaskRef();
}

}  // namespace OX_Toolbox
