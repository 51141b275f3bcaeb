// The Room window and the rooms' window side.
//
// Differences from the window it follows: the background picture is a
// pointer-sized slot of the window memory (offset 8), so the memory still
// holds it on 64-bit Windows; the window leaves its slot when destroyed, so
// the registry never keeps a dead handle; a close request goes to the main
// frame as its own close message.
#include "scene/win32/room_window.h"

#include <algorithm>

#include "game/game.h"
#include "game/session_registry.h"
#include "scene/board_scene.h"
#include "scene/screen.h"
#include "scene/win32/board_view.h"
#include "scene/win32/board_window.h"
#include "scene/game_room.h"
#include "ui/win32/main_frame.h"
#include "ui/win32/new_game_dialog.h"
#include "ui/win32/results_win32.h"
#include "ui/win32/toolbars_win32.h"
#include "ui/window_slots.h"

namespace scene {

namespace {

HWND g_roomWindow = nullptr;
RoomPictureSource g_pictureSource = nullptr;

RoomPicture* PictureOf(HWND window) {
  return reinterpret_cast<RoomPicture*>(GetWindowLongPtrA(window, kRoomPictureOffset));
}

void SetPicture(HWND window, RoomPicture* picture, bool keepOld) {
  RoomPicture* old = PictureOf(window);
  SetWindowLongPtrA(window, kRoomPictureOffset, reinterpret_cast<LONG_PTR>(picture));
  if (!keepOld && old != picture) delete old;
}

int RunNewGameSetup(void* owner, CGame* game) {
  return ui::RunNewGameDialog(static_cast<HWND>(owner), game);
}

HWND SlotWindow(int slot) { return static_cast<HWND>(ui::GetSlotWindow(slot)); }

// --- Message handlers -------------------------------------------------------

LRESULT OnCreate(HWND window) {
  ui::WindowSlotOp(ui::kOpRegister, ui::kSlotRoom, reinterpret_cast<intptr_t>(window));
  SetTimer(window, kRoomTimerId, kRoomTimerMs, nullptr);
  return 0;
}

void OnDestroy(HWND window) {
  KillTimer(window, kRoomTimerId);
  SetPicture(window, nullptr, false);
  if (SlotWindow(ui::kSlotRoom) == window) ui::WindowSlotOp(ui::kOpUnregister, ui::kSlotRoom, 0);
  if (g_roomWindow == window) g_roomWindow = nullptr;
}

LRESULT OnEraseBackground(HWND window, HDC dc) {
  const RoomPicture* picture = PictureOf(window);
  if (!picture || picture->width <= 0 || picture->height <= 0 || picture->dib.empty()) return 0;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(picture->dib.data());
  // The colour table sits between the header and the bits.
  const int colours = info->bmiHeader.biClrUsed
                          ? static_cast<int>(info->bmiHeader.biClrUsed)
                          : (info->bmiHeader.biBitCount <= 8 ? 1 << info->bmiHeader.biBitCount : 0);
  const size_t offset = info->bmiHeader.biSize + static_cast<size_t>(colours) * sizeof(RGBQUAD);
  if (offset >= picture->dib.size()) return 0;
  const uint8_t* bits = picture->dib.data() + offset;
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(picture->width),
                    static_cast<DWORD>(picture->height), 0, 0, 0,
                    static_cast<UINT>(picture->height), bits, info, DIB_RGB_COLORS);
  return 1;
}

// Nothing is drawn here, but the update region is validated through
// BeginPaint: it sends the erase the system left pending, so the picture
// comes back wherever the window was uncovered.
void OnPaint(HWND window) {
  PAINTSTRUCT ps;
  BeginPaint(window, &ps);
  EndPaint(window, &ps);
}

void OnWindowPosChanged(HWND window, const WINDOWPOS* pos) {
  ui::SlotWindowPos p{pos->x, pos->y, pos->cx, pos->cy, pos->flags};
  ui::WindowSlotOp(ui::kOpStoreRect, ui::kSlotRoom, reinterpret_cast<intptr_t>(&p));
  if (IsIconic(window) || IsIconic(GetParent(window))) return;
  Screen* screen = GetCurrentScreen();
  if (!screen) return;
  // A 2D room's picture is drawn at (0, 0) at its own size: it is made again
  // for the new size, or the rest of the window would stay black.
  if (screen->is2DRoom && !(pos->flags & SWP_NOSIZE))
    GetWin32RoomPort().ResizeRoomView(*screen, false);
  if (!screen->has3DView) return;
  RECT r{};
  GetClientRect(window, &r);
  ResizeRoomView(*screen, false);
  screen->OnResize(r.right - r.left, r.bottom - r.top);
}

LRESULT ForwardToBoard(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND board = GetBoardWindowHandle();
  return board ? SendMessageA(board, message, wParam, lParam) : 0;
}

LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  if ((wParam & 0xFFF0) == SC_CLOSE) {
    if (HWND frame = ui::GetMainFrameWindow()) PostMessageA(frame, ui::kMsgCloseRequest, 0, 0);
    return 0;
  }
  return DefWindowProcA(window, WM_SYSCOMMAND, wParam, lParam);
}

