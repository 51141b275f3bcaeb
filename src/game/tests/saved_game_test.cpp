#include "game/saved_game.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/move_history.h"
#include "game/game_strings.h"
#include "game/session_registry.h"
#include "game_fakes.h"
#include "platform/crand.h"
#include "platform/path.h"
#include "game_test_support.h"
#include "recording_sink.h"
#include "temp_dir.h"

namespace {

using gametest::Move;

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t{b[at + 3]} << 24;
}
void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

struct NodeView {
  std::string word, comment;
  int32_t scores0;
  bool hasNext, hasVariation;
};

int Collect(void* context, const HistoryRecord& r, const HistoryRecord* next,
            const HistoryRecord* variation) {
  static_cast<std::vector<NodeView>*>(context)->push_back(
      {r.move.word, r.comment, r.scores[0], next != nullptr, variation != nullptr});
  return 1;
}

std::vector<NodeView> Tree(const CGame& g) {
  std::vector<NodeView> out;
  g.history->WalkAll(Collect, &out);
  return out;
}

class SavedGameTest : public testing::Test {
 protected:
  // A small two-player game, the same bytes on every run: fixed seed, GUID
  // and date; moves with a comment and a variation; clocks running.
  std::unique_ptr<CGame> SmallGame(int32_t kind = kKindStandard) {
    auto g = std::make_unique<CGame>();
    g->setup.kind = kind;
    g->setup.language = 0;
    g->setup.clockMode = kClockPerGame;
    g->setup.gameTimeMs = 1500000;
    g->setup.challengeMode = 2;
    PlayerSetupEntry human;
    std::strcpy(human.name, "Alice");
    human.playerType = kPlayerHuman;
    human.options[0] = 3;
    PlayerSetupEntry robot;
    std::strcpy(robot.name, "Robo");
    robot.playerType = kPlayerComputer;
    robot.options[12] = -7;
    g->setup.AddPlayer(human);
    g->setup.AddPlayer(robot);
    platform::SeedRandom(4242);
    g->StartNewGame();
    g->guid = {0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
    g->SetDateText("4-1-2007");
    std::strcpy(g->info.title, "A small game");
    g->savedValue = 77;
    g->variables[190] = 190;
    for (int i = 0; i < 2; ++i) {
      g->Player(i)->RefillRack();
      std::strcpy(g->Player(i)->displayName, i ? "Robo" : "Alice");
    }
    g->viewingPlayer = g->Player(0);
    // StartNewGame made the opening entry, before the racks were drawn.
    Play(*g, 0, Move("cat", 10, 7, 7));
    Play(*g, 1, Move("cow", 12, 7, 7, true));
    g->GetCurrentHistoryEntry()->comment = "a fine reply";
    // "ox" was tried in its place and kept as its variation.
    g->AddVariation(Move2Record(Move("ox", 9, 8, 8)));
    g->PromoteVariation();
    g->state = kStateTurnRunning;
    g->turnIndex = 0;
    g->roundCount = 1;
    g->gameElapsedMs = 61000;
    g->turnElapsedMs = 2500;
    g->Player(0)->timeLeftMs = 1400000;
    g->Player(1)->timeLeftMs = 1450000;
    g->Player(1)->moveWords = {Move("cow", 12, 7, 7, true), Move("co", 4, 7, 7)};
    g->lastTick = 12345;
    return g;
  }

  static HistoryRecord Move2Record(const RobotMove& m) {
    HistoryRecord r;
    r.move = m;
    return r;
  }

  static void Play(CGame& g, int i, RobotMove move) {
    GamePlayer& p = *g.Player(i);
    p.score += move.score;
    p.RemoveFromRack(p.rack[0] == '_' ? "" : std::string(1, p.rack[0]).c_str());
    g.ApplyMove(move);
    g.RecordMove(&move);
  }

  static std::vector<uint8_t> Bytes(const CGame& g) {
    std::vector<uint8_t> out;
    EXPECT_TRUE(EncodeSavedGame(g, out));
    return out;
  }

  gamefakes::RecordingUiPort ui;
  gamefakes::FakeRobotFactory robots;
};

TEST_F(SavedGameTest, LayoutFollowsTheFormat) {
  auto g = SmallGame();
  const std::vector<uint8_t> b = Bytes(*g);
  EXPECT_EQ(std::memcmp(b.data(), "TSB_v_01\0", 9), 0);
  EXPECT_EQ(b[9], kSavedGameFormatByte);
  EXPECT_EQ(U32At(b, 10), static_cast<uint32_t>(kKindStandard));
  EXPECT_EQ(U32At(b, 14), 2u);
  for (size_t at : {18u, 38u, 46u, 1114u, 1902u, 26778u, 28215u, 28219u})
    EXPECT_EQ(U32At(b, at), kBlockMarker) << at;
  EXPECT_EQ(U32At(b, 22), 0x01020304u);
  EXPECT_EQ(U32At(b, 42), 77u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[50])), "A small game");
  EXPECT_EQ(U32At(b, 1130), 7u);  // rack size
  EXPECT_EQ(U32At(b, 1134 + 190 * 4), 190u);
  EXPECT_EQ(U32At(b, 1898), 0u);  // viewing player
  EXPECT_EQ(U32At(b, 1918), static_cast<uint32_t>(kStateTurnRunning));
  EXPECT_EQ(U32At(b, 1926), 61000u);
  EXPECT_EQ(U32At(b, 1934 + 8), static_cast<uint32_t>(kClockPerGame));
  EXPECT_EQ(U32At(b, 1934 + 40), 2u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[1934 + 44])), "Alice");
  EXPECT_EQ(U32At(b, 1934 + 44 + 124 + 64), static_cast<uint32_t>(kPlayerComputer));
  EXPECT_EQ(U32At(b, 26790), static_cast<uint32_t>(g->bag.tileCount));
  EXPECT_EQ(U32At(b, 28219 + 4), 0u);   // first player's index
  EXPECT_EQ(U32At(b, 28219 + 8), 10u);  // and score
  EXPECT_EQ(U32At(b, 28219 + 42), 1400000u);
  // The trailer closes the file; the history index stands before the tree.
  EXPECT_EQ(U32At(b, b.size() - 4), kSavedGameTrailer);
}

