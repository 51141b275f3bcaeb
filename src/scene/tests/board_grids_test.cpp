#include "scene/board_grids.h"

#include <gtest/gtest.h>

#include <cstring>

#include "game/game.h"
#include "game/session_registry.h"
#include "grid_fixture.h"
#include "rules/rules.h"
#include "scene/grid_view_port.h"
#include "shell/app_context.h"

using namespace scene;

namespace {

class BoardGridsTest : public testing::Test, public scenetest::GridFixture {
 protected:
  void SetUp() override {
    GlobalRules().Setup(0, 7);
    registry_ = InitGameSessionRegistry();
    game_ = CreateGame();
    ASSERT_EQ(RegisterGame(game_, 1), kRegistered);
    MakeGameCurrent(game_);
  }
  void TearDown() override { registry_.reset(); }

  int BagBlanks() const { return game_->bag.counts[0]; }

  // Picks at a cell and carries the tiles to another cell's point.
  void Carry(TileGrid& from, uint16_t p, bool run, int direction, TileGrid* to, uint16_t q) {
    TileCell records[20];
    int n = 0;
    ASSERT_TRUE(from.PickTiles(p, direction, run, records, &n, 20));
    auto [x, y] = PointOf(from, p);
    carrier->SetDirection(direction);
    carrier->BeginCarry(&from, x, y, records, n);
    if (!to) {
      carrier->DropAt(1, 1);  // over nothing
      return;
    }
    auto [tx, ty] = PointOf(*to, q);
    carrier->MoveTo(tx, ty);
    carrier->DropAt(tx, ty);
  }

