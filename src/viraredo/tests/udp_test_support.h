#pragma once
// Shared pieces for tests that drive UDP code without a network: a clock the
// test moves by hand, and a socket that keeps every datagram sent through it.
#include <cstdint>
#include <deque>
#include <vector>

#include "bdSocket/bdSocket.h"

namespace bdtest {

inline std::uint64_t g_now = 1;  // microseconds; each fixture sets its start
inline std::uint64_t fakeCounter() { return g_now; }
inline std::uint64_t fakeFrequency() { return 1000000; }

struct Datagram {
  bdAddr to;
  std::vector<unsigned char> bytes;
};

class RecordingSocket : public bdSocket {
 public:
  int sendTo(const bdAddr& addr, const void* data, unsigned int length) override {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    sent.push_back({addr, std::vector<unsigned char>(p, p + length)});
    return static_cast<int>(length);
  }
  // Everything sent so far, oldest first, leaving the record empty.
  std::vector<Datagram> take() {
    std::vector<Datagram> out(sent.begin(), sent.end());
    sent.clear();
    return out;
  }
  std::deque<Datagram> sent;
};

}  // namespace bdtest