TEST_F(SavedGameTest, SaveThenLoadGivesTheSameGame) {
  auto g = SmallGame();
  const std::vector<uint8_t> b = Bytes(*g);

  std::unique_ptr<CGame> back(CreateGame());
  const int made = robots.made;
  ASSERT_EQ(ParseSavedGame(*back, b.data(), b.size()), 3);
  EXPECT_EQ(robots.made - made, 2);  // one set of players
  EXPECT_EQ(std::memcmp(back->board.letters, g->board.letters, kBoardSquares), 0);
  EXPECT_EQ(back->board.At(7, 8), 'a');
  EXPECT_EQ(back->board.At(8, 7), 'o');
  EXPECT_EQ(back->bag.tileCount, g->bag.tileCount);
  EXPECT_EQ(std::memcmp(back->bag.drawOrder, g->bag.drawOrder, sizeof g->bag.drawOrder), 0);
  for (int i = 0; i < 2; ++i) {
    EXPECT_STREQ(back->Player(i)->rack, g->Player(i)->rack);
    EXPECT_EQ(back->Player(i)->rackCount, g->Player(i)->rackCount);
    EXPECT_EQ(back->Player(i)->score, g->Player(i)->score);
    EXPECT_EQ(back->Player(i)->timeLeftMs, g->Player(i)->timeLeftMs);
    EXPECT_STREQ(back->Player(i)->entry.name, g->Player(i)->entry.name);
    EXPECT_STREQ(back->Player(i)->displayName, g->Player(i)->displayName);
  }
  EXPECT_EQ(back->Player(1)->moveWords.size(), 2u);
  EXPECT_EQ(back->Player(1)->entry.options[12], -7);
  EXPECT_EQ(back->gameElapsedMs, 61000);
  EXPECT_EQ(back->turnElapsedMs, 2500);
  EXPECT_EQ(back->lastTick, kNoTick);
  EXPECT_EQ(back->viewingPlayer, back->Player(0));
  EXPECT_EQ(back->currentPlayer, back->Player(0));
  EXPECT_EQ(back->currentPlayer->turnPhase, kPhaseBegin);  // its turn begins again
  EXPECT_TRUE(back->guid == g->guid);
  EXPECT_EQ(back->GetHistoryIndex(), 3);

  const std::vector<NodeView> a = Tree(*g), c = Tree(*back);
  ASSERT_EQ(a.size(), 4u);
  ASSERT_EQ(c.size(), a.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(c[i].word, a[i].word);
    EXPECT_EQ(c[i].comment, a[i].comment);
    EXPECT_EQ(c[i].scores0, a[i].scores0);
    EXPECT_EQ(c[i].hasNext, a[i].hasNext);
    EXPECT_EQ(c[i].hasVariation, a[i].hasVariation);
  }
  back->lastTick = g->lastTick;
  EXPECT_EQ(Bytes(*back), b);  // nothing was lost or changed on the way
}

