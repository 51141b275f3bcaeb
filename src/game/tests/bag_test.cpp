#include "rules/bag.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "rules/board.h"
#include "game/crossagram_settings.h"
#include "game/game.h"
#include "game/program_folder.h"
#include "rules/tileset.h"
#include "platform/crand.h"
#include "recording_sink.h"

namespace {

class BagTest : public testing::Test {
 protected:
  void StartGame(int32_t kind, int tileSet = 0, int32_t flags = 0) {
    game = std::make_unique<CGame>();
    game->setup.kind = kind;
    game->setup.flags = flags;
    game->rules->Setup(tileSet, 7, &game->setup);
    platform::SeedRandom(12345);
    game->FillBag();
  }

  // Draws until the bag refuses; returns the drawn counts.
  std::array<int, kLetterSlots> DrawAll(int mode = kDrawAny) {
    std::array<int, kLetterSlots> drawn{};
    for (int guard = 0; guard < 1000; ++guard) {
      const char c = game->bag.DrawRack(game->BagRules(), mode, true);
      if (c == kEmptyRackPlace) break;
      ++drawn[LetterIndex(c)];
    }
    return drawn;
  }

  // The bag's invariant: the draw order holds exactly the counted tiles.
  void ExpectConsistent() {
    const TileBag& bag = game->bag;
    int fromOrder[kLetterSlots] = {};
    int sum = 0;
    for (int p = 0; p < bag.tileCount; ++p) {
      ASSERT_GE(bag.drawOrder[p], 0);
      ASSERT_LT(bag.drawOrder[p], kLetterSlots);
      ++fromOrder[bag.drawOrder[p]];
    }
    for (int i = 0; i < kLetterSlots; ++i) {
      EXPECT_EQ(fromOrder[i], bag.counts[i]) << "letter index " << i;
      sum += bag.counts[i];
    }
    EXPECT_EQ(sum, bag.tileCount);
  }

  std::unique_ptr<CGame> game;
};

TEST_F(BagTest, DrawingTheWholeBagReproducesTheTileSet) {
  for (int set = 0; set < kTileSetCount; ++set) {
    StartGame(kKindStandard, set);
    SCOPED_TRACE(testing::Message() << "set " << set);
    EXPECT_EQ(game->bag.tileCount, game->rules->totalTiles);
    ExpectConsistent();
    const auto drawn = DrawAll();
    for (int i = 0; i < kLetterSlots; ++i)
      EXPECT_EQ(drawn[i], GetTileSet(set)->counts[i]) << i;
    EXPECT_EQ(game->bag.tileCount, 0);
    EXPECT_EQ(game->bag.firstLetter, -1);
    EXPECT_EQ(game->bag.DrawRack(game->BagRules(), kDrawAny, true), kEmptyRackPlace);
  }
}

TEST_F(BagTest, SeededGamesDealTheSameTiles) {
  StartGame(kKindStandard);
  std::string first;
  for (int i = 0; i < 20; ++i)
    first += game->bag.DrawRack(game->BagRules(), kDrawAny, true);
  StartGame(kKindStandard);
  std::string second;
  for (int i = 0; i < 20; ++i)
    second += game->bag.DrawRack(game->BagRules(), kDrawAny, true);
  EXPECT_EQ(first, second);
}

TEST_F(BagTest, DrawModes) {
  StartGame(kKindStandard);
  // Peeking leaves the bag as it was.
  const int before = game->bag.tileCount;
  for (int i = 0; i < 10; ++i)
    game->bag.DrawRack(game->BagRules(), kDrawAny, false);
  EXPECT_EQ(game->bag.tileCount, before);

  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(game->bag.DrawRack(game->BagRules(), kDrawBlank, false), kUnassignedBlank);
    EXPECT_NE(game->bag.DrawRack(game->BagRules(), kDrawNoBlank, false), kUnassignedBlank);
    const char nonVowel = game->bag.DrawRack(game->BagRules(), kDrawNonVowel, false);
    EXPECT_FALSE(game->rules->IsVowelIndex(LetterIndex(nonVowel))) << nonVowel;
  }
  // English vowels are A E I O U: 42 tiles; then mode 0 finds none.
  const auto vowels = DrawAll(kDrawVowel);
  int n = 0;
  for (int i = 0; i < kLetterSlots; ++i) {
    n += vowels[i];
    if (vowels[i]) {
      EXPECT_TRUE(game->rules->IsVowelIndex(i));
    }
  }
  EXPECT_EQ(n, 9 + 12 + 9 + 8 + 4);
  EXPECT_EQ(game->bag.tileCount, 100 - 42);
  ExpectConsistent();
  // Blanks drawn out: mode 2 refuses.
  EXPECT_EQ(DrawAll(kDrawBlank)[0], 2);
  EXPECT_EQ(game->bag.DrawRack(game->BagRules(), kDrawBlank, true), kEmptyRackPlace);
}

