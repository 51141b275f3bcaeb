#pragma once
// Evaluation components over a small compiled lexicon: the English tile set
// on the 15 x 15 premium layout, players with racks and settings, bags with
// chosen contents, and moves built against a board as the generator builds
// them.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/eval_components.h"
#include "engine/eval_context.h"
#include "engine/lexicon.h"
#include "rules/robot_move.h"
#include "rules/bag.h"
#include "rules/board.h"
#include "rules/game_setup.h"
#include "engine/robot_game.h"
#include "rules/rules.h"
#include "lexicon_fixture.h"
#include "platform/crand.h"

namespace evalfix {

inline std::vector<LexSourceWord> Words(const std::vector<std::string>& texts, int level = 3) {
  std::vector<LexSourceWord> w;
  for (const std::string& t : texts)
    w.push_back({t, level, false, {}});
  return w;
}

// A bag holding exactly `letters` ('`' a blank), draw order as listed.
inline void FillBag(TileBag& bag, const std::string& letters) {
  std::memset(bag.counts, 0, sizeof bag.counts);
  bag.tileCount = 0;
  bag.firstLetter = -1;
  for (char c : letters) {
    const int index = LetterIndex(c);
    ++bag.counts[index];
    bag.drawOrder[bag.tileCount++] = index;
  }
  for (int i = 0; i < kLetterSlots; ++i)
    if (bag.counts[i] > 0) {
      bag.firstLetter = static_cast<int8_t>(i);
      break;
    }
}

// A bag of `total` tiles: the given letters, then `filler` up to the total.
inline void FillBagTo(TileBag& bag, const std::string& letters, int total, char filler = 'o') {
  std::string all = letters;
  while (static_cast<int>(all.size()) < total)
    all += filler;
  FillBag(bag, all);
}

class EvalTest : public ::testing::Test {
 protected:
  void LoadWords(const std::vector<LexSourceWord>& words, const std::string& name) {
    const std::string folder = lexfix::Folder("eval-" + name);
    lexfix::WriteLexicon(folder, words, kLanguageEnglish, false);
    lexfix::LoadGlobal(folder, kLanguageEnglish);
  }

  void SetUp() override {
    GameSetup setup;
    setup.kind = kKindStandard;
    rules_.Setup(0, 7, &setup);
    board_ = GameBoard(&rules_);
    ctx_.rules = &rules_;
    ctx_.kind = kKindStandard;
    ctx_.roundCount = 1;
    for (int i = 0; i < 2; ++i) {
      players_[i].playerIndex = i;
      SetSettings(i, RobotSettings());
      SetRack(i, "_______");
    }
    ctx_.players = {&players_[0], &players_[1]};
    FillBagTo(bag_, "", 60);
    ctx_.gameBag = &bag_;
    platform::SeedRandom(1);
  }
  void TearDown() override {
    SetJuniorMode(false);
    DestroyLexicon();
  }

  void SetSettings(int player, const RobotSettings& s) {
    SettingsToOptions(s, players_[player].options);
  }
  void SetRack(int player, const char* rack) {
    std::memset(players_[player].rack, 0, sizeof players_[player].rack);
    std::strncpy(players_[player].rack, rack, kMaxRackPlaces);
  }

  void Lay(int row, int column, const char* word, bool down = false) {
    for (int i = 0; word[i]; ++i)
      board_.letters[(down ? row + i : row) * kBoardStride + (down ? column : column + i)] =
          word[i];
  }

  // The move of `word` at (row, column) for player 0's rack: tiles laid on
  // the empty squares (a blank for an upper-case letter), counts and score
  // as the generator gives them.
  RobotMove Move(const char* word, int row, int column, bool down = false) {
    RobotMove m;
    const int n = static_cast<int>(std::strlen(word));
    std::memcpy(m.word, word, static_cast<size_t>(n));
    m.row = static_cast<uint8_t>(row);
    m.column = static_cast<uint8_t>(column);
    m.direction = down ? 1 : 0;
    m.length = static_cast<uint8_t>(n);
    for (int i = 0; i < kMaxRackPlaces && players_[0].rack[i]; ++i)
      if (!IsEmptyRackPlace(players_[0].rack[i])) ++m.leaveCounts[LetterIndex(players_[0].rack[i])];
    for (int i = 0; i < n; ++i) {
      const int r = down ? row + i : row, c = down ? column : column + i;
      if (!IsEmptySquare(board_.At(r, c))) continue;
      const bool blank = IsBlankLetter(word[i]);
      const int index = blank ? kBlankIndex : LetterIndex(word[i]);
      ++m.playedCounts[index];
      --m.leaveCounts[index];
      m.placedLetters[i] = blank ? kUnassignedBlank : word[i];
    }
    board_.ScoreWord(m);
    return m;
  }

  float Eval(RobotEvaluator& e, const RobotMove& m, int player = 0) {
    EvaluationScope scope(ctx_);
    return e.Evaluate(players_[player], m, bag_, board_);
  }
  void Prepare(RobotEvaluator& e) {
    EvaluationScope scope(ctx_);
    e.Prepare();
  }

  GameRules rules_;
  GameBoard board_;
  TileBag bag_;
  RobotPlayerView players_[2];
  EvaluationContext ctx_;
};

}  // namespace evalfix
