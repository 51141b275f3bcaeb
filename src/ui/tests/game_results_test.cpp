#include "ui/game_results.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

std::vector<RankedPlayer> Ranked(std::vector<RankedPlayer> players) {
  RankPlayers(&players);
  return players;
}

TEST(Results, RankingKeepsSeatOrderForEqualScores) {
  auto r = Ranked({{"Ada", 200, true}, {"Basil", 310, false}, {"Cleo", 200, false}});
  EXPECT_EQ(r[0].name, "Basil");
  EXPECT_EQ(r[1].name, "Ada");
  EXPECT_EQ(r[2].name, "Cleo");
}

TEST(Results, ClassicRemarksByRankAndScore) {
  struct Case {
    std::vector<RankedPlayer> players;
    uint32_t id;
  } cases[] = {
      {{{"Ada", 420, true}, {"Bot", 300, false}}, 7008},
      {{{"Ada", 360, true}, {"Bot", 300, false}}, 7009},
      {{{"Ada", 300, true}, {"Bot", 200, false}}, 7010},
      {{{"Ada", 299, true}, {"Bot", 200, false}}, 7011},
      // Second of two is last: the beginner's remark, not the runner-up's.
      {{{"Ada", 250, true}, {"Bot", 300, false}}, 7015},
      {{{"Ada", 250, true}, {"Bot", 300, false}, {"Cy", 100, false}}, 7012},
      {{{"Ada", 150, true}, {"Bot", 300, false}, {"Cy", 100, false}}, 7013},
      {{{"Ada", 150, true}, {"Bot", 300, false}, {"Cy", 200, false}, {"Di", 1, false}}, 7014},
      {{{"Ada", 300, true}, {"Bob", 300, true}, {"Bot", 500, false}}, 1876},
      {{{"Bot", 300, false}, {"Cy", 200, false}}, 0},  // no human: no remark
  };
  for (const Case& c : cases) {
    EndOfGameRemark r = MakeEndOfGameRemark(0, Ranked(c.players), 0);
    EXPECT_EQ(r.stringId, c.id) << c.players[0].score;
    if (c.id && c.id != 1876) {
      EXPECT_NE(r.text.find("Ada"), std::string::npos) << r.text;
    }
    if (!c.id) {
      EXPECT_TRUE(r.text.empty());
    }
  }
}

TEST(Results, DuplicateRemarksByShareOfTheTopScore) {
  struct Case {
    int32_t score, reference;
    uint32_t id;
  } cases[] = {{500, 500, 7016}, {450, 500, 7017}, {449, 500, 7018}, {400, 500, 7018},
               {300, 500, 7019}, {250, 500, 7020}, {150, 500, 7021}, {50, 500, 7022},
               {49, 500, 7023},  {0, 0, 7016}};
  for (const Case& c : cases)
    EXPECT_EQ(MakeEndOfGameRemark(1, {{"Ada", c.score, true}}, c.reference).stringId, c.id)
        << c.score << "/" << c.reference;
}

TEST(Results, SideGamesNameTheWinnerWhoeverItIs) {
  EndOfGameRemark r = MakeEndOfGameRemark(2, Ranked({{"Ada", 3, true}, {"Bot", 9, false}}), 0);
  EXPECT_EQ(r.stringId, 7049u);
  EXPECT_EQ(r.text, "Bot has won the game");
  EXPECT_EQ(MakeEndOfGameRemark(0, {}, 0).stringId, 0u);
}

TEST(InfoStrip, TextsByKindAndRoom) {
  GameInfoFacts classic;
  GameInfoTexts t = MakeGameInfoTexts(classic);
  EXPECT_EQ(t.heading, "Turn ");
  EXPECT_EQ(t.title, "Turn ");
  EXPECT_TRUE(t.line.empty());

  GameInfoFacts anagram;
  anagram.kind = 2;
  anagram.turn = 4;
  anagram.turnCount = 10;
  anagram.solutionsLeft = 3;
  t = MakeGameInfoTexts(anagram);
  EXPECT_EQ(t.heading, "Turn 5/10");
  EXPECT_EQ(t.line, "3 solution(s) remaining");
  EXPECT_EQ(t.title, "Anagram");
  anagram.turnCount = -1;
  EXPECT_EQ(MakeGameInfoTexts(anagram).heading, "Turn 5");

  GameInfoFacts swiss;
  swiss.tournamentRoom = swiss.tournament = true;
  swiss.tournamentKind = 1;
  swiss.gameIndex = 2;
  swiss.roundCount = 7;
  swiss.ranked = true;
  t = MakeGameInfoTexts(swiss);
  EXPECT_EQ(t.heading, "Game 3/7");
  EXPECT_EQ(t.line, "Ranked");
  EXPECT_EQ(t.title, "Swiss Tournament");

  GameInfoFacts duplicate = swiss;
  duplicate.kind = 1;
  duplicate.roundIndex = 0;
  t = MakeGameInfoTexts(duplicate);
  EXPECT_EQ(t.heading, "Round 1/7");
  EXPECT_EQ(t.line, "Duplicate");
  EXPECT_EQ(t.title, "Championship");

  GameInfoFacts empty;
  empty.tournamentRoom = true;  // no tournament running
  t = MakeGameInfoTexts(empty);
  EXPECT_TRUE(t.heading.empty());
  EXPECT_TRUE(t.title.empty());
}

}  // namespace
}  // namespace ui
