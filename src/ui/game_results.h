#pragma once
// What the end-of-game results and the game info strip say: the players
// ranked by score, the remark to the best human player, and the strip's
// heading and lines. The windows that show them only paint these texts.
#include <cstdint>
#include <string>
#include <vector>

namespace ui {

struct RankedPlayer {
  std::string name;
  int32_t score = 0;
  bool human = false;  // a local human (type 0); computers and peers are not
};

// Highest score first; equal scores keep their seat order.
void RankPlayers(std::vector<RankedPlayer>* players);

// The remark of the results dialog for players ranked as above, and its
// string id (0 when no case applies and the remark is empty). Kind: 0
// classic, 1 duplicate, 2 anagram, 3 puzzle; `referenceScore` is the
// duplicate top score.
struct EndOfGameRemark {
  uint32_t stringId = 0;
  std::string text;
};
EndOfGameRemark MakeEndOfGameRemark(int kind, const std::vector<RankedPlayer>& ranked,
                                    int32_t referenceScore);

// The strip's facts and texts.
struct GameInfoFacts {
  int kind = 0;
  int32_t turn = 0;
  int32_t turnCount = -1;  // the side game's turns, -1 without a limit
  int32_t solutionsLeft = 0;
  bool ranked = false;
  bool tournamentRoom = false;  // room 2
  bool tournament = false;      // a tournament is running there
  int tournamentKind = 0;       // 0 championship, 1 Swiss
  int32_t roundIndex = 0, roundCount = 0, gameIndex = 0;
};
struct GameInfoTexts {
  std::string heading;  // at the top, font A (font B in the tournament room)
  std::string line;     // the small line under it, font C ("" for none)
  std::string title;    // centred at the bottom, font A
};
GameInfoTexts MakeGameInfoTexts(const GameInfoFacts& facts);

}  // namespace ui