TEST_F(BagTest, DrawEndsWhenNoTileFits) {
  // A blank-per-player duplicate bag holding only its two blanks: they are
  // not drawn at random while another tile is left, and nothing else fits.
  StartGame(kKindDuplicate, 0, kFlagBlankPerPlayer);
  std::memset(game->bag.counts, 0, sizeof game->bag.counts);
  game->bag.counts[0] = 2;
  game->bag.ReturnLetters(game->BagRules(), "", 0);  // reshuffles the two blanks into place
  ASSERT_EQ(game->bag.tileCount, 2);
  EXPECT_EQ(game->bag.DrawRack(game->BagRules(), kDrawAny, true), kEmptyRackPlace);
  EXPECT_EQ(game->bag.DrawRack(game->BagRules(), kDrawNonVowel, true), kEmptyRackPlace);
  EXPECT_EQ(game->bag.DrawRack(game->BagRules(), kDrawNoBlank, true), kEmptyRackPlace);
  EXPECT_EQ(game->bag.DrawRack(game->BagRules(), kDrawBlank, true), kUnassignedBlank);
  // Now the blank is the last tile and may be drawn.
  EXPECT_EQ(game->bag.DrawRack(game->BagRules(), kDrawAny, true), kUnassignedBlank);
  EXPECT_TRUE(game->bag.IsEmpty());
}

TEST_F(BagTest, HasLetterTakesFromCountsAndDrawOrder) {
  StartGame(kKindStandard);
  EXPECT_TRUE(game->bag.HasLetter(game->BagRules(), 'z'));
  EXPECT_FALSE(game->bag.HasLetter(game->BagRules(), 'z'));
  EXPECT_TRUE(game->bag.HasLetter(game->BagRules(), '`'));
  EXPECT_EQ(game->bag.tileCount, 98);
  ExpectConsistent();
  const auto drawn = DrawAll();
  EXPECT_EQ(drawn[26], 0);
  EXPECT_EQ(drawn[0], 1);

  StartGame(kKindConundrum);
  EXPECT_TRUE(game->bag.HasLetter(game->BagRules(), 'z'));
  EXPECT_TRUE(game->bag.HasLetter(game->BagRules(), 'z'));  // a conundrum bag only lends
  EXPECT_EQ(game->bag.tileCount, 100);
}

TEST_F(BagTest, DrawGivenLettersTakesAllOrNothing) {
  testsupport::RecordingSink sink;
  // One Z in the set: "zz" fails on the second and changes nothing.
  StartGame(kKindStandard);
  TileBag before;
  before.CopyFrom(game->bag);
  EXPECT_FALSE(game->DrawGivenLetters("zz", 2));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "No more 'z' in the bag.");
  EXPECT_EQ(std::memcmp(before.counts, game->bag.counts, sizeof before.counts), 0);
  EXPECT_EQ(std::memcmp(before.drawOrder, game->bag.drawOrder, sizeof before.drawOrder), 0);
  EXPECT_EQ(before.tileCount, game->bag.tileCount);

  EXPECT_FALSE(game->DrawGivenLetters("```", 3));
  EXPECT_EQ(sink.messages.back().text, "There are no jokers left in the bag.");
  EXPECT_EQ(game->bag.tileCount, 100);

  EXPECT_TRUE(game->DrawGivenLetters("qu_i\0z`", 7));
  EXPECT_EQ(game->bag.tileCount, 95);
  EXPECT_EQ(game->bag.counts[17], 0);
  EXPECT_EQ(game->bag.counts[0], 1);
  ExpectConsistent();

  // The blank-per-player game hands a blank showing a letter from its own
  // counter, not from the bag.
  StartGame(kKindDuplicate, 0, kFlagBlankPerPlayer);
  EXPECT_EQ(game->blanksToHandOut, 2);
  EXPECT_TRUE(game->DrawGivenLetters("EE", 2));
  EXPECT_EQ(game->blanksToHandOut, 0);
  EXPECT_EQ(game->bag.tileCount, 100);
  EXPECT_FALSE(game->DrawGivenLetters("S", 1));
  EXPECT_EQ(sink.messages.back().text, "There are no jokers left in the bag.");

  // Anagram bags are never drawn from.
  StartGame(kKindAnagram);
  EXPECT_TRUE(game->DrawGivenLetters("abc", 3));
  EXPECT_EQ(game->bag.tileCount, 100);
  EXPECT_EQ(game->bag.counts[1], 9);
}

