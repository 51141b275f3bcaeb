#include "shell/thread_api.h"

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "platform/message_sink.h"
#include "platform/sync.h"

namespace shell {
namespace {

// The named events of live workers. A name is live from its registration
// until the worker's last step removes it.
struct NamedEvents {
  platform::Mutex lock;
  std::map<std::string, std::shared_ptr<platform::Event>> byName;
};

NamedEvents& Names() {
  static NamedEvents names;
  return names;
}

std::shared_ptr<platform::Event> Register(const std::string& name) {
  NamedEvents& n = Names();
  platform::LockGuard guard(n.lock);
  if (n.byName.count(name)) return nullptr;
  auto event = std::make_shared<platform::Event>(true, false);
  n.byName[name] = event;
  return event;
}

// Whether this very event is still registered under the name.
bool Live(const std::string& name, const platform::Event* event) {
  NamedEvents& n = Names();
  platform::LockGuard guard(n.lock);
  auto it = n.byName.find(name);
  return it != n.byName.end() && it->second.get() == event;
}

void Unregister(const std::string& name, const platform::Event* event) {
  NamedEvents& n = Names();
  platform::LockGuard guard(n.lock);
  auto it = n.byName.find(name);
  if (it != n.byName.end() && it->second.get() == event) n.byName.erase(it);
}

std::atomic<uint32_t> g_cleanupWait{kCleanupWaitMs};

}  // namespace

uint32_t SetThreadApiCleanupWait(uint32_t ms) { return g_cleanupWait.exchange(ms); }

struct ThreadApiWorker {
  std::string name;
  uintptr_t arg = 0;
  ThreadLoopFn loop = nullptr;
  ThreadEndFn end = nullptr;
  ThreadStopFn stop = nullptr;
  std::shared_ptr<platform::Event> event;
  std::atomic<uint32_t> runFlag{1};
  std::thread thread;
};

namespace {

void WorkerProc(ThreadApiWorker* w) {
  while (w->loop && w->runFlag.load()) {
    if (!w->loop(w->arg)) break;
  }
  if (w->runFlag.load()) {
    if (w->end) w->end(w->arg);
  } else if (w->stop && w->stop(w->arg) && !w->event->Wait(g_cleanupWait.load())) {
    platform::ShowNotice("Too much time waiting for the client to clean up!!!", "ThreadAPI", 0x30);
  }
  Unregister(w->name, w->event.get());
}

}  // namespace

ThreadApiWorker* ThreadAPIStart(const char* name, uintptr_t arg, ThreadLoopFn loop, ThreadEndFn end,
                                ThreadStopFn stop) {
  if (!name || !*name) return nullptr;
  auto event = Register(name);
  if (!event) return nullptr;
  auto w = std::make_unique<ThreadApiWorker>();
  w->name = name;
  w->arg = arg;
  w->loop = loop;
  w->end = end;
  w->stop = stop;
  w->event = event;
  try {
    w->thread = std::thread(WorkerProc, w.get());
  } catch (...) {
    Unregister(w->name, event.get());
    return nullptr;
  }
  return w.release();
}

bool ThreadAPIStop(ThreadApiWorker* worker, uint32_t timeoutMs) {
  if (!worker) return false;
  std::unique_ptr<ThreadApiWorker> w(worker);
  bool live = Live(w->name, w->event.get());
  w->runFlag.store(0);
  bool signalled = live && w->event->Wait(timeoutMs);
  if (w->thread.joinable()) w->thread.join();
  return signalled;
}

int ThreadAPISignal(ThreadApiWorker* worker) {
  if (!worker || !Live(worker->name, worker->event.get())) return 0;
  worker->event->Set();
  return 1;
}

uint32_t ThreadAPIGetRunFlag(ThreadApiWorker* worker) {
  if (!worker || !Live(worker->name, worker->event.get())) return 0;
  return worker->runFlag.load();
}

bool ThreadAPIIsRunning(const char* name) {
  if (!name) return false;
  NamedEvents& n = Names();
  platform::LockGuard guard(n.lock);
  return n.byName.count(name) != 0;
}

}  // namespace shell
