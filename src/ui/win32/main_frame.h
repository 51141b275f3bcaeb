#pragma once
// The main frame: the one top-level window of the game, a skinned toolkit
// frame of the class TESSARIN_2007_CLASS sized to the desktop. It turns menu
// commands over to the current screen's handler, confirms the closing of the
// program, plays the system-menu sounds, blocks task-switching keys outside
// the network rooms and offers the lock that disables the interface while a
// modal task runs.
//
// Differences from the frame it follows: no 3D device is reset here (the
// rooms own it); until a screen installs a command handler, the frame's own
// "Quit" item asks to close (otherwise nothing could end the program). The
// interface lock nests: every disable needs its enable, so a dialog that
// ends never unlocks the task that opened it. The start-up panels are those
// this library builds; the others' creators are added as they come.
#include <windows.h>

namespace ui {

constexpr char kMainWindowClass[] = "TESSARIN_2007_CLASS";
constexpr UINT kStrMainTitle = 1850;
constexpr UINT kStrExitNow = 2940;
constexpr UINT kMenuQuitId = 1697;
constexpr UINT kMenuQuitCommand = 1618;
constexpr int kMainIconId = 2982;
constexpr int kMainCursorId = 3031;

// Private messages of the frame.
constexpr UINT kMsgCloseRequest = 0x8506;  // lParam non-zero: no question
constexpr UINT kMsgSystemSound = 0x8505;
constexpr UINT kMsgCaptionButton = 0x8503;
constexpr UINT kMsgActivationChanged = 0x8111;
constexpr UINT kMsgDisplayChanged = 0x8114;
constexpr UINT kMsgFrameNop = 0x810F;
constexpr UINT kMsgRoomPlacement = 0x830F;  // lParam RECT*: the room window's placement

// What the frame needs of the program's start-up, which sits above it.
struct MainFrameServices {
  bool (*splashShowing)() = nullptr;
  int (*cursorIndex)(HWND window) = nullptr;  // -1 for none
  void (*selectCursor)(HWND window, int index) = nullptr;
  HPALETTE (*palette)() = nullptr;
  // The shared tooltip control and its texts (string-table ids).
  HWND (*createToolTipControl)() = nullptr;
  void (*destroyToolTipControl)() = nullptr;
  bool (*addToolTip)(HWND window, UINT stringId) = nullptr;
};
void SetMainFrameServices(const MainFrameServices& services);
const MainFrameServices& GetMainFrameServices();

bool RegisterMainWindowClass(HINSTANCE instance);
bool UnregisterMainWindowClass(HINSTANCE instance);
HWND CreateMainFrameWindow(HINSTANCE instance);
HWND GetMainFrameWindow();
void ShowMainWindowFullDesktop(int flag);
HWND FindRunningInstance();
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

using CommandHandlerFn = LRESULT (*)(HWND window, WPARAM wParam, LPARAM lParam);
// 0 for an empty handler; otherwise installs it (and the menu, when given).
int SetCommandHandler(void* menu, CommandHandlerFn handler);
LRESULT CallCommandHandler(HWND window, WPARAM wParam, LPARAM lParam);

// The interface lock. Calls nest: each disable adds a level and only the
// enable that removes the last one opens the interface again. Returns 1
// when the call added or removed a level, 0 for an enable with no lock
// held; so a caller that enables only after a disable that answered 1
// (the modal-dialog runner does) always leaves the lock as it found it.
int EnableUserInterface(int enable);
bool IsUserInterfaceEnabled();
int UserInterfaceLockDepth();
bool IsMainFrameClosing();

// Registry ops over the panels (slots 3 to 30) that hold a window; each 1.
int EnablePanelWindows(int enable);
int HidePanelWindows(int hide);
int SuspendPanelWindows(int suspend);
// Suspends or restores the current room's panels; the new hidden flag.
int TogglePanelsForRoom();

// The modeless panels that live for the whole run, owned by the frame; 1.
int CreateStartupPanels(HWND owner, HINSTANCE instance);
int DestroyStartupPanels();

// Whether deactivating the program minimises the frame (and activating it
// restores it). On by default; window tests on a bare X server, where focus
// wanders between test windows, switch it off. The program ini's
// [debug] NoMinimize=1 does the same.
void SetMinimiseOnDeactivate(bool minimise);

int GetDisplayWidth();
int GetDisplayHeight();
void RefreshDisplaySize();
int SetDisplaySizeOverride(int flag);

}  // namespace ui
