#include "online/online_pump.h"

#include "Modules/Core/Src/ToolboxCore.h"
#include "online/online_lock.h"
#include "platform/sync.h"

namespace online {

namespace {

class ToolboxCoreTarget : public PumpTarget {
 public:
  bool Exists() override { return OX_Toolbox::ToolboxCore::exists(); }
  void Update(uint32_t ms) override { OX_Toolbox::ToolboxCore::instance()->update(ms); }
};

}  // namespace

PumpTarget& ToolboxPumpTarget() {
  static ToolboxCoreTarget target;
  return target;
}

OnlinePumpThread::OnlinePumpThread(PumpTarget* target)
    : target_(target != nullptr ? target : &ToolboxPumpTarget()) {}

void OnlinePumpThread::Run() {
  while (GetState() == kRunning) {
    {
      OnlineLockGuard lock;
      // Checked under the lock: the interface thread destroys the toolbox
      // only after the pump has stopped, but start-up may still be failing.
      if (target_->Exists()) target_->Update(kPumpStepMs);
    }
    platform::SleepMs(kPumpStepMs);
  }
}

bool OnlinePump::Start() {
  if (job_) return IsAlive();
  pool_ = std::make_unique<WorkerPool>(1);
  job_ = std::make_unique<OnlinePumpThread>(target_);
  if (!pool_->Start()) {
    job_->Cancel();
    return false;
  }
  return pool_->PostJob(job_.get());
}

void OnlinePump::RequestStop() {
  if (job_) job_->Cancel();
}

void OnlinePump::Stop() {
  if (job_) {
    job_->Cancel();
    while (!job_->HasEnded())
      platform::SleepMs(kPumpStopPollMs);
    job_.reset();
  }
  if (pool_) {
    pool_->Stop();
    pool_.reset();
  }
}

int32_t OnlinePump::JobState() const {
  return job_ ? job_->GetState() : static_cast<int32_t>(ThreadJob::kCancelled);
}

bool OnlinePump::IsAlive() const {
  const int32_t state = JobState();
  return state == ThreadJob::kNew || state == ThreadJob::kRunning;
}

}  // namespace online
