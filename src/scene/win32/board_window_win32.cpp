// The board window. Differences from the behaviour it follows: the class
// takes double clicks (a double click sends a tile home, which a class
// without CS_DBLCLKS never receives), and a size change resizes the view.
#include "board_window.h"

#include <windowsx.h>

#include "board_view.h"
#include "game/session_registry.h"
#include "platform/message_sink.h"
#include "rules/game_kind.h"
#include "scene/board_grids.h"
#include "scene/board_input.h"
#include "scene/board_scene.h"
#include "scene/grid_host.h"
#include "shell/shell_host.h"
#include "ui/win32/challenge_dialog.h"
#include "ui/win32/choice_dialogs_win32.h"
#include "ui/win32/main_frame.h"
#include "ui/window_slots.h"

namespace scene {

namespace {

constexpr int kIconId = 2982;
constexpr int kCursorId = 3031;
constexpr int kWindowBytes = 24;

// The window's side of the grids and of the input logic.
class WindowHost : public GridHost, public BoardInputHost {
 public:
  int RoomId() override { return shell::GetShellHost().GetCurrentRoomId(); }
  int CursorArrow() override { return KeyboardCursorArrow(); }
  // The "Joker" question; it asks again while no letter is given.
  char ChooseBlankLetter(char letter, void* owner) override {
    ui::ChooseBlankLetter(&letter, owner ? static_cast<HWND>(owner) : hwnd);
    return letter;
  }
  void CaptureMouse(void* window) override {
    if (HWND w = window ? static_cast<HWND>(window) : hwnd) SetCapture(w);
  }
  void ReleaseMouse() override {
    if (GetCapture() == hwnd) ReleaseCapture();
  }
  void RedrawSlot(int slot) override { ui::InvalidateSlotWindow(slot); }

  void TakeFocus() override { SetFocus(hwnd); }
  void PlaySound(const char* name) override { shell::GetShellHost().PlaySoundFile(name); }
  void ShowNotice(const char* text) override { platform::ShowNotice(text, "", MB_OK); }
  void SolutionTyped() override {
    HWND panel = static_cast<HWND>(ui::GetSlotWindow(ui::kSlotMentor));
    if (!panel) return;
    SendMessageA(panel, kMsgSolutionTyped, 0, 0);
    for (int id : {1488, 1076, 1504, 1512})
      if (HWND control = GetDlgItem(panel, id)) EnableWindow(control, FALSE);
  }

  HWND hwnd = nullptr;
  GridHost* previous = nullptr;
};

struct BoardWindowState {
  HWND window = nullptr;
  WindowHost host;
  BoardInputHost* previousInputHost = nullptr;
  BoardViewPort* previousPort = nullptr;
  BoardWindowPort port;
};

BoardWindowState& W() {
  static BoardWindowState w;
  return w;
}

// The scene changed: the window paints a new frame.
void SceneChanged() {
  InvalidateBoardView();
  if (HWND w = W().window) InvalidateRect(w, nullptr, FALSE);
}

void InstallHosts(HWND window) {
  BoardWindowState& w = W();
  w.window = window;
  w.host.hwnd = window;
  w.host.previous = SetGridHost(&w.host);
  w.previousInputHost = SetBoardInputHost(&w.host);
  w.previousPort = SetBoardViewPort(&w.port);
}

void RemoveHosts() {
  BoardWindowState& w = W();
  if (!w.window) return;
  SetGridHost(w.host.previous);
  SetBoardInputHost(w.previousInputHost);
  SetBoardViewPort(w.previousPort);
  w.host = WindowHost{};
  w.window = nullptr;
}

TileCarrier* Carrier() { return static_cast<TileCarrier*>(CurrentGrids().carrier); }

// --- Message handlers ------------------------------------------------------

LRESULT OnCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  InstallHosts(window);
  ui::WindowSlotOp(ui::kOpRegister, ui::kSlotBoard, reinterpret_cast<intptr_t>(window));
  SetSceneButtonMaskValue(kDefaultButtonMask);
  const CGame* game = GetCurrentGame();
  if (game && game->Kind() != kKindCrossagram) ClearKeyboardCursor();
  SetFocus(window);
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The grids may already be gone with the scene: only the input state is
  // reset here (DestroyBoardWindow sends carried tiles home first).
  ResetBoardInput();
  if (ui::GetSlotWindow(ui::kSlotBoard) == window)
    ui::WindowSlotOp(ui::kOpUnregister, ui::kSlotBoard, 0);
  RemoveHosts();
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  RenderBoardScene();
  PresentFrame();
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnWindowPosChanged(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
  if (pos && !(pos->flags & SWP_NOSIZE) && HasD3DDevice() &&
      (pos->cx != GetViewWidth() || pos->cy != GetViewHeight()))
    SetBoardViewSize(pos->cx, pos->cy);
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnKillFocus() {
  BoardFocusLost();
  SceneChanged();
  return 0;
}

uint32_t Keys(WPARAM wParam) { return static_cast<uint32_t>(wParam) & (MK_LBUTTON | MK_RBUTTON); }

LRESULT OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_MOUSEMOVE: {
      TileCarrier* carrier = Carrier();
      if (!carrier || carrier->State() == TileCarrier::kIdle) return 0;
      BoardMouseMove(x, y);
      break;
    }
    case WM_LBUTTONDOWN:
      BoardLeftButtonDown(Keys(wParam), x, y);
      break;
    case WM_LBUTTONUP:
      BoardLeftButtonUp(Keys(wParam), x, y);
      break;
    case WM_LBUTTONDBLCLK:
      BoardLeftDoubleClick(x, y);
      break;
    case WM_RBUTTONDOWN:
      BoardRightButtonDown(Keys(wParam), x, y);
      break;
    case WM_RBUTTONUP:
      BoardRightButtonUp(Keys(wParam), x, y);
      break;
    default:
      return 0;
  }
  SceneChanged();
  return 0;
}

LRESULT OnChar(WPARAM wParam) {
  BoardCharTyped(static_cast<char>(wParam));
  SceneChanged();
  return 0;
}

LRESULT OnGameChanged(HWND window, WPARAM wParam, LPARAM lParam) {
  auto* grid = reinterpret_cast<TileGrid*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  const LRESULT result =
      BoardGameChanged(static_cast<int>(wParam), reinterpret_cast<CGame*>(lParam), grid);
  SceneChanged();
  return result;
}

}  // namespace

