#pragma once
// The shape of the online services' atomic tasks: the start checks that the
// network service runs the online connection and starts one lobby request;
// each pass polls it; the reply is read when it comes; a task may chain
// further requests. The listener event follows when the task leaves the
// manager.
#include "Modules/Core/Src/Tasks/Task.h"
#include "Modules/Services/Src/LobbyRequest.h"

namespace OX_Toolbox {

class TaskLobbyRequest : public TaskAtomic {
 public:
  void onStart() override;
  void step(std::uint32_t clock, bool& ready) override;
  void complete(bool& again) override;
  void onRemoved(ERRORID result) override;

 protected:
  // Starts the request (through request().begin); its result ends the task
  // at once unless it is SUCCEEDED.
  virtual ERRORID startRequest() = 0;
  // Reads the answered request; SUCCEEDED, the mapped error, or CONTINUE
  // after starting a further request.
  virtual ERRORID readReply() = 0;
  // The outcome, once, for the listener.
  virtual void notify(ERRORID) {}

  LobbyRequest& request() { return m_request; }
  // readReply's answer for "a further request is in flight".
  static constexpr ERRORID CONTINUE = ERRORID_INVALID;

 private:
  LobbyRequest m_request;
  LobbyRequest::State m_state = LobbyRequest::IDLE;
};

}  // namespace OX_Toolbox
