// The sectioned data parser and the printable game report.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/game_report.h"
#include "game/sectioned_data.h"
#include "recording_sink.h"
#include "temp_dir.h"

namespace {

TEST(SectionedData, SectionsAndTheirLists) {
  testsupport::RecordingSink sink;
  std::string text =
      "junk {LIST\r\n  alpha&),%  one\r\nb&),%two\r\nnoseparator\r\nempty&),%\r\n"
      "gamma&),%three\r\n}{SECOND\r\nx&),%y\r\n}";
  text.push_back('\0');
  std::vector<SectionRef> one = FindSections(&text[0], text.size(), 1);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_STREQ(one[0].name, "LIST");
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "there are more sections than expected");
  const char* end = one[0].body + std::strlen(one[0].body);
  const std::vector<ListItem> items = ParseListItems(one[0].body, end, 10, nullptr);
  ASSERT_EQ(items.size(), 2u);  // "b" is too short, "noseparator" and "empty" give none
  EXPECT_STREQ(items[0].name, "alpha");
  EXPECT_STREQ(items[0].value, "one");
  EXPECT_STREQ(items[1].name, "gamma");

  // A blank after the name splits too; a header with no break has no body.
  std::string blank = "{NAME abcdef}{ONLY}";
  blank.push_back('\0');
  std::vector<SectionRef> two = FindSections(&blank[0], blank.size(), 5);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_STREQ(two[0].name, "NAME");
  EXPECT_STREQ(two[0].body, "bcdef");
  EXPECT_EQ(two[1].body, nullptr);
  // The split never reads past the text: a name ending on the last byte.
  std::string edge = "{X ";
  edge.push_back('}');
  edge.push_back('\0');
  std::vector<SectionRef> three = FindSections(&edge[0], edge.size(), 5);
  ASSERT_EQ(three.size(), 1u);
  EXPECT_STREQ(three[0].body, "");
}

TEST(SectionedData, TooManyItemsAreRefusedWhole) {
  testsupport::TempDir dir;
  testsupport::RecordingSink sink;
  testsupport::WriteBytes(dir / "list.txt", "{L\r\naa&),%1\r\nbb&),%2\r\ncc&),%3\r\n}");
  std::string buffer;
  std::vector<ListItem> items;
  ASSERT_TRUE(LoadSectionedList((dir / "list.txt").c_str(), 1 << 16, 5, buffer, items));
  EXPECT_EQ(items.size(), 3u);
  ASSERT_TRUE(LoadSectionedList((dir / "list.txt").c_str(), 1 << 16, 2, buffer, items));
  EXPECT_TRUE(items.empty());
  EXPECT_TRUE(buffer.empty());
  EXPECT_FALSE(LoadSectionedList((dir / "list.txt").c_str(), 8, 5, buffer, items));
  EXPECT_EQ(sink.messages.back().text, "size of file unacceptable");
}

TEST(GameReport, CommentPiecesAndPositions) {
  const std::string sixty = "the quick brown fox jumps over the lazy dog again and again!";
  ASSERT_EQ(sixty.size(), 60u);
  EXPECT_EQ(FormatReportComment(sixty),
            "the quick brown fox jump-\n\t\t\t\t\ts over the lazy dog agai-\n\t\t\t\t\t"
            "n and again!\n\t\t\t\t\t");

  std::unique_ptr<CGame, void (*)(CGame*)> game(CreateGame(), &DeleteGame);
  game->setup.kind = kKindStandard;
  game->setup.language = 1;
  for (const char* name : {"Ann", "Bob"}) {
    PlayerSetupEntry e;
    e.playerType = kPlayerHuman;
    std::strcpy(e.name, name);
    game->setup.AddPlayer(e);
  }
  game->StartNewGame();
  game->Player(0)->score = 12;
  std::string empty = BuildGameReport(*game);
  EXPECT_NE(empty.find("MODE: TESSARIN    LANGUAGE: FRENCH\n"), std::string::npos);
  EXPECT_NE(empty.find("1 - Ann: 12\n2 - Bob: 0\n"), std::string::npos);
  EXPECT_NE(empty.find("PLAYER\tRACK\tMOVE\tPOS\tSCORE\tCOMMENTARY\n"), std::string::npos);

  RobotMove m;
  std::strcpy(m.word, "zeal");
  m.length = 4;
  m.column = 7;
  m.row = 7;
  m.direction = 1;
  m.score = 26;
  game->RecordMove(&m);
  game->history->GetCurrentData()->comment = "a commented move";
  const std::string report = BuildGameReport(*game);
  EXPECT_NE(report.find("\tzeal\t8h\t26\ta commented move\n\t\t\t\t\t\n"), std::string::npos)
      << report;
}

}  // namespace
