#pragma once
// Leaderboards. Besides the catalogue's tasks: the two stats writes, whose
// records must all be of one class, and the read of a list of entities.
#include "bdLobbyCommon/bdLobbyRecords.h"
#include "bdLobbyService/bdLobbyServiceObject.h"

class bdStats : public bdLobbyServiceObject {
 public:
  enum bdWriteType : unsigned char { BD_STATS_REPLACE = 0, BD_STATS_ADD = 1, BD_STATS_MAX = 2 };

  explicit bdStats(bdRemoteTaskManager* taskManager)
      : bdLobbyServiceObject(BD_STATS_SERVICE, taskManager) {}

  bdRemoteTaskRef writeMultipleStats(const unsigned char index, const unsigned int leaderboardID,
                                     const bdWriteType writeType, bdStatsInfo** stats,
                                     const unsigned int count);
  bdRemoteTaskRef writeArbitratedStats(const unsigned int leaderboardID,
                                       const bdSecurityID& sessionID,
                                       const std::uint64_t sessionValue,
                                       const bdWriteType writeType, bdStatsInfo** stats,
                                       const unsigned int count);
  // Task 4: count entity ids after the leaderboard id.
  bdRemoteTaskRef readStatsByEntityIDs(const unsigned int leaderboardID,
                                       const std::uint64_t* entityIDs, const unsigned int count);

 protected:
  bdReplyKind replyKind(unsigned char opID) override;

 private:
  static void writeRecords(bdBitBuffer& buffer, bdStatsInfo** stats, const unsigned int count);
};
