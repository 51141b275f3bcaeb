#pragma once
// The session manager's hand-over to the interface thread: a queue of
// result codes and a queue of OnlineEvents, each behind its own mutex. A
// report appends its result, then its event; the lobby reads the event
// first, acts only on a non-zero one and pops both together. Popping an
// empty queue removes nothing.
//
// Lock order: the event mutex before the result mutex (PopFront); pushes
// take one at a time. Both are taken inside the online lock, never around it.
#include <cstdint>
#include <deque>
#include <mutex>

namespace online {

enum OnlineEvent : int32_t {
  eidle = 0,
  eStartOlvex = 1,
  eCreateAccount = 2,
  eLoginOlvex = 3,
  eSearchSessions = 4,
  eHostSession = 5,
  eJoinSession = 6,
  eDeleteSession = 7,
  ePlayerJoin = 8,
  ePlayerLeave = 9,
  eHostLeave = 10,
  eStartGame = 11,
  eEndGame = 12,
  eLogoutOlvex = 13,
};

// The debug name of an event; "" outside 0..13.
const char* OnlineEventName(int32_t event);

class OnlineEventQueue {
 public:
  void PushResult(int32_t code);
  void PushEvent(int32_t event);
  // The first result, or 0 when there is none.
  int32_t GetFrontResult() const;
  // The first event, or eidle when there is none.
  int32_t GetFrontEvent() const;
  // Removes the first result and the first event, each only if present.
  void PopFront();
  void ClearQueues();

 private:
  mutable std::mutex resultMutex_;
  mutable std::mutex eventMutex_;
  std::deque<int32_t> results_;
  std::deque<int32_t> events_;
};

}  // namespace online
