#pragma once
// The process-wide online lock. The toolbox is not thread-safe: the pump
// holds this lock around every update, and interface-thread code holds it
// around each single toolbox call. It is recursive, so a listener running
// inside the pump's update may call back into code that takes it again.
//
// Lock order, outermost first: this lock, then the session manager's event
// mutex, then its result mutex; the message router's and a job's own mutexes
// are leaves. Nobody waits for the pump while holding this lock.

namespace online {

void OnlineLock();
void OnlineUnlock();

class OnlineLockGuard {
 public:
  OnlineLockGuard() { OnlineLock(); }
  ~OnlineLockGuard() { OnlineUnlock(); }
  OnlineLockGuard(const OnlineLockGuard&) = delete;
  OnlineLockGuard& operator=(const OnlineLockGuard&) = delete;
};

}  // namespace online
