#include "Modules/Services/Src/LobbyTask.h"

#include "Modules/Services/Src/OnlineLink.h"

namespace OX_Toolbox {

void TaskLobbyRequest::onStart() {
  ERRORID result = CheckOnlineConnection();
  if (result == ERRORID_SUCCEEDED) result = startRequest();
  setResult(result);
}

void TaskLobbyRequest::step(std::uint32_t, bool& ready) {
  m_state = m_request.poll();
  ready = m_state != LobbyRequest::PENDING;
}

void TaskLobbyRequest::complete(bool& again) {
  if (m_state != LobbyRequest::ANSWERED) {
    setResult(m_state == LobbyRequest::FAILED ? m_request.error() : ERRORID_FAILED);
    m_request.release();
    return;
  }
  const ERRORID result = readReply();
  if (result == CONTINUE) {
    again = true;
    return;
  }
  m_request.release();
  setResult(result);
}

void TaskLobbyRequest::onRemoved(ERRORID result) {
  m_request.release();
  notify(result);
}

}  // namespace OX_Toolbox
