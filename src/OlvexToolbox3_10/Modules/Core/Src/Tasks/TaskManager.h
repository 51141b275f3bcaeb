#pragma once
// Owns the queued tasks and steps them once per core update: at most four
// run at a time, a blocking task holds back those queued behind it, and a
// task past its deadline is aborted with ERRORID_TIMEOUT.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Result/ErrorId.h"

namespace OX_Toolbox {

class Task;

class TaskManager : public ToolboxObject {
 public:
  static constexpr int kMaxStarted = 4;

  virtual ~TaskManager();
  virtual std::uint32_t addTask(Task* task);  // owned; 0 for null
  virtual bool anyBlocking();
  virtual bool isIdle() { return m_tasks.empty(); }
  // Cancellations are refused while a pass is running (from a task's hooks).
  virtual void cancelAll(bool system);
  virtual void cancelBlocking(bool system);
  virtual void cancelTask(std::uint32_t id, bool system);
  // From then on every task ends in the pass that meets it, without running
  // (raised when the lobby connection is lost).
  virtual void setShutdown() { m_shutdown = 1; }
  bool isShutdown() const { return m_shutdown != 0; }

  void update(std::uint32_t ms);
  std::uint32_t getClock() const { return m_clock; }
  std::size_t taskCount() const { return m_tasks.size(); }
  Task* findTask(std::uint32_t id) const;

 private:
  void runQueue();
  int startedCount() const;
  void finish(std::size_t index);
  // True when the task stays queued (the caller's index moves past it).
  bool endTask(std::size_t index, ERRORID code);

  std::uint32_t m_clock = 0;
  ToolboxVector<Task*> m_tasks;
  bool m_busy = false;
  std::uint32_t m_lastId = 0;
  std::int32_t m_shutdown = 0;
};

}  // namespace OX_Toolbox
