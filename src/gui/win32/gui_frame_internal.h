#pragma once
// What the frame's source files share: the per-window frame state, its parts
// and status bar, the named bits and piece offsets, and the helpers of each
// concern (caption and buttons, status bar, snapping, collapse). Not for
// other subsystems: they use gui_frame.h.
#include <windows.h>

#include <cstdint>

#include "gui/gui_skin.h"
#include "gui/utils.h"
#include "gui/win32/gui_frame.h"

namespace gui {

// Parts of the non-client area; the border parts use the HT* codes.
enum PartCode : int {
  kPtClient = 1,
  kPtCaption = 2,
  kPtSysMenu = 3,
  kPtGrip = 4,
  kPtMenu = 5,
  kPtMin = 8,
  kPtMax = 9,
  kPtBorder = 18,
  kPtClose = 20,
  kPtCollapse = 21,
  kPartCount = 22
};

// A three-piece image row of a frame group: start, middle and end pieces,
// the active row first and the inactive row after it.
constexpr int kPieceStart = 0;
constexpr int kPieceMiddle = 1;
constexpr int kPieceEnd = 2;
constexpr int kInactiveRow = 3;

// GuiFrameState::dialogFlags.
enum DialogFlag : uint32_t {
  kDlgCollapsedLook = 0x1,  // the collapse button shows its collapsed image
  kDlgCollapsed = 0x2,
  kDlgCollapsing = 0x4,
  kDlgTrackWidth = 0x8,    // a collapsed dialog may still be sized across
  kDlgTrackHeight = 0x10,  // ... and down
};

// kMsgCollapse wParam codes (the dialog class answers them).
enum CollapseCode : WPARAM {
  kCollapseToggle = 0,  // collapse or restore
  kCollapseQuery = 1,   // 1 while collapsed or collapsing, -1 without the button
  kCollapseTrack = 2,   // lParam non-zero: toggles height tracking, else width
  kCollapseReset = 3,   // forgets the collapsed state
  kCollapseRefit = 4,   // re-applies the collapsed size
};

// A window style bit of frames and dialogs: the client background is the
// group's background tile.
constexpr LONG kStyleTiledBackground = 0x1000;

struct StatusPart {
  int left, width, kind;
  char text[129];
  int value, minimum, maximum, step;
};

constexpr int kStatusPartMax = 10;
constexpr int kStatusKindProgress = 2;

struct StatusBar {
  int count;
  RECT rect;
  StatusPart parts[kStatusPartMax];
};

struct Part {
  RECT rc;
  int code;
  PackedDIB* normal;
  PackedDIB* hot;
};

struct GuiFrameState {
  uint32_t frameFlags;
  uint32_t style;
  uint32_t dialogFlags;  // DialogFlag bits
  int kind;
  Part parts[kPartCount];
  GuiFrameGroup* group;
  GuiFrameGroup* privateGroup;  // owned
  GuiMenuBar* menuBar;
  GuiFrameSkin* skin;
  StatusBar* status;
  int hotPart;
  uint32_t pressed;  // bit per part code
  int paintSuspended;
  RECT savedRect;
  bool isDialog;
  bool active;
  bool maximizeLook;  // the maximise button shows the restore look
  RECT client;        // window coordinates
};

// --- gui_frame.cpp -----------------------------------------------------------
GuiFrameState* StateOf(HWND window);
uint32_t FlagsFromStyle(uint32_t style);
// The group the frame draws with: its own, else the skin's group of its kind.
GuiFrameGroup* GroupFor(GuiFrameState* s);
// Image `index` of a group that may be missing.
inline PackedDIB* GroupImage(const GuiFrameGroup* g, int index) {
  return g ? g->images[index] : nullptr;
}
// The window told of frame events (the skin's notification window).
HWND NotifyWindow();
void Notify(WPARAM code, HWND window);

// --- gui_frame_caption.cpp: layout, painting, caption buttons ---------------
// Lays the parts out for a window of w by h; the client rectangle is what
// remains.
void Layout(HWND window, GuiFrameState* s, int w, int h);
void LayoutWindow(HWND window, GuiFrameState* s);
void PaintNonClient(HWND window, GuiFrameState* s);
int HitTest(GuiFrameState* s, HWND window, POINT screen);
// The part index of a hit-test answer, -1 for none.
int PartOfHit(int hit);
void ToggleMaximize(HWND window, GuiFrameState* s);
// A caption button was clicked.
void TriggerPart(HWND window, GuiFrameState* s, int part);
int CaptionHeight(const GuiFrameGroup* g);
// Caption, top and bottom border: the height of a collapsed frame.
int CollapsedHeight(const GuiFrameGroup* g);

// --- gui_frame_status.cpp ------------------------------------------------------
StatusBar* CreateStatusBar();
void PaintStatus(GuiFrameState* s, PackedDIB* canvas);
// The status-bar messages (kMsgStatus*, and their WM_USER forms); false
// when msg is none of them.
bool StatusMessage(HWND window, GuiFrameState* s, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

// --- gui_frame_snap.cpp --------------------------------------------------------
// While a frame is moved its edges snap to the other frames' and the main
// window's client edges.
void BeginSnap(HWND window);
void EndSnap();
bool Snapping();
void Snap(WINDOWPOS* pos);

// --- gui_frame_collapse.cpp ----------------------------------------------------
// The dialog's own procedure, or null.
DLGPROC DialogProcOf(HWND window);
void ToggleCollapseLook(HWND window, GuiFrameState* s);
LRESULT Collapse(HWND window, GuiFrameState* s, WPARAM code, LPARAM lp);

}  // namespace gui
