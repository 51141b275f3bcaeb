#include "Modules/Session/Src/SessionTypes.h"
#include "Modules/Session/Src/WireRead.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdSocket/bdCommonAddr.h"

namespace OX_Toolbox {

bool PeerAddress::serialize(Blob& blob) const {
  const std::uint32_t end = blob.getSize();
  return blob.writeString(end, text) && blob.writeUInt16(blob.getSize(), port) &&
         blob.writeBinaryBlock(blob.getSize(), commonAddr.data(), kCommonAddrSize) &&
         blob.writeBinaryBlock(blob.getSize(), key.data(), static_cast<std::int32_t>(key.size()));
}

bool PeerAddress::deserialize(Blob& blob) {
  PeerAddress got;
  if (!wire::read(blob, got.text) || !wire::read(blob, got.port) ||
      !wire::readBlock(blob, got.commonAddr.data(), kCommonAddrSize, true) ||
      !wire::readBlock(blob, got.key.data(), static_cast<std::uint32_t>(got.key.size()), true))
    return false;
  bool set = false;
  for (std::uint8_t byte : got.commonAddr)
    set = set || byte != 0;
  if (set) {
    bdCommonAddr common;
    if (!common.deserialize(bdReference<bdCommonAddr>(), got.commonAddr.data(), kCommonAddrSize))
      return false;
    const bdAddr& pub = common.getPublicAddr();
    char dotted[22] = {0};
    pub.getAddress().toString(dotted, sizeof dotted);
    got.text.assignNarrow(dotted);
    got.port = pub.getPort();
  }
  *this = got;
  return true;
}

PeerAddress ToPeerAddress(bdCommonAddr& common, const SessionID& key) {
  PeerAddress a;
  common.serialize(a.commonAddr.data(), PeerAddress::kCommonAddrSize);
  const bdAddr& shown = common.getPublicAddr().isValid() || common.getLocalAddrs().getSize() == 0
                            ? common.getPublicAddr()
                            : common.getLocalAddr(0);
  char dotted[22] = {0};
  shown.getAddress().toString(dotted, sizeof dotted);
  a.text.assignNarrow(dotted);
  a.port = shown.getPort();
  a.key = key;
  return a;
}

}  // namespace OX_Toolbox
