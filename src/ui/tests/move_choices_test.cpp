// The in-game choices' rules: the blank-letter answer and its repeat rule,
// the letters chosen for a swap, and the move list's layout.
#include "ui/move_choices.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

namespace ui {
namespace {

TEST(BlankLetter, AnswerFromEditText) {
  const struct {
    const char* text;
    int answer;
  } cases[] = {{"e", 'E'}, {"z", 'Z'}, {"Q", 'Q'},    {"7", 0},   {"`", 0},
               {"", -1},   {"ab", -1}, {nullptr, -1}, {"\xE9", 0}};
  for (const auto& c : cases)
    EXPECT_EQ(BlankAnswerFromText(c.text), c.answer) << (c.text ? c.text : "(null)");
}

// Runs the rule with a queue of answers; returns how many were asked.
int Resolve(char* letter, std::deque<int> answers) {
  int asked = 0;
  ResolveBlankLetter(letter, [&] {
    ++asked;
    if (answers.empty()) return int{'X'};  // a safety stop for a runaway loop
    const int a = answers.front();
    answers.pop_front();
    return a;
  });
  return asked;
}

TEST(BlankLetter, UnassignedBlankIsAskedAgainUntilALetter) {
  char letter = kUnassignedBlankLetter;
  EXPECT_EQ(Resolve(&letter, {0, 0, 'E'}), 3);
  EXPECT_EQ(letter, 'E');
}

TEST(BlankLetter, AQuestionThatCannotBeShownEndsTheLoop) {
  char letter = kUnassignedBlankLetter;
  EXPECT_EQ(Resolve(&letter, {0, -1}), 2);
  EXPECT_EQ(letter, kUnassignedBlankLetter);
}

TEST(BlankLetter, BlankWithALetterKeepsItOnANonLetterAnswer) {
  char letter = 'K';
  EXPECT_EQ(Resolve(&letter, {0}), 1);
  EXPECT_EQ(letter, 'K');
  EXPECT_EQ(Resolve(&letter, {'R'}), 1);
  EXPECT_EQ(letter, 'R');
}

TEST(ExchangeChoice, ChoosingAndReturningKeepsTheRackInPlace) {
  ExchangeChoice c;
  c.Reset("ab_d`fg", 7);
  EXPECT_EQ(c.RackCell(2), 0);
  EXPECT_FALSE(c.Choose(2));  // an empty place
  EXPECT_TRUE(c.Choose(3));
  EXPECT_TRUE(c.Choose(0));
  EXPECT_FALSE(c.Choose(0));  // chosen already
  EXPECT_EQ(c.Letters(), "da");
  EXPECT_EQ(c.RackCell(0), 0);
  EXPECT_EQ(c.Slot(0), 'd');
  EXPECT_TRUE(c.Return(0));  // d goes back; a moves up
  EXPECT_EQ(c.Slot(0), 'a');
  EXPECT_EQ(c.Slot(1), 0);
  EXPECT_EQ(c.RackCell(3), 'd');
  EXPECT_FALSE(c.Return(1));
  EXPECT_EQ(c.ChooseAll(), 5);  // b d ` f g; a stays chosen once
  EXPECT_EQ(c.Letters(), "abd`fg");
  c.ReturnAll();
  EXPECT_EQ(c.Letters(), "");
  EXPECT_EQ(c.RackCell(4), '`');
}

TEST(ExchangeChoice, ShortRackTextsAndOutOfRangeCells) {
  ExchangeChoice c;
  c.Reset("ab", 7);  // the text ends early: the rest is empty
  EXPECT_EQ(c.ChooseAll(), 2);
  EXPECT_FALSE(c.Choose(-1));
  EXPECT_FALSE(c.Choose(7));
  EXPECT_FALSE(c.Return(kExchangeSlots));
  EXPECT_EQ(c.Slot(-1), 0);
  c.Reset("abcdefghijkl", 20);  // never more places than slots
  EXPECT_EQ(c.Places(), kExchangeSlots);
  EXPECT_EQ(c.ChooseAll(), kExchangeSlots);
  EXPECT_EQ(c.Letters(), "abcdefgh");
  c.Reset(nullptr, 7);
  EXPECT_EQ(c.ChooseAll(), 0);
}

TEST(DictionaryLevel, OneToTen) {
  EXPECT_FALSE(IsDictionaryLevel(0));
  EXPECT_TRUE(IsDictionaryLevel(1));
  EXPECT_TRUE(IsDictionaryLevel(10));
  EXPECT_FALSE(IsDictionaryLevel(11));
}

TEST(MoveListLayout, ButtonsApartOrOnTheQuarters) {
  // Wide: 10 pixels either side of the centre.
  MoveListLayout l = LayOutMoveList(300, 200, 40, 20);
  EXPECT_EQ(l.previous.right, 140);
  EXPECT_EQ(l.next.left, 160);
  EXPECT_EQ(l.previous.top, 178);
  EXPECT_EQ(l.list.top, 2);
  EXPECT_EQ(l.list.bottom, 176);
  EXPECT_EQ(l.list.right, 300);
  // Narrow (w/2 <= b + 10): centred on the quarters.
  l = LayOutMoveList(100, 200, 40, 20);
  EXPECT_EQ((l.previous.left + l.previous.right) / 2, 25);
  EXPECT_EQ((l.next.left + l.next.right) / 2, 75);
  // Too low for the list: it keeps no negative height.
  l = LayOutMoveList(100, 10, 40, 20);
  EXPECT_GE(l.list.bottom, l.list.top);
}

}  // namespace
}  // namespace ui
