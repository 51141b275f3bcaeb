#pragma once
// The one board scene of the program: the model's frame tree, the table of
// its named frames (3D buttons and their highlighted twins, the board, rack
// and working-area frames, the letter-tile templates), the button mask, the
// camera and the view size. Rendering and the device live on the window
// side; the model file is read through the loader it installs.
#include <cstdint>
#include <string>

#include "scene/board_camera.h"
#include "scene/mesh_frame.h"

namespace scene {

constexpr int kSceneFrameCount = 111;
constexpr int kSceneButtonCount = 10;

enum SceneFrameIndex : int {
  kFrameShuffle = 0,
  kFrameExchange = 1,
  kFramePass = 2,
  kFrameCancel = 3,
  kFrameEvaluate = 4,
  kFramePlay = 5,
  kFrameSort = 6,
  kFrameContest = 7,
  kFrameHint = 8,
  kFrameSubmit = 9,
  kFrameFirstTwin = 10,
  kFrameBoard = 21,
  kFrameRack = 22,
  kFrameWorkingArea = 23,
  kFrameArrowDown = 24,
  kFrameArrowAcross = 25,
  kFrameBag = 26,
  kFrameWorkingAreaFrame = 27,
  kFrameRackFrame = 28,
  kFrameBoardFrame = 29,
  kFrameBlank = 30,
  kFrameEmptySquare = 31,  // "blanc": a crossagram square to fill
  kFrameGivenSquare = 32,  // "Noir": a crossagram square with a given letter
};

// Letter-template sets: tiles of earlier moves, other tiles, blanks.
enum TemplateSet : int { kTemplateBoard = 0, kTemplateRack = 1, kTemplateBlank = 2 };

constexpr uint32_t kDefaultButtonMask = 42;  // pass, Exchange, Shuffle

// Reads a model file into the root frame; negative on failure. The window
// side installs the device's loader.
using MeshFileLoader = long (*)(MeshFrame* root, const std::string& path);
void SetMeshFileLoader(MeshFileLoader loader);
// Gives the texture cache the model's folder (the window side installs it).
using TextureFolderHook = void (*)(const std::string& folder);
void SetTextureFolderHook(TextureFolderHook hook);

// Loads the model into a new root "CDXUTMeshFile_Root" (scaled by 0.04) and
// fills the frame table; the buttons stay hidden until the mask changes.
// False when the loader is missing or fails (the scene then stays empty).
bool LoadBoardScene(const std::string& modelPath, bool keepFramesVisible);
// Takes a frame tree already loaded into `root` (owned from then on).
void AdoptBoardScene(MeshFrame* root, bool keepFramesVisible);
// Deletes the frame tree and empties the table.
void ReleaseBoardScene();
bool IsBoardSceneLoaded();

MeshFrame* GetSceneRoot();
MeshFrame* GetSceneFrame(int index);  // null outside 0..110 or when absent
// The template of a letter 'A'..'Z' (either case) in a set, or null.
MeshFrame* GetLetterTemplate(int set, char letter);
void ShowSceneFrame(int index);
void HideSceneFrame(int index);
void SetFrameVisible(MeshFrame* frame, bool visible);
void HideAllSceneFrames();
void ShowBoardAndRackFrames();
void HideBoardAndRackFrames();
void HideRackFrame();

uint32_t GetSceneButtonMask();
void SetSceneButtonMask(uint32_t mask);
// Only the stored value: the buttons shown stay as they are.
void SetSceneButtonMaskValue(uint32_t mask);
void HighlightSceneButton(int index);
void UnhighlightSceneButton(int index);

// The camera the board window sets up; null before InitBoardCamera.
BoardCamera* GetBoardCamera();
// Creates the camera for a view of this size: orthographic (near 0.1, far
// 5000), eye (0, 0, -100) looking at (0, 0, 100).
void InitBoardCamera(int width, int height);
void ReleaseBoardCamera();
void SetViewSize(int width, int height);
int GetViewWidth();
int GetViewHeight();

// Cuts a move of a frame that would take one of its mesh box's corners out
// of the view: bit 1 when the x part was cut, bit 2 for y; z is always cut.
int ClampMoveToView(MeshFrame* frame, Vec3& delta);

// The table entry hit under a client point, or null.
MeshFrame* PickSceneFrame(int x, int y);
// The hit under a client point: a table entry (a 3D button sets the flag
// and index), or the parent of any other hit frame (a tile answers its
// grid's frame).
MeshFrame* PickSceneAt(int x, int y, bool& isButton, int& buttonIndex);

}  // namespace scene
