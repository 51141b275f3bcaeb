// The game object's creation, set-up for each kind, clocks, information
// block and set-up record operations.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "game/game.h"
#include "game/game_strings.h"
#include "game_fakes.h"
#include "platform/clock.h"
#include "platform/crand.h"

namespace {

using gamefakes::FakeRobotFactory;

PlayerSetupEntry Entry(int32_t type) {
  PlayerSetupEntry e;
  std::snprintf(e.name, sizeof e.name, "type %d", type);
  e.playerType = type;
  return e;
}

class NewGameTest : public testing::Test {
 protected:
  void SetUp() override { platform::SeedRandom(99); }

  std::unique_ptr<CGame> Make(int32_t kind, int32_t flags = 0, int players = 2) {
    std::unique_ptr<CGame> game(CreateGame());
    game->setup.kind = kind;
    game->setup.flags = flags;
    game->setup.AddPlayer(Entry(kPlayerHuman));
    for (int i = 1; i < players; ++i)
      game->setup.AddPlayer(Entry(kPlayerComputer));
    return game;
  }

  gamefakes::RecordingUiPort ui;
  gamefakes::FakeNetPort net;
  FakeRobotFactory robots;
};

TEST_F(NewGameTest, CreateGameGivesAnEmptyGameInTheUsersLanguage) {
  ui.language = 1;
  std::unique_ptr<CGame> game(CreateGame());
  ASSERT_NE(game, nullptr);
  EXPECT_EQ(game->rackSize, 7);
  EXPECT_EQ(game->setup.language, 1);
  EXPECT_EQ(game->state, kStateNoGame);
  EXPECT_FALSE(game->guid.IsNull());
  EXPECT_EQ(game->setup.kind, kKindNone);
  EXPECT_EQ(game->setup.maxRounds, -1);
  EXPECT_EQ(game->previousRound, -1);
  EXPECT_EQ(game->lastTick, kNoTick);
  EXPECT_EQ(game->GetCurrentPlayer(), nullptr);
  std::unique_ptr<CGame> other(CreateGame());
  EXPECT_NE(game->guid, other->guid);
}

TEST_F(NewGameTest, EachKindStartsWithItsRackBoardAndLanguage) {
  struct Case {
    int32_t kind;
    int32_t flags;
    int32_t language;
    int32_t sideBefore;  // single-row kinds keep the side they find
    int32_t rack;
    int32_t side;
    int32_t tiles;  // in the bag after the start
  } cases[] = {
      {kKindStandard, 0, 0, 15, 7, 15, 100},
      {kKindStandard, 0, 1, 15, 7, 15, 102},
      {kKindStandard, kFlagSevenOfEight, 0, 15, 8, 15, 100},
      {kKindStandard, kFlagEightOfEight, 0, 15, 8, 15, 100},
      {kKindDuplicate, 0, 0, 15, 7, 15, 100},
      {kKindExercise, 0, 0, 15, 7, 15, 100},
      {kKindAnagram, 0, 0, 7, 7, 7, 100},
      {kKindConundrum, 0, 0, 9, 9, 9, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "kind " << c.kind << " flags " << c.flags << " language " << c.language);
    GlobalRules().boardSide = c.sideBefore;
    auto game = Make(c.kind, c.flags);
    game->setup.language = c.language;
    game->StartNewGame();
    EXPECT_EQ(game->rules->rackSize, c.rack);
    EXPECT_EQ(game->rules->boardSide, c.side);
    EXPECT_EQ(game->rules->tileSetIndex, c.language);
    EXPECT_EQ(game->bag.tileCount, c.tiles);
    EXPECT_EQ(game->state, kStateTurnStart);
    EXPECT_FALSE(game->guid.IsNull());
    EXPECT_EQ(game->PlayerCount(), 2);
    EXPECT_EQ(game->GetCurrentPlayer(), game->Player(0));
    EXPECT_EQ(game->Player(0)->Game(), game.get());
  }
  GlobalRules().boardSide = 15;
}

TEST_F(NewGameTest, StartNewGameResetsTheTurnAndTellsTheWindows) {
  auto game = Make(kKindStandard);
  game->startPlayerIndex = 1;
  game->consecutivePasses = 3;
  game->scorelessTurns = 4;
  game->tournamentMode = kTournamentSaved;
  game->lastTick = 5;
  game->gameElapsedMs = 77;
  game->clockPaused = 1;
  PendingBoardAction() = [](CGame*) {};
  game->StartNewGame();

  EXPECT_EQ(game->turnIndex, 1);
  EXPECT_EQ(game->prepareIndex, 1);
  EXPECT_EQ(game->GetCurrentPlayer(), game->Player(1));
  EXPECT_EQ(game->previousPlayer, nullptr);
  EXPECT_EQ(game->consecutivePasses, 0);
  EXPECT_EQ(game->scorelessTurns, 0);
  EXPECT_EQ(game->tournamentMode, kTournamentNone);
  EXPECT_EQ(game->lastTick, kNoTick);
  EXPECT_EQ(game->gameElapsedMs, 0);
  EXPECT_EQ(game->clockPaused, 0);
  EXPECT_EQ(PendingBoardAction(), nullptr);
  EXPECT_EQ(game->bag.firstLetter, 0);
  // The windows rebuild, then hear of the opening history entry.
  ASSERT_EQ(ui.broadcasts.size(), 2u);
  EXPECT_EQ(ui.broadcasts[0].first, game.get());
  EXPECT_EQ(ui.broadcasts[0].second, kGameChangedRebuild);
  EXPECT_EQ(ui.broadcasts[1].second, kGameChangedMoveAdded);
  ASSERT_EQ(game->history->Count(), 1);
  EXPECT_EQ(game->GetHistoryIndex(), 1);
  EXPECT_FALSE(game->history->Last()->HasMove());
  EXPECT_EQ(ui.panelRefreshes, 1);
  EXPECT_EQ(ui.debugLines.front(), "CGame::Init()\n");
  for (int i = 0; i < 2; ++i) {
    const GamePlayer* p = game->Player(i);
    EXPECT_EQ(p->blankOwed, 1);
    EXPECT_EQ(p->turnPhase, kPhaseIdle);
    EXPECT_EQ(p->score, 0);
    EXPECT_EQ(p->Type(), game->setup.entries[i].playerType);
    EXPECT_NE(p->GetRobot(), nullptr);
  }
  // A local human's robot is set up once more from its own settings.
  EXPECT_EQ(FakeRobotFactory::Of(game->Player(0)->GetRobot())->configured, 2);
  EXPECT_EQ(FakeRobotFactory::Of(game->Player(1)->GetRobot())->configured, 1);

  // A network game always opens with player 0.
  net.mode = kNetworkLan;
  game->StartNewGame();
  EXPECT_EQ(game->turnIndex, 0);
  EXPECT_EQ(game->GetCurrentPlayer(), game->Player(0));
}

TEST_F(NewGameTest, ThePanelsMarkTheHumanPlayerOnceHisRackIsDealt) {
  auto game = Make(kKindStandard, 0, 3);
  game->StartNewGame();
  const CGame* seen = game.get();
  const GamePlayer* marked = nullptr;
  ui.onPanelRefresh = [&] { marked = seen->viewingPlayer; };
  for (int i = 0; i < 3 && game->state == kStateTurnStart; ++i)
    game->Update();
  EXPECT_EQ(game->viewingPlayer, game->Player(0));
  EXPECT_EQ(marked, game->Player(0));
}

TEST_F(NewGameTest, AHeldGameWaitsUntilReleased) {
  auto game = Make(kKindStandard, 0, 2);
  game->StartNewGame();
  game->hold = 1;
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(game->Update(), kStateTurnStart);
  EXPECT_EQ(game->viewingPlayer, nullptr);  // nobody was dealt a turn
  game->hold = 0;
  for (int i = 0; i < 2; ++i)
    game->Update();
  EXPECT_EQ(game->state, kStateTurnRunning);
}

TEST_F(NewGameTest, RestartLeavesNoPointerToTheOldPlayers) {
  auto game = Make(kKindStandard, 0, 3);
  game->StartNewGame();
  game->viewingPlayer = game->Player(2);
  game->previousPlayer = game->Player(1);
  game->setup.RemovePlayer(2);
  game->StartNewGame();
  EXPECT_EQ(game->viewingPlayer, nullptr);
  EXPECT_EQ(game->previousPlayer, nullptr);
  EXPECT_EQ(game->Player(2), nullptr);
  EXPECT_EQ(robots.live, 2);
  // The new game's history holds only its own opening entry.
  EXPECT_EQ(game->history->Count(), 1);
  game.reset();
  EXPECT_EQ(robots.live, 0);
}

TEST_F(NewGameTest, ClearGameTakesBackTheHistoryAndRestartBeginsAgain) {
  auto game = Make(kKindDuplicate, 0, 3);
  game->StartNewGame();
  RobotMove move;
  std::strcpy(move.word, "cat");
  move.length = 3;
  move.score = 10;
  move.column = move.row = 7;
  game->ApplyMove(move);
  game->RecordMove(&move);
  game->referencePlayer = std::make_unique<GamePlayer>();
  game->startPlayerIndex = game->turnIndex = 2;
  game->roundCount = 4;
  game->previousRound = 3;
  game->viewingPlayer = game->Player(0);
  ASSERT_EQ(game->history->Count(), 2);

  game->ClearGame();
  EXPECT_EQ(game->history->Count(), 0);
  EXPECT_EQ(game->GetHistoryIndex(), 0);
  EXPECT_EQ(game->Player(0), nullptr);
  EXPECT_EQ(game->referencePlayer, nullptr);
  EXPECT_EQ(game->viewingPlayer, nullptr);
  EXPECT_EQ(game->GetCurrentPlayer(), nullptr);
  EXPECT_EQ(robots.live, 0);
  EXPECT_EQ(game->board.At(7, 7), 0);
  EXPECT_EQ(game->turnIndex, 0);
  EXPECT_EQ(game->startPlayerIndex, 0);
  EXPECT_EQ(game->roundCount, 0);
  EXPECT_EQ(game->previousRound, -1);
  EXPECT_EQ(game->state, kStateNoGame);
  EXPECT_EQ(game->PlayerCount(), 3);  // the set-up stays for the restart

  game->Restart();
  EXPECT_EQ(game->state, kStateTurnStart);
  EXPECT_EQ(robots.live, 3);
  ASSERT_EQ(game->history->Count(), 1);
  EXPECT_FALSE(game->history->Last()->HasMove());
  EXPECT_EQ(game->history->Last()->scores[0], 0);
}

TEST_F(NewGameTest, DuplicateStartClearsEachSeatsWorkingWord) {
  for (int32_t kind : {kKindStandard, kKindDuplicate}) {
    auto game = Make(kind);
    game->setup.entries[1].extra = 77;
    game->StartNewGame();
    EXPECT_EQ(game->setup.entries[1].extra, kind == kKindDuplicate ? 0 : 77) << kind;
    EXPECT_EQ(game->Player(1)->entry.extra, kind == kKindDuplicate ? 0 : 77) << kind;
  }
}

TEST_F(NewGameTest, ClocksFollowTheClockMode) {
  struct Case {
    int32_t mode;
    int32_t expected;
  } cases[] = {{kClockPerGame, 1500000}, {kClockPerMove, 60000}, {kClockNone, kNoClock}};
  for (const Case& c : cases) {
    auto game = Make(kKindStandard, 0, 3);
    game->setup.clockMode = c.mode;
    game->setup.gameTimeMs = 1500000;
    game->setup.moveTimeMs = 60000;
    game->StartNewGame();
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(game->Player(i)->timeLeftMs, c.expected) << "mode " << c.mode;
  }
}

TEST_F(NewGameTest, PlayerCountFromTheSetupIsBounded) {
  auto game = Make(kKindStandard);
  game->setup.playerCount = 5000;  // as a damaged file could hold
  game->StartNewGame();
  EXPECT_EQ(game->PlayerCount(), kMaxPlayers);
  EXPECT_NE(game->Player(kMaxPlayers - 1), nullptr);
  game->setup.playerCount = -3;
  game->StartNewGame();
  EXPECT_EQ(game->Player(0), nullptr);
  EXPECT_EQ(game->GetCurrentPlayer(), nullptr);
}

TEST_F(NewGameTest, CrossagramStartAsksForTheViewGrid) {
  auto game = Make(kKindCrossagram);
  game->StartNewGame();
  ASSERT_EQ(ui.crossagramGrids.size(), 1u);
  EXPECT_EQ(ui.crossagramGrids[0], game.get());
}

TEST(GameSetupTest, AddAndRemovePlayers) {
  GameSetup setup;
  EXPECT_EQ(setup.GetPlayerCount(), 0);
  EXPECT_EQ(setup.entries[0].playerType, -1);
  PlayerSetupEntry a = Entry(kPlayerHuman), b = Entry(kPlayerComputer);
  ASSERT_TRUE(setup.AddPlayer(a));
  ASSERT_TRUE(setup.AddPlayer(b));
  EXPECT_TRUE(setup.RemovePlayer(0));
  EXPECT_EQ(setup.GetPlayerCount(), 1);
  EXPECT_EQ(setup.entries[0].playerType, kPlayerComputer);
  EXPECT_EQ(setup.entries[1].playerType, -1);  // the freed entry is empty
  EXPECT_TRUE(setup.RemovePlayer(0));
  EXPECT_EQ(setup.GetPlayerCount(), 0);
  const PlayerSetupEntry empty;
  EXPECT_EQ(std::memcmp(&setup.entries[0], &empty, sizeof empty), 0);

  EXPECT_FALSE(setup.RemovePlayer(0));
  EXPECT_FALSE(setup.RemovePlayer(-1));
  setup.SetPlayerCount(kMaxPlayers);
  EXPECT_FALSE(setup.AddPlayer(a));
  setup.SetPlayerCount(kMaxPlayers + 1);
  EXPECT_EQ(setup.GetPlayerCount(), kMaxPlayers);
}

TEST_F(NewGameTest, LocalHumanAndBoardViewCopies) {
  auto game = Make(kKindCrossagram);
  EXPECT_TRUE(game->HasLocalHuman());
  game->setup.entries[0].playerType = kPlayerRemote;
  EXPECT_FALSE(game->HasLocalHuman());

  std::vector<char> cells(15 * kViewRowBytes, 0);
  cells[7 * kViewRowBytes + 7 * kViewCellBytes] = 'q';
  cells[0] = kCrossagramPlaceholder;
  EXPECT_TRUE(game->BoardViewDiffers(cells.data()));
  game->ShowRackInView(cells.data());
  EXPECT_EQ(game->board.At(7, 7), 'q');
  EXPECT_EQ(game->board.At(0, 0), kEmptySquare);  // the placeholder is empty here
  cells[0] = 0;
  EXPECT_FALSE(game->BoardViewDiffers(cells.data()));

  game->StartTurnTimer();
  EXPECT_NE(game->lastTick, kNoTick);
}

TEST_F(NewGameTest, InformationBlockSetters) {
  auto game = Make(kKindStandard);
  struct Case {
    const char* text;
    const char* expected;
  } names[] = {
      {"a:b?c", "a-b-c"},
      {"x\\y*z\"<>|", "x-y-z----"},
      {"tab\there", "tab-here"},
      {"\xe9t\xe9 \x8a\x80\x9f\xa0", "\xe9t\xe9 \x8a-\x9f-"},
  };
  for (const Case& c : names) {
    game->SetFileSafeName(c.text);
    EXPECT_STREQ(game->info.fileSafeName, c.expected) << c.text;
  }
  const std::string longText(400, 'k');
  game->SetFileSafeName(longText.c_str());
  EXPECT_EQ(std::strlen(game->info.fileSafeName), 127u);
  game->SetInfoText1(longText.c_str());
  EXPECT_EQ(std::strlen(game->info.infoText1), 127u);
  EXPECT_EQ(game->info.infoText2[0], 0);  // the next field is untouched
  game->SetInfoPath(longText.c_str());
  EXPECT_EQ(std::strlen(game->info.path), 259u);
  game->SetDateText(longText.c_str());
  EXPECT_EQ(std::strlen(game->info.dateText), 31u);

  game->tournamentMode = kTournamentGame;
  game->ResetGameInfo();
  EXPECT_STREQ(game->info.title, "TESSARIN\xAE 2007 Edition");  // string 1929
  EXPECT_EQ(game->info.markA, 26);
  EXPECT_EQ(game->info.markB, 9);
  EXPECT_EQ(game->info.fileSafeName[0], 0);
  EXPECT_EQ(game->info.path[0], 0);
  EXPECT_EQ(game->tournamentMode, kTournamentNone);
  const platform::LocalDateTime now = platform::GetLocalDateTime();
  char today[32];
  std::snprintf(today, sizeof today, "%d-%d-%4d", now.month, now.day, now.year);
  EXPECT_STREQ(game->info.dateText, today);

  auto other = Make(kKindStandard);
  game->info.ownedTexts[2] = "comment";
  other->CopyGameInfo(*game);
  EXPECT_STREQ(other->info.title, game->info.title);
  EXPECT_EQ(other->info.ownedTexts[2], "comment");
}

TEST(GameInfoTest, ImageIsExactAndReadBackBounded) {
  GameInfo info;
  CopyInfoText(info.title, sizeof info.title, "Title");
  info.markA = 26;
  info.markB = 9;
  CopyInfoText(info.path, sizeof info.path, "C:\\games\\a.tsb");
  CopyInfoText(info.dateText, sizeof info.dateText, "1-2-2007");
  info.ownedTexts[0] = "not in the image";
  std::vector<uint8_t> image;
  ByteWriter w(image);
  EncodeGameInfo(info, w);
  ASSERT_EQ(image.size(), kGameInfoImageSize);
  EXPECT_EQ(image[32], 26);
  EXPECT_EQ(image[33], 9);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&image[418])), "C:\\games\\a.tsb");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&image[742])), "1-2-2007");

  GameInfo back;
  ByteReader r(image);
  ASSERT_TRUE(DecodeGameInfo(r, back));
  EXPECT_STREQ(back.title, "Title");
  EXPECT_STREQ(back.path, info.path);
  EXPECT_TRUE(back.ownedTexts[0].empty());

  // A title that fills its field is cut one byte short on reading.
  std::memset(image.data(), 'T', 32);
  ByteReader full(image);
  ASSERT_TRUE(DecodeGameInfo(full, back));
  EXPECT_EQ(std::strlen(back.title), 31u);

  // A short image is refused and leaves the block as it was.
  ByteReader shortImage(image.data(), image.size() - 1);
  EXPECT_FALSE(DecodeGameInfo(shortImage, back));
  EXPECT_EQ(std::strlen(back.title), 31u);
}

}  // namespace
