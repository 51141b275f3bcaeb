#pragma once
// The two queues of polled callbacks the main loop runs while it polls.
// Interface thread only. A callback may post or remove entries of its own
// queue while the queue is pumped: the pump walks a snapshot of the ids and
// tags and looks each one up again before running it.
#include <cstdint>

namespace shell {

struct EventRecord {
  uint32_t id = 0;
  uint32_t tag = 0;
  uint32_t runCount = 0;
  // Non-zero when the entry is finished.
  int (*poll)(uintptr_t arg) = nullptr;
  void (*finish)(uintptr_t arg) = nullptr;
  uintptr_t arg = 0;
};

constexpr int kEventQueueCount = 2;
enum EventFindMode : int { kFindById = 1, kFindByTag = 2, kFindByBoth = 3 };

bool CreateEventQueue(int n, uint32_t options);
int DestroyEventQueue(int n);  // 1 when it existed
bool PostEvent(int n, const EventRecord& record);
// The stored entry (valid until the queue changes), or null. A null record
// matches the separate id and tag.
const EventRecord* FindEvent(const EventRecord* record, uint32_t id, uint32_t tag, int n, int mode);
bool HasEvent(int n, const EventRecord& record);
// Calls the entry's finish callback and removes it; false when none matches.
bool RemoveEvent(int n, const EventRecord& record);
// Polls every entry once; returns the number visited.
int PumpEventQueue(int n);

}  // namespace shell
