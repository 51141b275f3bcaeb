#pragma once
// Named worker threads: a caller's callback run in a loop on a thread of its
// own, with a named manual-reset event that marks the worker as live while
// it exists and that owner and worker use to agree on clean-up.
//
// Unlike a record the worker frees itself, the handle here stays with the
// owner, who passes it to ThreadAPIStop exactly once: Stop joins the thread
// and frees the handle, so nothing is touched after it is freed.
#include <cstdint>

namespace shell {

struct ThreadApiWorker;

using ThreadLoopFn = uint32_t (*)(uintptr_t arg);  // 0 ends the loop
using ThreadEndFn = void (*)(uintptr_t arg);
using ThreadStopFn = uint32_t (*)(uintptr_t arg);  // non-zero: wait for the owner's signal

// How long a stopped worker whose stop callback asked for it waits for the
// owner's signal before it gives up with a notice.
constexpr uint32_t kCleanupWaitMs = 10000;
// Changes that wait (tests shorten it); returns the previous value.
uint32_t SetThreadApiCleanupWait(uint32_t ms);

// Null when the name is empty or taken by a live worker, or the thread does
// not start.
ThreadApiWorker* ThreadAPIStart(const char* name, uintptr_t arg, ThreadLoopFn loop, ThreadEndFn end,
                                ThreadStopFn stop);
// Clears the run flag and waits up to timeoutMs for the worker's event, then
// joins the thread and frees the handle. True when the event was signalled
// in time; false for a null handle or a worker that had already ended.
bool ThreadAPIStop(ThreadApiWorker* worker, uint32_t timeoutMs);
// Sets the worker's event while it lives (1), else 0.
int ThreadAPISignal(ThreadApiWorker* worker);
// The run flag of a live worker, else 0.
uint32_t ThreadAPIGetRunFlag(ThreadApiWorker* worker);
bool ThreadAPIIsRunning(const char* name);

}  // namespace shell
