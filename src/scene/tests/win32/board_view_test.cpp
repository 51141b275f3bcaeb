// Draws the generated board model through the device framework on a plain
// window: the X file read through D3DX, the frame table filled, the empty
// board with a filled rack and a word, copied into the window. Checks key
// pixels and picking on the real model, then saves
// <build>/screenshots/scene_board.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "scene/board_grids.h"
#include "scene/board_scene.h"
#include "scene/grid_host.h"
#include "scene/win32/board_view.h"
#include "scene/win32/d3d_framework.h"
#include "screenshot.h"

using namespace scene;

namespace {

constexpr int kWidth = 800, kHeight = 600;

HWND MakeWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SceneTestWindow";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RegisterClassA(&wc);
  RECT r{0, 0, kWidth, kHeight};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  HWND w =
      CreateWindowA("SceneTestWindow", "board", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                    r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
  tess_test::PumpMessages(100);
  return w;
}

std::pair<int, int> CellPoint(TileGrid& g, uint16_t p) {
  const TileCell& c = g.GetCell(p);
  const Vec3 w = TransformCoord({c.x, c.y, c.z}, g.Frame()->World());
  int x, y;
  GetBoardCamera()->ProjectToWindow(w, x, y);
  return {x, y};
}

class BoardViewTest : public testing::Test {
 protected:
  void SetUp() override {
    window_ = MakeWindow();
    ASSERT_TRUE(InitBoardView(window_));
    const std::string model = tess_test::BuildPath("Data/DAT/UK/Standard/tessarin_standard.x");
    ASSERT_TRUE(LoadBoardScene(model, true)) << model;
  }
  void TearDown() override {
    SetCurrentGrids({});
    board_.reset();
    rack_.reset();
    work_.reset();
    ReleaseBoardScene3D();
    DestroyWindow(window_);
  }
  void MakeGrids() {
    board_ = std::make_unique<BoardGrid>(15, 15);
    rack_ = std::make_unique<RackGrid>(1, 7);
    work_ = std::make_unique<WorkingAreaGrid>(1, 7);
    for (auto [g, i] : {std::pair<TileGrid*, int>{board_.get(), kFrameBoard},
                        {rack_.get(), kFrameRack},
                        {work_.get(), kFrameWorkingArea}}) {
      ASSERT_TRUE(g->BindFrame(GetSceneFrame(i))) << i;
      g->LayoutCells(g->Rows(), g->Columns());
    }
    SetCurrentGrids({board_.get(), rack_.get(), work_.get(), nullptr});
  }

