#include <gtest/gtest.h>
#include <tomcrypt.h>
#include <tommath.h>

#include <cstdint>
#include <cstring>

#include "bd_test_support.h"
#include "bdCore/bdCore.h"
#include "bdCore/bdMemory/bdMallocMemory.h"
#include "bdCore/bdMemory/bdMemory.h"
#include "bdCore/bdUtilities/bdSingleton.h"

namespace {

using bdtest::CoreTest;

bool alignedTo(const void* p, std::size_t alignment) {
  return (reinterpret_cast<std::uintptr_t>(p) & (alignment - 1)) == 0;
}

// The fixture's log tree owns some blocks already; tests count from there.
class MemoryTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    baseCount = bdMallocMemory::getAllocationCount();
    baseBytes = bdMallocMemory::getTotalBytes();
  }
  std::size_t liveCount() const { return bdMallocMemory::getAllocationCount() - baseCount; }
  std::size_t liveBytes() const { return bdMallocMemory::getTotalBytes() - baseBytes; }
  std::size_t baseCount = 0;
  std::size_t baseBytes = 0;
};

TEST_F(MemoryTest, AllocationsAreCountedAlignedAndDistinct) {
  void* a = bdMemory::allocate(0);
  void* b = bdMemory::allocate(0);
  void* c = bdMemory::allocate(24);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_TRUE(alignedTo(c, 8));
  EXPECT_EQ(liveCount(), 3u);
  EXPECT_EQ(liveBytes(), 24u);
  void* d = bdMemory::alignedAllocate(10, 64);
  EXPECT_TRUE(alignedTo(d, 64));
  bdMemory::alignedDeallocate(d);
  bdMemory::deallocate(a);
  bdMemory::deallocate(b);
  bdMemory::deallocate(c);
  bdMemory::deallocate(nullptr);
  EXPECT_TRUE(log.messages.empty());
}

TEST_F(MemoryTest, ReallocateKeepsContentsAndMovesTheCount) {
  auto* p = static_cast<unsigned char*>(bdMemory::reallocate(nullptr, 4));
  std::memcpy(p, "abcd", 4);
  p = static_cast<unsigned char*>(bdMemory::reallocate(p, 100));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(std::memcmp(p, "abcd", 4), 0);
  EXPECT_EQ(liveBytes(), 100u);
  p = static_cast<unsigned char*>(bdMemory::alignedReallocate(p, 2, 32));
  EXPECT_TRUE(alignedTo(p, 32));
  EXPECT_EQ(std::memcmp(p, "ab", 2), 0);
  EXPECT_EQ(liveCount(), 1u);
  bdMemory::alignedDeallocate(p);
}

TEST_F(MemoryTest, MismatchedReleaseIsReportedAndStillFrees) {
  void* plain = bdMemory::allocate(16);
  bdMemory::alignedDeallocate(plain);
  EXPECT_TRUE(log.saw("allocated unaligned but is beign deallocated"));
  void* aligned = bdMemory::alignedAllocate(16, 16);
  bdMemory::deallocate(aligned);
  EXPECT_TRUE(log.saw("allocated as aligned but is beign deallocated"));
  EXPECT_EQ(liveCount(), 0u);
}

TEST_F(MemoryTest, DamagedMagicIsDetectedAndTheBlockNotFreed) {
  auto* block = static_cast<unsigned char*>(bdMemory::allocate(8));
  auto* header =
      reinterpret_cast<bdMallocMemory::bdMemoryChainElement*>(block - bdMallocMemory::HEADER_SIZE);
  EXPECT_EQ(header->m_magic, BD_MEMORY_MAGIC);
  bdtest::RecordingSubscriber channel;
  bdLogRegistry::getInstance()->addSubscriber("err/mallocmemory", &channel);
  header->m_magic = 0x1234;
  bdMemory::deallocate(block);
  EXPECT_TRUE(channel.saw(" BD_MEMORY_MAGIC is incorrect."));
  bdLogRegistry::getInstance()->removeSubscriber(&channel);
  EXPECT_EQ(liveCount(), 1u);  // refused, still accounted for
  header->m_magic = BD_MEMORY_MAGIC;
  bdMemory::deallocate(block);
  EXPECT_EQ(liveCount(), 0u);
}

TEST_F(MemoryTest, BadAlignmentIsRefused) {
  EXPECT_EQ(bdMallocMemory::alignedAllocate(8, 24), nullptr);
  EXPECT_TRUE(log.saw("alignment must a power of 2."));
  EXPECT_EQ(bdAlignedOffsetMalloc(8, 0, 0), nullptr);
}

TEST_F(MemoryTest, ClearedAllocationIsZeroAndRefusesOverflow) {
  auto* p = static_cast<unsigned char*>(bdMemory::allocateCleared(4, 8));
  for (int i = 0; i < 32; ++i)
    EXPECT_EQ(p[i], 0);
  bdMemory::deallocate(p);
  EXPECT_EQ(bdMemory::allocateCleared(SIZE_MAX / 2, 4), nullptr);
}

