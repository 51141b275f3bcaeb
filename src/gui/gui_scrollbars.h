#pragma once
// GuiScrollBars: the skinned scroll bars that the scrolling widgets draw in
// their non-client area. This half holds the values, the geometry and the
// mouse and wheel behaviour; everything that touches the window system
// (messages, painting, the capture, the repeat timer) goes through a
// GuiScrollHost, which the Windows side implements and tests replace.
//
// Bars are numbered: 0 horizontal, 1 vertical. Rectangles are in window
// coordinates (relative to the window's top-left corner), right and bottom
// exclusive, as the window system's RECT.
#include <cstdint>

#include "gui/utils.h"

namespace gui {

// Same layout as the window system's SCROLLINFO.
struct GuiScrollInfo {
  uint32_t cbSize;
  uint32_t fMask;
  int32_t nMin, nMax;
  uint32_t nPage;
  int32_t nPos, nTrackPos;
};
constexpr uint32_t kSifRange = 1, kSifPage = 2, kSifPos = 4, kSifDisableNoScroll = 8;

// Parts of a bar, in layout order; a part's number is also its scroll code.
enum GuiScrollPart : int {
  kSpFirstArrow = 0,   // SB_LINEUP / SB_LINELEFT
  kSpSecondArrow = 1,  // SB_LINEDOWN / SB_LINERIGHT
  kSpTrackBefore = 2,  // SB_PAGEUP
  kSpTrackAfter = 3,   // SB_PAGEDOWN
  kSpThumb = 4,
  kScrollPartCount = 5
};
constexpr uint32_t kLayoutAll = 0x1F, kLayoutThumb = 0x1C;

// Messages the engine sends to the widget window.
constexpr uint32_t kWmHScroll = 0x114, kWmVScroll = 0x115;
constexpr uint32_t kSbEndScroll = 8;
constexpr uint32_t kMsgThumbDragH = 0x8611, kMsgThumbDragV = 0x8612;
constexpr uint32_t kMsgPosCorrectedH = 0x8613, kMsgPosCorrectedV = 0x8614;
constexpr uint32_t kMsgBarShown = 0x8615;  // to the parent
constexpr uint32_t kScrollTimerId = 111;
constexpr uint32_t kScrollFirstDelay = 200, kScrollRepeatDelay = 25;
constexpr int32_t kWheelDelta = 120;
constexpr int32_t kWheelPageScroll = -1;  // lines per notch: a page

// Engine flags of GuiScrollBarsInit.
constexpr uint32_t kScrollHasVertical = 0x200, kScrollHasHorizontal = 0x400;

struct GuiScrollRect {
  int32_t left, top, right, bottom;
};

struct GuiScrollBarRecord {
  GuiScrollInfo info;
  int32_t shown;
  uint32_t pressed;  // bit n: part n is drawn pressed
  GuiScrollRect parts[kScrollPartCount];
  GuiScrollRect bar;
  int32_t lineStep;
  int32_t pageStep;  // 0 or -2: automatic
  int32_t layoutPending;
  int32_t wheelRemainder;
};

// Lengths of the skin pieces of one bar along its axis, and its thickness.
struct GuiScrollPieces {
  int32_t thickness;  // width of the vertical first arrow, height of the horizontal one
  int32_t firstArrow, secondArrow;
  int32_t capStart, capEnd;
};

struct GuiScrollBars;

class GuiScrollHost {
 public:
  virtual ~GuiScrollHost() = default;
  virtual intptr_t Send(void* window, uint32_t msg, uintptr_t wp, intptr_t lp) = 0;
  virtual void NotifyParent(void* window, uint32_t msg, uintptr_t wp, intptr_t lp) = 0;
  virtual void Paint(GuiScrollBars* state, int bar, uint32_t mask) = 0;
  virtual void SetTimer(void* window, uint32_t ms) = 0;
  virtual void KillTimer(void* window) = 0;
  // Takes the capture; true when the window already had it.
  virtual bool BeginCapture(void* window) = 0;
  virtual void EndCapture() = 0;
  virtual bool PrimaryButtonDown() = 0;
  virtual int WheelLines() = 0;
  virtual GuiScrollPieces Pieces(void* window, int bar) = 0;
};

struct GuiScrollBars {
  void* window;
  int32_t period;
  int32_t pressedPart;  // -1 none
  int32_t activeBar;    // -1 none
  int32_t dragOffset;
  GuiScrollBarRecord* vertical;
  GuiScrollBarRecord* horizontal;
  int32_t redrawOff;
  int32_t captureTaken;
  GuiScrollHost* host;
};

// The host new states get: the window system's, unless a test installed its
// own (null restores the platform's).
GuiScrollHost* GuiScrollPlatformHost();
void GuiScrollSetHostForTests(GuiScrollHost* host);

// Lifecycle.
GuiScrollBars* GuiScrollBarsInit(GuiScrollBars* state, void* window, uint32_t flags);
GuiScrollBars* GuiScrollBarsCreate(void* window, uint32_t flags);
void GuiScrollBarsFree(GuiScrollBars* state);
void GuiScrollBarsDestroy(GuiScrollBars* state);
void GuiScrollBarsEndTracking(GuiScrollBars* state);
void GuiScrollBarsCancelTracking(GuiScrollBars* state);

// Values. Bad states, bars or pointers give 0.
GuiScrollBarRecord* GuiScrollBarsRecord(GuiScrollBars* state, int bar);
int GuiScrollBarsGetInfo(GuiScrollBars* state, int bar, GuiScrollInfo* info);
int GuiScrollBarsSetInfo(GuiScrollBars* state, int bar, const GuiScrollInfo* info);
int GuiScrollBarsEnable(GuiScrollBars* state, int bar, int show);
int GuiScrollBarsIsEnabled(GuiScrollBars* state, int bar);
int GuiScrollBarsGetThickness(GuiScrollBars* state, int bar);
int GuiScrollBarsSetLineStep(GuiScrollBars* state, int bar, int step);
int GuiScrollBarsSetPageStep(GuiScrollBars* state, int bar, int step);
void GuiScrollBarsSetRedrawFlag(GuiScrollBars* state, int redraw);

// Forwarded messages (points in window coordinates unless named screen).
int GuiScrollBarsNcCalcSize(GuiScrollBars* state, GuiScrollRect* client);
int GuiScrollBarsHitTestAt(GuiScrollBars* state, int32_t x, int32_t y);
void GuiScrollBarsButtonDownAt(GuiScrollBars* state, int hitCode, int32_t x, int32_t y);
int GuiScrollBarsButtonUp(GuiScrollBars* state);
// A move with the mouse at (x, y) in window coordinates.
void GuiScrollBarsDragTo(GuiScrollBars* state, int32_t x, int32_t y);
// A repeat tick with the cursor at (x, y) in window coordinates.
void GuiScrollBarsTimerAt(GuiScrollBars* state, int32_t x, int32_t y);
int GuiScrollBarsMouseWheel(GuiScrollBars* state, int bar, int32_t delta);
constexpr int kHtHScroll = 6, kHtVScroll = 7;

// The model: pure functions on one bar.
int32_t GuiScrollMaxPos(const GuiScrollInfo& info);
int32_t GuiScrollPageStep(const GuiScrollBarRecord& bar);
// Clamps the values; true when the position moved.
bool GuiScrollClamp(GuiScrollInfo* info);
// Thumb length and offset for a track length.
int32_t GuiScrollThumbLength(const GuiScrollInfo& info, int32_t track, const GuiScrollPieces& p);
int32_t GuiScrollThumbOffset(const GuiScrollInfo& info, int32_t track, int32_t thumb);
int32_t GuiScrollPosForOffset(const GuiScrollInfo& info, int32_t track, int32_t thumb,
                              int32_t offset);
void GuiScrollLayout(GuiScrollBarRecord* bar, bool vertical, const GuiScrollPieces& p,
                     uint32_t mask);

}  // namespace gui
