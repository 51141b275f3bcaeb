#pragma once
// The main frame: the one top-level window of the game, a skinned toolkit
// frame of the class TESSARIN_2007_CLASS sized to the desktop. It turns menu
// commands over to the current screen's handler, confirms the closing of the
// program, plays the system-menu sounds, blocks task-switching keys outside
// the network rooms and offers the lock that disables the interface while a
// modal task runs.
//
// Differences from the frame it follows: no window-slot registry, panels or
// 3D device exist yet, so the frame registers, shows and enables nothing but
// itself; until a screen installs a command handler, the frame's own "Quit"
// item asks to close (otherwise nothing could end the program).
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

// What the frame needs of the program's start-up, which sits above it.
struct MainFrameServices {
  bool (*splashShowing)() = nullptr;
  int (*cursorIndex)(HWND window) = nullptr;  // -1 for none
  void (*selectCursor)(HWND window, int index) = nullptr;
  HPALETTE (*palette)() = nullptr;
};
void SetMainFrameServices(const MainFrameServices& services);

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

// The interface lock; 1 when the state changed. Calls do not nest.
int EnableUserInterface(int enable);
bool IsUserInterfaceEnabled();
bool IsMainFrameClosing();

int GetDisplayWidth();
int GetDisplayHeight();
void RefreshDisplaySize();
int SetDisplaySizeOverride(int flag);

}  // namespace ui
