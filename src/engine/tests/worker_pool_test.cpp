#include "engine/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "engine/robot_job.h"

// Every wait here is sequenced by events or by a job's end; nothing asserts on
// elapsed time. A fault shows up as a hang, which the test time-out catches.

namespace {

using platform::Event;

class FnJob : public ThreadJob {
 public:
  explicit FnJob(std::function<void(const ThreadJob&)> fn) : fn_(std::move(fn)) {}
  void Run() override { fn_(*this); }

 private:
  std::function<void(const ThreadJob&)> fn_;
};

// Holds its worker until released.
struct Gate {
  Event started{true, false};
  Event release{true, false};
  std::unique_ptr<FnJob> Job() {
    return std::make_unique<FnJob>([this](const ThreadJob&) {
      started.Set();
      release.Wait();
    });
  }
};

// Runs until a cancel is asked, as a think pass does at its cancel points.
std::unique_ptr<FnJob> UntilCancelledJob(Event& started) {
  return std::make_unique<FnJob>([&started](const ThreadJob& self) {
    started.Set();
    while (!self.IsCancelAsked())
      platform::SleepMs(1);
  });
}

// A robot stand-in: "finds" one move, then either polls its cancel token or
// waits to be released, then finds a second move.
class FakeThinker : public Thinker {
 public:
  explicit FakeThinker(bool untilCancelled = false) : untilCancelled_(untilCancelled) {}

  void ThinkInBackground(const CancelToken& cancel) override {
    ++passes;
    found.clear();
    found.push_back(1);
    started.Set();
    if (untilCancelled_) {
      while (!cancel.IsCancelled())
        platform::SleepMs(1);
      sawCancel = true;
      return;
    }
    release.Wait();
    found.push_back(2);
  }

  std::atomic<int> passes{0};
  std::vector<int> found;  // read by the test only after the job has ended
  bool sawCancel = false;
  Event started{true, false};
  Event release{true, false};

 private:
  bool untilCancelled_;
};

TEST(WorkerPool, RunsJobsOnItsWorkerInPostingOrder) {
  WorkerPool pool(1);
  ASSERT_TRUE(pool.Start());
  Gate gate;
  auto first = gate.Job();
  ASSERT_TRUE(pool.PostJob(first.get()));
  gate.started.Wait();  // the rest queue up behind the held worker

  std::vector<int> order;
  std::vector<std::thread::id> where;
  std::vector<std::unique_ptr<FnJob>> jobs;
  for (int i = 0; i < 20; ++i) {
    jobs.push_back(std::make_unique<FnJob>([&order, &where, i](const ThreadJob& self) {
      EXPECT_EQ(self.GetState(), ThreadJob::kRunning);
      order.push_back(i);
      where.push_back(std::this_thread::get_id());
    }));
    ASSERT_TRUE(pool.PostJob(jobs.back().get()));
    EXPECT_EQ(jobs.back()->GetState(), ThreadJob::kNew);
  }
  EXPECT_FALSE(pool.PostJob(jobs.back().get())) << "a job is posted once";
  gate.release.Set();
  for (auto& job : jobs)
    EXPECT_EQ(job->WaitEnded(), ThreadJob::kDone);
  EXPECT_EQ(first->WaitEnded(), ThreadJob::kDone);

  ASSERT_EQ(order.size(), 20u);
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(order[i], i);
  for (const auto& id : where) {
    EXPECT_EQ(id, where.front());
    EXPECT_NE(id, std::this_thread::get_id());
  }
  pool.Stop();
}

TEST(WorkerPool, CancelEndsJobsInEveryState) {
  WorkerPool pool(1);
  ASSERT_TRUE(pool.Start());

  // Running: the job sees the request and ends cancelled.
  Event started;
  auto running = UntilCancelledJob(started);
  ASSERT_TRUE(pool.PostJob(running.get()));
  started.Wait();
  running->Cancel();
  EXPECT_EQ(running->WaitEnded(), ThreadJob::kCancelled);

  // Queued behind a busy worker: taken out and cancelled at once, never run.
  Gate gate;
  auto busy = gate.Job();
  ASSERT_TRUE(pool.PostJob(busy.get()));
  gate.started.Wait();
  bool queuedRan = false;
  FnJob queued([&queuedRan](const ThreadJob&) { queuedRan = true; });
  ASSERT_TRUE(pool.PostJob(&queued));
  queued.Cancel();
  EXPECT_EQ(queued.GetState(), ThreadJob::kCancelled);
  EXPECT_EQ(queued.WaitEnded(), ThreadJob::kCancelled);
  gate.release.Set();

  // Done: a later cancel changes nothing.
  FnJob after([](const ThreadJob&) {});
  ASSERT_TRUE(pool.PostJob(&after));
  EXPECT_EQ(after.WaitEnded(), ThreadJob::kDone);
  after.Cancel();
  EXPECT_EQ(after.GetState(), ThreadJob::kDone);
  EXPECT_FALSE(queuedRan);

  // Never posted: ends cancelled, and can no longer be posted.
  FnJob unposted([](const ThreadJob&) {});
  unposted.Cancel();
  EXPECT_EQ(unposted.WaitEnded(), ThreadJob::kCancelled);
  EXPECT_FALSE(pool.PostJob(&unposted));
  pool.Stop();
}

TEST(WorkerPool, StopCancelsTheRunningJobAndEndsTheQueuedOnes) {
  WorkerPool pool(1);
  ASSERT_TRUE(pool.Start());
  Event started;
  auto running = UntilCancelledJob(started);
  bool queuedRan = false;
  FnJob queued([&queuedRan](const ThreadJob&) { queuedRan = true; });
  ASSERT_TRUE(pool.PostJob(running.get()));
  ASSERT_TRUE(pool.PostJob(&queued));
  started.Wait();

  pool.Stop();
  EXPECT_FALSE(pool.IsRunning());
  EXPECT_EQ(running->GetState(), ThreadJob::kCancelled);
  EXPECT_EQ(queued.GetState(), ThreadJob::kCancelled);
  EXPECT_FALSE(queuedRan);

  // A stopped pool refuses work, and the refused job's wait still ends.
  FnJob late([](const ThreadJob&) {});
  EXPECT_FALSE(pool.PostJob(&late));
  EXPECT_EQ(late.WaitEnded(), ThreadJob::kCancelled);
}

TEST(WorkerPool, StopWaitsForAJobThatIgnoresItsCancel) {
  WorkerPool pool(1);
  ASSERT_TRUE(pool.Start());
  Gate gate;
  bool finished = false;
  FnJob stubborn([&](const ThreadJob&) {
    gate.started.Set();
    gate.release.Wait();
    finished = true;
  });
  ASSERT_TRUE(pool.PostJob(&stubborn));
  gate.started.Wait();
  // Released only once Stop is under way, so Stop must wait for the job.
  std::thread releaser([&] {
    while (!pool.IsStopping())
      platform::SleepMs(1);
    gate.release.Set();
  });
  pool.Stop();
  releaser.join();
  EXPECT_TRUE(finished);
  EXPECT_EQ(stubborn.GetState(), ThreadJob::kCancelled);  // cancel asked during the run
}

TEST(WorkerPool, StartsAndStopsAgain) {
  WorkerPool pool(2);
  EXPECT_FALSE(pool.IsRunning());
  pool.Stop();  // never started: nothing to do
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(pool.Start()) << round;
    EXPECT_FALSE(pool.Start()) << "already running";
    EXPECT_TRUE(pool.IsRunning());
    FnJob job([](const ThreadJob&) {});
    ASSERT_TRUE(pool.PostJob(&job));
    EXPECT_EQ(job.WaitEnded(), ThreadJob::kDone);
    pool.Stop();  // both workers idle in the queue: they must be woken
    EXPECT_FALSE(pool.IsRunning());
    EXPECT_FALSE(pool.IsStopping());
  }
  pool.Stop();
}