TEST_F(SavedGameTest, DuplicateGameCarriesItsReferencePlayer) {
  auto g = SmallGame(kKindDuplicate);
  g->referencePlayer = std::make_unique<GamePlayer>();
  std::strcpy(g->referencePlayer->rack, "qaeirst");
  g->referencePlayer->rackCount = 7;
  g->referencePlayer->score = 321;
  std::strcpy(g->referencePlayer->displayName, "Top");
  const std::vector<uint8_t> b = Bytes(*g);

  std::unique_ptr<CGame> back(CreateGame());
  ASSERT_GE(ParseSavedGame(*back, b.data(), b.size()), 0);
  ASSERT_NE(back->referencePlayer, nullptr);
  EXPECT_EQ(back->referencePlayer->score, 321);
  EXPECT_STREQ(back->referencePlayer->rack, "qaeirst");
  EXPECT_EQ(back->referencePlayer->rackCount, 7);
  EXPECT_STREQ(back->referencePlayer->displayName, "Top");
  EXPECT_EQ(Bytes(*back), b);

  // A duplicate game saved before its first cycle has no reference player
  // yet; the record is still written so that the file reads back.
  g->referencePlayer.reset();
  const std::vector<uint8_t> early = Bytes(*g);
  std::unique_ptr<CGame> again(CreateGame());
  EXPECT_GE(ParseSavedGame(*again, early.data(), early.size()), 0);
}

TEST_F(SavedGameTest, GoldenFileForASmallGame) {
  auto g = SmallGame();
  const std::vector<uint8_t> b = Bytes(*g);
  const std::string path = std::string(TESS_TEST_DATA) + "/saved_game_small.tsb";
  if (std::getenv("TESS_RECORD_GOLDEN")) {
    ASSERT_TRUE(testsupport::WriteBytes(path, std::string(b.begin(), b.end())));
  }
  const std::string golden = testsupport::ReadBytes(path);
  ASSERT_EQ(golden.size(), b.size());
  EXPECT_TRUE(golden == std::string(b.begin(), b.end()));

  std::unique_ptr<CGame> back(CreateGame());
  EXPECT_TRUE(LoadSavedGameFile(path.c_str(), *back));
  EXPECT_EQ(back->board.At(7, 7), 'c');
}

// Every refused image: nothing is made beyond what the checks allow, and
// the game object can still be deleted cleanly (the sanitizers watch both).
TEST_F(SavedGameTest, DamagedImagesAreRefused) {
  auto g = SmallGame();
  const std::vector<uint8_t> good = Bytes(*g);
  const size_t players = kSavedGamePlayersOffset;
  // Fixed fields, "Alice" twice, the options and the second move record.
  const size_t firstWords = players + 195 + 6 + 6 + 52 + 412;
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
  };
  const Case cases[] = {
      {"wrong magic", 0, 0x5F425354 + 1},
      {"crossagram magic", 0, 0x5F415243},
      {"header count differs", 14, 3},
      {"player count too large", 1934 + 40, 201},
      {"turn index beyond the players", 1122, 2},
      {"viewing player beyond the players", 1898, 2},
      {"rack size 0", 1130, 0},
      {"unknown state", 1918, 4},
      {"unknown clock mode", 1934 + 8, 3},
      {"bag count beyond the bag", 26790, 221},
      {"bag count disagrees with the tiles", 26790, 3},
      {"draw order names no letter", 26794, 40},
      {"player index out of place", players + 4, 1},
      {"too many words", firstWords, kMaxStoredMoveWords + 1},
      {"negative word count", firstWords, 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bad = good;
    PutU32(bad, c.at, c.value);
    std::unique_ptr<CGame> back(CreateGame());
    EXPECT_LT(ParseSavedGame(*back, bad.data(), bad.size()), 0) << c.what;
  }

  // 200 players announced in a small file: refused before any is made.
  std::vector<uint8_t> many = good;
  PutU32(many, 14, 200);
  PutU32(many, 1934 + 40, 200);
  for (int i = 2; i < 200; ++i)
    PutU32(many, 1934 + 44 + 124 * i + 64, kPlayerComputer);
  many.resize(kSavedGamePlayersOffset + 100);
  const int made = robots.made;
  std::unique_ptr<CGame> back(CreateGame());
  EXPECT_LT(ParseSavedGame(*back, many.data(), many.size()), 0);
  EXPECT_EQ(robots.made, made);
}