// An empty rectangle (no frame known to the registry) would hide every room:
// the frame's own client area is taken instead.
void OnResizeRequest(HWND window, const RECT* r) {
  RECT size{};
  if (r && r->right > r->left && r->bottom > r->top)
    size = *r;
  else
    GetClientRect(GetParent(window), &size);
  SetWindowPos(window, nullptr, 0, 0, size.right - size.left, size.bottom - size.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- The rack panel -----------------------------------------------------------

constexpr char kRackPanelClass[] = "TessRackPanel";
constexpr int kRackCellStep = 28;

LRESULT CALLBACK RackPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    const int slot = ui::FindSlotOfWindow(window);
    if (slot >= 0) ui::WindowSlotOp(ui::kOpUnregister, slot, 0);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RegisterRoomWindowClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &RoomWndProc;
  wc.cbWndExtra = kRoomWindowBytes;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ui::kMainIconId));
  wc.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(ui::kMainCursorId));
  if (!wc.hCursor) wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kRoomWindowClass;
  if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  WNDCLASSA rack{};
  rack.lpfnWndProc = &RackPanelProc;
  rack.hInstance = instance;
  rack.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  rack.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  rack.lpszClassName = kRackPanelClass;
  RegisterClassA(&rack);
  return true;
}

void UnregisterRoomWindowClass(HINSTANCE instance) {
  UnregisterClassA(kRoomWindowClass, instance);
  UnregisterClassA(kRackPanelClass, instance);
}

HWND CreateRoomWindow() {
  HWND frame = ui::GetMainFrameWindow();
  if (!frame) return nullptr;
  // The rooms talk to this window unless a test put its own port in place.
  if (RoomPort* previous = SetRoomPort(&GetWin32RoomPort())) SetRoomPort(previous);
  SetPlayerSetupDialog(&RunNewGameSetup);
  RECT r{};
  GetClientRect(frame, &r);
  HWND window = CreateWindowExA(0, kRoomWindowClass, "",
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                r.right - r.left, r.bottom - r.top, frame,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRoomWindowChildId)),
                                GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  g_roomWindow = window;
  SetWindowLongA(window, kRoomIdOffset, kNoRoomWindowId);
  return window;
}

HWND GetRoomWindow() { return g_roomWindow; }

