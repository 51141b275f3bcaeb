// Tournament files: the layout byte for byte, a round trip with a game in
// progress, the checks of the reader, adjourned names and the test script.
#include "game/tournament_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/saved_game.h"
#include "platform/binio.h"
#include "platform/ini.h"
#include "platform/path.h"
#include "recording_sink.h"
#include "temp_dir.h"

namespace {

TournamentData Tournament(int32_t kind = kKindStandard) {
  TournamentData t;
  t.setup.kind = kind;
  t.setup.language = 0;
  std::strcpy(t.title, "Spring cup");
  const char* names[] = {"Ann", "Pip", "Mina", "Theo"};
  for (int i = 0; i < 4; ++i) {
    TournamentParticipant p;
    p.number = i + 1;
    std::strcpy(p.name, names[i]);
    p.isComputer = i > 0;
    p.rating = 1200 + 100 * i;
    p.wins = i;
    p.bestMove.score = 40 + i;
    std::strcpy(p.bestMove.word, "zeal");
    p.statistics[2] = 0.5f * i;
    t.participants.push_back(p);
    PlayerSetupEntry e;
    std::strcpy(e.name, names[i]);
    e.playerType = i > 0 ? kPlayerComputer : kPlayerHuman;
    t.setup.AddPlayer(e);
  }
  t.roundCount = 1;
  SeedTournamentRandom(3);
  EXPECT_TRUE(BuildRoundRobinSchedule(t));
  t.pairings[0].result = kResultFirstWon;
  t.gamesPlayed = 1;
  t.currentPairing = 1;
  t.state = 4;
  std::strcpy(t.filePath, "C:\\Tourneys\\spring.TST");
  return t;
}

int32_t I32At(const std::vector<uint8_t>& b, size_t at) {
  ByteReader r(b.data() + at, 4);
  return r.I32();
}

TEST(TournamentFile, LayoutAndRoundTrip) {
  TournamentData t = Tournament();
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(EncodeTournamentFile(t, false, nullptr, bytes));
  EXPECT_EQ(bytes.size(), kTournamentHeaderSize + kTournamentBlockSize + 4 * 1880 + 6 * 8 + 6 * 80);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), "TST_v_01");
  EXPECT_EQ(bytes[137], 26);
  EXPECT_EQ(bytes[138], 9);
  EXPECT_EQ(I32At(bytes, 139), 1);        // the current pairing
  EXPECT_EQ(I32At(bytes, 143), 1);        // a regular file starts with the next game
  EXPECT_EQ(I32At(bytes, 143 + 292), 6);  // gameCount
  EXPECT_EQ(I32At(bytes, 143 + 360), kKindStandard);
  EXPECT_EQ(I32At(bytes, 143 + 25204), 1);
  const size_t participant = kTournamentHeaderSize + kTournamentBlockSize + 1880;
  EXPECT_EQ(I32At(bytes, participant + 1268), 2);  // number
  EXPECT_EQ(I32At(bytes, participant + 1272), 1);  // wins
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[participant + 1736])), "Pip");
  EXPECT_EQ(I32At(bytes, participant + 1856), 1300);  // rating

  TournamentData back;
  const TournamentLoadResult r =
      DecodeTournamentFile(bytes.data(), bytes.size(), back, "ANN", 0, nullptr);
  ASSERT_EQ(r.message, 0u);
  EXPECT_STREQ(back.title, "Spring cup");
  EXPECT_EQ(back.state, 1);
  EXPECT_EQ(back.started, 1);
  ASSERT_EQ(back.participants.size(), 4u);
  EXPECT_STREQ(back.participants[3].name, "Theo");
  EXPECT_EQ(back.participants[3].bestMove.score, 43);
  EXPECT_FLOAT_EQ(back.participants[2].statistics[2], 1.0f);
  ASSERT_EQ(back.pairings.size(), 6u);
  EXPECT_EQ(back.pairings[0].result, kResultFirstWon);
  EXPECT_EQ(back.scheduleLines, t.scheduleLines);
  EXPECT_EQ(back.standings.size(), 4u);
}

