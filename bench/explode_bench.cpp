// Explode throughput on typical pack contents (text, a bitmap-like image
// with runs, incompressible bytes) in both literal modes; bytes/s counts the
// exploded output. Implode is measured beside it for the pack builder.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "shell/dcl.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Io {
  const uint8_t* in;
  size_t left;
  Bytes* out;
};

unsigned Read(uint8_t* buffer, unsigned* size, void* param) {
  auto* io = static_cast<Io*>(param);
  const unsigned n = unsigned(*size < io->left ? *size : io->left);
  std::memcpy(buffer, io->in, n);
  io->in += n;
  io->left -= n;
  return n;
}

void Write(uint8_t* buffer, unsigned* size, void* param) {
  auto* io = static_cast<Io*>(param);
  io->out->insert(io->out->end(), buffer, buffer + *size);
}

// 1 MB of the given kind: 0 text, 1 image with runs, 2 random.
Bytes Sample(int kind) {
  std::mt19937 rng(42);
  Bytes d;
  d.reserve(1 << 20);
  static const char* words[] = {"the ",   "board ", "premium ", "square ", "tile ", "rack\r\n",
                                "Words ", "score ", "letter ",  "of ",     "and ",  "blank "};
  while (d.size() < (1u << 20)) {
    if (kind == 0) {
      for (const char* c = words[rng() % 12]; *c; ++c)
        d.push_back(uint8_t(*c));
    } else if (kind == 1) {
      const uint8_t colour = uint8_t(rng() % 16);
      d.insert(d.end(), 1 + rng() % 40, colour);
    } else {
      d.push_back(uint8_t(rng()));
    }
  }
  d.resize(1 << 20);
  return d;
}

Bytes Implode(const Bytes& in, unsigned mode) {
  auto work = std::make_unique<shell::ImplodeWork>();
  Bytes out;
  Io io{in.data(), in.size(), &out};
  shell::Implode(Read, Write, work.get(), &io, mode, 4096);
  return out;
}

void BM_Explode(benchmark::State& state) {
  const Bytes data = Sample(int(state.range(0)));
  const Bytes packed = Implode(data, unsigned(state.range(1)));
  auto work = std::make_unique<shell::ExplodeWork>();
  Bytes out;
  out.reserve(data.size());
  for (auto _ : state) {
    out.clear();
    Io io{packed.data(), packed.size(), &out};
    if (shell::Explode(Read, Write, work.get(), &io) != shell::kDclOk || out != data) {
      state.SkipWithError("round trip failed");
      break;
    }
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
  state.counters["ratio"] = double(packed.size()) / double(data.size());
}
BENCHMARK(BM_Explode)
    ->ArgNames({"kind", "ascii"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Unit(benchmark::kMillisecond);

void BM_Implode(benchmark::State& state) {
  const Bytes data = Sample(int(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(Implode(data, 0));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
}
BENCHMARK(BM_Implode)->ArgName("kind")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