// Only dispatches; the handlers above do the work.
LRESULT CALLBACK RoomWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_DESTROY:
      OnDestroy(window);
      return 0;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_ERASEBKGND:
      return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_WINDOWPOSCHANGED:
      OnWindowPosChanged(window, reinterpret_cast<const WINDOWPOS*>(lParam));
      return 0;
    case WM_KEYDOWN:
    case WM_CHAR:
      return ForwardToBoard(message, wParam, lParam);
    case WM_SYSCOMMAND:
      return OnSysCommand(window, wParam, lParam);
    case WM_TIMER:
      if (wParam == kRoomTimer2Id) KillTimer(window, kRoomTimer2Id);
      return 0;
    case kMsgRoomResize:
      OnResizeRequest(window, reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kMsgRoomNothing:
    case kMsgTournamentStep:  // the tournament room is not built yet
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void ResizeRoomView(Screen& screen, bool keepBackground, RoomPicture* picture) {
  HWND room = GetRoomWindow();
  if (!room) return;
  if (screen.is2DRoom) {
    if (!picture || picture->width <= 0 || picture->height <= 0) return;
    SetPicture(room, picture, keepBackground);
  } else {
    RECT r{};
    GetClientRect(room, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (HWND board = GetBoardWindowHandle())
      SetWindowPos(board, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetBoardViewSize(width, height);
    RenderBoardScene();
    if (GetCurrentGame()) {
      SetSceneBackground(screen.background, true);
      RenderBoardScene();
      PresentFrame();
    }
  }
  RedrawWindow(room, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void SetRoomPictureSource(RoomPictureSource source) { g_pictureSource = source; }

void RunRoomFrame(float dt) {
  UpdateCurrentRoom(dt);
  if (GetCurrentRoomId() != kLobbyRoom) RedrawBoardWindowIfDue();
}

HWND CreateRackPanel(int kind, int slot) {
  const int width = kind == 1 ? 312 : 350;
  const int height = kind * 25 + 59;
  ui::SlotRect r{40, 40, 40 + width, 40 + height};
  ui::ClampRectToDesktop(&r);
  HWND owner = ui::GetMainFrameWindow();
  HWND panel = CreateWindowExA(WS_EX_TOOLWINDOW, kRackPanelClass,
                               kind == 1 ? "Opponent's Rack" : "Players Racks",
                               WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, r.left, r.top, width,
                               height, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!panel) return nullptr;
  // The sprite cells: kRackCellStep apart from the kind's first cell.
  SetPropA(panel, "cellX", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(kind == 1 ? 56 : 111)));
  SetPropA(panel, "cellY", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(kind == 1 ? 15 : 13)));
  SetPropA(panel, "cellStep", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(kRackCellStep)));
  ui::WindowSlotOp(ui::kOpRegister, slot, reinterpret_cast<intptr_t>(panel));
  return panel;
}

// --- The rooms' window side --------------------------------------------------

bool Win32RoomPort::HasRoomWindow() { return GetRoomWindow() != nullptr; }

int Win32RoomPort::ReadRoomId() {
  HWND room = GetRoomWindow();
  return room ? static_cast<int>(GetWindowLongA(room, kRoomIdOffset)) : kNoRoomWindowId;
}

void Win32RoomPort::StoreRoomId(int roomId) {
  if (HWND room = GetRoomWindow()) SetWindowLongA(room, kRoomIdOffset, roomId);
}

void Win32RoomPort::SetWaitCursor(bool wait) {
  SetCursor(LoadCursorA(nullptr, wait ? IDC_WAIT : IDC_ARROW));
}

// A 2D room gets its picture at the Room window's size from the program.
void Win32RoomPort::ResizeRoomView(Screen& screen, bool keepBackground) {
  HWND room = GetRoomWindow();
  RoomPicture* picture = nullptr;
  if (room && screen.is2DRoom && g_pictureSource) {
    RECT r{};
    GetClientRect(room, &r);
    picture = g_pictureSource(screen.roomId, r.right - r.left, r.bottom - r.top);
    if (picture && (picture->width <= 0 || picture->height <= 0)) {
      delete picture;
      picture = nullptr;
    }
  }
  scene::ResizeRoomView(screen, keepBackground, picture);
}

void* Win32RoomPort::CreateBoardWindow() { return scene::CreateBoardWindow(); }
void Win32RoomPort::DestroyBoardWindow() { scene::DestroyBoardWindow(); }
void* Win32RoomPort::BoardWindow() { return GetBoardWindowHandle(); }

void Win32RoomPort::ShowBoardView(Screen& screen) {
  HWND room = GetRoomWindow();
  HWND board = GetBoardWindowHandle();
  if (!room || !board) return;
  // No painting while the view is put together: one frame shows it whole.
  SendMessageA(room, WM_SETREDRAW, FALSE, 0);
  RECT r{};
  GetClientRect(room, &r);
  SetWindowPos(board, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetBoardViewSize(r.right - r.left, r.bottom - r.top);
  SetSceneBackground(screen.background, true);
  RenderBoardScene();
  PresentFrame();
  SendMessageA(room, WM_SETREDRAW, TRUE, 0);
  ShowWindow(board, SW_SHOW);
}

void Win32RoomPort::EnableSlotControl(int slot, int controlId, bool enable) {
  if (HWND panel = SlotWindow(slot))
    if (HWND control = GetDlgItem(panel, controlId)) EnableWindow(control, enable ? TRUE : FALSE);
}

void Win32RoomPort::ShowSlotControl(int slot, int controlId, bool show) {
  if (HWND panel = SlotWindow(slot))
    if (HWND control = GetDlgItem(panel, controlId)) ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

void Win32RoomPort::SendSlotMessage(int slot, uint32_t message) {
  if (HWND panel = SlotWindow(slot)) SendMessageA(panel, message, 0, 0);
}

void Win32RoomPort::CreatePanelToolbar() {
  // Owned by the main frame like every panel; each entry makes fresh buttons.
  if (!SlotWindow(ui::kSlotPanelToolbar))
    ui::CreatePanelToolbar(ui::GetMainFrameWindow(), GetModuleHandleA(nullptr));
}

void Win32RoomPort::DestroyPanelToolbar() { ui::DestroyPanelToolbar(); }

void Win32RoomPort::EnableUserInterface(bool enable) { ui::EnableUserInterface(enable ? 1 : 0); }

void Win32RoomPort::ShowFinalRanking(CGame* game) {
  if (game) ui::ShowFinalRanking(game, GetBoardWindowHandle());
}

Win32RoomPort& GetWin32RoomPort() {
  static Win32RoomPort port;
  return port;
}

}  // namespace scene
