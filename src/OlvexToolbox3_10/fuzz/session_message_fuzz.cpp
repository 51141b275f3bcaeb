// Runs the session message decoder over arbitrary bytes in both blob modes:
// no read may step outside the data, and every message it accepts is written
// again and reads back as itself. Texts are compared after one round:
// surrogates have no UTF-8 form and are dropped on the first way out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "Modules/Session/Src/SessionMessageDecoder.h"

using namespace OX_Toolbox;

namespace {

void check(Blob& in) {
  std::unique_ptr<SessionMessage> m = decodeSessionMessage(in);
  if (!m) return;
  Blob out;
  if (!m->serialize(out)) std::abort();
  std::unique_ptr<SessionMessage> once = decodeSessionMessage(out);
  if (!once || once->getType() != m->getType() || out.getSize() != 0) std::abort();
  Blob first;
  if (!once->serialize(first)) std::abort();
  Blob copy(first);
  std::unique_ptr<SessionMessage> again = decodeSessionMessage(copy);
  Blob second;
  if (!again || !again->serialize(second)) std::abort();
  if (first.getSize() != second.getSize() ||
      std::memcmp(first.getData(), second.getData(), first.getSize()) != 0)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 65536) return 0;
  const auto n = static_cast<std::uint32_t>(size);
  Blob readOnly(data, n, BLOB_READONLY);
  check(readOnly);
  if (readOnly.getCursor() > n) std::abort();
  Blob writable(data, n, BLOB_EXTRACT_AND_WRITE_ENABLED);
  check(writable);
  if (writable.getSize() > n) std::abort();
  return 0;
}
