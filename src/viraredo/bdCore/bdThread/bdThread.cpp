#include "bdCore/bdThread/bdThread.h"

#include <cstring>
#include <system_error>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdMemory/bdMemory.h"

bdThread::bdThread(bdRunnable* runnable, int priority, unsigned int)
    : m_runnable(runnable),
      m_args(nullptr),
      m_running(false),
      m_exitCode(0),
      m_started(false),
      m_priority(priority) {}

// A worker still running uses this object: it is stopped and waited for first.
bdThread::~bdThread() {
  if (m_thread.joinable()) {
    stop();
    m_thread.join();
  }
  freeArgs();
  m_runnable = nullptr;
}

bool bdThread::start(const void* args, unsigned int size) {
  if (m_runnable == nullptr || m_running || m_started) return false;
  freeArgs();
  if (args != nullptr && size > 0) {
    m_args = bdMemory::allocate(size);
    if (m_args == nullptr) return false;
    std::memcpy(m_args, args, size);
  }
  m_running = true;
  m_runnable->clearStop();
  try {
    m_thread = std::thread(&bdThread::threadProc, this);
  } catch (const std::system_error&) {
    bdAssertMsg("thread creation failed");
    m_running = false;
    return false;
  }
  m_started = true;
  return true;
}

void bdThread::threadProc() {
  m_exitCode = m_runnable->run(m_args);
  m_running = false;
}

void bdThread::stop() {
  if (m_runnable != nullptr) m_runnable->stop();
}

void bdThread::join() {
  if (m_thread.joinable()) m_thread.join();
  freeArgs();
}

void bdThread::freeArgs() {
  bdMemory::deallocate(m_args);
  m_args = nullptr;
}