TEST(TournamentFile, DuplicateFilesHaveNoPairingBlock) {
  TournamentData t = Tournament(kKindDuplicate);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(EncodeTournamentFile(t, false, nullptr, bytes));
  EXPECT_EQ(bytes.size(), kTournamentHeaderSize + kTournamentBlockSize + 4 * 1880 + 6 * 80);
  TournamentData back;
  ASSERT_EQ(DecodeTournamentFile(bytes.data(), bytes.size(), back, "Ann", 0, nullptr).message, 0u);
  EXPECT_TRUE(back.pairings.empty());
  EXPECT_EQ(back.scheduleLines.size(), 6u);
}

TEST(TournamentFile, TheReaderRefusesWhatDoesNotFit) {
  TournamentData t = Tournament();
  std::vector<uint8_t> good;
  ASSERT_TRUE(EncodeTournamentFile(t, false, nullptr, good));
  auto put = [](std::vector<uint8_t> b, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i)
      b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    return b;
  };
  const size_t setup = kTournamentHeaderSize + 360;
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* user;
    uint32_t message;
  } cases[] = {
      {"version byte 8",
       [&] {
         auto b = good;
         b[138] = 8;
         return b;
       }(),
       "Ann", 2127},
      {"cut in the block", std::vector<uint8_t>(good.begin(), good.begin() + 20000), "Ann", 2128},
      {"cut in the lines", std::vector<uint8_t>(good.begin(), good.end() - 1), "Ann", 2128},
      {"one player", put(good, setup + 40, 1), "Ann", 2128},
      {"more players than entries", put(good, setup + 40, 201), "Ann", 2128},
      {"a huge game count", put(good, kTournamentHeaderSize + 292, 0x7FFFFFFF), "Ann", 2128},
      {"pairing index past the list", put(good, 139, 6), "Ann", 2128},
      {"another user", good, "Bob", 3069},
      {"bad magic",
       [&] {
         auto b = good;
         b[0] = 'X';
         return b;
       }(),
       "Ann", 2128},
  };
  for (const Case& c : cases) {
    TournamentData into = t;
    const TournamentLoadResult r =
        DecodeTournamentFile(c.bytes.data(), c.bytes.size(), into, c.user, 0, nullptr);
    EXPECT_EQ(r.message, c.message) << c.name;
    EXPECT_STREQ(into.title, "Spring cup") << c.name;  // unchanged
    EXPECT_EQ(into.state, 4) << c.name;
  }
  TournamentData into;
  EXPECT_EQ(DecodeTournamentFile(good.data(), good.size(), into, "Ann", 1, nullptr).message, 3042u);
}

std::unique_ptr<CGame, void (*)(CGame*)> RunningGame() {
  std::unique_ptr<CGame, void (*)(CGame*)> game(CreateGame(), &DeleteGame);
  game->setup.kind = kKindStandard;
  for (const char* name : {"Ann", "Pip"}) {
    PlayerSetupEntry e;
    e.playerType = std::strcmp(name, "Ann") == 0 ? kPlayerHuman : kPlayerComputer;
    std::strcpy(e.name, name);
    game->setup.AddPlayer(e);
  }
  game->StartNewGame();
  game->Player(0)->score = 37;
  return game;
}

