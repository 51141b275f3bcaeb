#include "ui/round_results.h"

#include <algorithm>
#include <cstdio>

#include "game/game.h"
#include "game/move_text.h"
#include "game/player_turn.h"
#include "shell/res_strings.h"

namespace ui {
namespace {

constexpr uint32_t kTextAbandoned = 1865, kTextLostTurn = 3184, kTextInvalidWord = 3192;

bool PlayedAMove(const GamePlayer& p) {
  return p.lastAction == kLastPlayed || p.lastAction == kLastChallenged;
}

std::string WhatHappened(const GamePlayer& p) {
  switch (p.lastAction) {
    case kLastPlayed:
    case kLastChallenged:
      return p.lastMoveRecord.word;
    case kLastInvalidWord:
    case kLastChallengeFailed:
      return shell::LoadResString(kTextInvalidWord);
    case kLastOutOfTime:
      return shell::LoadResString(kTextLostTurn);
    case kLastPassed:
    case kLastExchanged:
      return "Has passed";  // the table's own short text
    default:
      return shell::LoadResString(kTextAbandoned);
  }
}

int32_t MentorScore(const CGame& game) {
  return game.referencePlayer ? game.referencePlayer->lastMoveRecord.score : 0;
}

}  // namespace

std::string MentorPercentText(int32_t score, int32_t mentorScore) {
  const double percent = mentorScore != 0 ? 100.0 * score / mentorScore : 100.0;
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", percent);
  return text;
}

std::string RoundResultsCaption(const CGame& game) {
  std::string text = "Mentor's solution: ";
  if (game.referencePlayer)
    FormatMoveText(game.referencePlayer->lastMoveRecord, text, 0, &game, kMoveTextAll);
  return text;
}

std::vector<RoundResultRow> MakeRoundResultRows(const CGame& game) {
  std::vector<const GamePlayer*> players;
  for (int i = 0; i < game.PlayerCount(); ++i)
    if (const GamePlayer* p = game.Player(i)) players.push_back(p);
  std::stable_sort(players.begin(), players.end(),
                   [](const GamePlayer* a, const GamePlayer* b) { return a->score > b->score; });
  const int32_t mentor = MentorScore(game);
  std::vector<RoundResultRow> rows;
  for (const GamePlayer* p : players) {
    RoundResultRow row;
    row.name = p->entry.name;
    row.word = WhatHappened(*p);
    const int32_t points = PlayedAMove(*p) ? p->lastMoveRecord.score : 0;
    if (PlayedAMove(*p))
      FormatMoveText(p->lastMoveRecord, row.position, 0, &game, kMoveTextPosition);
    row.percent = MentorPercentText(points, mentor);
    row.score = std::to_string(points);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace ui
