#pragma once
// One worker thread running a bdRunnable once. The "running" flag is written by
// the worker and read by the driving thread, hence atomic.
#include <atomic>
#include <thread>

#include "bdCore/bdThread/bdRunnable.h"

class bdThread {
 public:
  bdThread(bdRunnable* runnable, int priority = 0, unsigned int stackSize = 0);
  ~bdThread();
  bdThread(const bdThread&) = delete;
  bdThread& operator=(const bdThread&) = delete;

  // Copies size bytes of args for the worker and starts it; false when there
  // is no runnable, the thread already ran or runs, or memory ran out.
  bool start(const void* args, unsigned int size);
  void stop();
  // Waits for the worker to end, then frees the copied arguments.
  void join();

  bool isRunning() const { return m_running; }
  void setPriority(int priority) { m_priority = priority; }
  int getPriority() const { return m_priority; }
  int getExitCode() const { return m_exitCode; }

 private:
  void threadProc();
  void freeArgs();

  bdRunnable* m_runnable;
  void* m_args;
  std::thread m_thread;
  std::atomic<bool> m_running;
  std::atomic<int> m_exitCode;
  bool m_started;
  int m_priority;
};