TEST_F(SavedGameTest, HistoryDamageIsRefused) {
  auto g = SmallGame();
  const std::vector<uint8_t> good = Bytes(*g);
  // The tree: index, marker, then nodes; find the first node's record by
  // the start entry's layout (the history index is 3).
  size_t tree = 0;
  for (size_t at = kSavedGamePlayersOffset; at + 8 <= good.size(); ++at)
    if (U32At(good, at) == 3u && U32At(good, at + 4) == kBlockMarker &&
        U32At(good, at + 8) == kBlockMarker) {
      tree = at;
      break;
    }
  ASSERT_NE(tree, 0u);
  const size_t firstComment = tree + 12 + kHistoryRecordImageSize;
  const size_t firstLink = firstComment + 4 + 4;
  ASSERT_EQ(U32At(good, firstLink), 1u);  // the start entry has its continuation

  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
  };
  const Case cases[] = {
      {"negative index", tree, 0xFFFFFFFD},
      {"comment longer than the file", firstComment, 0x7FFFFFFF},
      {"unknown link word", firstLink, 4},
      {"a sibling that is not there", firstLink, 3},
      {"trailer missing", good.size() - 4, 5},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bad = good;
    PutU32(bad, c.at, c.value);
    std::unique_ptr<CGame> back(CreateGame());
    EXPECT_LT(ParseSavedGame(*back, bad.data(), bad.size()), 0) << c.what;
  }
}

TEST_F(SavedGameTest, TruncatedImagesAreRefused) {
  auto g = SmallGame();
  const std::vector<uint8_t> good = Bytes(*g);
  for (size_t cut = 0; cut < good.size(); cut += (cut + 64 > good.size() ? 1 : 257)) {
    std::unique_ptr<CGame> back(CreateGame());
    ASSERT_LT(ParseSavedGame(*back, good.data(), cut), 0) << cut;
  }
  for (size_t cut : {kSavedGamePlayersOffset, kSavedGamePlayersOffset + 600, size_t{10}}) {
    std::unique_ptr<CGame> back(CreateGame());
    EXPECT_LT(ParseSavedGame(*back, good.data(), cut), 0) << cut;
  }
}

TEST_F(SavedGameTest, TypeByMagic) {
  testsupport::TempDir dir;
  struct Case {
    std::string bytes;
    int32_t type;
  };
  const Case cases[] = {
      {std::string("TSB_v_01\0\x18rest", 14), kFileSavedGame},
      {std::string("CRA_v_01\0\x18", 10), kFileCrossagram},
      {std::string("TST_v_01\0\x18", 10), kFileTournament},
      {std::string("ADT_v_01\0\x18", 10), kFileAdjourned},
      {std::string("TSB_v_01\0", 9), kFileUnknown},      // 9 bytes
      {std::string("TSB_v_01X\x18", 10), kFileUnknown},  // no NUL after the magic
      {std::string("XYZ_v_01\0\x18", 10), kFileUnknown},
  };
  for (const Case& c : cases) {
    const std::string path = dir / "file.tsb";
    ASSERT_TRUE(testsupport::WriteBytes(path, c.bytes));
    EXPECT_EQ(DetectSavedFileType(path.c_str()), c.type) << c.bytes;
  }
  EXPECT_EQ(DetectSavedFileType((dir / "missing.tsb").c_str()), kFileUnknown);
}

