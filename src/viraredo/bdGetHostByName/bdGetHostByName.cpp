#include "bdGetHostByName/bdGetHostByName.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdThread/bdThread.h"
#include "bdSocket/bdPlatformSocket.h"

bdGetHostByName::bdGetHostByName(Resolver resolver)
    : m_status(BD_LOOKUP_SUCCEEDED),
      m_thread(nullptr),
      m_timeout(0.0f),
      m_numAddresses(0),
      m_resolver(resolver != nullptr ? resolver : &bdPlatformSocket::getHostByName) {
  m_thread = new bdThread(this);
}

bdGetHostByName::~bdGetHostByName() {
  m_thread->join();
  delete m_thread;
}

bool bdGetHostByName::start(const char* name, float timeoutSeconds) {
  // A refused start leaves the lookup under way, and its time limit, alone.
  if (m_status == BD_LOOKUP_PENDING) return false;
  m_timeout = timeoutSeconds;
  if (name == nullptr) {
    m_status = BD_LOOKUP_FAILED;
    return false;
  }
  m_numAddresses = 0;
  m_status = BD_LOOKUP_PENDING;
  m_timer.start();
  const bool started = m_thread->start(name, static_cast<unsigned int>(std::strlen(name)) + 1);
  if (!started) m_status = BD_LOOKUP_FAILED;
  return started;
}

bdGetHostByName::bdStatus bdGetHostByName::getStatus() {
  if (m_status == BD_LOOKUP_PENDING && m_timer.getElapsedTimeAsSeconds() > m_timeout) {
    // Only a lookup still pending times out: a worker finishing at this very
    // moment keeps its result.
    int pending = BD_LOOKUP_PENDING;
    if (m_status.compare_exchange_strong(pending, BD_LOOKUP_FAILED))
      bdLogWarn("warn", "getHostByName timed out\n");
  }
  return static_cast<bdStatus>(m_status.load());
}

unsigned int bdGetHostByName::getNumAddresses() const {
  return m_status == BD_LOOKUP_SUCCEEDED ? m_numAddresses.load() : 0;
}

bdInetAddr bdGetHostByName::getAddress(unsigned int index) const {
  if (index >= getNumAddresses()) {
    bdAssertMsg("bdGetHostByName::getAddress, index %u out of range", index);
    return bdInetAddr();
  }
  return m_addresses[index];
}

bool bdGetHostByName::isResolving() const { return m_thread->isRunning(); }

int bdGetHostByName::run(void* args) {
  const char* name = static_cast<const char*>(args);
  bdInetAddr found[MAX_RESULTS];
  unsigned int count = m_resolver(name, found, MAX_RESULTS);
  if (count > MAX_RESULTS) count = MAX_RESULTS;
  // A lookup that already timed out is over for the caller: its late answer
  // must not turn the failure into a success or change what was read.
  if (m_status != BD_LOOKUP_PENDING) return 0;
  for (unsigned int i = 0; i < count; ++i)
    m_addresses[i] = found[i];
  m_numAddresses = count;
  int pending = BD_LOOKUP_PENDING;
  m_status.compare_exchange_strong(pending, count > 0 ? BD_LOOKUP_SUCCEEDED : BD_LOOKUP_FAILED);
  return 0;
}