TEST_F(BagTest, ReturnLettersCapsAtTheTileSet) {
  StartGame(kKindStandard);
  EXPECT_EQ(game->bag.ReturnLetters(game->BagRules(), "e", 1), 0);  // already all twelve
  char drawn[8] = {};
  for (int i = 0; i < 7; ++i)
    drawn[i] = game->bag.DrawRack(game->BagRules(), kDrawAny, true);
  EXPECT_EQ(game->bag.tileCount, 93);
  EXPECT_EQ(game->bag.ReturnLetters(game->BagRules(), drawn, 7), 7);
  EXPECT_EQ(game->bag.tileCount, 100);
  ExpectConsistent();
  EXPECT_EQ(game->bag.ReturnLetters(game->BagRules(), "_\0_", 3), 0);

  // An empty bag comes back to life.
  DrawAll();
  EXPECT_EQ(game->bag.firstLetter, -1);
  EXPECT_EQ(game->bag.ReturnLetters(game->BagRules(), "b", 1), 1);
  EXPECT_EQ(game->bag.firstLetter, 2);
  EXPECT_EQ(game->bag.DrawRack(game->BagRules(), kDrawAny, true), 'b');
}

TEST(CrossagramSettings, ParsesAndClamps) {
  const char text[] = "Player1=12;Player2=3;Rack=40;Blank=300;A=2x;B=9#;C=4;";
  CrossagramSettings s = ParseCrossagramSettings(text, sizeof text - 1);
  ASSERT_EQ(s.valueCount, 6);
  EXPECT_EQ(s.values[0], 12);
  EXPECT_EQ(s.values[2], 40);
  EXPECT_EQ(s.values[4], 2);
  EXPECT_EQ(s.values[5], 9);

  CGame game;
  game.players[0] = std::make_unique<GamePlayer>(0);
  game.rules->Setup(0, 7);
  ApplyCrossagramSettings(s, game);
  EXPECT_EQ(game.players[0]->entry.options[2], 12);
  EXPECT_EQ(game.rules->rackSize, 15);        // no wider than the board
  EXPECT_EQ(game.rules->tileCounts[0], 220);  // the bag's places, then nothing
  EXPECT_EQ(game.rules->tileCounts[1], 0);
  EXPECT_EQ(game.rules->totalTiles, 220);

  // Huge digit runs saturate instead of overflowing.
  const std::string big = "=" + std::string(40, '9') + ";";
  s = ParseCrossagramSettings(big.data(), big.size());
  ASSERT_EQ(s.valueCount, 1);
  EXPECT_GT(s.values[0], 0);
  // More values than slots are ignored.
  std::string many;
  for (int i = 0; i < 60; ++i)
    many += "=1;";
  EXPECT_EQ(ParseCrossagramSettings(many.data(), many.size()).valueCount, 3 + kLetterSlots);
}

TEST_F(BagTest, CrossagramBagReadsItsSettingsFile) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(TESS_BUILD_DIR) / "rules_bag_test_program";
  fs::create_directories(folder / "tessarinData");
  std::ofstream(folder / "tessarinData" / "Crossagrams.ini")
      << "[crossagram]\nP1=1;P2=2;Rack=9;Blank=0;A=5;B=5;#\n";
  SetGameProgramFolder(folder.string());
  StartGame(kKindCrossagram);
  SetGameProgramFolder("");
  EXPECT_EQ(game->rules->rackSize, 9);
  EXPECT_EQ(game->bag.tileCount, 10 + (100 - 2 - 9 - 2));
  EXPECT_EQ(game->bag.counts[0], 0);
  EXPECT_EQ(game->bag.counts[1], 5);
  ExpectConsistent();

  // Without the file the rack size falls back to 10 and the set stays.
  StartGame(kKindCrossagram);
  EXPECT_EQ(game->rules->rackSize, 10);
  EXPECT_EQ(game->bag.tileCount, 100);
}

}  // namespace
