#pragma once
// The pump: one worker thread that ticks the toolbox every 60 ms under the
// online lock. Every toolbox callback (listeners, message sinks, the peer
// message handlers) therefore runs on this thread with the lock held; they
// hand work to the interface thread through queues and window posts only.
#include <cstdint>
#include <memory>

#include "engine/worker_pool.h"

namespace online {

constexpr uint32_t kPumpStepMs = 60;
constexpr uint32_t kPumpStopPollMs = 20;

// What the pump ticks. The default is the toolbox core.
class PumpTarget {
 public:
  virtual ~PumpTarget() = default;
  // False while there is nothing to update (start-up failed, destroyed).
  virtual bool Exists() = 0;
  virtual void Update(uint32_t ms) = 0;
};

PumpTarget& ToolboxPumpTarget();

class OnlinePumpThread : public ThreadJob {
 public:
  // Null: the toolbox core.
  explicit OnlinePumpThread(PumpTarget* target = nullptr);
  // Pumps while the job runs; each pass updates with 60 ms whatever time
  // passed, so the toolbox clock never runs ahead of real time.
  void Run() override;

 private:
  PumpTarget* target_;
};

// The lobby's pump: a pool of one worker and the pump job.
class OnlinePump {
 public:
  explicit OnlinePump(PumpTarget* target = nullptr) : target_(target) {}
  ~OnlinePump() { Stop(); }
  OnlinePump(const OnlinePump&) = delete;
  OnlinePump& operator=(const OnlinePump&) = delete;

  // False when the worker could not be started (the pump is then dead).
  bool Start();
  // Interface thread, never while holding the online lock: asks the job to
  // stop, waits until it has ended, deletes it and stops the pool.
  void Stop();
  // Any thread (the message sink calls it on the pump thread when the
  // lobby connection is lost).
  void RequestStop();
  // The job's state; kCancelled when there is no job.
  int32_t JobState() const;
  // A missing job, or one past running (cancel asked, done), is a dead
  // connection.
  bool IsAlive() const;

 private:
  PumpTarget* target_;
  std::unique_ptr<WorkerPool> pool_;
  std::unique_ptr<OnlinePumpThread> job_;
};

}  // namespace online
