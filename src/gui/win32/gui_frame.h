#pragma once
// The skinned frame window and the skinned dialog class: caption, borders,
// caption buttons, menu bar and status bar drawn from the installed frame
// skin in the non-client area.
#include <windows.h>

#include "gui/gui_skin.h"

namespace gui {

// Private messages of frames and dialogs.
constexpr UINT kMsgHookNotice = WM_APP + 0x401;
constexpr UINT kMsgMenuClosed = WM_APP + 0x402;
constexpr UINT kMsgGetFrameState = WM_APP + 0x403;
constexpr UINT kMsgSuspendPaint = WM_APP + 0x404;
constexpr UINT kMsgCollapse = WM_APP + 0x502;
constexpr UINT kMsgFrameEvent = WM_APP + 0x503;
constexpr UINT kMsgPlaySound = WM_APP + 0x505;
constexpr UINT kMsgStatusSetText = WM_APP + 0x507;
constexpr UINT kMsgStatusGetText = WM_APP + 0x508;
constexpr UINT kMsgStatusTextLength = WM_APP + 0x509;
constexpr UINT kMsgStatusSetParts = WM_APP + 0x50a;
constexpr UINT kMsgStatusGetParts = WM_APP + 0x50b;
constexpr UINT kMsgStatusSetKind = WM_APP + 0x50c;
constexpr UINT kMsgStatusGetRect = WM_APP + 0x510;
constexpr UINT kMsgStatusSetRange = WM_APP + 0x513;
constexpr UINT kMsgStatusSetValue = WM_APP + 0x514;
constexpr UINT kMsgStatusLast = WM_APP + 0x51a;  // the status bar's block ends here

// Frame events posted to the notification window (kMsgFrameEvent wParam).
enum GuiFrameEvent : WPARAM {
  kEventCreated = 1,
  kEventClosed = 2,
  kEventMinMax = 3,
  kEventRestored = 5,
  kEventMenuCommand = 6,
  kEventMenuHighlight = 8
};

// Frame flags.
constexpr uint32_t kFfParams = 0x1, kFfFifth = 0x2, kFfFourth = 0x4, kFfCollapse = 0x20,
                   kFfClose = 0x100, kFfMaximize = 0x200, kFfMinimize = 0x400, kFfCaption = 0x800,
                   kFfMenuBar = 0x2000, kFfBordered = 0x4000, kFfDialogFrame = 0x8000,
                   kFfHScroll = 0x10000, kFfVScroll = 0x20000, kFfThick = 0x40000,
                   kFfStatusBar = 0x100000;
// Hit-test code answered for the collapse button.
constexpr int kHitCollapse = 31;

// Create parameters of a frame whose style carries bit 0x1.
constexpr uint32_t kCreateStatusBar = 1, kCreateMenuBar = 2, kCreateOwnGroup = 0x10000;
struct GuiFrameCreateParams {
  uint32_t options;
  GuiFrameGroup group;  // used with kCreateOwnGroup
  LPARAM appParam;      // handed on in place of this record
  const char* menuName;
  HINSTANCE menuInstance;
  const char* otherMenu;
  HINSTANCE otherMenuInstance;
};

struct GuiFrameState;
struct GuiMenuBar;

int GuiRegisterDialogClass(HINSTANCE instance);
extern const char kDialogClassName[];  // "cguiDialogClass"
LRESULT CALLBACK GuiDefFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK GuiDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int GuiAdjustWindowRect(RECT* rect, DWORD style, BOOL hasMenu);
using GuiFrameEnumFn = int (*)(HWND window, LPARAM arg);
int GuiEnumFrameWindows(GuiFrameEnumFn fn, LPARAM arg);
HWND GuiCreateWindowEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                       int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                       GuiFrameCreateParams* params);

// What the menus need of a frame.
GuiFrameState* GuiFrameStateOf(HWND window);
GuiMenuBar* GuiFrameMenuBar(HWND window);
void GuiFrameSetMenuBar(HWND window, GuiMenuBar* bar, bool on);
// The menu bar's rectangle in window coordinates.
RECT GuiFrameMenuBarRect(HWND window);
void GuiFrameRedrawNonClient(HWND window);
// Gives a skinned frame its sizing border or takes it away (the panels'
// size lock); true when the flag changed. The caller re-frames the window.
bool GuiFrameSetSizingBorder(HWND window, bool sizable);

}  // namespace gui
