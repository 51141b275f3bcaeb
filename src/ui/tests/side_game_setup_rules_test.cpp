// The set-up dialogs' checks: player counts, letters counts, forced letters
// and the anagram draw, the time minimums and the first turn when lines go.
#include "ui/side_game_setup_rules.h"

#include <gtest/gtest.h>

#include "rules/game_kind.h"

namespace ui {
namespace {

TEST(SetupRules, PlayerAndLettersCounts) {
  EXPECT_FALSE(IsSetupPlayerCount(0, false));
  EXPECT_TRUE(IsSetupPlayerCount(4, false));
  EXPECT_FALSE(IsSetupPlayerCount(5, false));
  EXPECT_TRUE(IsSetupPlayerCount(16, true));
  EXPECT_FALSE(IsSetupPlayerCount(17, true));
  EXPECT_TRUE(IsSideGameLettersCount(kKindAnagram, 3));
  EXPECT_FALSE(IsSideGameLettersCount(kKindAnagram, 2));
  EXPECT_TRUE(IsSideGameLettersCount(kKindAnagram, 12));
  EXPECT_FALSE(IsSideGameLettersCount(kKindAnagram, 13));
  EXPECT_FALSE(IsSideGameLettersCount(kKindConundrum, 6));
  EXPECT_TRUE(IsSideGameLettersCount(kKindConundrum, 7));
  EXPECT_FALSE(IsSideGameLettersCount(kKindStandard, 7));
}

TEST(SetupRules, ForcedLettersAndDrawPattern) {
  EXPECT_EQ(NormalizeForcedLetters("AbC"), "abc");
  EXPECT_EQ(NormalizeForcedLetters("abcdefghijklmnopqrs"), "abcdefghijklmno");
  EXPECT_EQ(NormalizeForcedLetters(nullptr), "");
  EXPECT_TRUE(AreForcedLettersValid(""));
  EXPECT_TRUE(AreForcedLettersValid("qz"));
  EXPECT_FALSE(AreForcedLettersValid("q z"));
  EXPECT_FALSE(AreForcedLettersValid("a1"));
  EXPECT_EQ(AnagramDrawPattern("", 4), "````");
  EXPECT_EQ(AnagramDrawPattern("ab", 5), "ab```");
  // Twelve forced letters of twelve: no wildcard; more than the count: cut.
  EXPECT_EQ(AnagramDrawPattern("abcdefghijkl", 12), "abcdefghijkl");
  EXPECT_EQ(AnagramDrawPattern("abcdefg", 4), "abcd");
  EXPECT_EQ(AnagramDrawPattern("abc", 0), "");
}

TEST(SetupRules, TimeMinimums) {
  bool raised = false;
  EXPECT_EQ(GameTimeMs(25, 0, &raised), 1500000);
  EXPECT_FALSE(raised);
  EXPECT_EQ(GameTimeMs(4, 59, &raised), 300000);
  EXPECT_TRUE(raised);
  EXPECT_EQ(MoveTimeMs(0, 29, &raised), 30000);
  EXPECT_TRUE(raised);
  EXPECT_EQ(MoveTimeMs(0, 30, &raised), 30000);
  EXPECT_FALSE(raised);
  EXPECT_EQ(MoveTimeMs(3, 0, nullptr), 180000);
  EXPECT_EQ(MoveTimeMs(-2, -5, &raised), 30000);  // negative spins count as 0
}

TEST(SetupRules, FirstTurnFollowsTheCount) {
  EXPECT_EQ(FirstTurnLineAfterCount(4, 3), 3);
  EXPECT_EQ(FirstTurnLineAfterCount(4, 1), 1);  // two lines at once: within the count
  EXPECT_EQ(FirstTurnLineAfterCount(2, 3), 2);
  EXPECT_EQ(FirstTurnLineAfterCount(0, 3), 1);
  EXPECT_EQ(DefaultPlayerName(3), "Player3");
}

}  // namespace
}  // namespace ui
