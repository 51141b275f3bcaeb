// Tasks and the task manager: the four-task limit, blocking, time-outs,
// cancellation, composites rolling back, task locks; and event delivery.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/Tasks/Task.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "toolbox_test_support.h"

using namespace OX_Toolbox;

namespace {

using Log = std::vector<std::string>;

// Waits until told to finish (with `result`), logging its hooks.
class ScriptedTask : public TaskAtomic {
 public:
  ScriptedTask(std::string name, Log* log) : m_name(std::move(name)), m_log(log) {}
  ~ScriptedTask() override { m_log->push_back("delete " + m_name); }
  void onStarted() override {
    m_log->push_back("start " + m_name);
    TaskAtomic::onStarted();
  }
  void step(std::uint32_t, bool& ready) override {
    if (!finishNow) ready = false;
  }
  void complete(bool&) override { setResult(result); }
  void onFinished(ERRORID code) override {
    m_log->push_back("finish " + m_name + " " + std::to_string(code));
  }
  void onAbort() override { m_log->push_back("abort " + m_name); }
  bool isBlocking() override { return blocking; }
  Task* createUndoTask() override {
    if (!undoable) return nullptr;
    auto* undo = new ScriptedTask("undo-" + m_name, m_log);
    undo->finishNow = true;
    return undo;
  }

  bool finishNow = false;
  bool blocking = false;
  bool undoable = false;
  ERRORID result = ERRORID_SUCCEEDED;

 private:
  std::string m_name;
  Log* m_log;
};

TEST(TaskManagerTest, AtMostFourStartedAtOnce) {
  Log log;
  TaskManager manager;
  ScriptedTask* tasks[5];
  for (int i = 0; i < 5; ++i) {
    tasks[i] = new ScriptedTask("t" + std::to_string(i), &log);
    EXPECT_EQ(manager.addTask(tasks[i]), static_cast<std::uint32_t>(i + 1));
  }
  EXPECT_EQ(manager.addTask(nullptr), 0u);
  manager.update(10);
  EXPECT_TRUE(tasks[3]->isStarted());
  EXPECT_FALSE(tasks[4]->isStarted());
  tasks[0]->finishNow = true;
  manager.update(10);
  EXPECT_EQ(manager.taskCount(), 4u);
  EXPECT_TRUE(tasks[4]->isStarted());
  EXPECT_EQ(LastResult().get(), ERRORID_SUCCEEDED);
}

TEST(TaskManagerTest, BlockingTaskHoldsBackTheQueueBehindIt) {
  Log log;
  TaskManager manager;
  auto* blocker = new ScriptedTask("block", &log);
  blocker->blocking = true;
  auto* behind = new ScriptedTask("behind", &log);
  behind->finishNow = true;
  manager.addTask(blocker);
  manager.addTask(behind);
  EXPECT_TRUE(manager.anyBlocking());
  manager.update(0);
  manager.update(0);
  EXPECT_FALSE(behind->isStarted());
  blocker->finishNow = true;
  manager.update(0);
  EXPECT_TRUE(manager.isIdle());
  EXPECT_EQ(log, (Log{"start block", "finish block 1", "delete block", "start behind",
                      "finish behind 1", "delete behind"}));
}

class TimeoutTest : public toolbox_test::CoreFixture {};

TEST_F(TimeoutTest, ConfiguredTimeoutAbortsWithTimeoutInThePassPastTheDeadline) {
  ASSERT_EQ(createCore(toolbox_test::fileKeys() + "TASK_TIMEOUT = 2\n"), ERRORID_SUCCEEDED);
  Log log;
  TaskManager manager;
  manager.update(1000);
  auto* task = new ScriptedTask("slow", &log);
  manager.addTask(task);
  manager.update(0);  // starts at clock 1000
  EXPECT_EQ(task->getDeadline(), 3000u);
  manager.update(2000);  // clock 3000: not beyond the deadline
  EXPECT_EQ(manager.taskCount(), 1u);
  manager.update(1);
  EXPECT_TRUE(manager.isIdle());
  EXPECT_EQ(log, (Log{"start slow", "abort slow", "finish slow 8", "delete slow"}));
  EXPECT_EQ(LastResult().get(), ERRORID_TIMEOUT);
}

TEST(TaskManagerTest, DefaultTimeoutWithoutConfigurationIsTenSeconds) {
  Log log;
  ScriptedTask task("t", &log);
  EXPECT_EQ(task.getTimeoutMs(), 10000u);
}

TEST(TaskManagerTest, CancellationEndsUnstartedAtOnceAndAbortsStarted) {
  Log log;
  TaskManager manager;
  auto* running = new ScriptedTask("run", &log);
  manager.addTask(running);
  manager.update(0);
  auto* queued = new ScriptedTask("queued", &log);
  const std::uint32_t queuedId = manager.addTask(queued);
  manager.cancelTask(999, false);
  EXPECT_EQ(manager.taskCount(), 2u);
  manager.cancelTask(queuedId, false);
  EXPECT_EQ(manager.taskCount(), 1u);
  EXPECT_EQ(LastResult().get(), ERRORID_USER_CANCELLED);
  manager.cancelAll(true);
  EXPECT_EQ(running->getResult(), ERRORID_SYSTEM_CANCELLED);
  EXPECT_EQ(manager.taskCount(), 1u);  // stays until its run reports finished
  manager.update(0);
  EXPECT_TRUE(manager.isIdle());
  EXPECT_EQ(log, (Log{"start run", "delete queued", "abort run", "finish run 7", "delete run"}));
}

// Cancels everything from inside its own run: refused while the pass runs.
class SelfCancellingTask : public TaskAtomic {
 public:
  explicit SelfCancellingTask(TaskManager* m) : m_manager(m) {}
  void step(std::uint32_t, bool& ready) override {
    m_manager->cancelAll(false);
    ready = false;
  }