TEST_F(SavedGameTest, FilesWriteSafelyAndDamageIsReported) {
  testsupport::TempDir dir;
  testsupport::RecordingSink sink;
  auto g = SmallGame();
  const std::string path = dir / "game.tsb";
  ASSERT_EQ(WriteSavedGame(path.c_str(), *g), 0);
  const std::string saved = testsupport::ReadBytes(path);
  EXPECT_EQ(ReadSavedGameHeader(path.c_str()), kKindStandard);

  // Too large for the format: refused, and the file saved before is whole.
  HistoryRecord r;
  for (int i = 0; i < 1100; ++i) {
    r.move.score = i;
    g->AddHistoryMove(r);
  }
  EXPECT_EQ(WriteSavedGame(path.c_str(), *g), kStrCannotWriteFile);
  EXPECT_EQ(testsupport::ReadBytes(path), saved);
  EXPECT_EQ(WriteSavedGame((dir / "no folder/game.tsb").c_str(), *SmallGame()),
            kStrCannotCreateFile);

  // A damaged file: the message names it; the game is refused.
  std::string cut = saved.substr(0, saved.size() / 2);
  ASSERT_TRUE(testsupport::WriteBytes(path, cut));
  std::unique_ptr<CGame> back(CreateGame());
  EXPECT_FALSE(LoadSavedGameFile(path.c_str(), *back));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text,
            "The file is damaged or is not a TESSARIN\xAE file. \"" + path + "\".");
  ASSERT_TRUE(testsupport::WriteBytes(path, "TSB_v_01"));
  EXPECT_EQ(ReadSavedGameHeader(path.c_str()), kKindNone);
  EXPECT_FALSE(LoadSavedGameFile((dir / "missing.tsb").c_str(), *back));
  EXPECT_EQ(sink.messages.size(), 2u);  // a missing file says nothing
}

}  // namespace

namespace {

class FakeSavedGamePort : public SavedGamePort {
 public:
  FakeSavedGamePort() : previous_(SetSavedGamePort(this)) {}
  ~FakeSavedGamePort() override { SetSavedGamePort(previous_); }

  int32_t CurrentRoom() override { return room; }
  std::string CurrentUserName() override { return user; }
  int32_t CurrentUserLanguage() override { return language; }
  bool AskFileName(bool save, int32_t type, std::string& name) override {
    asked.push_back(name);
    askedTypes.push_back(type);
    (void)save;
    if (answers.empty()) return false;
    name = answers.front();
    answers.erase(answers.begin());
    return true;
  }
  void ShowProgress(const std::string& text) override { progress.push_back(text); }
  void ReturnToMainMenu() override { ++backToMenu; }

  int32_t room = kRoomStandardGame;
  std::string user = "alice";
  int32_t language = 0;
  std::vector<std::string> answers, asked, progress;
  std::vector<int32_t> askedTypes;
  int backToMenu = 0;

