#include "shell/event_queue.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace shell {
namespace {

using Queue = std::vector<EventRecord>;
std::unique_ptr<Queue> g_queues[kEventQueueCount];

Queue* QueueOf(int n) { return n >= 0 && n < kEventQueueCount ? g_queues[n].get() : nullptr; }

bool Matches(const EventRecord& e, uint32_t id, uint32_t tag, int mode) {
  switch (mode) {
    case kFindById:
      return e.id == id;
    case kFindByTag:
      return e.tag == tag;
    case kFindByBoth:
      return e.id == id && e.tag == tag;
    default:
      return false;
  }
}

Queue::iterator Find(Queue& q, uint32_t id, uint32_t tag, int mode) {
  return std::find_if(q.begin(), q.end(),
                      [&](const EventRecord& e) { return Matches(e, id, tag, mode); });
}

}  // namespace

bool CreateEventQueue(int n, uint32_t) {
  if (n < 0 || n >= kEventQueueCount || g_queues[n]) return false;
  g_queues[n] = std::make_unique<Queue>();
  return true;
}

int DestroyEventQueue(int n) {
  if (!QueueOf(n)) return 0;
  g_queues[n].reset();
  return 1;
}

bool PostEvent(int n, const EventRecord& record) {
  Queue* q = QueueOf(n);
  if (!q) return false;
  q->push_back(record);
  return true;
}

const EventRecord* FindEvent(const EventRecord* record, uint32_t id, uint32_t tag, int n,
                             int mode) {
  Queue* q = QueueOf(n);
  if (!q) return nullptr;
  if (record) {
    id = record->id;
    tag = record->tag;
  }
  auto it = Find(*q, id, tag, mode);
  return it == q->end() ? nullptr : &*it;
}

bool HasEvent(int n, const EventRecord& record) {
  return FindEvent(&record, 0, 0, n, kFindByBoth) != nullptr;
}

bool RemoveEvent(int n, const EventRecord& record) {
  Queue* q = QueueOf(n);
  if (!q) return false;
  auto it = Find(*q, record.id, record.tag, kFindByBoth);
  if (it == q->end()) return false;
  EventRecord gone = *it;
  q->erase(it);
  // Called after the unlink, so a finish callback that posts or removes
  // entries sees a consistent queue.
  if (gone.finish) gone.finish(gone.arg);
  return true;
}

int PumpEventQueue(int n) {
  Queue* q = QueueOf(n);
  if (!q) return 0;
  std::vector<std::pair<uint32_t, uint32_t>> keys;
  for (const EventRecord& e : *q)
    keys.emplace_back(e.id, e.tag);
  int visited = 0;
  for (const auto& k : keys) {
    q = QueueOf(n);  // a callback may have destroyed the queue
    if (!q) break;
    auto it = Find(*q, k.first, k.second, kFindByBoth);
    if (it == q->end()) continue;
    ++visited;
    ++it->runCount;
    EventRecord now = *it;
    if (now.poll && now.poll(now.arg)) RemoveEvent(n, now);
  }
  return visited;
}

}  // namespace shell
