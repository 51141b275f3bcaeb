#pragma once
// Resolves one host name to at most four IPv4 addresses on a worker thread of
// its own; the caller polls getStatus, which also applies the time-out, so a
// resolver that hangs never holds up the caller.
#include <atomic>

#include "bdCore/bdThread/bdRunnable.h"
#include "bdCore/bdUtilities/bdStopwatch.h"
#include "bdSocket/bdInetAddr.h"

class bdThread;

class bdGetHostByName : public bdRunnable {
 public:
  enum bdStatus { BD_LOOKUP_SUCCEEDED = 0, BD_LOOKUP_PENDING = 1, BD_LOOKUP_FAILED = 2 };
  static constexpr unsigned int MAX_RESULTS = 4;
  // Stores up to max addresses of name and returns how many.
  using Resolver = unsigned int (*)(const char* name, bdInetAddr* addresses, unsigned int max);

  // The platform resolver unless tests give their own.
  explicit bdGetHostByName(Resolver resolver = nullptr);
  // Waits for a resolver still running.
  ~bdGetHostByName() override;
  bdGetHostByName(const bdGetHostByName&) = delete;
  bdGetHostByName& operator=(const bdGetHostByName&) = delete;

  // False, changing nothing but the time-out, while a lookup is pending.
  bool start(const char* name, float timeoutSeconds);
  bdStatus getStatus();
  // 0 unless the lookup succeeded.
  unsigned int getNumAddresses() const;
  bdInetAddr getAddress(unsigned int index) const;
  // True while the resolver still runs, even after the lookup timed out:
  // until then deleting the lookup waits for it.
  bool isResolving() const;

  int run(void* args) override;

 private:
  bdStopwatch m_timer;
  std::atomic<int> m_status;
  bdThread* m_thread;
  float m_timeout;
  bdInetAddr m_addresses[MAX_RESULTS];
  std::atomic<unsigned int> m_numAddresses;
  Resolver m_resolver;
};
