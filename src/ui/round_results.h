#pragma once
// The table shown after each duplicate turn: each player's word (or what
// happened instead), its position, its score and that score as a share of
// the mentor's.
#include <cstdint>
#include <string>
#include <vector>

class CGame;

namespace ui {

struct RoundResultRow {
  std::string name;
  std::string word;  // the word played, or what the player did instead
  std::string position;
  std::string percent;  // "%.1f" of the mentor's score; "100.0" when the mentor scored nothing
  std::string score;
};

// "Mentor's solution: " and the mentor's move.
std::string RoundResultsCaption(const CGame& game);
// One row per player, highest score first (ties in seat order).
std::vector<RoundResultRow> MakeRoundResultRows(const CGame& game);
std::string MentorPercentText(int32_t score, int32_t mentorScore);

}  // namespace ui