// The crypto and big-number libraries take their blocks through the hooks:
// they are counted while held, and one left behind is reported.
TEST(bdCoreLifecycle, CryptoLibrariesAllocateThroughTheHooks) {
  bdtest::debugOutput().clear();
  bdSetDebugHandlers([](const char* text) { bdtest::debugOutput() += text; }, [] {});
  bdCore::init(true);
  const std::size_t blocks = bdMallocMemory::getAllocationCount();
  mp_int a;
  ASSERT_EQ(mp_init_size(&a, 64), MP_OKAY);
  EXPECT_EQ(bdMallocMemory::getAllocationCount(), blocks + 1);
  EXPECT_GE(bdMallocMemory::getTotalBytes(), 64 * sizeof(mp_digit));
  ASSERT_EQ(mp_grow(&a, 256), MP_OKAY);  // realloc keeps one block
  EXPECT_EQ(bdMallocMemory::getAllocationCount(), blocks + 1);
  mp_clear(&a);
  EXPECT_EQ(bdMallocMemory::getAllocationCount(), blocks);

  hmac_state hmac;
  const unsigned char key[] = "key";
  ASSERT_EQ(hmac_init(&hmac, register_hash(&sha1_desc), key, 3), CRYPT_OK);
  EXPECT_GT(bdMallocMemory::getAllocationCount(), blocks);  // the padded key
  unsigned char mac[20];
  unsigned long macSize = sizeof mac;
  ASSERT_EQ(hmac_done(&hmac, mac, &macSize), CRYPT_OK);
  EXPECT_EQ(bdMallocMemory::getAllocationCount(), blocks);

  mp_int leaked;
  ASSERT_EQ(mp_init_size(&leaked, 8), MP_OKAY);
  bdCore::quit();
  EXPECT_NE(bdtest::debugOutput().find("VIRAREDO MEMORY LEAKS DETECTED"), std::string::npos);
  EXPECT_NE(bdtest::debugOutput().find("in 1 allocation(s)"), std::string::npos);
  bdMallocMemory::releaseAll();
  bdSetDebugHandlers(nullptr, nullptr);
}

TEST(bdCoreLifecycle, QuitReportsLeaksAndClearsHooks) {
  bdtest::debugOutput().clear();
  bdSetDebugHandlers([](const char* text) { bdtest::debugOutput() += text; }, [] {});
  bdCore::init(true);
  void* leaked = bdMemory::allocate(24);
  ASSERT_NE(leaked, nullptr);
  bdCore::quit();
  EXPECT_EQ(bdtest::debugOutput(),
            "********************************************\n"
            "*      VIRAREDO MEMORY LEAKS DETECTED      *\n"
            "********************************************\n"
            "24 Bytes leaked in 1 allocation(s)\n"
            "********************************************\n");
  EXPECT_EQ(bdMemory::getAllocateHook(), nullptr);
  EXPECT_EQ(bdMemory::allocate(8), nullptr);
  bdMallocMemory::releaseAll();
  // A second quit changes nothing.
  bdCore::quit();
  EXPECT_FALSE(bdCore::isInitialized());
  bdSetDebugHandlers(nullptr, nullptr);
}

// Host routines as the toolbox installs them: they count what they serve.
int g_hostAllocations = 0;
void* hostAllocate(std::size_t size) {
  ++g_hostAllocations;
  return bdMallocMemory::allocate(size);
}

TEST(bdCoreLifecycle, HostAllocatorIsUsedWithInitFalse) {
  bdCore::init(false);
  EXPECT_EQ(bdMemory::allocate(8), nullptr);  // no hooks yet
  bdMemory::setAllocateHook(&hostAllocate);
  bdMemory::setDeallocateHook(&bdMallocMemory::deallocate);
  void* p = bdMemory::allocate(8);
  EXPECT_NE(p, nullptr);
  EXPECT_EQ(g_hostAllocations, 1);
  bdMemory::deallocate(p);
  // A second init while running changes nothing: the host's hook stays.
  bdCore::init(true);
  EXPECT_EQ(bdMemory::getAllocateHook(), &hostAllocate);
  bdCore::quit();
  EXPECT_EQ(bdMemory::getDeallocateHook(), nullptr);
}

struct Tracked {
  Tracked() { order().push_back(id = next()++); }
  ~Tracked() { destroyed().push_back(id); }
  static int& next() {
    static int n = 0;
    return n;
  }
  static std::vector<int>& order() {
    static std::vector<int> v;
    return v;
  }
  static std::vector<int>& destroyed() {
    static std::vector<int> v;
    return v;
  }
  int id;
};
struct First : Tracked {};
struct Second : Tracked {};

TEST(bdCoreLifecycle, SingletonsDieNewestFirstAndAreRefusedDuringShutdown) {
  Tracked::destroyed().clear();
  int stops = 0;
  static int* s_stops = &stops;
  bdSetDebugHandlers([](const char*) {}, [] { ++*s_stops; });
  bdCore::init(true);
  First* a = bdSingleton<First>::getInstance();
  Second* b = bdSingleton<Second>::getInstance();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(bdSingleton<First>::getInstance(), a);
  const int idA = a->id;
  const int idB = b->id;
  bdSingletonRegistry::getInstance().cleanUp();
  EXPECT_EQ(Tracked::destroyed(), (std::vector<int>{idB, idA}));
  EXPECT_EQ(bdSingleton<First>::getInstance(), nullptr);
  EXPECT_EQ(stops, 1);
  bdCore::quit();
  EXPECT_EQ(bdMallocMemory::getTotalBytes(), 0u);
  bdSetDebugHandlers(nullptr, nullptr);
}

}  // namespace