  std::shared_ptr<GameSessionRegistry> registry_;
  CGame* game_ = nullptr;
};

TEST_F(BoardGridsTest, FirstGridOfTheBoardViewIsTheBoard) {
  ASSERT_TRUE(shell::CreateAppContextAt("C:\\Games\\Tessarin\\tessarin.exe"));
  EXPECT_EQ(shell::GetBoardViewFirstGrid(), &board);
  SetCurrentGrids({});
  EXPECT_EQ(shell::GetBoardViewFirstGrid(), nullptr);
  shell::DestroyAppContext();
  EXPECT_EQ(shell::GetBoardViewFirstGrid(), nullptr);
}

TEST_F(BoardGridsTest, RunPickKeepsTheGapOfAFixedTile) {
  char letters[225] = {};
  letters[7 * 15 + 5] = 'o';  // an earlier move
  board.SetBoardLetters(letters);
  rack.SetLetters("ab_____", 7);
  ASSERT_TRUE(board.PlaceRecord(rack.GetCell(CellCode(0, 0)), CellCode(7, 4)));
  ASSERT_TRUE(board.PlaceRecord(rack.GetCell(CellCode(0, 1)), CellCode(7, 6)));
  TileCell records[20];
  int n = 0;
  ASSERT_TRUE(board.PickTiles(CellCode(7, 4), kAcross, true, records, &n, 20));
  ASSERT_EQ(n, 3);
  EXPECT_EQ(records[0].letter, 'a');
  EXPECT_EQ(records[1].letter, 0);  // the fixed 'o'
  EXPECT_EQ(records[2].letter, 'b');
  EXPECT_EQ(records[0].originGrid, &rack);  // goes home to the rack
  EXPECT_TRUE(board.CanAccept(CellCode(3, 1), kAcross, &board, records, n));
  board.PlaceTiles(CellCode(3, 1), kAcross, records, n);
  EXPECT_EQ(board.GetCellAt(3, 1).letter, 'a');
  EXPECT_EQ(board.GetCellAt(3, 2).letter, 0);
  EXPECT_EQ(board.GetCellAt(3, 3).letter, 'b');
  for (TileCell& r : records)
    delete r.tileObject;
}

TEST_F(BoardGridsTest, BoardAcceptsByFixedSquaresAndEdges) {
  char letters[225] = {};
  letters[0 * 15 + 3] = 'o';
  board.SetBoardLetters(letters);
  TileCell two[2];
  two[0].letter = 'a', two[1].letter = 'b';
  struct Case {
    uint16_t at;
    int direction;
    bool ok;
  } cases[] = {{CellCode(0, 1), kAcross, true},  {CellCode(0, 2), kAcross, false},
               {CellCode(0, 3), kAcross, false}, {CellCode(0, 14), kAcross, false},
               {CellCode(14, 0), kDown, false},  {CellCode(13, 0), kDown, true}};
  for (const Case& c : cases)
    EXPECT_EQ(board.CanAccept(c.at, c.direction, &rack, two, 2), c.ok) << std::hex << c.at;
}

TEST_F(BoardGridsTest, FullRackTakesItsOwnTileBack) {
  rack.SetLetters("abcdefg", 7);
  Carry(rack, CellCode(0, 2), false, kAcross, &rack, CellCode(0, 5));
  EXPECT_EQ(rack.TileCount(), 7);
  EXPECT_EQ(carrier->State(), TileCarrier::kIdle);
  EXPECT_EQ(host.releases, host.captures);
}

TEST_F(BoardGridsTest, DropOverNothingSendsTilesHome) {
  rack.SetLetters("abc____", 7);
  Carry(rack, CellCode(0, 0), true, kAcross, nullptr, kNoCell);
  EXPECT_EQ(rack.TileCount(), 3);
  EXPECT_NE(rack.FindLetter('c'), kNoCell);
  EXPECT_EQ(carrier->CarriedCount(), 0);
  EXPECT_EQ(carrier->OwnFrame()->FirstChild(), nullptr);
}

TEST_F(BoardGridsTest, RackTileGoesToTheBoardAndBack) {
  rack.SetLetters("abc____", 7);
  Carry(rack, CellCode(0, 1), false, kAcross, &board, CellCode(7, 7));
  EXPECT_EQ(board.GetCellAt(7, 7).letter, 'b');
  EXPECT_EQ(board.GetCellAt(7, 7).tileObject->Name(), "N_B");
  EXPECT_FALSE(board.IsFixedCell(CellCode(7, 7)));
  EXPECT_EQ(rack.TileCount(), 2);
  Carry(board, CellCode(7, 7), false, kAcross, &rack, CellCode(0, 6));
  EXPECT_EQ(board.TileCount(), 0);
  EXPECT_EQ(rack.TileCount(), 3);
}

TEST_F(BoardGridsTest, BoardTileGoesOnlyBackToItsSquare) {
  char letters[225] = {};
  letters[7 * 15 + 7] = 'k';
  board.SetBoardLetters(letters);
  // Picked by hand (the board's own pick leaves fixed tiles alone).
  TileCell record;
  record = board.GetCellAt(7, 7);
  record.tileObject = nullptr;
  board.TakeTile(CellCode(7, 7));
  EXPECT_FALSE(rack.PlaceRecord(record, CellCode(0, 0)));
  EXPECT_FALSE(board.PlaceRecord(record, CellCode(3, 3)));
  SendTileHome(record);
  EXPECT_EQ(board.GetCellAt(7, 7).letter, 'k');
  EXPECT_TRUE(board.IsFixedCell(CellCode(7, 7)));
  EXPECT_TRUE(board.PlaceRecord(record, CellCode(7, 7)));  // on its own square: no change
  EXPECT_EQ(board.TileCount(), 1);
}

TEST_F(BoardGridsTest, BlankWithNoRoomAtHomeGoesToTheBag) {
  rack.SetLetters("`bc____", 7);
  Carry(rack, CellCode(0, 0), false, kAcross, &board, CellCode(7, 7));
  ASSERT_EQ(board.GetCellAt(7, 7).letter, 'E');  // asked for its letter
  rack.SetLetters("abcdefg", 7);
  const int before = BagBlanks();
  Carry(board, CellCode(7, 7), false, kAcross, nullptr, kNoCell);
  EXPECT_EQ(BagBlanks(), before + 1);
  EXPECT_EQ(board.TileCount(), 0);
}

TEST_F(BoardGridsTest, CrossagramSquares) {
  host.room = kCrossagramRoom;
  game_->setup.kind = kKindCrossagram;
  board.PutTileAt(kSquareToFill, 0 * 15 + 1);
  board.PutTileAt(kGivenSquare, 0 * 15 + 2);
  TileCell one[1];
  one[0].letter = 'r';
  EXPECT_FALSE(board.CanAccept(CellCode(0, 0), kAcross, &rack, one, 1));
  EXPECT_FALSE(board.CanAccept(CellCode(0, 2), kAcross, &rack, one, 1));
  ASSERT_TRUE(board.CanAccept(CellCode(0, 1), kAcross, &rack, one, 1));
  ASSERT_TRUE(board.PlaceTile('r', CellCode(0, 1), false));
  EXPECT_EQ(board.GetCellAt(0, 1).letter, 'r');
  board.TakeTile(CellCode(0, 2));
  EXPECT_EQ(board.GetCellAt(0, 2).letter, kGivenSquare);  // survives
  TileCell picked[1];
  int n = 0;
  ASSERT_TRUE(board.PickTiles(CellCode(0, 1), kAcross, false, picked, &n, 1));
  EXPECT_EQ(board.GetCellAt(0, 1).letter, kSquareToFill);
  delete picked[0].tileObject;
}

TEST_F(BoardGridsTest, RackDropSyncsThePlayersRackText) {
  PlayerSetupEntry e;
  e.playerType = kPlayerHuman;
  game_->setup.kind = kKindStandard;
  game_->setup.AddPlayer(e);
  game_->CreatePlayers();
  GamePlayer* p = game_->GetCurrentPlayer();
  ASSERT_NE(p, nullptr);
  std::strcpy(p->rack, "abcdefg");
  rack.SetLetters(p->rack, 7);
  // Two tiles are out on the board; the rack shows the rest moved about.
  Carry(rack, CellCode(0, 0), false, kAcross, &board, CellCode(7, 7));
  Carry(rack, CellCode(0, 1), false, kAcross, &board, CellCode(7, 8));
  Carry(rack, CellCode(0, 6), false, kAcross, &rack, CellCode(0, 0));
  EXPECT_EQ(rack.Dump(), "g_cdef_");
  EXPECT_STREQ(p->rack, "gacdefb");
  EXPECT_EQ(p->rackCount, 7);
}

}  // namespace