class WorkerPoolLoad : public ::testing::TestWithParam<int> {};

// Four threads post jobs while the workers run them; every fifth job is
// cancelled by its poster at once, racing the workers for it.
TEST_P(WorkerPoolLoad, JobsFromSeveralThreadsRunAtMostOnceAndAllEnd) {
  constexpr int kPosters = 4;
  constexpr int kPerPoster = 250;
  constexpr int kJobs = kPosters * kPerPoster;
  WorkerPool pool(GetParam());
  ASSERT_TRUE(pool.Start());
  std::vector<std::atomic<int>> runs(kJobs);
  std::vector<std::unique_ptr<FnJob>> jobs;
  for (int i = 0; i < kJobs; ++i)
    jobs.push_back(std::make_unique<FnJob>([&runs, i](const ThreadJob&) { ++runs[i]; }));

  std::vector<std::thread> posters;
  for (int p = 0; p < kPosters; ++p) {
    posters.emplace_back([&, p] {
      for (int k = 0; k < kPerPoster; ++k) {
        const int i = p * kPerPoster + k;
        EXPECT_TRUE(pool.PostJob(jobs[i].get()));
        if (i % 5 == 0) jobs[i]->Cancel();
      }
    });
  }
  for (auto& t : posters)
    t.join();

  for (int i = 0; i < kJobs; ++i) {
    const int32_t state = jobs[i]->WaitEnded();
    if (i % 5 == 0) {
      EXPECT_TRUE(state == ThreadJob::kCancelled || state == ThreadJob::kDone) << i;
      EXPECT_LE(runs[i].load(), 1) << i;
    } else {
      EXPECT_EQ(state, ThreadJob::kDone) << i;
      EXPECT_EQ(runs[i].load(), 1) << i;
    }
    if (state == ThreadJob::kDone) {
      EXPECT_EQ(runs[i].load(), 1) << i;
    }
  }
  pool.Stop();
}

INSTANTIATE_TEST_SUITE_P(Workers, WorkerPoolLoad, ::testing::Values(1, 3));

