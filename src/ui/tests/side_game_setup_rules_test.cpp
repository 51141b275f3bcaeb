// The set-up dialogs' checks: player counts, letters counts, forced letters
// and the anagram draw, and the first turn when lines go.
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

TEST(SetupRules, FirstTurnFollowsTheCount) {
  EXPECT_EQ(FirstTurnLineAfterCount(4, 3), 3);
  EXPECT_EQ(FirstTurnLineAfterCount(4, 1), 1);  // two lines at once: within the count
  EXPECT_EQ(FirstTurnLineAfterCount(2, 3), 2);
  EXPECT_EQ(FirstTurnLineAfterCount(0, 3), 1);
  EXPECT_EQ(DefaultPlayerName(3), "Player3");
}

}  // namespace
}  // namespace ui
