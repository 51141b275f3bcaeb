#include "online/online_lock.h"

#include "platform/sync.h"

namespace online {

namespace {

// Built on first use so that it exists before any static object that might
// lock it, and lives for the whole program.
platform::CriticalSection& OnlineMutex() {
  static platform::CriticalSection* mutex = new platform::CriticalSection();
  return *mutex;
}

}  // namespace

void OnlineLock() { OnlineMutex().Enter(); }
void OnlineUnlock() { OnlineMutex().Leave(); }

}  // namespace online
