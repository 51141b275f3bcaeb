#include "ui/move_choices.h"

#include <cstring>

namespace ui {

int BlankAnswerFromText(const char* text) {
  if (!text || std::strlen(text) != 1) return -1;
  const char c = text[0];
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if (c >= 'A' && c <= 'Z') return c;
  return 0;
}

void ResolveBlankLetter(char* letter, const std::function<int()>& ask) {
  if (!letter || !ask) return;
  for (;;) {
    const int answer = ask();
    if (answer > 0) {
      *letter = static_cast<char>(answer);
      return;
    }
    // A question that could not be shown would be asked for ever.
    if (answer < 0 || *letter != kUnassignedBlankLetter) return;
  }
}

void ExchangeChoice::Reset(const char* rack, int places) {
  places_ = places < 0 ? 0 : places > kExchangeSlots ? kExchangeSlots : places;
  // A rack text may end before its places do: the rest is empty.
  bool ended = !rack;
  for (int i = 0; i < kExchangeSlots; ++i) {
    if (!ended && (i >= places_ || !rack[i])) ended = true;
    const char c = ended ? 0 : rack[i];
    rack_[i] = c == '_' ? 0 : c;
    slotCell_[i] = -1;
  }
}

char ExchangeChoice::RackCell(int i) const {
  if (i < 0 || i >= places_) return 0;
  for (int s = 0; s < kExchangeSlots; ++s)
    if (slotCell_[s] == i) return 0;
  return rack_[i];
}

char ExchangeChoice::Slot(int i) const {
  if (i < 0 || i >= kExchangeSlots || slotCell_[i] < 0) return 0;
  return rack_[slotCell_[i]];
}

bool ExchangeChoice::Choose(int rackCell) {
  if (!RackCell(rackCell)) return false;
  for (int s = 0; s < kExchangeSlots; ++s)
    if (slotCell_[s] < 0) {
      slotCell_[s] = rackCell;
      return true;
    }
  return false;
}

int ExchangeChoice::ChooseAll() {
  int moved = 0;
  for (int i = 0; i < places_; ++i)
    moved += Choose(i) ? 1 : 0;
  return moved;
}

bool ExchangeChoice::Return(int slot) {
  if (slot < 0 || slot >= kExchangeSlots || slotCell_[slot] < 0) return false;
  for (int s = slot; s + 1 < kExchangeSlots; ++s)
    slotCell_[s] = slotCell_[s + 1];
  slotCell_[kExchangeSlots - 1] = -1;
  return true;
}

void ExchangeChoice::ReturnAll() {
  for (int& cell : slotCell_)
    cell = -1;
}

std::string ExchangeChoice::Letters() const {
  std::string letters;
  for (int s = 0; s < kExchangeSlots && slotCell_[s] >= 0; ++s)
    letters += rack_[slotCell_[s]];
  return letters;
}

MoveListLayout LayOutMoveList(int width, int height, int buttonWidth, int buttonHeight) {
  MoveListLayout l{};
  const int y = height - buttonHeight - 2;
  int previousLeft, nextLeft;
  if (width / 2 <= buttonWidth + 10) {
    previousLeft = width / 4 - buttonWidth / 2;
    nextLeft = 3 * width / 4 - buttonWidth / 2;
  } else {
    previousLeft = width / 2 - 10 - buttonWidth;
    nextLeft = width / 2 + 10;
  }
  l.previous = {previousLeft, y, previousLeft + buttonWidth, y + buttonHeight};
  l.next = {nextLeft, y, nextLeft + buttonWidth, y + buttonHeight};
  l.list = {2, 2, width, y - 2};
  if (l.list.bottom < l.list.top) l.list.bottom = l.list.top;
  return l;
}

}  // namespace ui
