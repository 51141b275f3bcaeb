// The position set-up's check of a hand-made position, the positions its
// refusal names, the letter buttons' bitmaps and the remaining-tile counts,
// against the program's English lexicon.
#include "ui/position_setup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "lexicon_fixture.h"
#include "platform/path.h"
#include "rules/layouts.h"

namespace ui {
namespace {

class PositionSetup : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string main = platform::JoinPath(TESS_BUILD_DIR, Lexicon::MainGraphName(0));
    if (platform::FileExists(main.c_str())) lexfix::LoadGlobal(TESS_BUILD_DIR, kLanguageEnglish);
  }
  static void TearDownTestSuite() { DestroyLexicon(); }
  void SetUp() override {
    if (!GetLexicon()) GTEST_SKIP() << "the build has not made the English lexicon";
    facts.grid = grid;
    facts.gameBoard = game;
    facts.rackTiles = 7;
    facts.bagTiles = 60;
  }
  void Lay(char* cells, int row, int column, const char* word, bool down = false) {
    for (int i = 0; word[i]; ++i)
      cells[(row + (down ? i : 0)) * kBoardStride + column + (down ? 0 : i)] = word[i];
  }
  SetupCheck Check() { return CheckSetupPosition(facts, *GetLexicon()); }

  char grid[kBoardSquares] = {};
  char game[kBoardSquares] = {};
  SetupFacts facts;
};

TEST_F(PositionSetup, RackMustBeFullWhileTheBagHoldsTiles) {
  Lay(grid, 7, 6, "cat");
  facts.rackTiles = 6;
  const SetupCheck refused = Check();
  EXPECT_EQ(refused.verdict, SetupVerdict::kRackIncomplete);
  EXPECT_EQ(refused.message, "You must fill the racks before you can confirm");
  facts.bagTiles = 0;
  EXPECT_EQ(Check().verdict, SetupVerdict::kAccepted);
  facts.rackTiles = 0;
  EXPECT_EQ(Check().verdict, SetupVerdict::kRackIncomplete);
}

TEST_F(PositionSetup, ValidWordsJoinedToTheCentreAreAccepted) {
  Lay(game, 7, 6, "cat");
  Lay(grid, 7, 6, "cat");
  Lay(grid, 6, 8, "at", true);  // "at" down through the T... placed above it
  grid[7 * kBoardStride + 8] = 't';
  Lay(grid, 8, 8, "e", true);  // a-t-e down: "ate"
  const SetupCheck c = Check();
  EXPECT_EQ(c.verdict, SetupVerdict::kAccepted) << c.message;
}

TEST_F(PositionSetup, FaultyWordsAreListedWithTheirPositions) {
  Lay(grid, 7, 6, "xqz");  // across from column 6, row 7: G8a
  Lay(grid, 2, 2, "dog");  // valid but not joined
  SetupCheck c = Check();
  ASSERT_EQ(c.verdict, SetupVerdict::kFaultyWords);
  EXPECT_EQ(c.message,
            "This is not a valid position on the board. Please resolve the problem(s) below:"
            "\nWord(s) not valid:  [G8a] XQZ."
            "\nPosition(s) not valid:  [C3a] DOG.");
  facts.language = 1;
  c = Check();
  EXPECT_NE(c.message.find("[H7] XQZ"), std::string::npos) << c.message;
}

TEST_F(PositionSetup, WordAwayFromTheCentreOnAnEmptyBoardIsNotJoined) {
  Lay(grid, 0, 0, "dog", true);
  Lay(grid, 0, 4, "cat");
  const SetupCheck c = Check();
  ASSERT_EQ(c.verdict, SetupVerdict::kFaultyWords);
  EXPECT_TRUE(c.notValid.empty());
  EXPECT_EQ(c.notJoined, (std::vector<std::string>{" [E1a] CAT", " [A1d] DOG"}));
}

TEST_F(PositionSetup, LoneLetterIsAOneLetterWord) {
  grid[7 * kBoardStride + 7] = 'q';
  std::vector<RobotMove> words;
  const uint32_t r = ExtractNewWords(grid, game, 15, &words);
  ASSERT_EQ(r & 0xFFFF, 1u);
  EXPECT_STREQ(words[0].word, "q");
  EXPECT_EQ(words[0].column, 7);
  EXPECT_EQ(words[0].row, 7);
  const SetupCheck c = Check();
  EXPECT_EQ(c.notValid, (std::vector<std::string>{" [H8a] Q"}));
}

TEST(SetupPositions, NotationByLanguage) {
  RobotMove across, down;
  across.column = 6, across.row = 7;
  down.column = 6, down.row = 7, down.direction = 1;
  EXPECT_EQ(FormatSetupPosition(across, 0), "G8a");
  EXPECT_EQ(FormatSetupPosition(down, 0), "G8d");
  EXPECT_EQ(FormatSetupPosition(across, 1), "H7");
  EXPECT_EQ(FormatSetupPosition(down, 1), "7H");
}

TEST(LetterButtons, BitmapsByLanguage) {
  EXPECT_EQ(LetterBitmapId(11, 0), 3867);
  EXPECT_EQ(LetterBitmapId(11, 1), 3851);
  EXPECT_EQ(LetterBitmapId(25, 0), 3872);
  EXPECT_EQ(LetterBitmapId(0, 0), 3840);
  EXPECT_EQ(LetterBitmapId(1, 0), 3841);
}

TEST(RemainingTileCounts, BoardAndRackAreTakenFromTheSet) {
  int32_t counts[kLetterSlots] = {};
  counts[0] = 2, counts[1] = 9, counts[5] = 12;  // blanks, A, E
  char board[kBoardSquares] = {};
  board[7 * kBoardStride + 7] = 'a';
  board[7 * kBoardStride + 8] = 'E';  // a blank showing E
  const RemainingTiles t = ComputeRemainingTiles(board, 15, "ae`____", 7, counts);
  EXPECT_EQ(t.board[1], 1);
  EXPECT_EQ(t.board[0], 1);
  EXPECT_EQ(t.rack[0], 1);
  EXPECT_EQ(t.remaining[0], 0);
  EXPECT_EQ(t.remaining[1], 7);
  EXPECT_EQ(t.remaining[5], 11);
  EXPECT_EQ(t.total, 18);
  // 3 of 9 left: r = 1/3.
  EXPECT_EQ(RemainingColour(3, 9), 0x01u | (43u << 8) | (85u << 16));
  EXPECT_EQ(RemainingColour(9, 9), 0x01u | (128u << 8) | (1u << 16));
}

}  // namespace
}  // namespace ui
