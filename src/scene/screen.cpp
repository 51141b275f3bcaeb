// The base screen and a room's board scene: the model, the four grids bound
// to its frames, and the board and rack where the user last left them.
#include "scene/screen.h"

#include "game/game.h"
#include "game/session_registry.h"
#include "scene/board_scene.h"
#include "scene/grid_host.h"
#include "scene/room_port.h"
#include "ui/page_layout.h"

namespace scene {

namespace {

// A board or rack frame that carries its grid is lifted off the model's own
// depth, the board behind and the rack in front of the other tiles. A frame
// that is only its grid's border keeps its depth: lifted, it would cover
// the grid's tiles.
constexpr float kBoardDepthOffset = -200.0f;
constexpr float kRackDepthOffset = 200.0f;
constexpr int kCarrierCapacity = 20;

bool Carries(const MeshFrame* frame, const MeshFrame* grid) {
  for (const MeshFrame* f = grid; f; f = f->Parent())
    if (f == frame) return true;
  return false;
}

void PlaceFrame(int index, int gridIndex, const float saved[3], float depthOffset) {
  MeshFrame* frame = GetSceneFrame(index);
  if (!frame) return;
  float z = TranslationOf(frame->Local()).z;
  if (Carries(frame, GetSceneFrame(gridIndex))) z += depthOffset;
  frame->SetPosition({saved[0], saved[1], z});
}

void ReadFramePosition(int index, float out[3]) {
  const Vec3 t = TranslationOf(GetSceneFrame(index)->Local());
  out[0] = t.x;
  out[1] = t.y;
  out[2] = t.z;
}

template <typename Grid>
std::unique_ptr<Grid> MakeGrid(int rows, int columns, int frameIndex, void* notify) {
  auto grid = std::make_unique<Grid>(rows, columns);
  grid->BindFrame(GetSceneFrame(frameIndex));
  grid->SetNotifyWindow(notify);
  grid->LayoutCells(rows, columns);
  return grid;
}

}  // namespace

Screen::~Screen() {
  if (HasBoardScene()) ReleaseBoardScene();
}

bool Screen::SetupBoardScene(const std::string& modelPath, int rows, int columns, int rackSize) {
  RoomPort& port = GetRoomPort();
  if (HasBoardScene()) ReleaseBoardScene();
  port.SetWaitCursor(true);
  const bool loaded = LoadBoardScene(modelPath, true);
  port.SetWaitCursor(false);
  if (!loaded) return false;
  modelPath_ = modelPath;
  rows_ = rows;
  columns_ = columns;
  rackSize_ = rackSize;

  void* notify = port.BoardWindow();
  board = MakeGrid<BoardGrid>(rows, columns, kFrameBoard, notify);
  rack = MakeGrid<RackGrid>(1, rackSize, kFrameRack, notify);
  workingArea = MakeGrid<WorkingAreaGrid>(1, rackSize, kFrameWorkingArea, notify);

  float position[3];
  ui::LoadBoardPosition(position);
  PlaceFrame(kFrameBoardFrame, kFrameBoard, position, kBoardDepthOffset);
  ui::LoadRackPosition(position);
  PlaceFrame(kFrameRackFrame, kFrameRack, position, kRackDepthOffset);

  // The carrier's tiles hang under the root, so they are spaced as the
  // board's cells are in the board frame's own space.
  float spacing = 0;
  if (board->CellCount() > 1) {
    const TileCell& a = board->CellByIndex(0);
    const TileCell& b = board->CellByIndex(1);
    spacing = Distance({a.x, a.y, a.z}, {b.x, b.y, b.z});
  }
  carrier = std::make_unique<TileCarrier>(GetSceneRoot(), kCarrierCapacity, spacing);
  carrier->SetNotifyWindow(notify);
  SetCurrentGrids({board.get(), rack.get(), workingArea.get(), carrier.get()});
  return true;
}

void Screen::ReleaseBoardScene() {
  float position[3];
  if (board && GetSceneFrame(kFrameBoardFrame)) {
    ReadFramePosition(kFrameBoardFrame, position);
    ui::SaveBoardPosition(position);
  }
  if (rack && GetSceneFrame(kFrameRackFrame)) {
    ReadFramePosition(kFrameRackFrame, position);
    ui::SaveRackPosition(position);
  }
  const SceneGrids& current = CurrentGrids();
  if (current.board == board.get() && current.rack == rack.get()) SetCurrentGrids({});
  // The grids free their tiles, which hang in the scene: they go first.
  workingArea.reset();
  rack.reset();
  board.reset();
  carrier.reset();
  scene::ReleaseBoardScene();
}

bool Screen::ResetBoardScene(int side) {
  const std::string model = modelPath_;
  const int rackSize = rackSize_;
  ReleaseBoardScene();
  return SetupBoardScene(model, side, side, rackSize);
}

bool Screen::RebuildBoardScene() {
  const std::string model = modelPath_;
  const int rows = rows_, columns = columns_, rackSize = rackSize_;
  ReleaseBoardScene();
  if (!SetupBoardScene(model, rows, columns, rackSize)) return false;
  CGame* game = GetCurrentGame();
  if (!game) return true;
  board->SetBoardLetters(game->board.letters);
  GamePlayer* player = game->GetCurrentPlayer();
  if (player && player->Type() == kPlayerHuman) rack->SetLetters(player->rack, rackSize);
  return true;
}

}  // namespace scene
