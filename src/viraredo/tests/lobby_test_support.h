#pragma once
// Helpers for the network tests: a fake SDK clock and a loopback listener.
#include <cstdint>

#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdSocket/bdStreamSocket.h"

namespace bdtest {

// The SDK clock in microseconds, moved by the test. It starts above 0: a
// stopwatch reads a start stamp of 0 as "not started".
class FakeClock {
 public:
  FakeClock() {
    now() = 1000000;
    bdPlatformTiming::setClock(&counter, &frequency);
  }
  ~FakeClock() { bdPlatformTiming::setClock(nullptr, nullptr); }
  void advance(double seconds) { now() += static_cast<std::uint64_t>(seconds * 1e6); }

 private:
  static std::uint64_t& now() {
    static std::uint64_t value = 0;
    return value;
  }
  static std::uint64_t counter() { return now(); }
  static std::uint64_t frequency() { return 1000000; }
};

// A blocking TCP listener on 127.0.0.1 and a free port.
class Listener {
 public:
  Listener() {
    socket.create();
    socket.listen(bdAddr(bdInetAddr::getLoopback(), 0));
    port = socket.getPort();
  }
  // Waits for the next connection (the listener stays blocking).
  bdStreamSocket* accept() {
    bdAddr peer;
    return socket.accept(peer);
  }
  bdAddr address() const { return bdAddr(bdInetAddr::getLoopback(), port); }

  bdStreamSocket socket;
  unsigned short port = 0;
};

}  // namespace bdtest
