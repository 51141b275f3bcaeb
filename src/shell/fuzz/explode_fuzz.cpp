// Explode must take any stream without faults; and any input imploded with
// the mode and dictionary its first byte picks must explode back unchanged.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "shell/dcl.h"

namespace {

struct Io {
  const uint8_t* in;
  size_t left;
  std::vector<uint8_t> out;
};

unsigned Read(uint8_t* buffer, unsigned* size, void* param) {
  auto* io = static_cast<Io*>(param);
  const unsigned n = unsigned(*size < io->left ? *size : io->left);
  if (n) std::memcpy(buffer, io->in, n);
  io->in += n;
  io->left -= n;
  return n;
}

void Write(uint8_t* buffer, unsigned* size, void* param) {
  auto* io = static_cast<Io*>(param);
  io->out.insert(io->out.end(), buffer, buffer + *size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto explodeWork = std::make_unique<shell::ExplodeWork>();
  static auto implodeWork = std::make_unique<shell::ImplodeWork>();

  Io raw{data, size, {}};
  const int result = shell::Explode(Read, Write, explodeWork.get(), &raw);
  if (result < shell::kDclOk || result > shell::kDclAbort) std::abort();

  if (size == 0) return 0;
  const unsigned mode = data[0] & 1;
  const unsigned dict = 1024u << ((data[0] >> 1) % 3);
  Io plain{data + 1, size - 1, {}};
  if (shell::Implode(Read, Write, implodeWork.get(), &plain, mode, dict) != shell::kDclOk) {
    std::abort();
  }
  Io packed{plain.out.data(), plain.out.size(), {}};
  const int back = shell::Explode(Read, Write, explodeWork.get(), &packed);
  // An empty input implodes to 4 bytes, which explode refuses as too short.
  if (size == 1) return back == shell::kDclBadData ? 0 : (std::abort(), 0);
  if (back != shell::kDclOk || packed.out.size() != size - 1 ||
      std::memcmp(packed.out.data(), data + 1, size - 1) != 0) {
    std::abort();
  }
  return 0;
}
