#include "online/online_event_queue.h"

#include <string>

#include "online/online_window_port.h"

namespace online {

namespace {

void DebugLine(const char* prefix, int32_t event) {
  OnlineDebugOutput((std::string(prefix) + OnlineEventName(event) + "\n").c_str());
}

}  // namespace

const char* OnlineEventName(int32_t event) {
  static const char* const kNames[] = {
      "eidle",        "eStartOlvex",  "eCreateAccount", "eLoginOlvex", "eSearchSessions",
      "eHostSession", "eJoinSession", "eDeleteSession", "ePlayerJoin", "ePlayerLeave",
      "eHostLeave",   "eStartGame",   "eEndGame",       "eLogoutOlvex"};
  return event >= 0 && event <= eLogoutOlvex ? kNames[event] : "";
}

void OnlineEventQueue::PushResult(int32_t code) {
  std::lock_guard<std::mutex> lock(resultMutex_);
  results_.push_back(code);
}

void OnlineEventQueue::PushEvent(int32_t event) {
  std::lock_guard<std::mutex> lock(eventMutex_);
  DebugLine("", events_.empty() ? eidle : events_.front());
  events_.push_back(event);
  DebugLine("Pushing back: ", event);
}

int32_t OnlineEventQueue::GetFrontResult() const {
  std::lock_guard<std::mutex> lock(resultMutex_);
  return results_.empty() ? 0 : results_.front();
}

int32_t OnlineEventQueue::GetFrontEvent() const {
  std::lock_guard<std::mutex> lock(eventMutex_);
  return events_.empty() ? eidle : events_.front();
}

void OnlineEventQueue::PopFront() {
  std::lock_guard<std::mutex> events(eventMutex_);
  std::lock_guard<std::mutex> results(resultMutex_);
  if (!results_.empty()) results_.pop_front();
  if (!events_.empty()) {
    DebugLine("Pop front: ", events_.front());
    events_.pop_front();
  }
}

void OnlineEventQueue::ClearQueues() {
  {
    std::lock_guard<std::mutex> lock(resultMutex_);
    results_.clear();
  }
  std::lock_guard<std::mutex> lock(eventMutex_);
  events_.clear();
}

}  // namespace online
