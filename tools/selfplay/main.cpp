// selfplaypos: the positions of seeded self-play games on the English
// lexicon, written as text for the benchmarks.
//
//   selfplaypos --folder DIR --out FILE [--positions N] [--seed S]
//
// DIR is the program folder that holds tessarinData\Dictionaries. Games are
// played by two computer players with the default settings, each game's bag
// shuffled by a generator seeded with S, S+1, ...; each player's rack is kept
// and refilled from the bag. Every position from the fifth turn on with tiles
// still in the bag is written, until N positions (default 1200) are written.
//
// FILE: '#' lines are comments; every other line is one position:
// "<225 board squares> <rack> <bag>", squares row by row, '.' an empty square,
// a..z a tile, A..Z a blank showing that letter; the rack and bag in letters,
// '`' a blank, "-" for an empty bag.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "platform/crand.h"
#include "play_move.h"
#include "rules/game_setup.h"
#include "rules/rules.h"

namespace {

struct Options {
  std::string folder = ".";
  std::string out;
  int positions = 1200;
  uint32_t seed = 1;
};

int Usage(const char* message) {
  std::fprintf(stderr, "selfplaypos: %s\n", message);
  std::fprintf(stderr, "usage: selfplaypos --folder DIR --out FILE [--positions N] [--seed S]\n");
  return 2;
}

bool ParseArgs(int argc, char** argv, Options* o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    const char* v = argv[i + 1];
    if (a == "--folder")
      o->folder = v;
    else if (a == "--out")
      o->out = v;
    else if (a == "--positions")
      o->positions = std::atoi(v);
    else if (a == "--seed")
      o->seed = static_cast<uint32_t>(std::strtoul(v, nullptr, 10));
    else
      return false;
  }
  return argc % 2 == 1 && !o->out.empty() && o->positions > 0;
}

std::string Line(const char* grid, const std::string& rack, const std::string& bag) {
  std::string line;
  for (int r = 0; r < kMaxBoardSide; ++r)
    for (int c = 0; c < kMaxBoardSide; ++c) {
      const char square = grid[r * kBoardStride + c];
      line += square ? square : '.';
    }
  line += ' ';
  line += rack;
  line += ' ';
  line += bag.empty() ? std::string("-") : bag;
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseArgs(argc, argv, &o)) return Usage("bad arguments");
  Lexicon* lexicon = CreateLexicon(kLanguageEnglish);
  lexicon->SetProgramFolder(o.folder);
  if (!lexicon->Load(kLanguageEnglish, 0)) {
    DestroyLexicon();
    return Usage("cannot load the lexicon");
  }
  auto setup = std::make_unique<GameSetup>();
  setup->kind = kKindStandard;
  GameRules rules;
  rules.Setup(0, 7, setup.get());

  std::FILE* out = std::fopen(o.out.c_str(), "w");
  if (!out) {
    DestroyLexicon();
    return Usage("cannot write the output file");
  }
  std::fprintf(out,
               "# Mid-game positions of seeded self-play games (English, standard game),\n"
               "# written by selfplaypos --seed %u --positions %d.\n"
               "# <225 squares, '.' empty> <rack> <bag, '-' when empty>\n",
               o.seed, o.positions);
  int written = 0;
  {
    quickBot2usingDawg robot;
    robot.SetGameParams(&rules);
    robot.CreateEvaluators(nullptr);
    for (uint32_t seed = o.seed; written < o.positions; ++seed) {
      platform::SeedRandom(seed);
      std::string bag;
      for (int i = 0; i < kLetterSlots; ++i)
        bag.append(static_cast<size_t>(std::max(0, rules.tileCounts[i])), TileForIndex(i));
      std::mt19937 order(seed);
      std::shuffle(bag.begin(), bag.end(), order);
      char grid[kBoardSquares] = {};
      std::string racks[2];
      int passes = 0;
      for (int turn = 0; passes < 2 && written < o.positions; ++turn) {
        std::string& rack = racks[turn % 2];
        while (rack.size() < 7 && !bag.empty()) {
          rack += bag.back();
          bag.pop_back();
        }
        if (rack.empty() || bag.empty()) break;
        if (turn >= 4) {
          std::fprintf(out, "%s\n", Line(grid, rack, bag).c_str());
          ++written;
        }
        robot.PreparePosition(grid, rack.c_str(), false, 0);
        robot.ClearMoveSlots();
        robot.ResetTermRanges();
        robot.Think(nullptr, 0);
        const RobotMove* m = robot.GetMoveSlot(0);
        if (robot.GetResultState() == kResultNoMove || !m || !m->word[0]) {
          ++passes;
          continue;
        }
        passes = 0;
        rack = benchpos::Play(*m, grid, rack);
      }
    }
  }
  const bool ok = std::fclose(out) == 0;
  DestroyLexicon();
  if (!ok) return Usage("cannot write the output file");
  std::printf("%d positions\n", written);
  return 0;
}
