#include "Modules/Session/Src/Ticket.h"

#include "Modules/Session/Src/WireRead.h"

namespace OX_Toolbox {

namespace {
const std::uint8_t kMagic[4] = {'T', 'C', 'K', 'T'};
}

bool Ticket::serialize(Blob& blob) const {
  Blob out;
  bool ok = true;
  for (std::uint8_t c : kMagic)
    ok = ok && out.writeUInt8(out.getSize(), c);
  ok = ok && out.writeUInt8(out.getSize(), version) && out.writeUInt8(out.getSize(), flag) &&
       out.writeString(out.getSize(), first) && out.writeString(out.getSize(), second) &&
       out.writeBinaryBlock(out.getSize(), key.data(), static_cast<std::int32_t>(key.size())) &&
       out.writeUInt8(out.getSize(), extra) && out.writeInt64(out.getSize(), stamp);
  return ok && blob.insertBlob(blob.getSize(), out);
}

bool Ticket::deserialize(Blob& blob) {
  std::uint8_t magic[4] = {0, 0, 0, 0};
  for (std::uint8_t& c : magic) {
    if (!wire::read(blob, c)) return false;
  }
  for (int i = 0; i < 4; ++i) {
    if (magic[i] != kMagic[i]) return false;
  }
  std::uint8_t v = 0;
  std::uint8_t f = 0;
  if (!wire::read(blob, v) || !wire::read(blob, f)) return false;
  version = v;
  flag = f;
  if (version > kVersion || flag != 0) return false;
  // The rest is taken only whole: a ticket half from the stream and half
  // from before would pass for one the host never issued.
  String a;
  String b;
  SessionID k{};
  std::uint8_t e = 0;
  std::int64_t s = 0;
  if (!wire::read(blob, a) || !wire::read(blob, b) ||
      !wire::readBlock(blob, k.data(), static_cast<std::uint32_t>(k.size()), false) ||
      !wire::read(blob, e) || !wire::read(blob, s))
    return false;
  first = a;
  second = b;
  key = k;
  extra = e;
  stamp = s;
  return true;
}

}  // namespace OX_Toolbox
