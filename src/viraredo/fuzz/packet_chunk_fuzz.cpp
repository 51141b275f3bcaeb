// Reads arbitrary bytes as a connection packet. Every chunk must stay inside
// the bytes given, and the chunks read must make a packet again whose
// reading gives the same chunks.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bdPacket/bdDataChunk.h"
#include "bdPacket/bdPacket.h"
#include "bdWindow/bdReliableReceiveWindow.h"
#include "bdWindow/bdUnreliableReceiveWindow.h"
#include "fuzz_core.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzStartCore();
  if (size > 1328) return 0;
  bdPacket packet;
  if (!packet.deserialize(data, static_cast<unsigned int>(size))) return 0;
  FUZZ_CHECK(packet.getChunkCount() <= bdPacket::MAX_CHUNKS);

  // Into the windows, as a connection would hand them.
  bdReliableReceiveWindow reliable;
  bdUnreliableReceiveWindow unreliable;
  std::vector<bdReference<bdChunk>> chunks;
  bdReference<bdChunk> chunk;
  while (packet.getNextChunk(chunk)) {
    chunks.push_back(chunk);
    if (chunk->getType() != BD_CT_DATA) continue;
    bdReference<bdDataChunk> d(static_cast<bdDataChunk*>(chunk.get()));
    if (d->isUnreliable()) {
      unreliable.add(d);
    } else {
      reliable.add(d);
    }
  }
  unsigned int delivered = 0;
  while (reliable.getNextToRead().notNull())
    ++delivered;
  while (unreliable.getNextToRead().notNull())
    ++delivered;
  FUZZ_CHECK(delivered <= chunks.size());

  // Written again (each chunk that still fits), the packet reads back.
  bdPacket again(packet.getVerificationTag(), 1328);
  unsigned int added = 0;
  for (const auto& c : chunks)
    added += again.addChunk(c) ? 1 : 0;
  std::vector<unsigned char> bytes(1328);
  const unsigned int n = again.serialize(bytes.data(), 1328);
  if (added == 0) return 0;  // an empty packet is never sent, and never read
  FUZZ_CHECK(n > 0);
  bdPacket back;
  FUZZ_CHECK(back.deserialize(bytes.data(), n));
  FUZZ_CHECK(back.getChunkCount() == added);
  return 0;
}