 private:
  TaskManager* m_manager;
};

TEST(TaskManagerTest, CancellationFromInsideAPassIsRefused) {
  TaskManager manager;
  auto* task = new SelfCancellingTask(&manager);
  manager.addTask(task);
  manager.update(0);
  EXPECT_FALSE(task->hasResult());
  EXPECT_EQ(manager.taskCount(), 1u);
}

TEST(TaskManagerTest, ShutdownEndsEveryQueuedTaskAtOnceWithoutRunningIt) {
  Log log;
  TaskManager manager;
  auto* running = new ScriptedTask("running", &log);
  manager.addTask(running);
  manager.update(10);
  ASSERT_TRUE(running->isStarted());
  auto* queued = new ScriptedTask("queued", &log);
  queued->finishNow = true;
  manager.addTask(queued);
  manager.setShutdown();
  log.clear();
  manager.update(10);
  // The started task is told it finished, with a code rather than none; the
  // queued one never starts.
  EXPECT_EQ(log, (Log{"finish running 7", "delete running", "delete queued"}));
  EXPECT_TRUE(manager.isIdle());
  EXPECT_EQ(LastResult().get(), ERRORID_SYSTEM_CANCELLED);
  // Tasks added later end in their first pass too.
  manager.addTask(new ScriptedTask("late", &log));
  manager.update(10);
  EXPECT_TRUE(manager.isIdle());
}

TEST(CompositeTest, FailingStepRollsBackThroughUndoTasksNewestFirst) {
  Log log;
  TaskManager manager;
  auto* composite = new TaskSequentialComposite();
  auto* first = new ScriptedTask("first", &log);
  first->finishNow = true;
  first->undoable = true;
  auto* second = new ScriptedTask("second", &log);
  second->finishNow = true;
  second->result = ERRORID_TOO_MANY_DB_TASKS;
  auto* third = new ScriptedTask("third", &log);
  composite->addSubTask(first);
  composite->addSubTask(second);
  composite->addSubTask(third);
  composite->addSubTask(nullptr);
  EXPECT_EQ(first->getRoot(), composite);
  manager.addTask(composite);
  for (int i = 0; i < 10 && !manager.isIdle(); ++i)
    manager.update(0);
  EXPECT_TRUE(manager.isIdle());
  EXPECT_EQ(log, (Log{"start first", "finish first 1", "start second", "finish second 27",
                      "delete third", "delete second", "delete first", "start undo-first",
                      "finish undo-first 1", "delete undo-first"}));
  EXPECT_EQ(LastResult().get(), ERRORID_TOO_MANY_DB_TASKS);
}

TEST(CompositeTest, AllStepsSucceedInOrder) {
  Log log;
  TaskManager manager;
  auto* composite = new TaskSequentialComposite();
  for (const char* name : {"a", "b"}) {
    auto* t = new ScriptedTask(name, &log);
    t->finishNow = true;
    composite->addSubTask(t);
  }
  manager.addTask(composite);
  for (int i = 0; i < 5 && !manager.isIdle(); ++i)
    manager.update(0);
  EXPECT_EQ(log, (Log{"start a", "finish a 1", "start b", "finish b 1", "delete a", "delete b"}));
  EXPECT_EQ(LastResult().get(), ERRORID_SUCCEEDED);
}

TEST(CompositeTest, CancellingARunningCompositeAbortsItsCurrentStep) {
  Log log;
  TaskManager manager;
  auto* composite = new TaskSequentialComposite();
  auto* done = new ScriptedTask("done", &log);
  done->finishNow = true;
  done->undoable = true;
  auto* waiting = new ScriptedTask("waiting", &log);
  composite->addSubTask(done);
  composite->addSubTask(waiting);
  const std::uint32_t id = manager.addTask(composite);
  manager.update(0);
  manager.update(0);
  EXPECT_TRUE(waiting->isStarted());
  manager.cancelTask(id, false);
  for (int i = 0; i < 5 && !manager.isIdle(); ++i)
    manager.update(0);
  EXPECT_TRUE(manager.isIdle());
  EXPECT_EQ(LastResult().get(), ERRORID_USER_CANCELLED);
  EXPECT_EQ(log, (Log{"start done", "finish done 1", "start waiting", "abort waiting",
                      "delete done", "finish waiting 6", "start undo-done", "finish undo-done 1",
                      "delete waiting", "delete undo-done"}));
}

TEST(TaskLockTest, OneRootReentersOthersWaitUntilFullyReleased) {
  Log log;
  TaskSequentialComposite rootA;
  auto* subA1 = new ScriptedTask("a1", &log);
  auto* subA2 = new ScriptedTask("a2", &log);
  rootA.addSubTask(subA1);
  rootA.addSubTask(subA2);
  ScriptedTask rootB("b", &log);
  TaskLock lock;
  EXPECT_TRUE(subA1->acquireLock(lock));
  EXPECT_TRUE(subA2->acquireLock(lock));
  EXPECT_EQ(lock.count(), 2);
  EXPECT_FALSE(rootB.acquireLock(lock));
  EXPECT_EQ(lock.count(), 2);
  EXPECT_EQ(lock.owner(), &rootA);
  subA1->releaseLocks();
  EXPECT_FALSE(rootB.acquireLock(lock));
  subA2->releaseLocks();
  EXPECT_FALSE(lock.isLocked());
  EXPECT_TRUE(rootB.acquireLock(lock));
}

class SinkRecorder : public ToolboxMessageSink {
 public:
  SinkRecorder(std::string name, bool handles, Log* log, EventManager* requeue = nullptr)
      : m_name(std::move(name)), m_handles(handles), m_log(log), m_requeue(requeue) {}
  bool onMessage(Event* event) override {
    m_log->push_back(m_name + " " + event->getType()->name);
    if (m_requeue) {
      m_requeue->queueEvent(new EventLobbyConnectionLost());
      m_requeue = nullptr;
    }
    return m_handles;
  }

