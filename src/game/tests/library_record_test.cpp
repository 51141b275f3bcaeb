// Classic-game records: position tokens, the MOVES parser with every error
// code, titles, and a record loaded into a paused game.
#include "game/library_record.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "platform/path.h"
#include "shell/app_context.h"
#include "shell/resource_packs.h"
#include "recording_sink.h"

namespace {

TEST(LibraryRecord, PositionTokens) {
  struct Case {
    const char* token;
    int tileSet;
    int32_t code;
    int first, second, direction;
  } cases[] = {
      {"H8", 1, 0, 7, 7, 0},    {"8H", 1, 0, 7, 7, 1},    {"h8", 0, 0, 7, 7, 1},
      {"8h", 0, 0, 7, 7, 0},    {"c12", 0, 0, 2, 11, 1},  {"h8a", 0, 0, 7, 7, 1},
      {"p8", 0, -88, 0, 0, 0},  {"h16", 0, -89, 0, 0, 0}, {"#8", 0, -97, 0, 0, 0},
      {"h8x", 0, -92, 0, 0, 0}, {"h0", 1, -89, 0, 0, 0},
  };
  for (const Case& c : cases) {
    uint8_t first = 0, second = 0, direction = 0;
    EXPECT_EQ(ParsePositionToken(c.token, c.tileSet, &first, &second, &direction), c.code)
        << c.token;
    if (c.code != 0) continue;
    EXPECT_EQ(first, c.first) << c.token;
    EXPECT_EQ(second, c.second) << c.token;
    EXPECT_EQ(direction, c.direction) << c.token;
  }
}

TEST(LibraryRecord, MovesOfAClassicGame) {
  const char* body =
      "1. ABCDEFG cab h8 14 14 a good start\r\n"
      "1. XYZ?+-Q (C)aZ h9 12 12\r\n"
      "2. RSTUVWX pass - nothing fits\r\n"
      "2. QQQ change qq 12 swaps\r\n";
  std::vector<HistoryRecord> moves;
  ASSERT_EQ(ParseGameMoves(body, false, true, 0, moves), 0);
  ASSERT_EQ(moves.size(), 4u);
  EXPECT_STREQ(moves[0].move.word, "cab");
  EXPECT_EQ(moves[0].move.score, 14);
  EXPECT_EQ(moves[0].move.column, 7);
  EXPECT_EQ(moves[0].move.row, 7);
  EXPECT_EQ(moves[0].comment, "a good start");
  EXPECT_STREQ(moves[0].racks[0], "abcdefg");
  EXPECT_STREQ(moves[1].racks[1], "xyz`q");
  EXPECT_STREQ(moves[1].move.word, "Caz");  // the board's tile in upper case
  EXPECT_EQ(moves[1].scores[1], 12);
  EXPECT_EQ(moves[2].entryKind, kEntryPass);
  EXPECT_EQ(moves[2].comment, "nothing fits");
  EXPECT_EQ(moves[3].entryKind, kEntryExchange);
  EXPECT_EQ(moves[3].scores[1], 12);
}

TEST(LibraryRecord, EveryErrorOfTheParser) {
  testsupport::RecordingSink sink;
  const std::string longComment(1100, 'x');
  std::string fortyOne;
  for (int i = 1; i <= 41; ++i)
    fortyOne += std::to_string(i) + ". abc cab h8 5 5\r\n";
  struct Case {
    std::string body;
    bool duplicate;
    int32_t code;
  } cases[] = {
      {"", false, kLibEndBeforeMove},
      {"1 abc cab h8 5 5\r\n", false, kLibMissingDot},
      {"x. abc cab h8 5 5\r\n", false, kLibMissingNumber},
      {"1.\r\n", false, kLibMissingRack},
      {"1. abc\r\n", false, kLibMissingWord},
      {"1. abc cab\r\n", false, kLibMissingPosition},
      {"1. abc cab h8\r\n", false, kLibMissingScore},
      {"1. abc cab h8 5\r\n", false, kLibMissingScore},
      {"1. abcdefghijklmnopqrstuvw cab h8 5 5\r\n", false, kLibTokenTooLong},
      {"1. abc abcdefghijklmnop h8 5 5\r\n", false, kLibTokenTooLong},
      {"1. abc cab q8 5 5\r\n", false, kLibBadRow},
      {"1. abc cab h99 5 5\r\n", false, kLibBadColumn},
      {"1. abc cab h8z 5 5\r\n", false, kLibBadDirection},
      {"1. abc change ab\r\n", false, kLibEndInExchange},
      {"1. abc cab h8 5 5 " + longComment + "\r\n", false, kLibTextTooBig},
      {fortyOne, true, kLibTextTooBig},
      {"1. abc cab h8 5 5\r\n1. abc cab h8 5 5\r\n", true, kLibDuplicateMove},
      {"2. abc cab h8 5 5\r\n", true, kLibDuplicateMove},
  };
  for (const Case& c : cases) {
    std::vector<HistoryRecord> moves;
    EXPECT_EQ(ParseGameMoves(c.body.c_str(), c.duplicate, true, 0, moves), c.code)
        << c.body.substr(0, 40);
  }
  // The repeated number names the move already loaded.
  EXPECT_NE(sink.messages.back().text.find("move 0 already loaded (cab - 5 at 7,7 len 3)"),
            std::string::npos)
      << sink.messages.back().text;
  EXPECT_STREQ(LibraryErrorText(kLibMissingRack), "a rack was not found.");
  EXPECT_STREQ(LibraryErrorText(kLibEndInExchange), "");
}

const char kRecord[] =
    "{NAME\r\nEvening game\r\n}{DATE\r\n12-3-2026\r\n}{MODE\r\nclassic\r\n}"
    "{LANGUAGE\r\nen\r\n}{PLAYER\r\n  Ada\r\n}{PLAYER\r\nBasil\r\n}"
    "{MOVES\r\n1. aebcdfg cab h8 14 14\r\n1. xyzqrst zax 8h 20 20\r\n}";

TEST(LibraryRecord, TitlesAndLoadingIntoAPausedGame) {
  std::string title;
  ASSERT_TRUE(BuildRecordTitle(kRecord, &title));
  EXPECT_EQ(title, "Evening game  12-3-2026  classic  ");

  testsupport::RecordingSink sink;
  std::unique_ptr<CGame, void (*)(CGame*)> game(CreateGame(), &DeleteGame);
  ASSERT_EQ(LoadLibraryGame(*game, kRecord, 0), 0)
      << (sink.messages.empty() ? "" : sink.messages[0].text);
  EXPECT_EQ(game->Kind(), kKindStandard);
  EXPECT_EQ(game->PlayerCount(), 2);
  EXPECT_STREQ(game->Player(0)->entry.name, "Ada");
  EXPECT_EQ(game->state, kStatePaused);
  EXPECT_EQ(game->history->Count(), 2);
  EXPECT_EQ(game->history->GetIndex(), 1);
  EXPECT_EQ(game->board.At(7, 7), 'c');  // replayed to the first move

  struct Case {
    std::string record;
    int32_t userLanguage;
    int32_t code;
    const char* message;
  } cases[] = {
      {kRecord, 1, 3094, "Load failed.\nThe data is in a different language to your profile."},
      {"{MODE\r\nchess\r\n}", 0, 3003, "Unable to load the game. Unknown game mode."},
      {"no sections at all", 0, 3003, "Unable to load the game. Unknown game mode."},
      {"{MODE\r\nclassic\r\n}{MOVES\r\n1 abc\r\n}", 0, kLibMissingDot,
       "can't load moves.\na dot is missing or is not next to a move number"},
      {"{MODE\r\nclassic\r\n}{MOVES\r\n1. abc cab h8 5 5\r\n", 0, kLibMissingEnd,
       "can't load moves.\nmissing end of section caracter (])"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<CGame, void (*)(CGame*)> other(CreateGame(), &DeleteGame);
    sink.messages.clear();
    EXPECT_EQ(LoadLibraryGame(*other, c.record, c.userLanguage), c.code) << c.record;
    ASSERT_EQ(sink.messages.size(), 1u) << c.record;
    EXPECT_EQ(sink.messages[0].text, c.message);
  }
}

TEST(LibraryRecord, AFinishedGameWritesARecordThatLoadsBack) {
  std::unique_ptr<CGame, void (*)(CGame*)> game(CreateGame(), &DeleteGame);
  game->setup.kind = kKindStandard;
  for (const char* name : {"Ada", "Basil"}) {
    PlayerSetupEntry e;
    e.playerType = kPlayerComputer;
    std::snprintf(e.name, sizeof e.name, "%s", name);
    game->setup.AddPlayer(e);
  }
  game->StartNewGame();
  std::memcpy(game->Player(0)->rack, "cabdefg", 7);
  std::memcpy(game->Player(1)->rack, "zxyqrs`", 7);
  game->RecordMove(nullptr);  // the racks before the first move
  game->history->Clear();
  game->RecordMove(nullptr);
  auto move = [](const char* word, const char* placed, int column, int row, int down, int score) {
    RobotMove m;
    std::strcpy(m.word, word);
    std::memcpy(m.placedLetters, placed, std::strlen(word));
    m.length = static_cast<uint8_t>(std::strlen(word));
    m.column = static_cast<uint8_t>(column);
    m.row = static_cast<uint8_t>(row);
    m.direction = static_cast<uint8_t>(down);
    m.score = score;
    return m;
  };
  RobotMove first = move("cab", "cab", 6, 7, 0, 14);
  game->Player(0)->score = 14;
  game->RecordMove(&first);
  RobotMove second = move("zax", "z\0x", 7, 6, 1, 20);
  game->Player(1)->score = 20;
  game->RecordMove(&second);
  game->RecordMove(nullptr);  // a pass

  const std::string record = FormatLibraryRecord(*game, "Ada against Basil", "10-12-2026");
  EXPECT_NE(record.find("1. cabdefg cab 8g 14 14\r\n1. zxyqrs? z(a)x h7 20 20\r\n2. "),
            std::string::npos)
      << record;
  std::unique_ptr<CGame, void (*)(CGame*)> back(CreateGame(), &DeleteGame);
  ASSERT_EQ(LoadLibraryGame(*back, record, 0), 0);
  const std::vector<HistoryRecord> line = back->history->ExportMainLine();
  ASSERT_EQ(line.size(), 3u);
  EXPECT_STREQ(line[0].move.word, "cab");
  EXPECT_EQ(line[0].move.direction, 0);
  EXPECT_EQ(line[0].move.column, 6);
  EXPECT_EQ(line[0].move.row, 7);
  EXPECT_STREQ(line[1].move.word, "zAx");
  EXPECT_EQ(line[1].move.direction, 1);
  EXPECT_EQ(line[1].scores[1], 20);
  EXPECT_EQ(line[2].entryKind, kEntryPass);
  EXPECT_STREQ(back->Player(1)->entry.name, "Basil");
}

// The library pack the build plays and writes: every record loads.
TEST(LibraryRecord, TheBuiltLibraryPackLoads) {
  std::string program = TESS_BUILD_DIR;
  for (char& c : program)
    if (c == '/') c = '\\';
  const std::string idx = std::string(TESS_BUILD_DIR) + "/tessarinData/library.idx";
  if (!platform::FileExists(idx.c_str())) GTEST_SKIP() << "no library pack built";
  ASSERT_TRUE(shell::CreateAppContextAt(program + "\\tessarin.exe"));
  ASSERT_TRUE(shell::OpenResourcePack("library", shell::kPackLibrary, false));
  int loaded = 0;
  shell::ResBlock block;
  for (int n = 0; shell::ReadPackEntryByIndex(n, shell::kPackLibrary, &block, nullptr); ++n) {
    std::string title;
    const std::string record(block.begin(), block.end());
    EXPECT_TRUE(BuildRecordTitle(record, &title));
    std::unique_ptr<CGame, void (*)(CGame*)> game(CreateGame(), &DeleteGame);
    EXPECT_EQ(LoadLibraryGame(*game, record, 0), 0) << title;
    EXPECT_GE(game->history->Count(), 10) << title;
    ++loaded;
  }
  EXPECT_GE(loaded, 8);
  shell::CloseResourcePack(shell::kPackLibrary);
  shell::DestroyAppContext();
}

}  // namespace
