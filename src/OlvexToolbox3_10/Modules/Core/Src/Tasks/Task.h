#pragma once
// Work that talks to the network runs as tasks: a start, a per-tick run, a
// time-out, a result code and clean-up hooks. Atomic tasks do one thing;
// sequential composites run sub-tasks in order and, when one fails, roll
// back by running the undo tasks of the finished ones, newest first.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Tasks/Object.h"

namespace OX_Toolbox {

class Task;

// Serialises the tasks of different root tasks over one resource; sub-tasks
// of the holding root re-enter it.
class TaskLock {
 public:
  bool acquire(const Task* root);
  void release() { --m_count; }
  bool isLocked() const { return m_count > 0; }
  std::int32_t count() const { return m_count; }
  const Task* owner() const { return m_owner; }

 private:
  std::int32_t m_count = 0;
  const Task* m_owner = nullptr;
};

// TASK_TIMEOUT seconds of the core's configuration, or 10 s.
std::uint32_t DefaultTaskTimeoutMs();

class Task : public Object {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  ~Task() override;

  virtual bool isReady() { return true; }
  virtual void releaseLocks();
  virtual void onStart();
  virtual void onStarted();
  virtual void onFinished(ERRORID) {}
  virtual bool isAbortable() { return true; }
  virtual void onAbort() {}
  virtual Task* createUndoTask() { return nullptr; }
  virtual bool isBlocking() { return false; }
  virtual std::uint32_t getTimeoutMs() { return DefaultTaskTimeoutMs(); }
  virtual bool usesTimeout() { return true; }
  virtual bool run(std::uint32_t clock) = 0;  // true: finished
  virtual void abort(ERRORID code);
  virtual void markFinished(ERRORID code);
  virtual void onRemoved(ERRORID) {}

  void start(std::uint32_t clock);
  std::uint32_t getDeadline() { return m_startTime + getTimeoutMs(); }
  void setResult(ERRORID code) {
    if (m_result == ERRORID_INVALID) m_result = code;
  }
  void resetResult() { m_result = ERRORID_INVALID; }
  ERRORID getResult() const { return m_result; }
  bool hasResult() const { return m_result != ERRORID_INVALID; }
  bool isStarted() const { return m_started; }
  bool isFinished() const { return m_finished; }
  bool isTimedOut() const { return m_result == ERRORID_TIMEOUT; }
  std::uint32_t getStartTime() const { return m_startTime; }
  std::uint32_t getId() const { return m_id; }
  void setId(std::uint32_t id) { m_id = id; }
  Task* getParent() const { return m_parent; }
  void setParent(Task* parent) { m_parent = parent; }
  Task* getRoot();
  bool acquireLock(TaskLock& lock);

 private:
  std::uint32_t m_startTime = 0;
  std::uint32_t m_id = 0;
  bool m_finished = false;
  ERRORID m_result = ERRORID_INVALID;
  bool m_started = false;
  Task* m_parent = nullptr;
  ToolboxVector<TaskLock*> m_locks;
};

class TaskAtomic : public Task {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  bool run(std::uint32_t clock) override;
  // Clear `ready` while waiting (run again next pass).
  virtual void step(std::uint32_t, bool&) {}
  // Set `again` to be run once more.
  virtual void complete(bool&) { setResult(ERRORID_SUCCEEDED); }
};

class TaskSequentialComposite : public Task {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  ~TaskSequentialComposite() override;

  bool isReady() override;
  void releaseLocks() override;
  bool isAbortable() override;
  bool isBlocking() override;
  std::uint32_t getTimeoutMs() override;
  bool run(std::uint32_t clock) override;
  void abort(ERRORID code) override;  // rolls back
  virtual void onSubTaskFinished(Task*, ERRORID&) {}

  void addSubTask(Task* task);  // owned; null ignored
  std::size_t subTaskCount() const { return m_subTasks.size(); }
  Task* subTask(std::size_t i) const { return m_subTasks[i]; }
  std::uint32_t currentIndex() const { return m_index; }

 private:
  ToolboxVector<Task*> m_subTasks;
  std::uint32_t m_index = 0;
};

}  // namespace OX_Toolbox
