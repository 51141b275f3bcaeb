#include "Modules/Core/Src/Tasks/Task.h"

#include "Modules/Core/Src/Script/LuaConfig.h"
#include "Modules/Core/Src/ToolboxCore.h"

namespace OX_Toolbox {

const ClassTypeInfo Task::s_type = {"OX_Toolbox::Task", &Object::s_type};
const ClassTypeInfo TaskAtomic::s_type = {"TaskAtomic", &Task::s_type};
const ClassTypeInfo TaskSequentialComposite::s_type = {"TaskSequentialComposite", &Task::s_type};

bool TaskLock::acquire(const Task* root) {
  if (m_owner != root && m_count != 0) return false;
  ++m_count;
  m_owner = root;
  return true;
}

std::uint32_t DefaultTaskTimeoutMs() {
  unsigned seconds = 0;
  ToolboxCore* core = ToolboxCore::instance();
  if (core && core->getLuaConfig() && core->getLuaConfig()->getInteger("TASK_TIMEOUT", seconds)) {
    return seconds * 1000u;
  }
  return 10000;
}

Task::~Task() { releaseLocks(); }

void Task::releaseLocks() {
  for (TaskLock* lock : m_locks)
    lock->release();
  m_locks.clear();
}

void Task::onStart() { setResult(ERRORID_SUCCEEDED); }
void Task::onStarted() { setResult(ERRORID_SUCCEEDED); }

void Task::abort(ERRORID code) {
  if (hasResult()) return;
  setResult(code);
  onAbort();
}

void Task::markFinished(ERRORID code) {
  m_finished = true;
  onFinished(code);
}

void Task::start(std::uint32_t clock) {
  m_startTime = clock;
  m_started = true;
  onStart();
  if (m_result == ERRORID_SUCCEEDED) {
    resetResult();
    onStarted();
  }
}

Task* Task::getRoot() {
  Task* t = this;
  while (t->m_parent)
    t = t->m_parent;
  return t;
}

bool Task::acquireLock(TaskLock& lock) {
  if (!lock.acquire(getRoot())) return false;
  m_locks.push_back(&lock);
  return true;
}

bool TaskAtomic::run(std::uint32_t clock) {
  if (hasResult()) return true;
  bool ready = true;
  step(clock, ready);
  if (!ready) return false;
  bool again = false;
  complete(again);
  return !again;
}

TaskSequentialComposite::~TaskSequentialComposite() {
  for (Task* t : m_subTasks)
    delete t;
}

void TaskSequentialComposite::addSubTask(Task* task) {
  if (!task) return;
  task->setParent(this);
  m_subTasks.push_back(task);
}

bool TaskSequentialComposite::isReady() {
  bool ready = true;
  for (Task* t : m_subTasks)
    ready = t->isReady() && ready;
  return ready;
}

void TaskSequentialComposite::releaseLocks() {
  Task::releaseLocks();
  for (Task* t : m_subTasks)
    t->releaseLocks();
}

bool TaskSequentialComposite::isAbortable() {
  for (Task* t : m_subTasks) {
    if (!t->isAbortable()) return false;
  }
  return true;
}

bool TaskSequentialComposite::isBlocking() {
  for (Task* t : m_subTasks) {
    if (t->isBlocking()) return true;
  }
  return false;
}

std::uint32_t TaskSequentialComposite::getTimeoutMs() {
  std::uint32_t total = 0;
  for (Task* t : m_subTasks)
    total += t->isStarted() ? t->getTimeoutMs() : DefaultTaskTimeoutMs();
  return total;
}

bool TaskSequentialComposite::run(std::uint32_t clock) {
  auto finishList = [this] {
    if (!hasResult()) setResult(ERRORID_SUCCEEDED);
    return true;
  };
  if (m_index >= m_subTasks.size()) return finishList();
  Task* sub = m_subTasks[m_index];
  ERRORID code = ERRORID_SUCCEEDED;
  bool done = false;
  if (!sub->isStarted()) {
    sub->start(clock);
    if (sub->getResult() == ERRORID_SUCCEEDED) {
      sub->resetResult();
    } else {
      code = sub->getResult();
      done = true;
    }
  }
  if (!done) {
    if (!sub->hasResult() && sub->usesTimeout() && clock > sub->getDeadline()) {
      abort(ERRORID_TIMEOUT);
      // The rollback rebuilt the list; the timed-out sub-task leads it.
      if (m_index >= m_subTasks.size()) return true;
      sub = m_subTasks[m_index];
    }
    if (!sub->run(clock)) return false;
    code = sub->getResult();
  }
  sub->markFinished(code);
  onSubTaskFinished(sub, code);
  if (code != ERRORID_SUCCEEDED && !hasResult()) {
    abort(code);
    return m_subTasks.empty();
  }
  ++m_index;
  if (m_index >= m_subTasks.size()) return finishList();
  return false;
}

void TaskSequentialComposite::abort(ERRORID code) {
  if (hasResult()) return;
  setResult(code);
  ToolboxVector<Task*> old;
  old.swap(m_subTasks);
  while (!old.empty() && !old.back()->isStarted()) {
    delete old.back();
    old.pop_back();
  }
  for (auto it = old.rbegin(); it != old.rend(); ++it) {
    Task* t = *it;
    if (!t->isFinished()) {
      t->abort(code);
      m_subTasks.push_back(t);
      continue;
    }
    if (Task* undo = t->createUndoTask()) {
      undo->setParent(this);
      m_subTasks.push_back(undo);
    }
    delete t;
  }
  m_index = 0;
  onAbort();
}

}  // namespace OX_Toolbox
