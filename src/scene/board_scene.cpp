#include "scene/board_scene.h"

#include <memory>

#include "scene/scene_pick.h"

namespace scene {

namespace {

struct SceneState {
  MeshFrame* root = nullptr;
  MeshFrame* table[kSceneFrameCount] = {};
  MeshFrame* templates[3][26] = {};
  uint32_t buttonMask = 0;
  bool loaded = false;
  std::unique_ptr<BoardCamera> camera;
  int viewWidth = 0, viewHeight = 0;
  MeshFileLoader loader = nullptr;
  TextureFolderHook textureFolder = nullptr;
};

SceneState& S() {
  static SceneState s;
  return s;
}

// Mask bit i shows the button at this table index.
constexpr int kMaskButtons[kSceneButtonCount] = {
    kFramePlay,    kFramePass, kFrameEvaluate, kFrameExchange, kFrameCancel,
    kFrameShuffle, kFrameSort, kFrameContest,  kFrameHint,     kFrameSubmit};

const char* const kButtonNames[kSceneButtonCount] = {"Shuffle",  "Exchange", "pass",  "Cancel",
                                                     "evaluate", "play",     "trier", "contest",
                                                     "hint",     "submit"};
const char* const kTwinNames[kSceneButtonCount] = {
    "Shuffle_selec", "Exchange_selec", "pass_selec",     "Cancel_selec", "evaluate_selec",
    "play_selec",    "trier_select",   "contest_select", "hint_select",  "submit_select"};

MeshFrame* Lookup(const char* name) { return S().root->Find(name); }

void Hide(MeshFrame* f) {
  if (f) f->visible = false;
}

void FillTable() {
  SceneState& s = S();
  MeshFrame** t = s.table;
  t[kFrameBoard] = Lookup("Board");
  if ((t[kFrameBoardFrame] = Lookup("Board_frame"))) t[kFrameBoardFrame]->ResetLocal();
  t[kFrameRack] = Lookup("Rack");
  if ((t[kFrameRackFrame] = Lookup("Rack_frame"))) t[kFrameRackFrame]->ResetLocal();
  Hide(t[kFrameBlank] = Lookup("BLANK"));
  Hide(t[kFrameGivenSquare] = Lookup("Noir"));
  Hide(t[kFrameEmptySquare] = Lookup("blanc"));
  t[kFrameWorkingArea] = Lookup("workingarea");
  t[kFrameWorkingAreaFrame] = Lookup("workingarea_frame");
  t[kFrameBag] = Lookup("bag");
  t[kFrameArrowDown] = Lookup("ARROW__DOWN");
  if (!t[kFrameArrowDown]) t[kFrameArrowDown] = Lookup("ARROW___DOWN");
  Hide(t[kFrameArrowDown]);
  Hide(t[kFrameArrowAcross] = Lookup("ARROW_ACROSS"));
  for (int i = 0; i < kSceneButtonCount; ++i) {
    Hide(t[i] = Lookup(kButtonNames[i]));
    Hide(t[kFrameFirstTwin + i] = Lookup(kTwinNames[i]));
  }
  const char prefixes[3] = {'V', 'N', 'R'};
  for (int set = 0; set < 3; ++set)
    for (int c = 0; c < 26; ++c) {
      const char name[4] = {prefixes[set], '_', static_cast<char>('A' + c), 0};
      MeshFrame* f = Lookup(name);
      if (f) {
        f->visible = false;
        f->ResetLocal();
      }
      s.templates[set][c] = f;
    }
}

}  // namespace

void SetMeshFileLoader(MeshFileLoader loader) { S().loader = loader; }
void SetTextureFolderHook(TextureFolderHook hook) { S().textureFolder = hook; }

bool LoadBoardScene(const std::string& modelPath, bool keepFramesVisible) {
  SceneState& s = S();
  if (!s.loader) return false;
  const size_t slash = modelPath.find_last_of('\\');
  if (s.textureFolder)
    s.textureFolder(slash == std::string::npos ? "" : modelPath.substr(0, slash));
  auto* root = new MeshFrame("CDXUTMeshFile_Root");
  if (s.loader(root, modelPath) < 0) {
    delete root;
    return false;
  }
  AdoptBoardScene(root, keepFramesVisible);
  return true;
}

void AdoptBoardScene(MeshFrame* root, bool keepFramesVisible) {
  ReleaseBoardScene();
  SceneState& s = S();
  s.root = root;
  root->SetLocal(Multiply(Scaling(0.04f, 0.04f, 0.04f), root->Local()));
  root->World();
  FillTable();
  s.buttonMask = kDefaultButtonMask;
  s.loaded = true;
  if (!keepFramesVisible) {
    Hide(s.table[kFrameBoardFrame]);
    Hide(s.table[kFrameRackFrame]);
  }
}

void ReleaseBoardScene() {
  SceneState& s = S();
  delete s.root;
  s.root = nullptr;
  for (MeshFrame*& f : s.table)
    f = nullptr;
  for (auto& set : s.templates)
    for (MeshFrame*& f : set)
      f = nullptr;
  s.loaded = false;
}

bool IsBoardSceneLoaded() { return S().loaded; }
MeshFrame* GetSceneRoot() { return S().root; }

MeshFrame* GetSceneFrame(int index) {
  return index >= 0 && index < kSceneFrameCount ? S().table[index] : nullptr;
}

MeshFrame* GetLetterTemplate(int set, char letter) {
  const int c = (letter | 0x20) - 'a';
  if (set < 0 || set > 2 || c < 0 || c >= 26) return nullptr;
  return S().templates[set][c];
}

void SetFrameVisible(MeshFrame* frame, bool visible) {
  if (frame) frame->visible = visible;
}
void ShowSceneFrame(int index) { SetFrameVisible(GetSceneFrame(index), true); }
void HideSceneFrame(int index) { SetFrameVisible(GetSceneFrame(index), false); }
void HideAllSceneFrames() {
  for (int i = 0; i < kSceneFrameCount; ++i)
    HideSceneFrame(i);
}
void ShowBoardAndRackFrames() {
  ShowSceneFrame(kFrameBoardFrame);
  ShowSceneFrame(kFrameRackFrame);
}
void HideBoardAndRackFrames() {
  HideSceneFrame(kFrameBoardFrame);
  HideSceneFrame(kFrameRackFrame);
}
void HideRackFrame() { HideSceneFrame(kFrameRackFrame); }

uint32_t GetSceneButtonMask() { return S().buttonMask; }

void SetSceneButtonMask(uint32_t mask) {
  SceneState& s = S();
  const uint32_t old = s.buttonMask;
  s.buttonMask = mask;
  if (mask == old || !s.table[kFrameRackFrame]) return;
  for (int bit = 0; bit < kSceneButtonCount; ++bit)
    if (old & (1u << bit)) HideSceneFrame(kMaskButtons[bit]);
  for (int bit = 0; bit < kSceneButtonCount; ++bit)
    if (mask & (1u << bit)) ShowSceneFrame(kMaskButtons[bit]);
}

void SetSceneButtonMaskValue(uint32_t mask) { S().buttonMask = mask; }

void HighlightSceneButton(int index) {
  if (index < 0 || index >= kSceneButtonCount) return;
  HideSceneFrame(index);
  ShowSceneFrame(index + kFrameFirstTwin);
}

void UnhighlightSceneButton(int index) {
  if (index < 0 || index >= kSceneButtonCount) return;
  HideSceneFrame(index + kFrameFirstTwin);
  ShowSceneFrame(index);
}

BoardCamera* GetBoardCamera() { return S().camera.get(); }

void InitBoardCamera(int width, int height) {
  SceneState& s = S();
  s.camera = std::make_unique<BoardCamera>();
  s.camera->SetOrthoParams(width, height, 0.1f, 5000.0f);
  s.camera->SetViewParams({0, 0, -100}, {0, 0, 100});
  s.viewWidth = width, s.viewHeight = height;
}

void ReleaseBoardCamera() { S().camera.reset(); }

void SetViewSize(int width, int height) {
  SceneState& s = S();
  s.viewWidth = width, s.viewHeight = height;
  if (s.camera) s.camera->SetWindow(width, height);
}

int GetViewWidth() { return S().viewWidth; }
int GetViewHeight() { return S().viewHeight; }

int ClampMoveToView(MeshFrame* frame, Vec3& delta) {
  SceneState& s = S();
  int flags = 0;
  Vec3 corners[2];
  if (s.camera && frame && frame->WorldBox(corners[0], corners[1])) {
    for (const Vec3& c : corners) {
      int x, y;
      s.camera->ProjectToWindow(Add(c, delta), x, y);
      if ((x < 0 && delta.x < 0) || (x > s.viewWidth && delta.x > 0)) flags |= 1;
      // World y grows upwards, window y downwards.
      if ((y < 0 && delta.y > 0) || (y > s.viewHeight && delta.y < 0)) flags |= 2;
    }
  }
  if (flags & 1) delta.x = 0;
  if (flags & 2) delta.y = 0;
  delta.z = 0;
  return flags;
}

MeshFrame* PickSceneFrame(int x, int y) {
  SceneState& s = S();
  if (!s.camera) return nullptr;
  MeshFrame* hit = PickFrameAt(*s.camera, s.root, x, y);
  for (MeshFrame* f : s.table)
    if (f && f == hit) return hit;
  return nullptr;
}

MeshFrame* PickSceneAt(int x, int y, bool& isButton, int& buttonIndex) {
  SceneState& s = S();
  isButton = false;
  if (!s.camera) return nullptr;
  MeshFrame* hit = PickFrameAt(*s.camera, s.root, x, y);
  if (!hit) return nullptr;
  for (int i = 0; i < kSceneFrameCount; ++i) {
    if (s.table[i] != hit) continue;
    if (i < kSceneButtonCount) {
      isButton = true;
      buttonIndex = i;
    }
    return hit;
  }
  return hit->Parent();
}

}  // namespace scene
