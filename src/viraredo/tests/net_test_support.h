#pragma once
// Peers for tests of the network façade: one façade on a loopback port, a
// dispatch interceptor and a connection listener that record what arrives,
// and a socket that loses, duplicates and reorders what it sends.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <cstdlib>
#else
#include <unistd.h>
#endif

#include "bdConnectionStore/bdConnectionStore.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdNet/bdNetImpl.h"
#include "bdSocket/bdSocket.h"

namespace bdtest {

struct LinkFaults {
  int lossPercent;
  int duplicatePercent;
  int reorderPercent;
};

// A real UDP socket whose sends pass through a seeded faulty link: a datagram
// may be dropped, sent twice, or held back and sent after the next one.
class FaultySocket : public bdSocket {
 public:
  FaultySocket(const LinkFaults& faults, unsigned int seed) : m_faults(faults), m_random(seed) {
    create(true);
  }
  int sendTo(const bdAddr& addr, const void* data, unsigned int length) override {
    ++sends;
    if (roll() < m_faults.lossPercent) {
      ++dropped;
      return static_cast<int>(length);
    }
    const unsigned char* p = static_cast<const unsigned char*>(data);
    if (m_held.empty() && roll() < m_faults.reorderPercent) {
      m_held.assign(p, p + length);
      m_heldTo = addr;
      return static_cast<int>(length);
    }
    const int sent = bdSocket::sendTo(addr, data, length);
    if (roll() < m_faults.duplicatePercent) bdSocket::sendTo(addr, data, length);
    if (!m_held.empty()) {
      bdSocket::sendTo(m_heldTo, m_held.data(), static_cast<unsigned int>(m_held.size()));
      m_held.clear();
    }
    return sent;
  }
  unsigned int sends = 0;
  unsigned int dropped = 0;

 private:
  int roll() { return static_cast<int>(m_random() % 100); }
  LinkFaults m_faults;
  std::mt19937 m_random;
  std::vector<unsigned char> m_held;
  bdAddr m_heldTo;
};

class RecordingInterceptor : public bdDispatchInterceptor {
 public:
  bool accept(const bdDispatchItem& item) override {
    Received r;
    r.type = item.m_message->getType();
    r.connection = item.m_connection.get();
    bdReference<bdBitBuffer> payload = item.m_message->getPayload();
    std::uint32_t value = 0;
    r.valid = payload->readUInt32(value);
    r.value = value;
    received.push_back(r);
    return true;
  }
  struct Received {
    unsigned char type;
    bdConnection* connection;
    bool valid;
    std::uint32_t value;
  };
  std::vector<Received> received;
};

class RecordingListener : public bdConnectionListener {
 public:
  void onConnect(bdReference<bdConnection> c) override {
    events.push_back("connect");
    last = c.get();
  }
  void onConnectFailed(bdReference<bdConnection>) override { events.push_back("connect failed"); }
  void onDisconnect(bdReference<bdConnection>) override { events.push_back("disconnect"); }
  void onReconnect(bdReference<bdConnection>) override { events.push_back("reconnect"); }
  std::vector<std::string> events;
  bdConnection* last = nullptr;  // the connection last connected
};

// Message types the tests send: reliable and unreliable.
constexpr unsigned char kReliable = 20;
constexpr unsigned char kUnreliable = 21;

inline bdReference<bdMessage> numbered(unsigned char type, std::uint32_t value,
                                       unsigned int padding = 0) {
  bdReference<bdMessage> m(new bdMessage(type, true));
  m->getPayload()->writeUInt32(value);
  if (padding > 0) {
    std::vector<unsigned char> bytes(padding, 0x5A);
    m->getPayload()->writeBlob(bytes.data(), padding);
  }
  return m;
}

struct FacadePeer {
  // The façade's stop tells the recorders about closing connections.
  ~FacadePeer() { net.stop(); }
  // Starts on any free port of 127.0.0.1, through socket when one is given.
  bool start(bdSocket* socket = nullptr) {
    bdNetStartParams params;
    params.m_port = 0;
    params.m_socket = socket;
    params.m_localAddresses.pushBack(bdInetAddr::getLoopback());
    if (!net.start(params)) return false;
    net.registerDispatchInterceptor(&inbox);
    if (net.getConnectionStore() != nullptr) net.getConnectionStore()->registerListener(&events);
    return net.getStatus() == bdNetImpl::BD_NET_STARTED;
  }
  void trust(const bdSecurityID& id, const bdSecurityKey& key) {
    net.getSecurityKeyMap()->put(id, key);
  }
  void update() {
    net.pump();
    net.sendAll();
    net.receiveAndDispatchAll();
  }
  // This peer's common address as another peer reads it off the wire.
  bdReference<bdCommonAddr> seenBy(const FacadePeer& other) const {
    unsigned char wire[bdCommonAddr::SERIALIZED_SIZE];
    EXPECT_TRUE(net.getLocalCommonAddr()->serialize(wire, sizeof wire));
    bdReference<bdCommonAddr> addr(new bdCommonAddr());
    EXPECT_TRUE(addr->deserialize(other.net.getLocalCommonAddr(), wire, sizeof wire));
    return addr;
  }
  std::vector<std::uint32_t> values(unsigned char type) const {
    std::vector<std::uint32_t> out;
    for (const auto& r : inbox.received) {
      if (r.type == type && r.valid) out.push_back(r.value);
    }
    return out;
  }

  bdNetImpl net;
  RecordingInterceptor inbox;
  RecordingListener events;
};

// Sends on c, updating both peers while its send window is full; false when
// it stays full.
inline bool sendPaced(FacadePeer& a, FacadePeer& b, bdReference<bdConnection> c,
                      bdReference<bdMessage> m, bool reliable) {
  for (int i = 0; i < 5000; ++i) {
    if (c->send(m, reliable)) return true;
    a.update();
    b.update();
    bdPlatformTiming::sleep(1);
  }
  return false;
}

// Updates both peers (sleeping a millisecond between rounds) until done()
// holds or the rounds run out; true when done() held.
template <typename Done>
bool updateUntil(FacadePeer& a, FacadePeer& b, Done done, int rounds = 5000) {
  for (int i = 0; i < rounds; ++i) {
    a.update();
    b.update();
    if (done()) return true;
    bdPlatformTiming::sleep(1);
  }
  return false;
}

// This test program's own path, to run it again as the second process of a
// two-process test.
inline std::string SelfPath() {
#ifdef _WIN32
  return _pgmptr;
#else
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return std::string(path, n > 0 ? static_cast<size_t>(n) : 0);
#endif
}

// The key material both processes of a two-process test hold.
inline void FixedKeys(bdSecurityID& id, bdSecurityKey& key) {
  for (unsigned int i = 0; i < bdSecurityID::SIZE; ++i)
    id.ab[i] = static_cast<unsigned char>(0x30 + i);
  for (unsigned int i = 0; i < bdSecurityKey::SIZE; ++i)
    key.ab[i] = static_cast<unsigned char>(0x70 + i);
}

}  // namespace bdtest