TEST(TournamentFile, SavedWhileAGameRunsLoadsWithThatGame) {
  testsupport::TempDir dir;
  testsupport::RecordingSink sink;
  TournamentData t = Tournament();
  const std::string path = dir / "spring.TST";
  std::strcpy(t.filePath, path.c_str());
  t.gameRunning = 1;
  auto game = RunningGame();
  ASSERT_TRUE(SaveTournamentFile(t, false, game.get()));
  EXPECT_EQ(t.gameRunning, 1);  // restored after the write
  TournamentData back;
  auto loaded = std::unique_ptr<CGame, void (*)(CGame*)>(CreateGame(), &DeleteGame);
  bool hasGame = false;
  ASSERT_TRUE(LoadTournamentFile(path.c_str(), back, "Ann", 0, loaded.get(), &hasGame));
  EXPECT_TRUE(hasGame);
  EXPECT_EQ(back.state, 1);
  EXPECT_EQ(back.gameRunning, 0);
  EXPECT_EQ(back.gamePending, 1);
  EXPECT_EQ(back.pairings[1].result, kResultNone);  // the running game's pairing
  EXPECT_EQ(loaded->Player(0)->score, 37);
  EXPECT_EQ(loaded->tournamentMode, kResultNone);
  EXPECT_TRUE(sink.messages.empty());

  // A damaged file shows its message with the path and changes nothing.
  testsupport::WriteBytes(path, "TST_v_01");
  TournamentData unchanged = back;
  EXPECT_FALSE(LoadTournamentFile(path.c_str(), unchanged, "Ann", 0, nullptr));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "The file is damaged or is not a TESSARIN\xAE file. " + path);
  EXPECT_EQ(unchanged.gamePending, 1);
}

TEST(TournamentFile, AdjournedTwiceGetsFreeNamesAndIsDeletedOnlyWhenLoaded) {
  testsupport::TempDir dir;
  testsupport::RecordingSink sink;
  TournamentData t = Tournament();
  std::strcpy(t.filePath, (dir / "spring.TST").c_str());
  auto game = RunningGame();
  ASSERT_TRUE(SaveTournamentFile(t, true, game.get(), dir.path()));
  ASSERT_TRUE(SaveTournamentFile(t, true, game.get(), dir.path()));
  const std::string first = dir / "spring.ADT";
  const std::string second = dir / "spring (2).ADT";
  ASSERT_TRUE(platform::FileExists(first.c_str()));
  ASSERT_TRUE(platform::FileExists(second.c_str()));
  EXPECT_EQ(DetectSavedFileType(first.c_str()), kFileAdjourned);

  // Another user's: refused, and the file stays.
  TournamentData back;
  auto loaded = std::unique_ptr<CGame, void (*)(CGame*)>(CreateGame(), &DeleteGame);
  EXPECT_FALSE(LoadAdjournedTournament(first.c_str(), back, "Bob", 0, loaded.get()));
  EXPECT_TRUE(platform::FileExists(first.c_str()));
  auto again = std::unique_ptr<CGame, void (*)(CGame*)>(CreateGame(), &DeleteGame);
  ASSERT_TRUE(LoadAdjournedTournament(first.c_str(), back, "Ann", 0, again.get()));
  EXPECT_FALSE(platform::FileExists(first.c_str()));
  EXPECT_EQ(back.state, 4);  // an adjourned file keeps the live state
}

TEST(TournamentScript, AppendsGamesAndFindsTheNextWithoutAResult) {
  testsupport::TempDir dir;
  const std::string path = dir / "tournamentroom.CSC";
  TournamentData t = Tournament();
  WriteTournamentScript(t, path.c_str());
  WriteTournamentScript(t, path.c_str());
  EXPECT_EQ(platform::IniGetInt("Script", "NumGames", 0, path.c_str()), 12);
  EXPECT_EQ(platform::IniGet("Game6", "White", "", path.c_str()),
            platform::IniGet("Game0", "White", "", path.c_str()));
  std::string done;
  EXPECT_EQ(ReadTournamentScript(path.c_str(), &done), 0);
  for (int i = 0; i < 12; ++i)
    platform::IniWriteString(("Game" + std::to_string(i)).c_str(), "Result", "2", path.c_str());
  EXPECT_EQ(ReadTournamentScript(path.c_str(), &done), -1);
  EXPECT_EQ(done, "All autotest games have been completed");
}

}  // namespace
