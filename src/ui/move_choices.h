#pragma once
// The rules behind the in-game choice dialogs, kept apart from their windows:
// the blank-letter question, the letters chosen for a swap, the dictionary
// level of a computer player's profile and the move list's layout.
#include <cstdint>
#include <functional>
#include <string>

namespace ui {

// --- Blank letter ---
constexpr char kUnassignedBlankLetter = '`';

// What the question's edit text answers: -1 while it is not exactly one
// character (the dialog stays), else the upper-case letter for 'a'..'z' or
// 'A'..'Z' and 0 for any other character.
int BlankAnswerFromText(const char* text);

// Asks until the blank has a letter: a non-zero answer is stored; a zero
// answer keeps a letter already given but asks again for an unassigned
// blank. `ask` runs the question once and returns its answer, negative
// when the question could not be shown (the letter then stays).
void ResolveBlankLetter(char* letter, const std::function<int()>& ask);

// --- Exchange ---
constexpr int kExchangeSlots = 8;  // the largest rack

// The rack's tiles and the bag view's slots: a tile chosen for the swap
// leaves its rack cell for the first free slot, and goes back to its own
// cell when it is returned, so the rack is never reordered.
class ExchangeChoice {
 public:
  // The rack text ('_' or NUL an empty place), at most kExchangeSlots places.
  void Reset(const char* rack, int places);
  int Places() const { return places_; }
  char RackCell(int i) const;  // 0 for an empty or chosen cell
  char Slot(int i) const;      // 0 for an empty slot
  // Moves rack cell i into the first free slot; false when the cell is
  // empty or already chosen.
  bool Choose(int rackCell);
  // Every remaining rack tile, in rack order; the number moved.
  int ChooseAll();
  // Slot i's tile back to its rack cell; false for an empty slot. The later
  // slots move up so the chosen letters stay together.
  bool Return(int slot);
  void ReturnAll();
  // The chosen letters in slot order (blanks as the rack writes them).
  std::string Letters() const;

 private:
  char rack_[kExchangeSlots] = {};
  int slotCell_[kExchangeSlots] = {};  // the rack cell of each slot, -1 free
  int places_ = 0;
};

// --- Dictionary level ---
constexpr int kMinDictionaryLevel = 1, kMaxDictionaryLevel = 10;
inline bool IsDictionaryLevel(int level) {
  return level >= kMinDictionaryLevel && level <= kMaxDictionaryLevel;
}

// --- Move list layout ---
struct PanelRect {
  int left, top, right, bottom;
};
struct MoveListLayout {
  PanelRect list, previous, next;  // previous "<|" 1339, next "|>" 1338
};
// The list fills the client from (2, 2) to the right edge and down to 2
// pixels above the buttons, which stand 2 pixels above the bottom: 10
// pixels either side of the centre when the half width leaves room, else
// centred on the quarters.
MoveListLayout LayOutMoveList(int width, int height, int buttonWidth, int buttonHeight);

}  // namespace ui
