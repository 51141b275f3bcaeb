#include "ui/player_statistics.h"

#include <algorithm>
#include <cstdio>

#include "game/game.h"
#include "game/player.h"
#include "platform/message_sink.h"
#include "shell/res_strings.h"

namespace ui {
namespace {

enum : uint32_t {
  kStrGeneralNote = 1851,
  kStrNoMoreTakeBack = 2070,
  kStrNoMoreReplay = 2071,
  kStrClosingBonuses = 3150,
  kStrClosingBoard = 3153,
  kStrRemainder = 3155,
  kStrWordScore = 3157,
  kStrBonusBlocked = 3164,
  kStrNote = 3189,
  kStrBestWord = 7153,
  kStrBestWordScore = 7154,
  kStrWordsInMove = 7156,
  kStrTessarins = 7157,
  kStrAveragePerLetter = 7159,
  kStrChallengedWords = 7163,
  kStrChallengesWon = 7164,
  kStrChallengesLost = 7165,
  kStrLettersPlayed = 7168,
  kStrShareOfTop = 7169,
};

// Quotients are not guarded: no letters played shows the runtime's
// rendering of an infinite or undefined value, as the figures are.
std::string Fixed(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%3.2f", v);
  return text;
}

void Add(std::vector<StatisticsRow>* rows, uint32_t label, std::string value) {
  rows->push_back(StatisticsRow{shell::LoadResString(label), std::move(value)});
}

void AddCommon(std::vector<StatisticsRow>* rows, const GamePlayer& p, const PlayerMoveStats& s) {
  Add(rows, kStrBestWord, s.bestMove.word);
  Add(rows, kStrBestWordScore, std::to_string(s.bestMove.word[0] ? s.bestMove.score : 0));
  Add(rows, kStrTessarins, std::to_string(s.allTilesMoves));
  Add(rows, kStrLettersPlayed, std::to_string(s.lettersPlaced));
  Add(rows, kStrAveragePerLetter,
      Fixed(static_cast<double>(p.score) / static_cast<double>(s.lettersPlaced)));
}

bool Step(CGame* game, bool back) {
  // Peek first: the history's cursor moves only when there is somewhere to go.
  MoveHistory* h = game ? game->history.get() : nullptr;
  HistoryRecord* target = !h ? nullptr : back ? h->PeekPrevious() : h->PeekNext();
  if (target) target = back ? h->Previous() : h->Next();
  if (!target || !game->ReplayToMove(target)) {
    platform::ShowNotice(shell::LoadResString(back ? kStrNoMoreTakeBack : kStrNoMoreReplay), "", 0);
    return false;
  }
  return true;
}

}  // namespace

std::vector<StatisticsRow> PlayerStatisticsRows(const GamePlayer& p, int kind,
                                                const GamePlayer* reference) {
  std::vector<StatisticsRow> rows;
  if (kind == 1) {
    const double top = reference ? reference->score : 0;
    Add(&rows, kStrShareOfTop, Fixed(p.score * 100.0 / top));
    AddCommon(&rows, p, p.stats[kDuplicateStats]);
  } else if (kind == 0) {
    const PlayerMoveStats& s = p.stats[kStandardStats];
    AddCommon(&rows, p, s);
    Add(&rows, kStrChallengedWords, std::to_string(p.invalidWordsPlayed));
    Add(&rows, kStrChallengesWon, std::to_string(p.challengesWon));
    Add(&rows, kStrChallengesLost, std::to_string(p.challengesLost));
    Add(&rows, kStrWordsInMove, std::to_string(s.mostWordsInMove));
    rows.push_back(StatisticsRow{" ", " "});
    Add(&rows, kStrNote, "");
    // The record keeps the sums of each cycle's notes.
    const float cycles = static_cast<float>(std::max(p.cyclesPlayed, 1));
    auto note = [&](int term) { return Fixed(s.termSums[term] / cycles * 100.0f); };
    Add(&rows, kStrBonusBlocked, note(kStatsBonusSquaresBlocked));
    Add(&rows, kStrClosingBoard, note(kStatsClosingBoard));
    Add(&rows, kStrClosingBonuses, note(kStatsClosingBonusSquares));
    Add(&rows, kStrRemainder, note(kStatsRemainderQuality));
    Add(&rows, kStrWordScore, note(kStatsWordScore));
    Add(&rows, kStrGeneralNote, note(kStatsGeneralNote));
  }
  return rows;
}

bool TakeBackMove(CGame* game) { return Step(game, true); }
bool ReplayMove(CGame* game) { return Step(game, false); }

}  // namespace ui
