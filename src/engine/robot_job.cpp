#include "engine/robot_job.h"

void RobotJob::Run() { thinker_->ThinkInBackground(CancelToken(this)); }

WorkerPool& RobotWorkerPool() {
  // One worker: robots' passes run one after another, in the order posted.
  static WorkerPool pool(1);
  return pool;
}

bool PostRobotJob(ThreadJob* job) { return RobotWorkerPool().PostJob(job); }

bool RobotThinking::StartThinking(Thinker& thinker) {
  if (!job_) {
    job_ = std::make_unique<RobotJob>(&thinker);
    // A refused post leaves the job cancelled; it is kept so the robot stays
    // "busy" until its owner cancels it, as with any cancelled job.
    Pool().PostJob(job_.get());
    return false;
  }
  if (job_->GetState() != ThreadJob::kDone) return false;
  job_.reset();
  return true;
}

void RobotThinking::CancelThinking() {
  if (!job_) return;
  job_->Cancel();
  job_->WaitEnded();
  job_.reset();
}

bool RobotThinking::WaitThinking() {
  if (!job_) return true;
  const bool done = job_->WaitEnded() == ThreadJob::kDone;
  job_.reset();
  return done;
}
