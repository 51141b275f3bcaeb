#pragma once
// A robot over a small compiled lexicon, with boards written as text and a
// sink that records every placement the generator finds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "rules/game_setup.h"
#include "rules/rules.h"
#include "lexicon_fixture.h"

namespace robotfix {

// One placement as "word column row direction score", direction 'a' or 'd'.
inline std::string Describe(const RobotMove& m) {
  char text[64];
  std::snprintf(text, sizeof text, "%s %d %d %c %d", m.word, m.column, m.row,
                m.direction ? 'd' : 'a', m.score);
  return text;
}

inline std::vector<LexSourceWord> Words(const std::vector<std::string>& texts, int level = 3) {
  std::vector<LexSourceWord> w;
  for (const std::string& t : texts)
    w.push_back({t, level, false, {}});
  return w;
}

// A 15-stride board grid; Lay writes a word across or down.
struct Grid {
  char cells[kBoardSquares] = {};
  Grid& Lay(int row, int column, const char* word, bool down = false) {
    for (int i = 0; word[i]; ++i) {
      const int r = down ? row + i : row;
      const int c = down ? column : column + i;
      cells[r * kBoardStride + c] = word[i];
    }
    return *this;
  }
};

// Settings that create no evaluation component, so that standard games rank
// by score alone; no word-level limit.
inline RobotSettings WithoutComponents() {
  RobotSettings s;
  s.maxWordLevel = -1;
  s.useJokerTerm = s.useConventionsTerm = s.useBonusBlockTerm = 0;
  s.noteDuplicateJoker = s.noteFirstWordDuplicate = s.noteDuplicateEndgame = 0;
  s.wordScoreWeight = s.closingBonusWeight = s.closingBoardWeight = 0.0f;
  s.remainderWeight = s.challengeWeight = s.letterSwapWeight = s.difficultyWeight = 0.0f;
  s.situationLevel = 0;
  return s;
}

class RobotTest : public ::testing::Test {
 protected:
  // Loads the words as the global lexicon; rules of tile set 0 with a rack
  // of `rack` and no premiums unless `premiums`; settings without a level
  // limit or components.
  void Init(const std::vector<LexSourceWord>& words, const std::string& name, int rack = 7,
            bool premiums = false) {
    const std::string folder = lexfix::Folder(name);
    lexfix::WriteLexicon(folder, words, kLanguageEnglish, false);
    lexfix::LoadGlobal(folder, kLanguageEnglish);
    auto setup = std::make_unique<GameSetup>();
    setup->kind = kKindStandard;
    rules_.Setup(0, rack, premiums ? setup.get() : nullptr);
    settings_ = WithoutComponents();
    robot_.SetGameParams(&rules_);
    robot_.CreateEvaluators(&settings_);
    robot_.SetCandidateSink(&RobotTest::Record, this);
  }
  void TearDown() override {
    SetJuniorMode(false);
    DestroyLexicon();
  }

  static void Record(void* self, const RobotMove& m) {
    static_cast<RobotTest*>(self)->seen_.push_back(Describe(m));
  }

  // Every placement found for the position, sorted, duplicates merged.
  std::vector<std::string> Placements(const Grid& grid, const char* rack) {
    robot_.PreparePosition(grid.cells, rack, false, 0);
    return Generate();
  }
  std::vector<std::string> Generate() {
    seen_.clear();
    robot_.ClearMoveSlots();
    robot_.GenerateMoves();
    std::vector<std::string> out = seen_;
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
  }
  bool Has(const std::vector<std::string>& list, const std::string& p) {
    return std::find(list.begin(), list.end(), p) != list.end();
  }

  GameRules rules_;
  RobotSettings settings_;
  quickBot2usingDawg robot_;
  std::vector<std::string> seen_;
};

}  // namespace robotfix