TEST(RobotThinking, ReportsTrueOnceThePassIsDone) {
  WorkerPool pool(1);
  ASSERT_TRUE(pool.Start());
  RobotThinking thinking(&pool);
  FakeThinker robot;

  EXPECT_FALSE(thinking.StartThinking(robot));  // posts
  robot.started.Wait();
  EXPECT_FALSE(thinking.StartThinking(robot));  // running: no second job
  EXPECT_EQ(thinking.JobState(), ThreadJob::kRunning);
  robot.release.Set();
  while (!thinking.StartThinking(robot))
    platform::SleepMs(1);
  EXPECT_FALSE(thinking.HasJob());
  EXPECT_EQ(robot.passes.load(), 1);
  EXPECT_EQ(robot.found, (std::vector<int>{1, 2}));

  // Cancelling a pass that has already finished returns at once and keeps it.
  EXPECT_FALSE(thinking.StartThinking(robot));
  while (thinking.JobState() != ThreadJob::kDone)
    platform::SleepMs(1);
  thinking.CancelThinking();
  EXPECT_FALSE(thinking.HasJob());
  EXPECT_EQ(robot.passes.load(), 2);
  EXPECT_EQ(robot.found, (std::vector<int>{1, 2}));
  thinking.CancelThinking();  // no job: nothing to do

  EXPECT_FALSE(thinking.StartThinking(robot));
  EXPECT_TRUE(thinking.WaitThinking());
  EXPECT_FALSE(thinking.HasJob());
  EXPECT_EQ(robot.passes.load(), 3);
  pool.Stop();
}

TEST(RobotThinking, CancelReturnsAndKeepsWhatWasFound) {
  WorkerPool pool(1);
  ASSERT_TRUE(pool.Start());
  RobotThinking thinking(&pool);
  FakeThinker robot(/*untilCancelled=*/true);
  EXPECT_FALSE(thinking.StartThinking(robot));
  robot.started.Wait();
  thinking.CancelThinking();
  EXPECT_FALSE(thinking.HasJob());
  EXPECT_TRUE(robot.sawCancel);
  EXPECT_EQ(robot.found, (std::vector<int>{1}));

  // A new pass can start after a cancel; the handle's destructor cancels it.
  {
    RobotThinking scoped(&pool);
    robot.started.Reset();
    robot.sawCancel = false;
    EXPECT_FALSE(scoped.StartThinking(robot));
    robot.started.Wait();
  }
  EXPECT_TRUE(robot.sawCancel);
  EXPECT_EQ(robot.passes.load(), 2);
  pool.Stop();
}

TEST(RobotThinking, CancelOfAQueuedPassReturnsWhileTheWorkerIsBusy) {
  WorkerPool pool(1);
  ASSERT_TRUE(pool.Start());
  FakeThinker first, second;
  RobotThinking firstThinking(&pool), secondThinking(&pool);
  EXPECT_FALSE(firstThinking.StartThinking(first));
  first.started.Wait();
  EXPECT_FALSE(secondThinking.StartThinking(second));
  EXPECT_EQ(secondThinking.JobState(), ThreadJob::kNew);

  secondThinking.CancelThinking();
  EXPECT_FALSE(secondThinking.HasJob());
  EXPECT_EQ(second.passes.load(), 0);

  first.release.Set();
  EXPECT_TRUE(firstThinking.WaitThinking());
  EXPECT_EQ(first.found, (std::vector<int>{1, 2}));
  pool.Stop();
}

TEST(RobotThinking, APassEndedByStopIsNeverReportedDone) {
  WorkerPool pool(1);
  ASSERT_TRUE(pool.Start());
  RobotThinking thinking(&pool);
  FakeThinker robot(/*untilCancelled=*/true);
  EXPECT_FALSE(thinking.StartThinking(robot));
  robot.started.Wait();
  pool.Stop();
  EXPECT_EQ(thinking.JobState(), ThreadJob::kCancelled);
  EXPECT_FALSE(thinking.StartThinking(robot));
  EXPECT_FALSE(thinking.WaitThinking()) << "ended cancelled, and the wait did not hang";
  EXPECT_FALSE(thinking.HasJob());
}

TEST(RobotThinking, UsesTheSharedRobotPool) {
  RobotThinking thinking;
  FakeThinker robot;
  robot.release.Set();

  // Before the program starts the pool the job is refused and ends cancelled.
  EXPECT_FALSE(thinking.StartThinking(robot));
  EXPECT_EQ(thinking.JobState(), ThreadJob::kCancelled);
  thinking.CancelThinking();
  EXPECT_EQ(robot.passes.load(), 0);

  ASSERT_TRUE(RobotWorkerPool().Start());
  EXPECT_EQ(RobotWorkerPool().ThreadCount(), 1);
  EXPECT_FALSE(thinking.StartThinking(robot));
  EXPECT_TRUE(thinking.WaitThinking());
  EXPECT_EQ(robot.passes.load(), 1);

  FnJob direct([](const ThreadJob&) {});
  EXPECT_TRUE(PostRobotJob(&direct));
  EXPECT_EQ(direct.WaitEnded(), ThreadJob::kDone);
  RobotWorkerPool().Stop();
}

}  // namespace