  HWND window_ = nullptr;
  std::unique_ptr<BoardGrid> board_;
  std::unique_ptr<RackGrid> rack_;
  std::unique_ptr<WorkingAreaGrid> work_;
};

TEST_F(BoardViewTest, ModelFramesAreAllFound) {
  for (int i : {kFrameBoard, kFrameRack, kFrameWorkingArea, kFrameBoardFrame, kFrameRackFrame,
                kFrameWorkingAreaFrame, kFrameBag, kFrameArrowDown, kFrameArrowAcross, kFrameBlank,
                kFrameEmptySquare, kFrameGivenSquare})
    EXPECT_NE(GetSceneFrame(i), nullptr) << i;
  for (int i = 0; i < 20; ++i)
    EXPECT_NE(GetSceneFrame(i), nullptr) << i;
  for (int set = 0; set < 3; ++set)
    for (char c = 'A'; c <= 'Z'; ++c)
      EXPECT_NE(GetLetterTemplate(set, c), nullptr) << c;
  const SceneMesh* board = GetSceneFrame(kFrameBoard)->mesh.get();
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(board->faceCount, 2u);
  EXPECT_EQ(board->materials.size(), 1u);
  EXPECT_NE(board->materials[0].texture, nullptr) << board->materials[0].textureName;
}

TEST_F(BoardViewTest, DrawsTheBoardIntoTheWindow) {
  MakeGrids();
  rack_->SetLetters("tessarn", 7);
  char letters[225] = {};
  const char word[] = "board";
  for (int i = 0; i < 5; ++i)
    letters[7 * 15 + 5 + i] = word[i];
  board_->SetBoardLetters(letters);
  SetSceneButtonMask(0x01 | 0x02 | 0x04 | 0x08 | 0x10 | 0x20 | 0x40 | 0x80 | 0x100);
  HighlightSceneButton(kFramePlay);

  ASSERT_TRUE(BoardFrameDue());
  RenderBoardScene();
  ASSERT_TRUE(PresentFrame());
  EXPECT_FALSE(BoardFrameDue());  // idle: nothing more to draw

  tess_test::PumpMessages(200);  // the window's surface reaches the screen
  tess_test::Image shot = tess_test::CaptureClient(window_);
  ASSERT_EQ(shot.width, kWidth);
  const std::string saved = tess_test::SaveScreenshot(shot, "scene_board");
  EXPECT_FALSE(saved.empty());

  // The triple-word corner at the top left, a plain square, an ivory tile.
  auto [cx, cy] = CellPoint(*board_, CellCode(0, 0));
  auto [px, py] = CellPoint(*board_, CellCode(0, 1));
  auto [tx, ty] = CellPoint(*rack_, CellCode(0, 0));
  const COLORREF corner = shot.At(cx - 6, cy - 8), plain = shot.At(px, py),
                 tile = shot.At(tx - 8, ty - 8);
  EXPECT_GT(GetRValue(corner), 140) << std::hex << corner;
  EXPECT_LT(GetGValue(corner), 90) << std::hex << corner;
  EXPECT_GT(GetRValue(plain), 180) << std::hex << plain;
  EXPECT_GT(GetBValue(tile), 190) << std::hex << tile;
  // Ink on the tile: the engraved letter.
  const RECT face{tx - 10, ty - 10, tx + 10, ty + 10};
  EXPECT_GT(tess_test::CountPixels(shot, face, [](COLORREF c) { return GetRValue(c) < 110; }), 20);
  const RECT all{0, 0, kWidth, kHeight};
  EXPECT_LT(tess_test::CountPixels(shot, all, [](COLORREF c) { return c == 0; }), kWidth * 10);

  // Picking on the loaded model: cells and buttons under their points.
  EXPECT_EQ(board_->PointToCell(cx, cy), CellCode(0, 0));
  auto [ex, ey] = CellPoint(*board_, CellCode(14, 14));
  EXPECT_EQ(board_->PointToCell(ex, ey), CellCode(14, 14));
  EXPECT_EQ(rack_->PointToCell(tx, ty), CellCode(0, 0));
  Vec3 a, b;
  ASSERT_TRUE(GetSceneFrame(kFramePass)->WorldBox(a, b));
  int bx, by;
  GetBoardCamera()->ProjectToWindow(Scale(Add(a, b), 0.5f), bx, by);
  bool isButton = false;
  int index = -1;
  EXPECT_EQ(PickSceneAt(bx, by, isButton, index), GetSceneFrame(kFramePass));
  EXPECT_TRUE(isButton);
  EXPECT_EQ(index, kFramePass);
  bool tileIsButton = true;
  EXPECT_EQ(PickSceneAt(CellPoint(*board_, CellCode(7, 5)).first,
                        CellPoint(*board_, CellCode(7, 5)).second, tileIsButton, index),
            GetSceneFrame(kFrameBoard));  // a tile answers its grid's frame
  EXPECT_FALSE(tileIsButton);

  // What a frame costs to draw and to show (reported, not judged).
  auto average = [](auto step) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i)
      step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
               .count() /
           20;
  };
  const double drawn = average([] { RenderBoardScene(); });
  PresentFrame();  // waits for the frames drawn above
  const double shown = average([] { PresentFrame(); });
  std::printf("800x600 frame: drawn in %.2f ms, %s in %.2f ms\n", drawn,
              GetD3DFramework().CopiesThroughGdi() ? "copied through GDI" : "presented", shown);
}

TEST_F(BoardViewTest, EveryStyleDraws) {
  for (const char* style : {"White", "Deluxe"}) {
    std::string lower = style;
    for (char& c : lower)
      c = static_cast<char>(tolower(c));
    const std::string model =
        tess_test::BuildPath("Data/DAT/UK/" + std::string(style) + "/tessarin_" + lower + ".x");
    ASSERT_TRUE(LoadBoardScene(model, true)) << model;
    MakeGrids();
    rack_->SetLetters("styles_", 7);
    SetSceneButtonMask(0x3FF);
    InvalidateBoardView();
    RenderBoardScene();
    ASSERT_TRUE(PresentFrame());
    tess_test::PumpMessages(200);
    tess_test::Image shot = tess_test::CaptureClient(window_);
    EXPECT_FALSE(tess_test::SaveScreenshot(shot, "scene_board_" + lower).empty());
    auto [cx, cy] = CellPoint(*board_, CellCode(0, 0));
    EXPECT_GT(GetRValue(shot.At(cx - 6, cy - 8)), 140) << style;  // the red corner
    SetCurrentGrids({});
    board_.reset();
    rack_.reset();
    work_.reset();
  }
}

}  // namespace
