#include "ui/win32/main_frame.h"

#include <cstring>

#include "game/game.h"
#include "game/session_registry.h"
#include "gui/gui_core.h"
#include "gui/gui_menu.h"
#include "gui/win32/gui_frame.h"
#include "gui/win32/gui_menu_win32.h"
#include "platform/ini.h"
#include "platform/message_sink.h"
#include "shell/app_context.h"
#include "shell/main_loop_state.h"
#include "shell/res_strings.h"
#include "shell/settings.h"
#include "shell/shell_constants.h"
#include "shell/shell_host.h"
#include "shell/user_profile.h"
#include "ui/room_port.h"
#include "ui/window_slots.h"
#include "ui/win32/dictionary_panel_win32.h"
#include "ui/win32/draw_panel_win32.h"
#include "ui/win32/mentor_panel_win32.h"
#include "ui/win32/move_list_win32.h"
#include "ui/win32/players_panel_win32.h"
#include "ui/win32/results_win32.h"
#include "ui/win32/toolbars_win32.h"
#include "ui/win32/window_slots_win32.h"

namespace ui {
namespace {

// The frame's module state: one frame per process.
struct MainFrameState {
  HWND window = nullptr;
  HINSTANCE instance = nullptr;
  CommandHandlerFn commandHandler = nullptr;
  gui::GuiMenu* frameMenu = nullptr;
  int lockDepth = 0;  // the interface is on while 0
  bool closeInProgress = false;
  bool closing = false;
  HHOOK keyboardHook = nullptr;
  DWORD windowsMajor = 0, windowsMinor = 0;
  bool displayKnown = false;
  int displayWidth = 0, displayHeight = 0;
  int displayOverride = 0;
  char title[256] = {};
  bool minimiseOnDeactivate = true;
  MainFrameServices services;
};

MainFrameState g_frame;

bool SplashShowing() { return g_frame.services.splashShowing && g_frame.services.splashShowing(); }

void PlayEffect(const char* name) { shell::GetShellHost().PlaySoundFile(name); }

// --- the keyboard hook: no task switching outside the network rooms.

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
  int room = shell::GetShellHost().GetCurrentRoomId();
  if (code == HC_ACTION && room != 10 && room != 11) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    bool alt = (k->flags & LLKHF_ALTDOWN) != 0;
    bool ctrl = GetAsyncKeyState(VK_CONTROL) < 0;
    if ((k->vkCode == VK_ESCAPE && (ctrl || alt)) || (k->vkCode == VK_TAB && alt) ||
        k->vkCode == VK_LWIN || k->vkCode == VK_RWIN)
      return 1;
  }
  return CallNextHookEx(g_frame.keyboardHook, code, wParam, lParam);
}

// --- the frame's menu: one command, "Quit".

gui::GuiMenu* BuildFrameMenu() {
  gui::GuiMenu* bar = gui::GuiCreateMenu();
  if (bar) gui::GuiAppendMenu(bar, 0, kMenuQuitId, "Quit\tAlt+F4");
  return bar;
}

// Until a screen installs its own, the frame's Quit asks to close.
LRESULT DefaultCommandHandler(HWND window, WPARAM wParam, LPARAM) {
  if (LOWORD(wParam) == kMenuQuitId) PostMessageA(window, kMsgCloseRequest, 0, 0);
  return 1;
}

// --- message handlers

LRESULT OnCreate(HWND window) {
  g_frame.window = window;
  g_frame.keyboardHook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHookProc, g_frame.instance, 0);
  WindowSlotOp(kOpRegister, kSlotMainFrame, reinterpret_cast<intptr_t>(window));
  return 0;
}

LRESULT OnDestroy(HWND window) {
  if (g_frame.keyboardHook) UnhookWindowsHookEx(g_frame.keyboardHook);
  g_frame.keyboardHook = nullptr;
  g_frame.frameMenu = nullptr;  // the frame's menu bar owned and freed it
  g_frame.window = nullptr;
  if (GetSlotWindow(kSlotMainFrame) == window) WindowSlotOp(kOpUnregister, kSlotMainFrame, 0);
  PostQuitMessage(0);
  return 0;
}

LRESULT OnActivateApp(HWND window, bool active) {
  GetRoomCommandPort().ApplicationActivated(active);
  shell::SetAppActive(active);
  if (active)
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | (SplashShowing() ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
  BroadcastToSlotWindows(kMsgActivationChanged, active ? 1 : 0, 0, 1);
  if (!SplashShowing() && !g_frame.closing && g_frame.minimiseOnDeactivate)
    ShowWindow(window, active ? SW_RESTORE : SW_MINIMIZE);
  return 0;
}

LRESULT OnSetCursor(HWND window) {
  int index = g_frame.services.cursorIndex ? g_frame.services.cursorIndex(window) : -1;
  if (index < 0 || index > 3) index = 1;
  if (g_frame.services.selectCursor) g_frame.services.selectCursor(window, index);
  return 1;
}

LRESULT OnGetMinMaxInfo(LPARAM lParam) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMinTrackSize = POINT{320, 280};
  if (g_frame.displayWidth > 0)
    info->ptMaxTrackSize = POINT{g_frame.displayWidth, g_frame.displayHeight};
  return 0;
}

