// Runs the join-ticket reader over arbitrary bytes: no read may step outside
// the data, and a ticket read whole is written and read back as itself
// (after one round: surrogates have no UTF-8 form and are dropped on the
// first way out).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "Modules/Session/Src/Ticket.h"

using namespace OX_Toolbox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 65536) return 0;
  const auto n = static_cast<std::uint32_t>(size);
  Blob in(data, n, BLOB_READONLY);
  Ticket t;
  const bool whole = t.deserialize(in);
  if (in.getCursor() > n) std::abort();
  if (!whole) return 0;
  Blob out;
  if (!t.serialize(out)) std::abort();
  Ticket once;
  if (!once.deserialize(out) || out.getSize() != 0) std::abort();
  Blob again;
  if (!once.serialize(again)) std::abort();
  Ticket back;
  if (!back.deserialize(again) || !(back == once)) std::abort();
  return 0;
}
