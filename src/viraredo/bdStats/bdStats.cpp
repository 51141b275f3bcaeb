#include "bdStats/bdStats.h"

#include "bdCore/bdLog/bdLog.h"

void bdStats::writeRecords(bdBitBuffer& buffer, bdStatsInfo** stats, const unsigned int count) {
  if (stats == nullptr || count == 0 || stats[0] == nullptr) return;
  const std::int32_t columns = static_cast<std::int32_t>(stats[0]->getNumColumns() + 1);
  buffer.writeInt32(columns);
  for (unsigned int i = 0; i < count; ++i) {
    if (stats[i] == nullptr ||
        static_cast<std::int32_t>(stats[i]->getNumColumns() + 1) != columns) {
      bdAssertMsg("Different classes are being for the same write to a single leaderboard!");
      continue;
    }
    buffer.writeUInt64(stats[i]->getEntityID());
    stats[i]->serialize(buffer);
  }
}

bdRemoteTaskRef bdStats::writeMultipleStats(const unsigned char index,
                                            const unsigned int leaderboardID,
                                            const bdWriteType writeType, bdStatsInfo** stats,
                                            const unsigned int count) {
  bdReference<bdBitBuffer> buffer(new bdBitBuffer(0, true));
  buffer->writeUChar8(index);
  buffer->writeUChar8(writeType);
  buffer->writeInt32(static_cast<std::int32_t>(leaderboardID));
  buffer->writeInt32(static_cast<std::int32_t>(count));
  writeRecords(*buffer, stats, count);
  return startWritten(7, buffer);
}

bdRemoteTaskRef bdStats::writeArbitratedStats(const unsigned int leaderboardID,
                                              const bdSecurityID& sessionID,
                                              const std::uint64_t sessionValue,
                                              const bdWriteType writeType, bdStatsInfo** stats,
                                              const unsigned int count) {
  bdReference<bdBitBuffer> buffer(new bdBitBuffer(0, true));
  buffer->writeUChar8(0);
  buffer->writeUChar8(writeType);
  buffer->writeInt32(static_cast<std::int32_t>(leaderboardID));
  buffer->writeBlob(sessionID.ab, bdSecurityID::SIZE);
  buffer->writeUInt64(sessionValue);
  buffer->writeInt32(static_cast<std::int32_t>(count));
  writeRecords(*buffer, stats, count);
  return startWritten(9, buffer);
}

bdRemoteTaskRef bdStats::readStatsByEntityIDs(const unsigned int leaderboardID,
                                              const std::uint64_t* entityIDs,
                                              const unsigned int count) {
  bdReference<bdBitBuffer> buffer(new bdBitBuffer(0, true));
  buffer->writeUChar8(0);
  buffer->writeInt32(static_cast<std::int32_t>(leaderboardID));
  const unsigned int n = entityIDs != nullptr ? count : 0;
  buffer->writeUInt32(n);
  for (unsigned int i = 0; i < n; ++i)
    buffer->writeUInt64(entityIDs[i]);
  return startWritten(4, buffer);
}

bdReplyKind bdStats::replyKind(unsigned char opID) {
  if (opID < 1 || opID > 9) {
    bdLogWarn("warn", "returned operations opID doesn't match existing opIDs");
  }
  return bdLobbyServiceObject::replyKind(opID);
}