LRESULT OnDisplayChange(HWND window) {
  RECT desk;
  GetWindowRect(GetDesktopWindow(), &desk);
  SetWindowPos(window, nullptr, 0, 0, desk.right - desk.left, desk.bottom - desk.top,
               SWP_NOZORDER | SWP_NOSENDCHANGING);
  GetRoomCommandPort().DisplayResized(desk.right - desk.left, desk.bottom - desk.top);
  SetCursor(nullptr);
  RefreshDisplaySize();
  BroadcastToSlotWindows(kMsgDisplayChanged, 0, 0, 1);
  return 0;
}

// Keys go on to the board window.
LRESULT OnKey(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND board = static_cast<HWND>(GetSlotWindow(kSlotBoard));
  return board ? SendMessageA(board, message, wParam, lParam) : 0;
}

LRESULT OnRoomPlacement(LPARAM lParam) {
  if (!lParam) return 0;
  SlotRect r{};
  WindowSlotOp(kOpGetRect2, kSlotRoom, reinterpret_cast<intptr_t>(&r));
  *reinterpret_cast<RECT*>(lParam) = RECT{r.left, r.top, r.right, r.bottom};
  return lParam;
}

LRESULT OnWindowPosChanged(LPARAM lParam) {
  const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
  if (wp && (wp->flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE)) {
    const SlotWindowPos pos{wp->x, wp->y, wp->cx, wp->cy, wp->flags};
    FrameMoved(&pos);
  }
  return 0;
}

// Registry op `op` with `arg` on every panel that holds a window.
int ForEachPanel(int op, intptr_t arg) {
  for (int slot = kFirstPanelSlot; slot < kSlotCount; ++slot)
    if (GetSlotWindow(slot)) WindowSlotOp(op, slot, arg);
  return 1;
}

LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  switch (wParam & 0xFFF0) {
    case SC_CLOSE:
      return 0;  // closing goes through the close request and its question
    case SC_SCREENSAVE:
    case SC_MONITORPOWER:
      return 1;
    default:
      return gui::GuiDefFrameProc(window, WM_SYSCOMMAND, wParam, lParam);
  }
}

LRESULT OnInitMenuPopup(HWND window, WPARAM wParam, LPARAM lParam) {
  if (wParam == 0xFFFFFFFF) {
    PlayEffect("SMenDep3.wav");
    return 0;
  }
  PlayEffect("SMenCli1.wav");
  return gui::GuiDefFrameProc(window, WM_INITMENUPOPUP, wParam, lParam);
}

LRESULT OnCtlColor(WPARAM wParam) {
  HPALETTE palette = g_frame.services.palette ? g_frame.services.palette() : nullptr;
  if (palette) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
  }
  return 0;
}

LRESULT OnCaptionButton(WPARAM code) {
  if (code == 2) return shell::GetWindowCloseSetting() ? 1 : 0;
  return code > 9 ? 1 : 0;
}

LRESULT OnSystemSound(WPARAM command) {
  switch (command) {
    case SC_MINIMIZE:
      PlayEffect("SWinMin1.wav");
      break;
    case SC_MAXIMIZE:
      PlayEffect("SWinAgr1.wav");
      break;
    case SC_CLOSE:
      PlayEffect("SWinFer1.wav");
      break;
    case WM_COMMAND:
      PlayEffect("SMenCli1.wav");
      break;
    default:
      break;
  }
  return 0;
}

// The current game of a game room; null in the lobby.
CGame* RoomGame() {
  return shell::GetShellHost().GetCurrentRoomId() != 0 ? GetCurrentGame() : nullptr;
}

LRESULT OnCloseRequest(HWND window, LPARAM skipQuestion) {
  if (g_frame.closeInProgress) return 0;
  g_frame.closeInProgress = true;
  // Outside the lobby the game waits while the question is open.
  if (CGame* game = RoomGame()) game->hold = 1;
  if (!skipQuestion) {
    char text[512];
    lstrcpynA(text, shell::LoadResString(kStrExitNow), sizeof text);
    int answer =
        platform::ShowNotice(text, shell::LoadResString(shell::kStrProductTitle), MB_YESNO);
    if (answer != IDYES) {
      if (CGame* game = RoomGame()) game->hold = 0;
      g_frame.closeInProgress = false;
      return 0;
    }
  }
  g_frame.closing = true;
  if (CGame* game = GetCurrentGame()) game->StopGame();
  shell::SetIdleThrottle(-1);
  DestroyWindow(window);
  shell::SaveAndCloseCurrentUser();
  g_frame.closeInProgress = false;
  return 0;
}

