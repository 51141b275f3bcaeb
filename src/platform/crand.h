#pragma once
// The C library random generator exactly as the program has always used it
// (the Microsoft C runtime's linear congruential generator, RAND_MAX 32767),
// so that seeded shuffles and draws repeat bit for bit in both builds.
#include <cstdint>

namespace platform {

constexpr int kRandMax = 32767;

class CRand {
 public:
  explicit CRand(uint32_t seed = 1) : state_(seed) {}
  void Seed(uint32_t seed) { state_ = seed; }
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7fff);
  }

 private:
  uint32_t state_;
};

// The process-wide generator (srand/rand). Seeded once at start-up from the
// clock; tests seed it explicitly.
void SeedRandom(uint32_t seed);
int Random();

}  // namespace platform
