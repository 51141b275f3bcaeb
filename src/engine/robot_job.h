#pragma once
// The computer opponent's think pass as a job on the robot worker pool, and
// the robot's handle on its one job at a time.
//
// Threads: the interface thread starts, polls, cancels and waits; the worker
// runs the pass. The robot's data is written by the worker only while its
// job runs and read by the interface thread only after the job has ended.
#include <cstdint>
#include <memory>

#include "engine/worker_pool.h"

// The robot's side of a background think pass.
class Thinker {
 public:
  // One whole pass on the worker thread: clear the found moves, then
  // generate and rank. At its cancel points the pass stops once
  // cancel.IsCancelled(), keeping the moves found so far.
  virtual void ThinkInBackground(const CancelToken& cancel) = 0;

 protected:
  ~Thinker() = default;
};

class RobotJob : public ThreadJob {
 public:
  explicit RobotJob(Thinker* thinker) : thinker_(thinker) {}
  void Run() override;

 private:
  Thinker* thinker_;  // not owned; outlives the job
};

// The single worker shared by every computer opponent. Built on first use and
// stopped; the program starts it at start-up and stops it at shut-down.
WorkerPool& RobotWorkerPool();
bool PostRobotJob(ThreadJob* job);

// A robot's job pointer with the operations over it. Used by the interface
// thread only. The robot's destructor must call CancelThinking before any of
// its own members go, since the worker may be inside its pass.
class RobotThinking {
 public:
  // pool null: RobotWorkerPool().
  explicit RobotThinking(WorkerPool* pool = nullptr) : pool_(pool) {}
  ~RobotThinking() { CancelThinking(); }
  RobotThinking(const RobotThinking&) = delete;
  RobotThinking& operator=(const RobotThinking&) = delete;

  // Polled until it returns true. With no job it posts one for thinker and
  // returns false (the caller loads the position first). With a job it
  // returns true once the job is done, deleting it; false while it is queued
  // or running, and false for a job that ended cancelled (the owner then
  // cancels it to start afresh).
  bool StartThinking(Thinker& thinker);
  // Asks the job to stop and waits until it has ended; the job is deleted.
  // The moves found before the cancel stay with the robot.
  void CancelThinking();
  // Waits for the job to end and deletes it; true when it was done, false
  // when it had been cancelled (then the robot's results are partial).
  bool WaitThinking();

  bool HasJob() const { return job_ != nullptr; }
  // The job's state word, or -1 with no job.
  int32_t JobState() const { return job_ ? job_->GetState() : -1; }

 private:
  WorkerPool& Pool() const { return pool_ ? *pool_ : RobotWorkerPool(); }

  WorkerPool* pool_;
  std::unique_ptr<RobotJob> job_;
};