void SwitchAccelerators(bool enable) {
  shell::EnableAccelerators(enable, shell::GetShellHost().GetCurrentRoomId(), false);
}

}  // namespace

void SetMainFrameServices(const MainFrameServices& services) { g_frame.services = services; }
const MainFrameServices& GetMainFrameServices() { return g_frame.services; }
void SetMinimiseOnDeactivate(bool minimise) { g_frame.minimiseOnDeactivate = minimise; }

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      break;  // the toolkit sets up its frame state too
    case WM_DESTROY:
      OnDestroy(window);
      break;
    case WM_QUERYENDSESSION:
      shell::SaveAndCloseCurrentUser();
      return 1;
    case WM_ERASEBKGND:
      if (SplashShowing()) return 0;
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE)
        GetRoomCommandPort().FrameActivated();
      break;  // the toolkit frame shows its caption active or not
    case WM_ACTIVATEAPP:
      return OnActivateApp(window, wParam != 0);
    case WM_SETCURSOR:
      return OnSetCursor(window);
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(lParam);
    case WM_WINDOWPOSCHANGED:
      OnWindowPosChanged(lParam);
      break;  // the toolkit frame lays out its own parts
    case WM_KEYDOWN:
    case WM_CHAR:
      return OnKey(message, wParam, lParam);
    case kMsgFrameNop:
      return 0;
    case kMsgRoomPlacement:
      return OnRoomPlacement(lParam);
    case WM_DISPLAYCHANGE:
      return OnDisplayChange(window);
    case WM_COMMAND:
      CallCommandHandler(window, wParam, lParam);
      return 0;
    case WM_SYSCOMMAND:
      return OnSysCommand(window, wParam, lParam);
    case WM_INITMENUPOPUP:
      return OnInitMenuPopup(window, wParam, lParam);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return OnCtlColor(wParam);
    case WM_ENTERMENULOOP:
      SwitchAccelerators(false);
      break;
    case WM_EXITMENULOOP:
      SwitchAccelerators(true);
      SetFocus(window);
      break;
    case kMsgCaptionButton:
      return OnCaptionButton(wParam);
    case kMsgSystemSound:
      return OnSystemSound(wParam);
    case kMsgCloseRequest:
      return OnCloseRequest(window, lParam);
    default:
      break;
  }
  return gui::GuiDefFrameProc(window, message, wParam, lParam);
}

bool RegisterMainWindowClass(HINSTANCE instance) {
  g_frame.instance = instance;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainWndProc;
  wc.cbWndExtra = 12;  // the toolkit keeps its frame state in the first slot
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kMainIconId));
  wc.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(kMainCursorId));
  if (!wc.hCursor) wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassExA(&wc) != 0;
}

bool UnregisterMainWindowClass(HINSTANCE instance) {
  return UnregisterClassA(kMainWindowClass, instance) != 0;
}

HWND CreateMainFrameWindow(HINSTANCE instance) {
  if (g_frame.window) return g_frame.window;
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExA(&version)) {
#pragma GCC diagnostic pop
    g_frame.windowsMajor = version.dwMajorVersion;
    g_frame.windowsMinor = version.dwMinorVersion;
  }
  if (!g_frame.displayKnown) RefreshDisplaySize();
  if (platform::IniGetInt("debug", "NoMinimize", 0, shell::GetProgramIniPath()) != 0)
    g_frame.minimiseOnDeactivate = false;
  // No stored placement yet: the whole display.
  SetDisplaySizeOverride(1);
  lstrcpynA(g_frame.title, shell::LoadResString(kStrMainTitle), sizeof g_frame.title);
  gui::GuiFrameCreateParams params{};
  params.options = gui::kCreateStatusBar;
  // The frame carries the skin's caption (title and minimise button) on top
  // of the desktop-sized client the rooms will fill.
  DWORD style = WS_CLIPCHILDREN | 0x1 | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  HWND window = gui::GuiCreateWindowEx(WS_EX_APPWINDOW, kMainWindowClass, g_frame.title, style, 0,
                                       0, g_frame.displayWidth, g_frame.displayHeight, nullptr,
                                       nullptr, instance, &params);
  if (!window) return nullptr;
  g_frame.window = window;
  gui::GuiSwapFrameSkinHandle(0, window);
  g_frame.frameMenu = BuildFrameMenu();
  if (g_frame.frameMenu) gui::GuiSetMenu(window, g_frame.frameMenu);
  if (!g_frame.commandHandler) g_frame.commandHandler = DefaultCommandHandler;
  return window;
}

