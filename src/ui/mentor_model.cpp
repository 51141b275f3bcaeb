#include "ui/mentor_model.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "game/move_text.h"
#include "game/turn_ports.h"
#include "rules/letters.h"
#include "shell/res_strings.h"

namespace ui {
namespace {

constexpr uint32_t kStrChangeOfLetter = 2003;
constexpr uint32_t kStrRecommendPassing = 3162;
constexpr int kNotation = 0;
constexpr int kPlentyInBag = 8;  // an exchange is advised only from here

std::string MoveRow(const RobotMove& m, const CGame* game) {
  std::string text;
  FormatMoveText(m, text, kNotation, game, kMoveTextAll);
  return text;
}

int Lower(char c) { return std::tolower(static_cast<unsigned char>(c)); }

}  // namespace

std::vector<std::string> MakePossibleWordRows(const std::vector<RobotMove>& moves,
                                              const CGame* game) {
  std::vector<std::string> rows;
  for (const RobotMove& m : moves) {
    if (rows.size() >= static_cast<size_t>(kMaxPossibleWordRows) || !m.word[0] || m.score == 0)
      break;
    rows.push_back(MoveRow(m, game));
  }
  return rows;
}

std::vector<std::string> MakeAdviceRows(const AdviceFacts& f, const CGame* game) {
  std::vector<std::string> rows;
  const int n = std::max(1, std::min(static_cast<int>(f.best.size()), kMaxAdviceMoves));
  for (int i = 0; i < n; ++i) {
    if (f.bagTiles >= kPlentyInBag && f.decision == kDecisionExchange) {
      rows.push_back(shell::LoadResString(kStrChangeOfLetter));
      std::string letters;
      for (char c : f.exchangeLetters)
        if (c && c != kEmptyRackPlace) letters += std::string(1, c) + ",";
      rows.push_back(letters);
      break;
    }
    const bool noMove = i >= static_cast<int>(f.best.size()) || !f.best[i].word[0];
    if ((f.bagTiles < kPlentyInBag && noMove) || f.decision == kDecisionPass) {
      rows.push_back(shell::LoadResString(kStrRecommendPassing));
      break;
    }
    if (noMove) break;
    rows.push_back(MoveRow(f.best[i], game) + " points");
  }
  return rows;
}

std::vector<TileStep> PlanMoveTiles(const RobotMove& move, const char* board, std::string rack) {
  std::vector<TileStep> steps;
  const size_t length = strnlen(move.word, kMoveWordSize);
  for (size_t k = 0; k < length; ++k) {
    const int row = move.row + (move.IsDown() ? static_cast<int>(k) : 0);
    const int column = move.column + (move.IsDown() ? 0 : static_cast<int>(k));
    if (row >= kMaxBoardSide || column >= kMaxBoardSide) break;
    const int square = row * kBoardStride + column;
    const char want = move.word[k];
    const char there = board[square];
    if (there >= 'A' && Lower(there) == Lower(want)) continue;
    size_t place = std::string::npos;
    for (size_t i = 0; i < rack.size() && place == std::string::npos; ++i)
      if (std::islower(static_cast<unsigned char>(rack[i])) && rack[i] == Lower(want)) place = i;
    for (size_t i = 0; i < rack.size() && place == std::string::npos; ++i)
      if (rack[i] == kUnassignedBlank) place = i;
    if (place == std::string::npos) continue;
    // A blank shows the move's letter as a blank does: upper case.
    const char letter = rack[place] == kUnassignedBlank
                            ? static_cast<char>(std::toupper(static_cast<unsigned char>(want)))
                            : rack[place];
    steps.push_back({static_cast<int>(place), square, letter});
    rack[place] = kEmptyRackPlace;
  }
  return steps;
}

int LayMoveOnView(const RobotMove& move, BoardViewPort& view) {
  char board[kBoardSquares] = {};
  if (!view.ReadBoardLetters(board)) return 0;
  char rack[kMaxRackPlaces + 1] = {};
  const int places = view.ReadRackCells(rack, kMaxRackPlaces);
  std::string rackText(rack, static_cast<size_t>(std::max(places, 0)));
  for (char& c : rackText)
    if (c < 'A') c = kEmptyRackPlace;  // the view's empty cells
  // A blank on the rack reads as the unassigned code.
  for (char& c : rackText)
    if (c == '`') c = kUnassignedBlank;
  const std::vector<TileStep> steps = PlanMoveTiles(move, board, rackText);
  for (const TileStep& s : steps) {
    board[s.square] = s.letter;
    rackText[s.rackPlace] = kEmptyRackPlace;
  }
  if (steps.empty()) return 0;
  view.LoadBoardLetters(board, kMaxBoardSide, kMaxBoardSide);
  view.LoadRackLetters(rackText.c_str(), static_cast<int>(rackText.size()));
  view.RefreshRackTiles();
  view.RedrawBoardWindow();
  return static_cast<int>(steps.size());
}

}  // namespace ui
