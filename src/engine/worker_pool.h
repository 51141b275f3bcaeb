#pragma once
// Background work for the computer opponent and the online pump: a job with a
// guarded state word, a locked FIFO of jobs and a pool of worker threads.
//
// Ownership: a job belongs to whoever made it. The pool never runs a job
// twice and never deletes one; the owner deletes it once it has ended (state
// done or cancelled), and no worker touches it after that.
//
// Locks: a job's mutex guards its state and queue link; the queue mutex
// guards the job list; the pool's stop mutex guards its flags and the job
// each worker is running. Where two are held, the order is stop mutex, then
// job mutex or queue mutex; a job mutex and the queue mutex are never held
// together.
#include <cstddef>
#include <cstdint>
#include <list>
#include <thread>
#include <vector>

#include "platform/sync.h"

class JobQueue;

class ThreadJob {
 public:
  // The state word. A job goes 0 -> 1 -> 3, or ends in 4 once a cancel was
  // asked (from 0 or 1); 3 and 4 are final.
  enum State : int32_t {
    kNew = 0,          // made, or queued and not yet taken
    kRunning = 1,      // a worker is in Run
    kCancelAsked = 2,  // Cancel came while new or running
    kDone = 3,         // Run returned with no cancel asked
    kCancelled = 4,    // Run returned after a cancel, or never ran
  };

  ThreadJob() = default;
  virtual ~ThreadJob() = default;
  ThreadJob(const ThreadJob&) = delete;
  ThreadJob& operator=(const ThreadJob&) = delete;

  // The work, on a worker thread. A long job polls GetState() (or a
  // CancelToken) and returns early once a cancel was asked.
  virtual void Run() = 0;

  // Asks the job to stop. A job still queued is taken out of its queue and
  // ends cancelled at once; a running job ends cancelled when Run returns; a
  // job that was never posted ends cancelled; an ended job keeps its state.
  virtual void Cancel();

  int32_t GetState() const;
  bool IsCancelAsked() const { return GetState() == kCancelAsked; }
  bool HasEnded() const;

  // Blocks until the job is done or cancelled and returns which. For a job
  // that was posted or cancelled; a job never posted would wait forever.
  int32_t WaitEnded() const;

 private:
  friend class WorkerPool;
  friend class JobQueue;

  // Links the job to the queue it is about to be pushed on; false (and no
  // change) unless the job is new and not yet posted.
  bool AttachQueue(JobQueue* queue);
  // 0 -> 1; false when a cancel came first.
  bool BeginRun();
  // After the run (or the skip): 1 -> 3, 2 -> 4. The worker's last touch.
  void EndRun();
  // A job that will never run (refused, drained, removed) ends cancelled.
  void EndUnrun();
  void EndLocked(int32_t state);

  mutable platform::Mutex mutex_;
  int32_t state_ = kNew;
  JobQueue* queue_ = nullptr;  // where it was posted; set once
  // Set (under mutex_) when the state becomes final, so waiters need no polling.
  mutable platform::Event ended_{true, false};
};

// What a long job reads at its cancel points. A default token is never
// cancelled (a pass run directly, without a job).
class CancelToken {
 public:
  CancelToken() = default;
  explicit CancelToken(const ThreadJob* job) : job_(job) {}
  bool IsCancelled() const { return job_ != nullptr && job_->IsCancelAsked(); }

 private:
  const ThreadJob* job_ = nullptr;
};

// FIFO of job pointers (not owned) with a mutex and an auto-reset event. One
// Set per push; Pop passes the signal on while jobs remain, so every queued
// job wakes exactly one waiter. A closed queue refuses pushes and sends every
// waiter away empty-handed.
class JobQueue {
 public:
  JobQueue() = default;
  JobQueue(const JobQueue&) = delete;
  JobQueue& operator=(const JobQueue&) = delete;

  // Appends the job; false when the queue is closed.
  bool Push(ThreadJob* job);
  // Blocks until a job is queued (returns it, unlinked) or the queue is
  // closed (returns null).
  ThreadJob* Pop();
  // Unlinks the job if it is still queued.
  bool Remove(ThreadJob* job);
  // Closes the queue and hands back the jobs still in it, in order.
  std::vector<ThreadJob*> Close();
  // Reopens a closed, drained queue; only while nobody waits in Pop.
  void Open();
  size_t Size() const;

 private:
  mutable platform::Mutex mutex_;
  platform::Event event_{false, false};
  std::list<ThreadJob*> jobs_;
  bool closed_ = false;
};

// Worker threads taking jobs from one queue, in the order posted. Start and
// Stop are called by the owning thread, never from a job.
class WorkerPool {
 public:
  // At least one worker; the pool is built stopped.
  explicit WorkerPool(int32_t threadCount);
  ~WorkerPool();  // Stop
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Starts the workers; false when already running or a thread could not be
  // made (the pool is then stopped again).
  bool Start();
  // Cancels the running jobs, ends the queued ones cancelled, wakes the
  // workers and joins them. A job that ignores its cancel is waited for.
  void Stop();

  // Queues a new job. False when the job is not new or was posted before
  // (unchanged), or when the pool is not running: the job then ends
  // cancelled, so its owner's wait ends.
  bool PostJob(ThreadJob* job);

  bool IsRunning() const;
  // True while Stop is under way.
  bool IsStopping() const;
  int32_t ThreadCount() const { return threadCount_; }

 private:
  void StopLocked();  // lifecycleMutex_ held
  void WorkerThreadProc(size_t index);
  void RunOneJob(size_t index, ThreadJob* job);

  const int32_t threadCount_;
  JobQueue queue_;
  std::vector<std::thread> threads_;
  platform::Mutex lifecycleMutex_;  // serialises Start and Stop
  mutable platform::Mutex stopMutex_;
  bool running_ = false;
  bool stopping_ = false;
  std::vector<ThreadJob*> current_;  // the job each worker holds; guarded by stopMutex_
};
