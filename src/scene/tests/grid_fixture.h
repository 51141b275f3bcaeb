#pragma once
// The four grids of a game room over the generated model, a recording
// host, and helpers to find a cell's window point.
#include <memory>
#include <string>
#include <vector>

#include "scene/board_grids.h"
#include "scene/board_scene.h"
#include "scene/grid_host.h"
#include "scene_fixture.h"

namespace scenetest {

struct RecordingHost : scene::GridHost {
  int RoomId() override { return room; }
  int CursorArrow() override { return arrow; }
  char ChooseBlankLetter(char letter, void*) override {
    ++blankQuestions;
    return blankAnswer ? blankAnswer : letter;
  }
  void SetCursor(int kind) override { cursors.push_back(kind); }
  void CaptureMouse(void*) override { ++captures; }
  void ReleaseMouse() override { ++releases; }
  void RedrawSlot(int slot) override { redrawn.push_back(slot); }

  int room = 1, arrow = 0, blankQuestions = 0, captures = 0, releases = 0;
  char blankAnswer = 'E';
  std::vector<int> cursors, redrawn;
};

class GridFixture {
 public:
  GridFixture() {
    scene::AdoptBoardScene(BuildModel(), true);
    scene::InitBoardCamera(800, 600);
    old_ = scene::SetGridHost(&host);
    Bind(board, scene::kFrameBoard);
    Bind(rack, scene::kFrameRack);
    Bind(work, scene::kFrameWorkingArea);
    carrier = std::make_unique<scene::TileCarrier>(scene::GetSceneRoot(), 20, 100.0f);
    scene::SetCurrentGrids({&board, &rack, &work, carrier.get()});
  }
  ~GridFixture() {
    carrier.reset();
    scene::SetCurrentGrids({});
    scene::SetGridHost(old_);
    // The grids free their tiles before the scene goes.
    board.Clear();
    rack.Clear();
    work.Clear();
  }

  // The window point over a cell's centre.
  static std::pair<int, int> PointOf(scene::TileGrid& g, uint16_t p, float dx = 0, float dy = 0) {
    const scene::TileCell& c = g.GetCell(p);
    scene::Vec3 w = scene::TransformCoord({c.x, c.y, c.z}, g.Frame()->World());
    w.x += dx, w.y += dy;
    int x, y;
    scene::GetBoardCamera()->ProjectToWindow(w, x, y);
    return {x, y};
  }

  RecordingHost host;
  scene::BoardGrid board{15, 15};
  scene::RackGrid rack{1, 7};
  scene::WorkingAreaGrid work{1, 7};
  std::unique_ptr<scene::TileCarrier> carrier;

 private:
  static void Bind(scene::TileGrid& g, int index) {
    g.BindFrame(scene::GetSceneFrame(index));
    g.LayoutCells(g.Rows(), g.Columns());
  }
  scene::GridHost* old_ = nullptr;
};

}  // namespace scenetest
