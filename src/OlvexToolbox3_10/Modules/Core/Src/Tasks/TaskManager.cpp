#include "Modules/Core/Src/Tasks/TaskManager.h"

#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/Core/Src/Tasks/Task.h"

namespace OX_Toolbox {

TaskManager::~TaskManager() {
  for (Task* t : m_tasks)
    delete t;
}

std::uint32_t TaskManager::addTask(Task* task) {
  if (!task) return 0;
  task->setId(++m_lastId);
  m_tasks.push_back(task);
  return task->getId();
}

bool TaskManager::anyBlocking() {
  for (Task* t : m_tasks) {
    if (t->isBlocking()) return true;
  }
  return false;
}

Task* TaskManager::findTask(std::uint32_t id) const {
  for (Task* t : m_tasks) {
    if (t->getId() == id) return t;
  }
  return nullptr;
}

int TaskManager::startedCount() const {
  int n = 0;
  for (Task* t : m_tasks)
    n += t->isStarted() ? 1 : 0;
  return n;
}

void TaskManager::update(std::uint32_t ms) {
  m_clock += ms;
  m_busy = true;
  struct ClearBusy {
    bool& busy;
    ~ClearBusy() { busy = false; }
  } clear{m_busy};
  runQueue();
}

void TaskManager::finish(std::size_t index) {
  Task* task = m_tasks[index];
  m_tasks.erase(m_tasks.begin() + static_cast<std::ptrdiff_t>(index));
  const ERRORID result = task->getResult();
  if (task->isStarted()) task->markFinished(result);
  LastResult().set(result);
  LastResult().markRead();
  task->onRemoved(result);
  delete task;
}

void TaskManager::runQueue() {
  std::size_t i = 0;
  while (i < m_tasks.size()) {
    Task* task = m_tasks[i];
    if (m_shutdown) {
      // Its listener hears that the system ended it, not a missing result.
      if (!task->hasResult()) task->setResult(ERRORID_SYSTEM_CANCELLED);
      finish(i);
      continue;
    }
    bool waiting = false;
    if (!task->isStarted()) {
      if (startedCount() < kMaxStarted && task->isReady()) {
        task->start(m_clock);
        if (task->getResult() != ERRORID_SUCCEEDED) {
          finish(i);  // an error, or nothing set by onStarted
          continue;
        }
        task->resetResult();
      } else {
        task->releaseLocks();
        waiting = true;
      }
    }
    if (!waiting) {
      if (!task->hasResult() && task->usesTimeout() && m_clock > task->getDeadline()) {
        task->abort(ERRORID_TIMEOUT);
      }
      if (task->run(m_clock)) {
        finish(i);
        continue;
      }
    }
    if (task->isBlocking()) break;
    ++i;
  }
}

bool TaskManager::endTask(std::size_t index, ERRORID code) {
  Task* task = m_tasks[index];
  if (!task->isStarted()) {
    task->setResult(code);
    finish(index);
    return false;
  }
  if (task->isAbortable()) task->abort(code);
  return true;
}

void TaskManager::cancelAll(bool system) {
  if (m_busy) return;
  const ERRORID code = system ? ERRORID_SYSTEM_CANCELLED : ERRORID_USER_CANCELLED;
  for (std::size_t i = 0; i < m_tasks.size();) {
    if (endTask(i, code)) ++i;
  }
}

void TaskManager::cancelBlocking(bool system) {
  if (m_busy) return;
  const ERRORID code = system ? ERRORID_SYSTEM_CANCELLED : ERRORID_USER_CANCELLED;
  for (std::size_t i = 0; i < m_tasks.size();) {
    if (!m_tasks[i]->isBlocking() || endTask(i, code)) ++i;
  }
}

void TaskManager::cancelTask(std::uint32_t id, bool system) {
  if (m_busy) return;
  const ERRORID code = system ? ERRORID_SYSTEM_CANCELLED : ERRORID_USER_CANCELLED;
  for (std::size_t i = 0; i < m_tasks.size(); ++i) {
    if (m_tasks[i]->getId() == id) {
      endTask(i, code);
      return;
    }
  }
}

}  // namespace OX_Toolbox
