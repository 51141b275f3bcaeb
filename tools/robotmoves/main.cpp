// robotmoves: every legal placement the robot's move generator finds for a
// board and a rack, one per line, then the move the robot chooses.
//
//   robotmoves --board FILE --rack LETTERS [--folder DIR] [--lang N]
//              [--kind N] [--level N]
//
// FILE holds up to 15 lines of up to 15 characters: '.' (or a space) an
// empty square, a..z a tile, A..Z a blank showing that letter. LETTERS are
// the rack's tiles, '?' or '`' for a blank. DIR is the program folder that
// holds tessarinData\Dictionaries (default: the current folder); N of --lang
// is the lexicon's language (0 English, 1 French), of --kind the game kind
// (0 standard, 1 duplicate), of --level the highest word level played
// (default 10; negative: no limit).
//
// Output: "word column row across|down score" per placement (blanks in upper
// case), in the order found, each placement once; then "best: " and the
// chosen move in the same form, or "best: none".
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <string>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "rules/game_setup.h"
#include "rules/rules.h"

namespace {

struct Options {
  std::string board;
  std::string rack;
  std::string folder = ".";
  int language = kLanguageEnglish;
  int kind = kKindStandard;
  int level = RobotSettings().maxWordLevel;
};

int Usage(const char* message) {
  std::fprintf(stderr, "robotmoves: %s\n", message);
  std::fprintf(stderr,
               "usage: robotmoves --board FILE --rack LETTERS [--folder DIR] [--lang N] "
               "[--kind N] [--level N]\n");
  return 2;
}

bool ParseArgs(int argc, char** argv, Options* o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    const char* v = argv[i + 1];
    if (a == "--board")
      o->board = v;
    else if (a == "--rack")
      o->rack = v;
    else if (a == "--folder")
      o->folder = v;
    else if (a == "--lang")
      o->language = std::atoi(v);
    else if (a == "--kind")
      o->kind = std::atoi(v);
    else if (a == "--level")
      o->level = std::atoi(v);
    else
      return false;
  }
  return argc % 2 == 1 && !o->board.empty() && !o->rack.empty();
}

bool ReadBoard(const std::string& path, char grid[kBoardSquares], std::string* error) {
  std::ifstream in(path);
  if (!in) {
    *error = "cannot read " + path;
    return false;
  }
  std::string line;
  for (int row = 0; std::getline(in, line); ++row) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() && in.peek() == EOF) break;
    if (row >= kMaxBoardSide || line.size() > static_cast<size_t>(kMaxBoardSide)) {
      *error = "the board is larger than 15 x 15";
      return false;
    }
    for (size_t c = 0; c < line.size(); ++c) {
      const char ch = line[c];
      if (ch == '.' || ch == ' ') continue;
      if (!IsPlacedLetter(ch)) {
        *error = std::string("bad board character '") + ch + "'";
        return false;
      }
      grid[row * kBoardStride + static_cast<int>(c)] = ch;
    }
  }
  return true;
}

std::string Describe(const RobotMove& m) {
  char text[80];
  std::snprintf(text, sizeof text, "%s %d %d %s %d", m.word, m.column, m.row,
                m.direction ? "down" : "across", m.score);
  return text;
}

void PrintOnce(void* seen, const RobotMove& m) {
  const std::string line = Describe(m);
  if (static_cast<std::set<std::string>*>(seen)->insert(line).second)
    std::printf("%s\n", line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseArgs(argc, argv, &o)) return Usage("bad arguments");
  if (o.kind != kKindStandard && o.kind != kKindDuplicate)
    return Usage("only kinds 0 (standard) and 1 (duplicate) are supported");

  char grid[kBoardSquares] = {};
  std::string error;
  if (!ReadBoard(o.board, grid, &error)) return Usage(error.c_str());

  auto setup = std::make_unique<GameSetup>();
  setup->kind = o.kind;
  GameRules rules;
  rules.Setup(0, 7, setup.get());
  std::string rack;
  for (char c : o.rack) {
    if (c == '?' || c == kUnassignedBlank)
      rack += kUnassignedBlank;
    else if (IsTileLetter(c))
      rack += c;
    else
      return Usage("the rack holds letters a..z and '?' only");
  }
  if (static_cast<int>(rack.size()) > rules.rackSize) return Usage("the rack is too long");

  Lexicon* lexicon = CreateLexicon(o.language);
  lexicon->SetProgramFolder(o.folder);
  if (!lexicon->Load(o.language, 0)) {
    DestroyLexicon();
    return Usage("cannot load the lexicon");
  }

  RobotSettings settings;
  settings.maxWordLevel = o.level;
  RobotGameView view;
  view.kind = o.kind;
  view.roundCount = 1;
  std::set<std::string> seen;
  {
    quickBot2usingDawg robot;
    robot.SetGameParams(&rules);
    robot.CreateEvaluators(&settings);
    robot.SetGameView(view);
    robot.SetCandidateSink(&PrintOnce, &seen);
    robot.PreparePosition(grid, rack.c_str(), false, 0);
    robot.Think(nullptr, 0);
    const RobotMove* best = robot.GetMoveSlot(0);
    if (robot.GetResultState() == kResultNoMove || !best || !best->word[0])
      std::printf("best: none\n");
    else
      std::printf("best: %s\n", Describe(*best).c_str());
  }
  DestroyLexicon();
  return 0;
}