namespace {

// The game reads the move and the rack through the grids, and refills them.
TEST_F(BoardGridsTest, GameSeesTheGridsThroughThePort) {
  GridViewPort port;
  BoardViewPort* old = SetBoardViewPort(&port);
  rack.SetLetters("ab`____", 7);
  host.arrow = 1;
  board.PlaceTile(kArrowAcross, CellCode(2, 2), false);
  host.arrow = 0;
  board.PlaceRecord(rack.GetCell(CellCode(0, 0)), CellCode(7, 7));
  char letters[kBoardSquares];
  ASSERT_TRUE(GetBoardViewPort().ReadBoardLetters(letters));
  EXPECT_EQ(letters[7 * 15 + 7], 'a');
  EXPECT_EQ(letters[2 * 15 + 2], 0);  // the cursor arrow is no tile
  char cells[kRackTextSize] = {};
  EXPECT_EQ(GetBoardViewPort().ReadRackCells(cells, 20), 7);
  EXPECT_EQ(std::string(cells, 3), std::string("ab`"));
  GetBoardViewPort().LoadRackLetters("xyz____", 7);
  EXPECT_EQ(rack.Dump(), "xyz____");
  GetBoardViewPort().SetSceneButtonMask(0x01);
  EXPECT_TRUE(GetSceneFrame(kFramePlay)->visible);
  GetBoardViewPort().ClearGrids();
  EXPECT_EQ(board.TileCount() + rack.TileCount(), 0);
  SetBoardViewPort(old);
}

}  // namespace
