// Scoring of each placement the generator finds, the game kind's checks, and
// storage in the found-move list. Scoring works from the line scratch and the
// cross-scores of the line being walked; premiums count only under tiles laid
// now.
#include <cstring>

#include "engine/robot.h"
#include "rules/tile_bonus.h"
#include "rules/layouts.h"
#include "rules/rules.h"

Robot::PlacementScore Robot::ScorePlacement(const char* word, int line, int start) const {
  PlacementScore s;
  while (s.length < kMaxWordLetters && word[s.length])
    ++s.length;
  const bool across = board_.lineDirection == kLineAcross;
  int x = across ? start : line;
  int y = across ? line : start;
  int mainSum = 0;
  int mainMultiplier = 1;
  int crossTotal = 0;
  for (int i = 0; i < s.length; ++i) {
    if (IsEmptySquare(board_.LineLetter(start + i))) ++s.tilesLaid;
    LetterPremium(x, y, word[i], &mainSum, &mainMultiplier);
    if (crossFlags_[start + i]) {
      int crossSum = crossScores_[start + i];
      int crossMultiplier = 1;
      LetterPremium(x, y, word[i], &crossSum, &crossMultiplier);
      crossTotal += crossMultiplier * crossSum;
    }
    if (across)
      ++x;
    else
      ++y;
  }
  s.wordScore = mainSum * mainMultiplier;
  s.score = crossTotal + s.wordScore + MoveTileBonus(s.tilesLaid);
  return s;
}

void Robot::FillCandidate(const char* word, int line, int start, const PlacementScore& s) {
  // Generation cleared the record once; only the fields written here differ
  // from one candidate to the next.
  RobotMove& m = candidate_;
  std::memset(m.word, 0, sizeof m.word);
  std::memset(m.placedLetters, 0, sizeof m.placedLetters);
  std::memset(m.playedCounts, 0, sizeof m.playedCounts);
  std::memcpy(m.leaveCounts, board_.rackCounts, sizeof m.leaveCounts);
  const int n = s.length;
  for (int i = 0; i < n; ++i) {
    m.word[i] = word[i];
    if (!IsEmptySquare(board_.LineLetter(start + i))) continue;
    const int index = IsBlankLetter(word[i]) ? kBlankIndex : LetterIndex(word[i]);
    ++m.playedCounts[index];
    --m.leaveCounts[index];
    // As the game records a move's new tiles: a blank as '`'.
    m.placedLetters[i] = IsBlankLetter(word[i]) ? kUnassignedBlank : word[i];
  }

  const bool across = board_.lineDirection == kLineAcross;
  MovePosition pos;
  pos.column = static_cast<uint8_t>(across ? start : line);
  pos.row = static_cast<uint8_t>(across ? line : start);
  pos.direction = static_cast<uint8_t>(across ? 0 : 1);
  pos.length = static_cast<uint8_t>(n);
  m.SetPosition(pos);
  m.wordScore = s.wordScore;
  m.score = s.score;
}

void Robot::LetterPremium(int x, int y, char letter, int* sum, int* multiplier) const {
  const GameRules& rules = Rules();
  const int value = rules.LetterValue(letter);  // a blank (upper case) is worth 0
  if (!IsEmptySquare(board_.At(y, x))) {
    *sum += value;
    return;
  }
  switch (rules.Premium(y, x)) {
    case kPremiumDoubleLetter:
      *sum += 2 * value;
      break;
    case kPremiumTripleLetter:
      *sum += 3 * value;
      break;
    case kPremiumDoubleWord:
      *multiplier *= 2;
      *sum += value;
      break;
    case kPremiumTripleWord:
      *multiplier *= 3;
      *sum += value;
      break;
    default:
      *sum += value;
      break;
  }
}

void Robot::CheckCandidate(const char* word, int line, int start) {
  const PlacementScore score = ScorePlacement(word, line, start);
  // A move the full list would refuse whatever it is needs no record unless
  // someone watches every placement.
  if (!sink_ && !moves_.MightKeep(score.score)) return;
  FillCandidate(word, line, start, score);
  const RobotMove& m = candidate_;
  if (view_.kind == kKindCrossagram && view_.crossagramMaxLength > 0 &&
      m.length > view_.crossagramMaxLength)
    return;
  if (view_.HasFlag(kFlagSevenOfEight | kFlagEightOfEight) && m.TilesPlayed() >= 8 &&
      !view_.HasFlag(kFlagEightOfEight))
    return;
  if (sink_) sink_(sinkContext_, m);
  StoreCandidate(m);
}

RobotMove* Robot::StoreCandidate(const RobotMove& move) {
  MoveAcceptance accept;
  accept.kind = view_.kind;
  accept.requiredWordLength = view_.anagramLength;
  RobotMove* slot = moves_.FindMoveByWord(move.word, move.score, move.Position(), move.playedCounts,
                                          move.leaveCounts, accept);
  if (!slot) return nullptr;
  std::memcpy(slot->placedLetters, move.placedLetters, sizeof slot->placedLetters);
  slot->wordScore = move.wordScore;
  // The leave-based components and GetBestMove read the score as a float.
  slot->evalValue = static_cast<float>(move.score);
  return slot;
}
