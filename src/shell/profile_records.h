#pragma once
// The records a user profile carries: eight statistics blocks (one per kind
// of play) and the list of opponents met. Both are stored field by field in
// the ".usr" file (profile_file.cpp); the in-memory structs need not match
// the file's byte layout.
#include <cstdint>

namespace shell {

// The block a game counts in.
enum StatsBlock : int {
  kStatsClassic2 = 0,       // standard game, two players, local or LAN
  kStatsClassicMulti = 1,   // standard game, three or four players
  kStatsDuplicate = 2,      // duplicate game, local or LAN
  kStatsTournament = 3,     // its rating is the player's rating ("Ranking")
  kStatsTournamentDup = 4,  // its rating is the duplicate rating
  kStatsOnline2 = 5,        // the same three kinds in the Internet lobby
  kStatsOnlineMulti = 6,
  kStatsOnlineDuplicate = 7,
};

// Statistics block: 392 bytes in the file, fields at the offsets noted.
struct GameStatsRecord {
  float expectedScore = 0;            // 0: of the last rated two-player game
  int32_t rating = 0;                 // 4
  int32_t bestRating = 0;             // 8
  char bestRatingDate[64] = {};       // 12
  int32_t bestScore = 0;              // 76
  char bestScoreDate[64] = {};        // 80
  float averageScore = 0;             // 144
  char bestWord[32] = {};             // 148
  uint32_t bestWordScore = 0;         // 180
  char bestWordDate[64] = {};         // 184
  int32_t letterCount = 0;            // 248
  float averagePerLetter = 0;         // 252
  int32_t challengeCount = 0;         // 256
  int32_t challengeWon = 0;           // 260
  int32_t challengeLost = 0;          // 264
  int32_t wins = 0;                   // 268
  int32_t draws = 0;                  // 272
  int32_t defeats = 0;                // 276
  int32_t games = 0;                  // 280
  int32_t unused284 = 0;              // 284, carried unchanged
  int32_t allTilesMoveCount = 0;      // 288: moves using all seven tiles
  int32_t mostWordsInMove = 0;        // 292
  float bestDuplicatePercent = 0;     // 296
  char bestDuplicateDate[64] = {};    // 300
  float averageDuplicatePercent = 0;  // 364
  // Averages of the game's evaluation terms, fractions 0..1 (368..388).
  float avgBonusSquaresBlocked = 0;
  float avgClosingBonusSquares = 0;
  float avgClosingBoard = 0;
  float avgRemainderQuality = 0;
  float avgWordScore = 0;
  float avgGeneralNote = 0;

  bool operator==(const GameStatsRecord& o) const;
};

// One opponent met: 44 bytes in the file.
struct OpponentRecord {
  char name[32] = {};
  uint32_t wonAgainst = 0;
  uint32_t lostAgainst = 0;
  uint32_t drawnAgainst = 0;

  bool operator==(const OpponentRecord& o) const;
};

}  // namespace shell
