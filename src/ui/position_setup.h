#pragma once
// The position set-up panel's and the remaining-tiles window's portable
// half: the letter buttons' bitmaps, the per-letter counts of tiles still
// unseen, their graded colour, and the check of a position entered by hand.
#include <cstdint>
#include <string>
#include <vector>

#include "rules/letters.h"
#include "rules/robot_move.h"

class Lexicon;

namespace ui {

constexpr int kLetterButtonCount = 27;  // the blank, then 'A'..'Z'
// The bitmap resource of a letter button (index 0 the blank); English uses
// its own K, M, Q, W, X and Y.
int LetterBitmapId(int letterIndex, int language);

// Tiles neither on the board nor on the rack in view, per letter index
// (code & 31; a blank on the board, an upper-case letter, under 0).
struct RemainingTiles {
  int32_t board[kLetterSlots] = {};
  int32_t rack[kLetterSlots] = {};
  int32_t remaining[kLetterSlots] = {};
  int32_t total = 0;
};
// board: side x side squares of row stride 15; rack: rackSize places.
RemainingTiles ComputeRemainingTiles(const char* board, int side, const char* rack, int rackSize,
                                     const int32_t tileCounts[kLetterSlots]);
// The colour of a remaining count: from blue (none left) to green (all
// left), as RGB bytes (0x00BBGGRR).
uint32_t RemainingColour(int remaining, int count);

// The new words of a position: the runs of two or more letters through
// each square whose letter differs from the game's board, across then down.
// A new letter without a neighbour gives a one-letter word and ends the
// search. Returns the word count (low 16 bits) and the numbers of new
// letters met across (bits 16-23) and down (bits 24-31).
constexpr int kMaxSetupWords = 250;
uint32_t ExtractNewWords(const char* grid, const char* gameBoard, int side,
                         std::vector<RobotMove>* words);

// A word's square as the refusal lists it: English "G8a"/"G8d" (column
// letter, row number, across or down); French "H7" across (row letter,
// column number), "7H" down.
std::string FormatSetupPosition(const RobotMove& word, int language);

// The check of the position set-up's "Confirm draw".
struct SetupFacts {
  const char* grid = nullptr;       // the board view's letters (stride 15)
  const char* gameBoard = nullptr;  // the game's board letters (stride 15)
  int side = 15;
  int rackTiles = 0;
  int bagTiles = 0;
  int language = 0;
};
enum class SetupVerdict { kAccepted, kRackIncomplete, kFaultyWords };
struct SetupCheck {
  SetupVerdict verdict = SetupVerdict::kAccepted;
  std::string message;  // the refusal's text
  std::vector<std::string> notValid, notJoined;
};
SetupCheck CheckSetupPosition(const SetupFacts& facts, const Lexicon& lexicon);

}  // namespace ui