 private:
  std::string m_name;
  bool m_handles;
  Log* m_log;
  EventManager* m_requeue;
};

TEST(EventManagerTest, ListenersInOrderUntilHandledAndEventsQueuedMeanwhile) {
  Log log;
  EventManager events;
  SinkRecorder passes("first", false, &log, &events);
  SinkRecorder handles("second", true, &log);
  events.addListener(&passes);
  events.addListener(nullptr);
  events.addListener(&handles);
  events.queueEvent(new EventAllPlayersLoggedOut());
  events.queueEvent(nullptr);
  events.processQueued();
  EXPECT_EQ(log, (Log{"first EventAllPlayersLoggedOut", "second EventAllPlayersLoggedOut",
                      "first EventLobbyConnectionLost", "second EventLobbyConnectionLost"}));
  EXPECT_EQ(events.queuedCount(), 0u);

  // An event no listener handles is still deleted (the sanitizer build
  // would report the leak).
  events.removeListener(&handles);
  log.clear();
  events.queueEvent(new EventLoginLogout(0, 1, 0));
  events.processQueued();
  EXPECT_EQ(log, Log{"first EventLoginLogout"});
  EXPECT_TRUE(EventLoginLogout::s_type.isA(&Event::s_type));
  EXPECT_FALSE(Event::s_type.isA(&EventLoginLogout::s_type));
}

TEST(ListenerRegistryTest, OwnsListenersAndNumbersThemOnce) {
  ListenerRegistry registry;
  auto* a = new ToolboxListener();
  auto* b = new ToolboxListener();
  registry.add(a);
  registry.add(a);
  registry.add(b);
  const std::uint32_t na = registry.registerNumbered(a);
  EXPECT_GE(na, 1u);
  EXPECT_EQ(registry.registerNumbered(a), na);
  EXPECT_EQ(registry.registerNumbered(b), na + 1);
  registry.remove(a);
  EXPECT_FALSE(registry.contains(a));
  EXPECT_TRUE(registry.contains(b));
}

}  // namespace