bool RegisterBoardWindowClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &BoardWndProc;
  wc.cbWndExtra = kWindowBytes;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconId));
  wc.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(kCursorId));
  if (!wc.hCursor) wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kBoardWindowClass;
  if (RegisterClassExA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return true;
  MessageBoxA(nullptr, "Error", "Can't initialize board", 0);
  return false;
}

void UnregisterBoardWindowClass(HINSTANCE instance) {
  UnregisterClassA(kBoardWindowClass, instance);
}

HWND CreateBoardWindowEx(HWND parent, int width, int height) {
  if (!parent || W().window) return W().window;
  HWND window = CreateWindowExA(0, kBoardWindowClass, "", WS_CHILD | WS_CLIPCHILDREN, 0, 0, width,
                                height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (!InitBoardView(window)) {
    DestroyWindow(window);
    return nullptr;
  }
  SetBoardViewSize(width, height);
  return window;
}

HWND CreateBoardWindow() {
  const int width = ui::GetDisplayWidth(), height = ui::GetDisplayHeight();
  HWND window =
      CreateBoardWindowEx(static_cast<HWND>(ui::GetSlotWindow(ui::kSlotRoom)), width, height);
  if (!window) return nullptr;
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOACTIVATE | SWP_NOZORDER);
  ui::WindowSlotOp(ui::kOpRegister, ui::kSlotBoard, reinterpret_cast<intptr_t>(window));
  ClearDepthBuffer();
  return window;
}

void DestroyBoardWindow() {
  HWND window = W().window;
  // Carried tiles and the cursor arrow go while their scene still exists.
  if (TileCarrier* carrier = Carrier()) carrier->EndPick();
  ClearKeyboardCursor();
  ReleaseBoardScene3D();
  if (window) DestroyWindow(window);
}

HWND GetBoardWindowHandle() { return W().window; }

void EnableBoardWindow(bool enable) {
  if (HWND w = W().window) EnableWindow(w, enable ? TRUE : FALSE);
}

void RedrawBoardWindowIfDue() {
  if (!W().window || !BoardFrameDue()) return;
  RenderBoardScene();
  PresentFrame();
}

// Only dispatches; the handlers above and the input logic do the work.
LRESULT CALLBACK BoardWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window, message, wParam, lParam);
    case WM_DESTROY:
      return OnDestroy(window, message, wParam, lParam);
    case WM_PAINT:
      return OnPaint(window, message, wParam, lParam);
    case WM_KILLFOCUS:
      return OnKillFocus();
    case WM_ERASEBKGND:
      return 1;
    case WM_WINDOWPOSCHANGED:
      return OnWindowPosChanged(window, message, wParam, lParam);
    case WM_CHAR:
      return OnChar(wParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return OnMouse(message, wParam, lParam);
    case kMsgBoardGameChanged:
      return OnGameChanged(window, wParam, lParam);
    case kMsgBoardQuery:
      return 1;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// --- The game's view port --------------------------------------------------

void BoardWindowPort::LoadBoardLetters(const char* letters, int rows, int columns) {
  GridViewPort::LoadBoardLetters(letters, rows, columns);
  SceneChanged();
}

void BoardWindowPort::LoadRackLetters(const char* text, int count) {
  GridViewPort::LoadRackLetters(text, count);
  SceneChanged();
}

void BoardWindowPort::ClearGrids() {
  GridViewPort::ClearGrids();
  SceneChanged();
}

void BoardWindowPort::SetSceneButtonMask(uint32_t mask) {
  GridViewPort::SetSceneButtonMask(mask);
  SceneChanged();
}

void BoardWindowPort::RefreshRackTiles() {
  TileGrid* rack = CurrentGrids().rack;
  if (!rack) return;
  const std::string letters = rack->Dump();
  rack->SetLetters(letters.c_str(), static_cast<int>(letters.size()));
  SceneChanged();
}

void BoardWindowPort::ReleaseBoardButton() {
  ReleasePressedButton();
  SceneChanged();
}

void BoardWindowPort::FocusAndPickFirstSquare() {
  if (HWND w = W().window) SetFocus(w);
  PlaceTypingCursor(CurrentGrids().board, 0, 0);
  SceneChanged();
}

void BoardWindowPort::RedrawBoardWindow() { SceneChanged(); }

bool BoardWindowPort::RunChallengeDialog(const std::vector<RobotMove>& words,
                                         std::vector<RobotMove>& chosen) {
  return ui::RunChallengeDialog(W().window, words, chosen) == 1;
}

void BoardWindowPort::OpenExchangeDialog(CGame& game) { ui::OpenExchangeDialog(W().window, &game); }

void BoardWindowPort::CloseExchangeDialog() { ui::CloseExchangeDialog(); }

BoardWindowPort& GetBoardWindowPort() { return W().port; }

}  // namespace scene