 private:
  SavedGamePort* previous_;
};

class SaveOpenTest : public SavedGameTest {
 protected:
  testsupport::TempDir dir;
  testsupport::RecordingSink sink{platform::kResultYes};
  FakeSavedGamePort port;
  std::shared_ptr<GameSessionRegistry> registry = InitGameSessionRegistry();
};

TEST_F(SaveOpenTest, SaveAsAsksBeforeReplacing) {
  auto g = SmallGame();
  const std::string first = dir / "first.tsb", second = dir / "second.tsb";
  ASSERT_TRUE(SaveGameAs(first.c_str(), *g));  // a path: no dialog
  EXPECT_TRUE(port.asked.empty());
  EXPECT_EQ(port.progress.back(), "Writing to file " + first + "...");
  EXPECT_EQ(sink.messages.back().text, "Save complete.");

  // The user picks the existing file, refuses to replace it, then picks a
  // new one.
  port.answers = {first, second};
  sink.answers = {platform::kResultNo};
  ASSERT_TRUE(SaveGameAs(nullptr, *g));
  ASSERT_EQ(port.asked.size(), 2u);
  char date[32];
  FormatDateText(date, sizeof date);
  EXPECT_EQ(port.asked[0], std::string("Classic ") + date);
  EXPECT_EQ(port.askedTypes[0], kFileSavedGame);
  EXPECT_EQ(sink.messages[1].text, "Replace\"" + first + "\"?");
  EXPECT_EQ(sink.messages[1].flags, 4u | 0x20u);
  EXPECT_TRUE(platform::FileExists(second.c_str()));

  port.answers.clear();
  EXPECT_FALSE(SaveGameAs(nullptr, *g));  // cancelled

  EXPECT_FALSE(SaveGameAs((dir / "none/x.tsb").c_str(), *g));
  EXPECT_EQ(sink.messages.back().text, "Unable to create the file " + dir / "none/x.tsb" + ".");
}

TEST_F(SaveOpenTest, OpenKeepsOnlyTheUsersGame) {
  auto g = SmallGame();
  const std::string path = dir / "game.tsb";
  ASSERT_EQ(WriteSavedGame(path.c_str(), *g), 0);

  CGame* opened = OpenAndRegisterSavedGame(path.c_str(), 5);  // "alice" is "Alice"
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(GetGameCount(), 1);
  EXPECT_EQ(FindGameById(5), opened);
  EXPECT_EQ(opened->board.At(7, 7), 'c');

  struct Case {
    const char* what;
    std::string user;
    int32_t language;
    std::string message;
  };
  const Case cases[] = {
      {"other profile", "Bob", 0, GameText(kStrOtherProfile)},
      {"other language", "ALICE", 1, GameText(kStrLoadOtherLanguage)},
  };
  for (const Case& c : cases) {
    port.user = c.user;
    port.language = c.language;
    const int live = robots.live;
    EXPECT_EQ(OpenAndRegisterSavedGame(path.c_str(), 6), nullptr) << c.what;
    EXPECT_EQ(sink.messages.back().text, c.message) << c.what;
    EXPECT_EQ(GetGameCount(), 1) << c.what;
    EXPECT_EQ(robots.live, live) << c.what;  // the new game is gone with its players
  }

  // A damaged file of the right type.
  port.user = "alice";
  port.language = 0;
  const std::string saved = testsupport::ReadBytes(path);
  ASSERT_TRUE(testsupport::WriteBytes(path, saved.substr(0, 30000)));
  EXPECT_EQ(OpenAndRegisterSavedGame(path.c_str(), 7), nullptr);
  EXPECT_EQ(sink.messages.back().text,
            "The file is damaged or is not a TESSARIN\xAE file. \"" + path + "\".");
  EXPECT_EQ(GetGameCount(), 1);
}

TEST_F(SaveOpenTest, RoomsAcceptTheirTypes) {
  const std::string tsb = dir / "game.tsb", cra = dir / "game.cra";
  ASSERT_EQ(WriteSavedGame(tsb.c_str(), *SmallGame()), 0);
  ASSERT_TRUE(testsupport::WriteBytes(cra, std::string("CRA_v_01\0\x18\x04\0\0\0", 14)));

  // A crossagram file in the standard room: refused, back to the menu.
  EXPECT_EQ(OpenSavedGame(cra.c_str()), nullptr);
  EXPECT_EQ(sink.messages.back().text, GameText(kStrNotValidFile));
  EXPECT_EQ(sink.messages.back().flags, 0x10u);
  EXPECT_EQ(port.backToMenu, 1);

  // The lobby takes it but says so without leaving; without a crossagram
  // reader the load fails.
  port.room = kRoomLobby;
  EXPECT_EQ(OpenSavedGame(cra.c_str()), nullptr);
  EXPECT_EQ(port.backToMenu, 1);
  std::unique_ptr<CGame> fromLobby(OpenSavedGame(tsb.c_str()));
  EXPECT_NE(fromLobby, nullptr);

  // The crossagram room offers its own type in the dialog.
  port.room = kRoomCrossagram;
  EXPECT_EQ(OpenSavedGame(nullptr), nullptr);
  EXPECT_EQ(port.askedTypes.back(), kFileCrossagram);
  EXPECT_EQ(OpenSavedGame(tsb.c_str()), nullptr);
  EXPECT_EQ(port.backToMenu, 2);
  EXPECT_EQ(GetGameCount(), 0);
}

TEST_F(SaveOpenTest, FullRegistryKeepsNothing) {
  const std::string path = dir / "game.tsb";
  ASSERT_EQ(WriteSavedGame(path.c_str(), *SmallGame()), 0);
  for (int i = 0; i < kMaxLiveGames; ++i)
    ASSERT_NE(OpenAndRegisterSavedGame(path.c_str(), i), nullptr);
  const int live = robots.live;
  EXPECT_EQ(OpenAndRegisterSavedGame(path.c_str(), 99), nullptr);
  EXPECT_EQ(GetGameCount(), kMaxLiveGames);
  EXPECT_EQ(robots.live, live);
}

}  // namespace
