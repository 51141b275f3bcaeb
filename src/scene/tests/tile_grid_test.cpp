#include "scene/tile_grid.h"

#include <gtest/gtest.h>

#include "grid_fixture.h"
#include "scene/board_grids.h"

using namespace scene;

namespace {

class TileGridTest : public testing::Test, public scenetest::GridFixture {
 protected:
  // Every counted tile is a cell holding a tile, and the reverse.
  static void ExpectConsistent(TileGrid& g) {
    int tiles = 0;
    for (int i = 0; i < g.CellCount(); ++i) {
      const TileCell& c = g.CellByIndex(i);
      if (c.letter > 2) {
        ++tiles;
        EXPECT_NE(c.tileObject, nullptr) << i;
      } else {
        EXPECT_EQ(c.tileObject, nullptr) << i;
      }
    }
    EXPECT_EQ(g.TileCount(), tiles);
    EXPECT_EQ(g.GetLetterCountTotal(), tiles);
  }
};

TEST_F(TileGridTest, ConstructionAndBinding) {
  TileGrid g(2, 3, 1);
  EXPECT_EQ(g.CellCount(), 6);
  EXPECT_EQ(g.GetCellAt(1, 2).position, CellCode(1, 2));
  EXPECT_EQ(g.GetCellAt(1, 2).originGrid, &g);
  EXPECT_FALSE(g.BindFrame(nullptr));
  EXPECT_EQ(g.Frame(), nullptr);
  EXPECT_EQ(g.PointToCell(10, 10), kNoCell);  // no frame
  EXPECT_EQ(board.CellCount(), 15 * 15);
}

TEST_F(TileGridTest, CountingByLetterKind) {
  struct Case {
    char placed;
    int counter;  // the counter the tile is counted under
    char stored;  // the letter the rack keeps
  } cases[] = {{'q', 17, 'q'}, {'`', 0, '`'}, {'Q', 0, '`'}};
  for (const Case& c : cases) {
    rack.Clear();
    ASSERT_TRUE(rack.PlaceTile(c.placed, CellCode(0, 3), false));
    EXPECT_EQ(rack.GetCell(CellCode(0, 3)).letter, c.stored);
    EXPECT_EQ(rack.GetLetterCount(c.counter), 1) << c.placed;
    ExpectConsistent(rack);
    rack.TakeTile(CellCode(0, 3));
    EXPECT_EQ(rack.GetLetterCountTotal(), 0);
    EXPECT_EQ(rack.TileCount(), 0);
  }
  // A blank showing a letter counts as a blank on the board too.
  ASSERT_TRUE(board.PlaceTile('Z', CellCode(7, 7), false));
  EXPECT_EQ(board.GetLetterCount(0), 1);
  board.TakeTile(CellCode(7, 7));
  board.TakeTile(CellCode(7, 7));  // taking an empty cell counts nothing
  EXPECT_EQ(board.TileCount(), 0);
}

TEST_F(TileGridTest, BlankOnBoardAsksForItsLetter) {
  ASSERT_TRUE(board.PlaceTile('`', CellCode(0, 0), false));
  EXPECT_EQ(host.blankQuestions, 1);
  EXPECT_EQ(board.GetCell(0).letter, 'E');
  EXPECT_EQ(board.GetCell(0).tileObject->Name(), "R_E");
}

TEST_F(TileGridTest, PlaceRefusesOutsideAndOccupiedWithoutShifting) {
  TileGrid plain(1, 3, 0);
  EXPECT_FALSE(plain.PlaceTile('a', CellCode(0, 3), false));
  EXPECT_FALSE(plain.PlaceTile('a', CellCode(1, 0), false));
  EXPECT_TRUE(plain.PlaceTile('a', CellCode(0, 0), false));
  EXPECT_FALSE(plain.PlaceTile('b', CellCode(0, 0), false));
  // Forced on a grid that cannot push: refused, the tile there stays.
  EXPECT_FALSE(plain.PlaceTile('b', CellCode(0, 0), true));
  EXPECT_EQ(plain.GetCell(0).letter, 'a');
  EXPECT_EQ(plain.TileCount(), 1);
}

TEST_F(TileGridTest, PlacingOnATileShiftsTheRunToTheNearestFreeCell) {
  struct Case {
    const char* before;
    int column;
    int side;
    const char* after;
  } cases[] = {
      {"ab_cd__", 3, -1, "abcxd__"},  // free cell at 2 nearer than 5
      {"_abc___", 2, -1, "abxc___"},  // 0 and 4 both two away: start side
      {"_abc___", 2, 1, "_axbc__"},   // ... or the end side when preferred
  };
  for (const Case& c : cases) {
    rack.SetLetters(c.before, 7);
    if (c.side == -1) {
      ASSERT_TRUE(rack.PlaceTile('x', CellCode(0, c.column), false)) << c.before;
    } else {
      ASSERT_TRUE(rack.ShiftTiles(CellCode(0, c.column), kAcross, c.side, false, false));
      ASSERT_TRUE(rack.PlaceTile('x', CellCode(0, c.column), false));
    }
    EXPECT_EQ(rack.Dump(), c.after) << c.before;
    ExpectConsistent(rack);
  }
}

TEST_F(TileGridTest, AFullRowRefusesAndLosesNothing) {
  rack.SetLetters("abcdefg", 7);
  EXPECT_FALSE(rack.PlaceTile('x', CellCode(0, 3), false));
  EXPECT_FALSE(rack.PlaceTile('x', CellCode(0, 3), true));
  EXPECT_EQ(rack.Dump(), "abcdefg");
  ExpectConsistent(rack);
}

TEST_F(TileGridTest, SetLettersCountsOnlyTiles) {
  rack.SetLetters("a_c`___", 7);
  EXPECT_EQ(rack.TileCount(), 3);
  ExpectConsistent(rack);
  rack.SetLetters("abcdefghijk", 11);  // longer than the rack: cut
  EXPECT_EQ(rack.Dump(), "abcdefg");
  char letters[225] = {};
  letters[7 * 15 + 7] = 'z';
  letters[14 * 15 + 14] = 'Q';
  board.SetBoardLetters(letters);
  EXPECT_EQ(board.TileCount(), 2);
  EXPECT_EQ(board.GetCellAt(14, 14).letter, 'Q');
  EXPECT_TRUE(board.IsFixedCell(CellCode(7, 7)));  // laid in an earlier move
  EXPECT_EQ(board.GetCellAt(7, 7).tileObject->Name(), "V_Z");
  ExpectConsistent(board);
}

TEST_F(TileGridTest, FindLetterScansColumnsFirst) {
  board.PlaceTile('k', CellCode(0, 1), false);
  board.PlaceTile('k', CellCode(1, 0), false);
  EXPECT_EQ(board.FindLetter('k'), CellCode(1, 0));
  EXPECT_EQ(board.FindLetter('w'), kNoCell);
}

TEST_F(TileGridTest, CellsUnderWindowPoints) {
  for (uint16_t p : {CellCode(0, 0), CellCode(0, 14), CellCode(14, 0), CellCode(7, 3)}) {
    auto [x, y] = PointOf(board, p);
    EXPECT_EQ(board.PointToCell(x, y), p);
  }
  auto [x0, y0] = PointOf(board, CellCode(0, 0));
  auto [x1, y1] = PointOf(board, CellCode(1, 1));
  EXPECT_LT(x0, x1);  // column 0 on the left, row 0 at the top
  EXPECT_LT(y0, y1);
  float fx = 0, fy = 0;
  auto [lx, ly] = PointOf(board, CellCode(3, 3), -1.0f, 1.0f);  // up and to the left
  EXPECT_EQ(board.PointToCell(lx, ly, &fx, &fy), CellCode(3, 3));
  EXPECT_LT(fx, 0.5f);
  EXPECT_LT(fy, 0.5f);
  EXPECT_EQ(board.PointToCell(2, 2), kNoCell);
  EXPECT_GT(board.CellSpacing(), 0.0f);
}

TEST_F(TileGridTest, SlideEndsOnTheFrameThatCoversItsTime) {
  rack.SetLetters("ab_____", 7);
  ASSERT_TRUE(rack.ShiftTiles(CellCode(0, 0), kAcross, 1, false, true));
  EXPECT_EQ(rack.Dump(), "_ab____");
  ASSERT_EQ(rack.AnimationCount(), 2u);
  MeshFrame* b = rack.GetCell(CellCode(0, 2)).tileObject;
  rack.Animate(0.1f);
  EXPECT_EQ(rack.AnimationCount(), 2u);
  const TileCell& target = rack.GetCell(CellCode(0, 2));
  const float halfway = TranslationOf(b->Local()).x;
  EXPECT_NE(halfway, target.x);
  rack.Animate(0.1f);
  EXPECT_EQ(rack.AnimationCount(), 0u);
  EXPECT_EQ(TranslationOf(b->Local()).x, target.x);
}

TEST_F(TileGridTest, SetAsideAndRestore) {
  rack.SetLetters("abc____", 7);
  TileCell record = rack.GetCell(CellCode(0, 1));
  rack.GetCell(CellCode(0, 1)).tileObject = nullptr;
  rack.TakeTile(CellCode(0, 1));
  ASSERT_TRUE(rack.SetAside(record));
  EXPECT_EQ(record.letter, 0);
  rack.PlaceTile('z', CellCode(0, 1), false);  // its square is taken meanwhile
  rack.RestoreSetAside('b');
  EXPECT_EQ(rack.TileCount(), 4);
  EXPECT_NE(rack.FindLetter('b'), kNoCell);
  ExpectConsistent(rack);
}

TEST_F(TileGridTest, ArrowsGiveWayToTiles) {
  host.arrow = 1;
  ASSERT_TRUE(board.PlaceTile(kArrowAcross, CellCode(2, 2), false));
  EXPECT_TRUE(board.IsCellFree(CellCode(2, 2)));
  EXPECT_FALSE(board.PlaceTile(kArrowDown, CellCode(2, 2), false));
  ASSERT_TRUE(board.PlaceTile('m', CellCode(2, 2), false));
  EXPECT_EQ(board.GetCellAt(2, 2).typingMark, 0);
  ExpectConsistent(board);
}

}  // namespace
