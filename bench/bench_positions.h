#pragma once
// Mid-game positions for the computer-opponent benchmarks, on the built
// English lexicon (tessarinData in the build folder).
//
// The positions come from a fixed self-play game: the English tile set in an
// order fixed by a seeded generator, the chosen move played each turn;
// positions after turns 4 to 18 (every second turn) are kept, with the tiles
// still in the bag.
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "engine/robot_game.h"
#include "rules/bag.h"
#include "rules/game_setup.h"
#include "rules/rules.h"
#include "platform/path.h"
#include "play_move.h"

namespace benchpos {

struct Position {
  char grid[kBoardSquares] = {};
  char rack[kRackTextSize] = {};
  std::string bag;
};

inline bool Built() {
  return platform::FileExists(
      platform::JoinPath(TESS_BUILD_DIR, Lexicon::MainGraphName(kLanguageEnglish)).c_str());
}

inline const GameRules& Rules() {
  static GameRules rules = [] {
    GameRules r;
    auto setup = std::make_unique<GameSetup>();
    setup->kind = kKindStandard;
    r.Setup(0, 7, setup.get());
    return r;
  }();
  return rules;
}

// Loads the built English lexicon once; false when it cannot be loaded.
inline bool LoadLexicon() {
  static const bool loaded = [] {
    if (GetLexicon()) return true;
    Lexicon* lex = CreateLexicon(kLanguageEnglish);
    lex->SetProgramFolder(TESS_BUILD_DIR);
    return lex->Load(kLanguageEnglish, 0);
  }();
  return loaded;
}

// Built() and the lexicon loaded.
inline bool Ready() { return Built() && LoadLexicon(); }

// Puts the tiles on the bag in their order.
inline void FillBag(TileBag& bag, const std::string& tiles) {
  std::memset(bag.counts, 0, sizeof bag.counts);
  bag.tileCount = 0;
  for (char c : tiles) {
    ++bag.counts[LetterIndex(c)];
    bag.drawOrder[bag.tileCount++] = LetterIndex(c);
  }
  bag.firstLetter = -1;
  for (int i = 0; i < kLetterSlots && bag.firstLetter < 0; ++i)
    if (bag.counts[i] > 0) bag.firstLetter = static_cast<int8_t>(i);
}

// A computer player in a standard game after the first round, and the robot
// that thinks for it. The robot keeps a pointer to `settings`: not copyable.
struct Player {
  RobotSettings settings;
  RobotPlayerView player;
  TileBag bag;
  quickBot2usingDawg robot;

  explicit Player(const RobotSettings& s) : settings(s) {
    SettingsToOptions(settings, player.options);
    robot.SetGameParams(&Rules());
    robot.CreateEvaluators(&settings);
  }
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // One full think pass on a position (any type with grid, rack and bag).
  template <class P>
  void Think(const P& p) {
    std::memcpy(player.rack, p.rack, sizeof player.rack);
    FillBag(bag, p.bag);
    RobotGameView view;
    view.kind = kKindStandard;
    view.roundCount = 2;
    view.bag = &bag;
    view.hasCurrent = true;
    view.current = player;
    robot.SetGameView(view);
    robot.BeginSearch();
    robot.PreparePosition(p.grid, p.rack, false, 0);
    robot.Think(nullptr, 0);
  }
};

// The self-play game's positions; `choose` thinks on a position and returns
// the move to play, or null when the player swaps or passes (the game goes
// no further then).
inline std::vector<Position> SelfPlay(
    const std::function<const RobotMove*(const Position&)>& choose) {
  LoadLexicon();
  std::string bag;
  for (int i = 0; i < kLetterSlots; ++i)
    bag.append(static_cast<size_t>(std::max(0, Rules().tileCounts[i])), TileForIndex(i));
  std::mt19937 order(20050101);
  std::shuffle(bag.begin(), bag.end(), order);

  std::vector<Position> out;
  Position now;
  std::string rack;
  for (int turn = 0; turn < 20 && !bag.empty(); ++turn) {
    while (rack.size() < 7 && !bag.empty()) {
      rack += bag.back();
      bag.pop_back();
    }
    std::memcpy(now.rack, rack.c_str(), rack.size() + 1);
    now.bag = bag;
    if (turn >= 4 && turn % 2 == 0) out.push_back(now);
    const RobotMove* m = choose(now);
    if (!m || !m->word[0]) break;
    rack = Play(*m, now.grid, rack);
  }
  return out;
}

}  // namespace benchpos
