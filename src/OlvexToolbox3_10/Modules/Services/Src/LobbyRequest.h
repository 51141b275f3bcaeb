#pragma once
// One lobby request in flight for a toolbox task: started from a service
// object's request starter, polled on each pass, read by the service's reply
// reader and returned to the slot table when done with.
#include <cstdint>

#include "Modules/Core/Src/Result/ErrorId.h"
#include "bdRemoteTaskManager/bdRemoteTask.h"

namespace OX_Toolbox {

class LobbyRequest {
 public:
  enum State { IDLE, PENDING, ANSWERED, FAILED };

  LobbyRequest() = default;
  ~LobbyRequest() { release(); }
  LobbyRequest(const LobbyRequest&) = delete;
  LobbyRequest& operator=(const LobbyRequest&) = delete;

  // Keeps the started request; a null one is the starter's refusal, whose
  // last error becomes the result. Returns SUCCEEDED when it is in flight.
  ERRORID begin(const bdRemoteTaskRef& task, std::uint32_t lastError);
  // PENDING while no reply came; ANSWERED when one is there to read;
  // FAILED when the request timed out or the connection went (see error()).
  State poll();
  ERRORID error() const { return m_error; }
  const bdRemoteTask* task() const { return m_task.get(); }
  void release();

 private:
  bdRemoteTaskRef m_task;
  ERRORID m_error = ERRORID_SUCCEEDED;
};

}  // namespace OX_Toolbox
