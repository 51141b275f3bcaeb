#include "engine/worker_pool.h"

#include <algorithm>
#include <system_error>

// ---- ThreadJob

void ThreadJob::Cancel() {
  JobQueue* queue = nullptr;
  {
    platform::LockGuard lock(mutex_);
    if (state_ == kRunning) {
      state_ = kCancelAsked;
      return;
    }
    if (state_ != kNew) return;
    if (queue_ == nullptr) {
      EndLocked(kCancelled);  // never posted: nothing would ever end it
      return;
    }
    state_ = kCancelAsked;
    queue = queue_;
  }
  // Whoever unlinks the job ends it: here if it was still queued, otherwise
  // the worker that popped it, which skips a job whose cancel came first.
  if (queue->Remove(this)) EndUnrun();
}

int32_t ThreadJob::GetState() const {
  platform::LockGuard lock(mutex_);
  return state_;
}

bool ThreadJob::HasEnded() const {
  const int32_t state = GetState();
  return state == kDone || state == kCancelled;
}

int32_t ThreadJob::WaitEnded() const {
  ended_.Wait();
  // Taking the mutex also waits until the worker has left EndLocked, after
  // which the owner may delete the job.
  return GetState();
}

bool ThreadJob::AttachQueue(JobQueue* queue) {
  platform::LockGuard lock(mutex_);
  if (state_ != kNew || queue_ != nullptr) return false;
  queue_ = queue;
  return true;
}

bool ThreadJob::BeginRun() {
  platform::LockGuard lock(mutex_);
  if (state_ != kNew) return false;
  state_ = kRunning;
  return true;
}

void ThreadJob::EndRun() {
  platform::LockGuard lock(mutex_);
  if (state_ == kRunning)
    EndLocked(kDone);
  else if (state_ == kNew || state_ == kCancelAsked)
    EndLocked(kCancelled);
}

void ThreadJob::EndUnrun() {
  platform::LockGuard lock(mutex_);
  if (state_ != kDone && state_ != kCancelled) EndLocked(kCancelled);
}

void ThreadJob::EndLocked(int32_t state) {
  state_ = state;
  ended_.Set();
}

// ---- JobQueue

bool JobQueue::Push(ThreadJob* job) {
  {
    platform::LockGuard lock(mutex_);
    if (closed_) return false;
    jobs_.push_back(job);
  }
  event_.Set();
  return true;
}

ThreadJob* JobQueue::Pop() {
  for (;;) {
    event_.Wait();
    platform::LockGuard lock(mutex_);
    if (closed_) {
      event_.Set();  // pass the wake-up on to the next waiter
      return nullptr;
    }
    if (jobs_.empty()) continue;  // the signal of a job removed before anyone took it
    ThreadJob* job = jobs_.front();
    jobs_.pop_front();
    if (!jobs_.empty()) event_.Set();
    return job;
  }
}

bool JobQueue::Remove(ThreadJob* job) {
  platform::LockGuard lock(mutex_);
  auto it = std::find(jobs_.begin(), jobs_.end(), job);
  if (it == jobs_.end()) return false;
  jobs_.erase(it);
  return true;
}

std::vector<ThreadJob*> JobQueue::Close() {
  std::vector<ThreadJob*> left;
  {
    platform::LockGuard lock(mutex_);
    closed_ = true;
    left.assign(jobs_.begin(), jobs_.end());
    jobs_.clear();
  }
  event_.Set();
  return left;
}

void JobQueue::Open() {
  platform::LockGuard lock(mutex_);
  closed_ = false;
  event_.Reset();  // a closing wake-up must not reach the next workers
}

size_t JobQueue::Size() const {
  platform::LockGuard lock(mutex_);
  return jobs_.size();
}

// ---- WorkerPool

WorkerPool::WorkerPool(int32_t threadCount) : threadCount_(std::max<int32_t>(threadCount, 1)) {
  queue_.Close();  // refuse jobs until Start: with no worker they would never end
}

WorkerPool::~WorkerPool() { Stop(); }

bool WorkerPool::Start() {
  platform::LockGuard life(lifecycleMutex_);
  {
    platform::LockGuard lock(stopMutex_);
    if (running_) return false;
    running_ = true;
    current_.assign(static_cast<size_t>(threadCount_), nullptr);
  }
  queue_.Open();
  try {
    for (size_t i = 0; i < static_cast<size_t>(threadCount_); ++i)
      threads_.emplace_back(&WorkerPool::WorkerThreadProc, this, i);
  } catch (const std::system_error&) {
    StopLocked();
    return false;
  }
  return true;
}

void WorkerPool::Stop() {
  platform::LockGuard life(lifecycleMutex_);
  StopLocked();
}

void WorkerPool::StopLocked() {
  {
    platform::LockGuard lock(stopMutex_);
    if (!running_) return;
    stopping_ = true;
    for (ThreadJob* job : current_) {
      if (job != nullptr) job->Cancel();
    }
  }
  for (ThreadJob* job : queue_.Close())
    job->EndUnrun();
  for (std::thread& t : threads_)
    t.join();
  threads_.clear();
  platform::LockGuard lock(stopMutex_);
  running_ = false;
  stopping_ = false;
}

bool WorkerPool::PostJob(ThreadJob* job) {
  if (job == nullptr || !job->AttachQueue(&queue_)) return false;
  if (queue_.Push(job)) return true;
  job->EndUnrun();
  return false;
}

bool WorkerPool::IsRunning() const {
  platform::LockGuard lock(stopMutex_);
  return running_;
}

bool WorkerPool::IsStopping() const {
  platform::LockGuard lock(stopMutex_);
  return stopping_;
}

void WorkerPool::WorkerThreadProc(size_t index) {
  while (ThreadJob* job = queue_.Pop())
    RunOneJob(index, job);
}

void WorkerPool::RunOneJob(size_t index, ThreadJob* job) {
  {
    platform::LockGuard lock(stopMutex_);
    // Taken just as the pool stops: Stop may have missed it, so cancel it here.
    if (stopping_) job->Cancel();
    current_[index] = job;
  }
  if (job->BeginRun()) job->Run();
  {
    // Cleared before the job ends: once it has ended the owner may delete it,
    // and Stop must not cancel it then.
    platform::LockGuard lock(stopMutex_);
    current_[index] = nullptr;
  }
  job->EndRun();
}
