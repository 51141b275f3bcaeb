// Host-name lookup on its worker thread: real look-ups of this machine's own
// names, and a resolver that hangs, which must never hold up the caller.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdGetHostByName/bdGetHostByName.h"
#include "bd_test_support.h"
#include "udp_test_support.h"

namespace {

using bdtest::g_now;

// Polls on the real clock until the lookup leaves the pending state.
bdGetHostByName::bdStatus waitForResult(bdGetHostByName& lookup) {
  for (int i = 0; i < 2000; ++i) {
    const bdGetHostByName::bdStatus status = lookup.getStatus();
    if (status != bdGetHostByName::BD_LOOKUP_PENDING) return status;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return bdGetHostByName::BD_LOOKUP_PENDING;
}

// A resolver that answers only when the test lets it, with six addresses.
struct Gate {
  std::mutex mutex;
  std::condition_variable changed;
  bool open = false;
  std::atomic<int> calls{0};
};
Gate* g_gate = nullptr;

unsigned int gatedResolver(const char*, bdInetAddr* addresses, unsigned int) {
  ++g_gate->calls;
  std::unique_lock<std::mutex> lock(g_gate->mutex);
  g_gate->changed.wait(lock, [] { return g_gate->open; });
  // Ignores the room it was given; the lookup keeps only four.
  for (unsigned char i = 0; i < 4; ++i)
    addresses[i] = bdInetAddr::fromBytes(10, 0, 0, static_cast<unsigned char>(i + 1));
  return 6;
}

// Tells the test when its worker has finished with the object.
class WatchedLookup : public bdGetHostByName {
 public:
  explicit WatchedLookup(Resolver resolver) : bdGetHostByName(resolver) {}
  int run(void* args) override {
    const int result = bdGetHostByName::run(args);
    finished = true;
    return result;
  }
  std::atomic<bool> finished{false};
};

class HostLookup : public bdtest::CoreTest {
 protected:
  void SetUp() override {
    bdtest::CoreTest::SetUp();
    g_gate = &gate;
  }
  void TearDown() override {
    openGate();
    g_gate = nullptr;
    bdPlatformTiming::setClock(nullptr, nullptr);
    bdtest::CoreTest::TearDown();
  }
  void useFakeClock() {
    g_now = 1;
    bdPlatformTiming::setClock(bdtest::fakeCounter, bdtest::fakeFrequency);
  }
  void openGate() {
    std::lock_guard<std::mutex> lock(gate.mutex);
    gate.open = true;
    gate.changed.notify_all();
  }
  Gate gate;
};

TEST_F(HostLookup, ResolvesLocalNamesAndDottedAddresses) {
  struct Case {
    const char* name;
    bool loopbackOnly;
  };
  for (const Case& c :
       {Case{"localhost", true}, Case{"127.0.0.1", true}, Case{"10.9.8.7", false}}) {
    SCOPED_TRACE(c.name);
    bdGetHostByName lookup;
    ASSERT_TRUE(lookup.start(c.name, 20.0f));
    ASSERT_EQ(waitForResult(lookup), bdGetHostByName::BD_LOOKUP_SUCCEEDED);
    ASSERT_GE(lookup.getNumAddresses(), 1u);
    ASSERT_LE(lookup.getNumAddresses(), bdGetHostByName::MAX_RESULTS);
    if (c.loopbackOnly) {
      EXPECT_EQ(lookup.getAddress(0).getByte(0), 127);
    } else {
      EXPECT_EQ(lookup.getNumAddresses(), 1u);
      EXPECT_EQ(lookup.getAddress(0), bdInetAddr::fromBytes(10, 9, 8, 7));
    }
  }
}

TEST_F(HostLookup, UnresolvableTextFailsWithoutAddresses) {
  for (const char* name : {"1.2.3", "300.1.1.1", ""}) {
    SCOPED_TRACE(name);
    bdGetHostByName lookup;
    lookup.start(name, 20.0f);
    EXPECT_EQ(waitForResult(lookup), bdGetHostByName::BD_LOOKUP_FAILED);
    EXPECT_EQ(lookup.getNumAddresses(), 0u);
    EXPECT_FALSE(log.saw("timed out"));
  }
}

TEST_F(HostLookup, AHangingResolverTimesOutAtTheFirstPollAfterTheLimit) {
  useFakeClock();
  WatchedLookup lookup(&gatedResolver);
  ASSERT_TRUE(lookup.start("slow.example", 0.5f));
  // A second lookup is refused while the first is pending.
  EXPECT_FALSE(lookup.start("other.example", 0.5f));
  g_now += 500000;  // exactly the limit: not yet over it
  EXPECT_EQ(lookup.getStatus(), bdGetHostByName::BD_LOOKUP_PENDING);
  EXPECT_FALSE(log.saw("timed out"));
  g_now += 1;
  EXPECT_EQ(lookup.getStatus(), bdGetHostByName::BD_LOOKUP_FAILED);
  EXPECT_TRUE(log.saw("getHostByName timed out"));
  EXPECT_EQ(lookup.getStatus(), bdGetHostByName::BD_LOOKUP_FAILED);

  // The late answer does not turn the failure into a success.
  openGate();
  for (int i = 0; i < 2000 && !lookup.finished; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_TRUE(lookup.finished);
  EXPECT_EQ(lookup.getStatus(), bdGetHostByName::BD_LOOKUP_FAILED);
  EXPECT_EQ(lookup.getNumAddresses(), 0u);
  EXPECT_EQ(gate.calls, 1);
}

TEST_F(HostLookup, AResolverReturningTooManyAddressesYieldsFour) {
  useFakeClock();
  openGate();
  WatchedLookup lookup(&gatedResolver);
  ASSERT_TRUE(lookup.start("many.example", 5.0f));
  for (int i = 0; i < 2000 && !lookup.finished; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_EQ(lookup.getStatus(), bdGetHostByName::BD_LOOKUP_SUCCEEDED);
  ASSERT_EQ(lookup.getNumAddresses(), 4u);
  EXPECT_EQ(lookup.getAddress(3), bdInetAddr::fromBytes(10, 0, 0, 4));
  EXPECT_FALSE(lookup.getAddress(4).isValid());
}

TEST_F(HostLookup, DeletingWaitsForAResolverStillRunning) {
  useFakeClock();
  auto* lookup = new bdGetHostByName(&gatedResolver);
  ASSERT_TRUE(lookup->start("slow.example", 0.0f));
  g_now += 1;
  EXPECT_EQ(lookup->getStatus(), bdGetHostByName::BD_LOOKUP_FAILED);
  while (gate.calls == 0)
    std::this_thread::yield();
  std::atomic<bool> deleted{false};
  std::thread deleter([&] {
    delete lookup;
    deleted = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(deleted);
  openGate();
  deleter.join();
  EXPECT_TRUE(deleted);
}

}  // namespace