HWND GetMainFrameWindow() { return g_frame.window; }

void ShowMainWindowFullDesktop(int) {
  HWND window = g_frame.window;
  if (!window) return;
  SetForegroundWindow(window);
  RECT desk;
  GetWindowRect(GetDesktopWindow(), &desk);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, desk.right - desk.left, desk.bottom - desk.top,
               SWP_SHOWWINDOW);
  RaiseOwnedSlotWindows();
  UpdateWindow(window);
}

HWND FindRunningInstance() {
  char title[256];
  lstrcpynA(title, shell::LoadResString(kStrMainTitle), sizeof title);
  return FindWindowA(kMainWindowClass, title);
}

int SetCommandHandler(void* menu, CommandHandlerFn handler) {
  if (!handler) return 0;
  if (g_frame.window) gui::GuiSetMenu(g_frame.window, static_cast<gui::GuiMenu*>(menu));
  g_frame.commandHandler = handler;
  return 1;
}

LRESULT CallCommandHandler(HWND window, WPARAM wParam, LPARAM lParam) {
  if (!g_frame.commandHandler) return 0;
  LRESULT r = g_frame.commandHandler(window, wParam, lParam);
  if (r == 0 && LOWORD(wParam) == kMenuQuitCommand) SendMessageA(window, WM_CLOSE, 0, 0);
  return r;
}

int EnableUserInterface(int enable) {
  const bool on = enable != 0;
  if (on && g_frame.lockDepth == 0) return 0;
  g_frame.lockDepth += on ? -1 : 1;
  // Only the outermost level switches anything.
  if (g_frame.lockDepth == (on ? 0 : 1)) {
    if (g_frame.window) gui::GuiEnableMenuBar(g_frame.window, on ? 1 : 0);
    SwitchAccelerators(on);
    EnablePanelWindows(on ? 1 : 0);
  }
  return 1;
}

bool IsUserInterfaceEnabled() { return g_frame.lockDepth == 0; }
int UserInterfaceLockDepth() { return g_frame.lockDepth; }

int EnablePanelWindows(int enable) { return ForEachPanel(enable ? kOpEnable : kOpDisable, 0); }
int HidePanelWindows(int hide) { return ForEachPanel(kOpShow, hide ? kShowHide : kShowShow); }
int SuspendPanelWindows(int suspend) {
  return ForEachPanel(kOpShow, suspend ? kShowSuspend : kShowResume);
}

int TogglePanelsForRoom() {
  RoomLayoutRecord* room = GetRoomLayoutRecord(GetCurrentLayoutIndex());
  if (!room) return 0;
  const bool hidden = room->panelsHidden != 0;
  SuspendPanelWindows(hidden ? 0 : 1);
  room->panelsHidden = hidden ? 0 : 1;
  return room->panelsHidden;
}

int CreateStartupPanels(HWND owner, HINSTANCE instance) {
  if (g_frame.services.createToolTipControl) g_frame.services.createToolTipControl();
  CreateRemainderWindow(owner, instance);
  CreateMoveListWindow(owner, instance);
  CreateDictionaryWindow(owner, instance);
  CreateMentorWindow(owner, instance);
  CreateDrawWindow(owner, instance);
  CreateGameInfoStrip(owner, instance);
  CreateGameToolbar(owner, instance);
  CreateCommentWindow(owner, instance);
  CreatePlayersPanel(owner, instance);
  PlaceAtRight(kSlotPlayers, 0);
  PlaceAtRight(kSlotMoveList, 1);
  return 1;
}

int DestroyStartupPanels() {
  for (int slot : {kSlotRemainingTiles, kSlotMoveList, kSlotDictionary, kSlotMentor,
                   kSlotPositionSetup, kSlotGameInfo, kSlotPanelToolbar, kSlotGameToolbar,
                   kSlotPlayers, kSlotAnagramList, kSlotUserComments})
    DestroySlotWindow(slot);
  if (g_frame.services.destroyToolTipControl) g_frame.services.destroyToolTipControl();
  for (int slot : {kSlotChat, kSlotFriendsList})
    DestroySlotWindow(slot);
  return 1;
}
bool IsMainFrameClosing() { return g_frame.closing; }

int GetDisplayWidth() { return g_frame.displayKnown ? g_frame.displayWidth : 0; }
int GetDisplayHeight() { return g_frame.displayKnown ? g_frame.displayHeight : 0; }

void RefreshDisplaySize() {
  g_frame.displayWidth = GetSystemMetrics(SM_CXSCREEN);
  g_frame.displayHeight = GetSystemMetrics(SM_CYSCREEN);
  g_frame.displayKnown = true;
}

int SetDisplaySizeOverride(int flag) {
  int previous = g_frame.displayOverride;
  g_frame.displayOverride = flag;
  return previous;
}

}  // namespace ui
