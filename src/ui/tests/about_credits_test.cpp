// The about box's credit lines and scroller: the layout codes, the speed
// limits, the lines moving through the slots and the pause between passes.
#include "ui/about_credits.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(CreditLine, LayoutCodes) {
  const struct {
    const char* line;
    const char* text;
    uint32_t align;
  } cases[] = {
      {"CCentred", "Centred", kCreditCentre},
      {"c  lower", "lower", kCreditCentre},
      {"LLeft", "Left", kCreditLeft},
      {"R right", "right", kCreditRight},
      {"t Indented", "Indented", kCreditIndent},
      {"V", "1.0.0.1", kCreditCentre},
      {"v whatever", "1.0.0.1", kCreditCentre},
      {"~ tilde", "~ tilde", kCreditLeft},
      {" ", " ", kCreditLeft},
      {"", "", kCreditLeft},
  };
  for (const auto& c : cases) {
    const CreditLine l = DecodeCreditLine(c.line, "1.0.0.1");
    EXPECT_EQ(l.text, c.text) << c.line;
    EXPECT_EQ(l.align, c.align) << c.line;
  }
  EXPECT_EQ(DecodeCreditLine("V", nullptr).text, kVersionErrorText);
}

TEST(CreditLine, ProgramLinesAndPastTheEnd) {
  ASSERT_GT(CreditLineCount(), 0);
  for (int i = 0; i < CreditLineCount(); ++i)
    EXPECT_LT(GetCreditLine(i, "v").text.size(), size_t{kCreditLineWidth});
  EXPECT_EQ(GetCreditLine(CreditLineCount(), "v").text, "");
  EXPECT_EQ(GetCreditLine(-1, "v").text, "");
}

TEST(CreditScroller, SpeedStaysWithinOneToTen) {
  CreditScroller s(3);
  s.Slower();
  EXPECT_EQ(s.Speed(), 1);
  for (int i = 0; i < 15; ++i)
    s.Faster();
  EXPECT_EQ(s.Speed(), 10);
}

TEST(CreditScroller, LinesEnterAtTheBottomAndLeaveAtTheTop) {
  CreditScroller s(2);
  for (int i = 0; i < 22; ++i)
    s.Tick();  // one slot height at speed 1
  EXPECT_EQ(s.SlotLine(kCreditSlots - 1), 0);
  EXPECT_EQ(s.Offset(), 0);
  for (int i = 0; i < 22; ++i)
    s.Tick();
  EXPECT_EQ(s.SlotLine(kCreditSlots - 2), 0);
  EXPECT_EQ(s.SlotLine(kCreditSlots - 1), 1);
  // The lines climb the slots, then every one has left: a pause follows.
  int ticks = 0;
  while (s.State() == kScrollerScrolling && ticks < 10000) {
    s.Tick();
    ++ticks;
  }
  EXPECT_EQ(s.State(), kScrollerPausing);
  EXPECT_EQ(ticks, 22 * kCreditSlots);
  for (int i = 0; i < 20; ++i)
    s.Tick();
  EXPECT_EQ(s.State(), kScrollerScrolling);  // the next pass starts
}

TEST(CreditScroller, WithoutLinesItPausesThenFinishes) {
  CreditScroller s(0);
  EXPECT_EQ(s.Tick(), kScrollerPausing);
  for (int i = 0; i < 19; ++i)
    EXPECT_EQ(s.Tick(), kScrollerPausing);
  EXPECT_EQ(s.Tick(), kScrollerFinished);
  EXPECT_EQ(s.Tick(), kScrollerFinished);
}

}  // namespace
}  // namespace ui
