// Two network façades in one process and one thread, over loopback UDP with
// the secured associations on: reliable message throughput for 64- and
// 1,000-byte messages on a clean link, with 10% loss, and with 10% loss and
// 10% duplication (faults made by the sending socket); and the round trip
// of a 64-byte reliable ping-pong (median and 99th percentile).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "bdConnectionStore/bdConnectionStore.h"
#include "bdCore/bdCore.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdNet/bdNetImpl.h"

namespace {

const unsigned char kType = 30;

void startCore() {
  static bool started = false;
  if (!started) {
    bdCore::init(true);
    started = true;
  }
}

// Drops and duplicates what it sends, from a fixed seed.
class FaultySocket : public bdSocket {
 public:
  FaultySocket(int lossPercent, int duplicatePercent, unsigned int seed)
      : m_loss(lossPercent), m_duplicate(duplicatePercent), m_random(seed) {
    create(true);
  }
  int sendTo(const bdAddr& addr, const void* data, unsigned int length) override {
    if (roll() < m_loss) return static_cast<int>(length);
    const int sent = bdSocket::sendTo(addr, data, length);
    if (roll() < m_duplicate) bdSocket::sendTo(addr, data, length);
    return sent;
  }

 private:
  int roll() { return static_cast<int>(m_random() % 100); }
  int m_loss;
  int m_duplicate;
  std::mt19937 m_random;
};

class Counter : public bdDispatchInterceptor {
 public:
  bool accept(const bdDispatchItem& item) override {
    ++received;
    last = item.m_connection.get();
    return true;
  }
  std::uint64_t received = 0;
  bdConnection* last = nullptr;
};

struct Peer {
  explicit Peer(bdSocket* socket) {
    bdNetStartParams params;
    params.m_port = 0;
    params.m_socket = socket;
    params.m_localAddresses.pushBack(bdInetAddr::getLoopback());
    started = net.start(params) && net.getStatus() == bdNetImpl::BD_NET_STARTED;
    net.registerDispatchInterceptor(&inbox);
  }
  ~Peer() {
    connection = nullptr;
    net.stop();
  }
  void update() {
    net.sendAll();
    net.receiveAndDispatchAll();
  }
  bdReference<bdCommonAddr> seenBy(const Peer& other) const {
    unsigned char wire[bdCommonAddr::SERIALIZED_SIZE];
    net.getLocalCommonAddr()->serialize(wire, sizeof wire);
    bdReference<bdCommonAddr> addr(new bdCommonAddr());
    addr->deserialize(other.net.getLocalCommonAddr(), wire, sizeof wire);
    return addr;
  }
  bdNetImpl net;
  Counter inbox;
  bdReference<bdConnection> connection;
  bool started = false;
};

// Two connected peers; each holds its end of the connection.
struct Pair {
  Pair(bdSocket* aSocket, bdSocket* bSocket) : a(aSocket), b(bSocket) {
    if (!a.started || !b.started) return;
    bdSecurityID id;
    bdSecurityKey key;
    a.net.getSecurityKeyMap()->create(id, key);
    a.net.getSecurityKeyMap()->put(id, key);
    b.net.getSecurityKeyMap()->put(id, key);
    a.connection = a.net.getConnectionStore()->create(b.seenBy(a), id);
    a.connection->connect();
    for (int i = 0; i < 200000 && !connected(); ++i)
      updateBoth();
    if (connected()) b.connection = b.net.getConnectionStore()->create(a.seenBy(b), id);
  }
  bool connected() {
    return a.connection->getStatus() == bdConnection::BD_CONNECTED &&
           b.net.getConnectionStore()->getConnectionCount() == 1;
  }
  bool ready() const { return b.connection.notNull(); }
  void updateBoth() {
    a.update();
    b.update();
  }
  Peer a;
  Peer b;
};

bdReference<bdMessage> message(const std::vector<unsigned char>& body) {
  bdReference<bdMessage> m(new bdMessage(kType, false));
  m->getPayload()->writeBits(body.data(), static_cast<unsigned int>(body.size() * 8));
  return m;
}

// Arguments: message bytes, loss percent, duplication percent.
void BM_ReliableThroughput(benchmark::State& state) {
  startCore();
  const unsigned int size = static_cast<unsigned int>(state.range(0));
  const int loss = static_cast<int>(state.range(1));
  const int duplicate = static_cast<int>(state.range(2));
  const std::uint64_t batch = size <= 64 ? 4000 : 1000;
  Pair pair(new FaultySocket(loss, duplicate, 11), new FaultySocket(loss, duplicate, 22));
  if (!pair.ready()) {
    state.SkipWithError("peers did not connect");
    return;
  }
  const std::vector<unsigned char> body(size, 0x5A);
  std::uint64_t target = 0;
  for (auto _ : state) {
    target += batch;
    std::uint64_t queued = 0;
    std::uint64_t rounds = 0;
    while (pair.b.inbox.received < target && rounds++ < 50000000) {
      while (queued < batch && pair.a.connection->send(message(body), true))
        ++queued;
      pair.updateBoth();
    }
    if (pair.b.inbox.received < target) {
      state.SkipWithError("messages did not arrive");
      return;
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(target));
  state.SetBytesProcessed(static_cast<std::int64_t>(target * size));
}

void BM_PingPong64(benchmark::State& state) {
  startCore();
  Pair pair(new FaultySocket(0, 0, 1), new FaultySocket(0, 0, 2));
  if (!pair.ready()) {
    state.SkipWithError("peers did not connect");
    return;
  }
  const std::vector<unsigned char> body(64, 0x33);
  std::vector<double> trips;
  const std::uint64_t frequency = bdPlatformTiming::getFrequency();
  for (auto _ : state) {
    const std::uint64_t start = bdPlatformTiming::getHiResTimeStamp();
    const std::uint64_t atB = pair.b.inbox.received + 1;
    const std::uint64_t atA = pair.a.inbox.received + 1;
    pair.a.connection->send(message(body), true);
    while (pair.b.inbox.received < atB)
      pair.updateBoth();
    pair.b.connection->send(message(body), true);
    while (pair.a.inbox.received < atA)
      pair.updateBoth();
    trips.push_back(static_cast<double>(bdPlatformTiming::getHiResTimeStamp() - start) * 1e6 /
                    static_cast<double>(frequency));
  }
  std::sort(trips.begin(), trips.end());
  if (!trips.empty()) {
    state.counters["median_us"] = trips[trips.size() / 2];
    state.counters["p99_us"] = trips[std::min(trips.size() - 1, trips.size() * 99 / 100)];
  }
}

BENCHMARK(BM_ReliableThroughput)
    ->ArgNames({"bytes", "loss", "dup"})
    ->Args({64, 0, 0})
    ->Args({64, 10, 0})
    ->Args({64, 10, 10})
    ->Args({1000, 0, 0})
    ->Args({1000, 10, 0})
    ->Args({1000, 10, 10})
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PingPong64)->Iterations(20000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
