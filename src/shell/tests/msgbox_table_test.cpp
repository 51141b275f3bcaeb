#include "shell/msgbox_table.h"

#include "shell/startup_logic.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MsgBoxTable, ButtonsResultsAndDismissOfEverySet) {
  struct Case {
    uint32_t flags;
    std::string buttons;  // "control:string:result" left to right
    int dismiss;
    int plainClose;
  } cases[] = {
      {0, "1:0:1", 1, 0},
      {1, "1:0:1 2:0:2", 2, 2},
      {2, "162:1855:3 1:1856:4 2:1857:5", 5, 0},
      {3, "162:1853:6 1:1854:7 2:0:2", 2, 2},
      {4, "162:1853:6 1:1854:7", 7, 0},
      {5, "1:1856:4 2:0:2", 2, 2},
      {6, "1:0:1", 1, 0},
      {14, "1:0:1", 1, 0},
      {15, "2:0:2", 2, 0},
      {0x34, "162:1853:6 1:1854:7", 7, 0},  // higher bits do not count
  };
  for (const Case& c : cases) {
    const shell::MsgBoxLayout& l = shell::GetMsgBoxLayout(c.flags);
    std::string got;
    for (int i = 0; i < l.count; ++i)
      got += (i ? " " : "") + std::to_string(l.buttons[i].controlId) + ":" +
             std::to_string(l.buttons[i].stringId) + ":" + std::to_string(l.buttons[i].result);
    EXPECT_EQ(got, c.buttons) << c.flags;
    EXPECT_EQ(shell::MsgBoxCloseResult(c.flags, 19), c.dismiss) << c.flags;
    EXPECT_EQ(shell::MsgBoxCloseResult(c.flags, 0), c.plainClose) << c.flags;
    for (int i = 0; i < l.count; ++i)
      EXPECT_EQ(shell::MsgBoxCommandResult(c.flags, l.buttons[i].controlId), l.buttons[i].result);
  }
  // Commands of controls a set does not show do nothing (Escape's Cancel in
  // sets 0 and 4).
  EXPECT_EQ(shell::MsgBoxCommandResult(0, 2), 0);
  EXPECT_EQ(shell::MsgBoxCommandResult(4, 2), 0);
  EXPECT_EQ(shell::MsgBoxCommandResult(15, 1), 0);
  EXPECT_EQ(shell::MsgBoxCommandResult(1, 162), 0);
}

TEST(MsgBoxTable, SoundsAndButtonPositions) {
  EXPECT_STREQ(shell::MsgBoxCommandSound(1), "SBouOK1.wav");
  EXPECT_STREQ(shell::MsgBoxCommandSound(6), "SBouOK1.wav");
  EXPECT_STREQ(shell::MsgBoxCommandSound(162), "SBouFer1.wav");
  EXPECT_STREQ(shell::MsgBoxCommandSound(2), "SBouFer1.wav");
  EXPECT_EQ(shell::MsgBoxCommandSound(163), nullptr);

  struct Case {
    int width, count;
    int widths[3];
    int lefts[3];
  } cases[] = {
      {300, 1, {80}, {110}},
      {300, 2, {60, 60}, {60, 180}},           // free 180: gaps of 60
      {400, 3, {60, 60, 60}, {55, 170, 285}},  // free 220: gaps of 55
      {100, 2, {80, 80}, {-20, 40}},           // too narrow: overlap stays symmetric
  };
  for (const Case& c : cases) {
    int lefts[3] = {};
    shell::MsgBoxButtonPositions(c.width, c.count, c.widths, lefts);
    for (int i = 0; i < c.count; ++i)
      EXPECT_EQ(lefts[i], c.lefts[i]) << c.width << " " << c.count << " " << i;
  }
  // The box answers the test switch as the start-up's notice sink does.
  for (uint32_t flags = 0; flags < 16; ++flags)
    EXPECT_EQ(shell::MsgBoxAutoAnswer(flags), shell::DefaultButtonFor(flags)) << flags;
  EXPECT_EQ(shell::ClampAutoAnswerDelay(-5), 0);
  EXPECT_EQ(shell::ClampAutoAnswerDelay(250), 250);
  EXPECT_EQ(shell::ClampAutoAnswerDelay(1000000), 60000);
}

}  // namespace
