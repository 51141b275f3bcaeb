#include "platform/crand.h"

#include <mutex>

namespace platform {
namespace {
std::mutex g_randLock;
CRand g_rand;
}  // namespace

void SeedRandom(uint32_t seed) {
  std::lock_guard<std::mutex> lock(g_randLock);
  g_rand.Seed(seed);
}

int Random() {
  std::lock_guard<std::mutex> lock(g_randLock);
  return g_rand.Next();
}

}  // namespace platform
