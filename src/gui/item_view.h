#pragma once
// GuiItemView: the scrolling engine under the list-like widgets. It keeps a
// vertical list of equal-height rows, the top index, a horizontal pixel
// offset and one slot per item (width and data word), keeps the scroll bars'
// ranges in step with the content and hands each visible row to the widget's
// row painter. Everything that touches the window system goes through a
// GuiItemViewHost, which the Windows side implements and tests replace.
//
// Layouts: with fixedWidth every item is as wide as the content; with
// dataIsIndex an item's data is its index. Bars are numbered as the scroll
// bars' engine numbers them: 0 horizontal, 1 vertical.
#include <cstddef>
#include <cstdint>

namespace gui {

struct GuiViewRect {
  int32_t left, top, right, bottom;  // right and bottom exclusive
};

// What the engine needs of one window's scroll bars.
struct GuiViewBarInfo {
  int32_t min, max, page, pos;
};
constexpr uint32_t kBarRange = 1, kBarPage = 2, kBarPos = 4, kBarDisableNoScroll = 8;

// Notifications to the parent (wParam the window) and bar messages.
constexpr uint32_t kMsgViewHorzPos = 0x8602, kMsgViewTopIndex = 0x8603;
constexpr uint32_t kMsgBarDragH = 0x8611, kMsgBarDragV = 0x8612;
constexpr uint32_t kMsgBarCorrectedH = 0x8613, kMsgBarCorrectedV = 0x8614;
constexpr int kBarHorz = 0, kBarVert = 1;

// Scroll codes of WM_VSCROLL and WM_HSCROLL.
enum GuiScrollCode : int {
  kSbLineUp = 0,
  kSbLineDown = 1,
  kSbPageUp = 2,
  kSbPageDown = 3,
  kSbThumbPosition = 4,
  kSbThumbTrack = 5,
  kSbTop = 6,
  kSbBottom = 7,
  kSbEnd = 8
};

class GuiItemViewHost {
 public:
  virtual ~GuiItemViewHost() = default;
  // Repaint requests (RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE); null
  // for the whole window.
  virtual void Invalidate(const GuiViewRect* rect) = 0;
  // Moves the pixels of the clip rectangle, repaints what was uncovered
  // when `repaint`, and updates the window.
  virtual void Scroll(int32_t dx, int32_t dy, const GuiViewRect& clip, bool repaint) = 0;
  virtual void NotifyParent(uint32_t message, intptr_t lParam) = 0;
  // The frame must be recomputed (a bar appeared or went).
  virtual void FrameChanged() = 0;
  // Bars. A missing bar answers false, 0 or a zero info.
  virtual bool HasBar(int bar) = 0;
  virtual void SetBar(int bar, uint32_t mask, const GuiViewBarInfo& info) = 0;
  virtual GuiViewBarInfo GetBar(int bar) = 0;
  virtual bool BarShown(int bar) = 0;
  virtual void ShowBar(int bar, bool show) = 0;
  virtual int32_t LineStep(int bar) = 0;
  virtual int32_t PageStep(int bar) = 0;  // effective: at least 1
  virtual int32_t SetLineStep(int bar, int32_t step) = 0;
  virtual int32_t SetPageStep(int bar, int32_t step) = 0;
  virtual int32_t BarThickness(int bar) = 0;
};

// The record a row painter receives.
struct GuiRowDraw {
  void* context;
  int32_t index;
  intptr_t extra;
  void* dc;
  GuiViewRect row;  // unclipped: from the view's left minus the offset
  intptr_t data;
};
using GuiRowPaintFn = void (*)(const GuiRowDraw* row);

struct GuiViewSlot {
  int32_t width;
  intptr_t data;
};

struct GuiItemView {
  GuiItemViewHost* host;
  GuiRowPaintFn rowPaint;
  int32_t count;
  int32_t top;
  int32_t wholeRows;
  int32_t partialRows;
  int32_t rowHeight;     // 0 until the widget sets it: no row counts before
  int32_t contentWidth;  // the widest item, or the widget's width
  GuiViewSlot* slots;    // null until the first growth; none in the slot-less layout
  int32_t capacity;
  int32_t offset;  // pixels scrolled to the left
  int32_t redrawOff;
  int32_t fixedWidth;
  int32_t dataIsIndex;
  int32_t notifyHorz;
  int32_t notifyVert;
  GuiViewRect view;  // normalised; rows start at its top, painting is clipped to it
  int32_t noFrameChange;
};

// Set-up: 1. The host is borrowed for the view's life.
int GuiItemViewInitEx(GuiItemView* v, GuiItemViewHost* host, GuiRowPaintFn paint, int dataIsIndex,
                      int fixedWidth);
int GuiItemViewDestroy(GuiItemView* v);

// Content. Insert: the new count, -1 for bad arguments, -2 without memory.
int32_t GuiItemViewInsertItem(GuiItemView* v, int32_t index, intptr_t data, int32_t width);
int32_t GuiItemViewDeleteRange(GuiItemView* v, int32_t first, int32_t last);
int32_t GuiItemViewDeleteItem(GuiItemView* v, int32_t index);
void GuiItemViewResetContent(GuiItemView* v);
int GuiItemViewSetCount(GuiItemView* v, int32_t count, int updateBars);
int32_t GuiItemViewGrow(GuiItemView* v, int32_t n);
intptr_t GuiItemViewGetItemData(const GuiItemView* v, int32_t index);
int32_t GuiItemViewGetItemWidth(const GuiItemView* v, int32_t index);
int GuiItemViewSetItemWidth(GuiItemView* v, int32_t index, int32_t width);
int32_t GuiItemViewFindData(const GuiItemView* v, int32_t start, intptr_t data);
void GuiItemViewRedrawData(GuiItemView* v, intptr_t data);

// Geometry and scrolling.
void GuiItemViewSetRowHeight(GuiItemView* v, int32_t height, int repaint);
int32_t GuiItemViewGetRowHeight(const GuiItemView* v);
void GuiItemViewSetContentWidth(GuiItemView* v, int32_t width);
// A new view rectangle (WM_SIZE and the widget's own layout).
void GuiItemViewSetRect(GuiItemView* v, const GuiViewRect& client);
void GuiItemViewResetBars(GuiItemView* v, const GuiViewRect& client);
void GuiItemViewUpdateVertBar(GuiItemView* v);
void GuiItemViewUpdateHorzBar(GuiItemView* v);
int32_t GuiItemViewGetTopIndex(const GuiItemView* v);
int32_t GuiItemViewGetVisibleCount(const GuiItemView* v);
int32_t GuiItemViewGetPartialCount(const GuiItemView* v);
int GuiItemViewScrollTo(GuiItemView* v, int32_t index);
int GuiItemViewEnsureVisible(GuiItemView* v, int32_t index, int asTop, int* changed);
int GuiItemViewEnsureRangeVisibleH(GuiItemView* v, int32_t left, int32_t right);
int GuiItemViewGetItemRect(const GuiItemView* v, int32_t index, GuiViewRect* out);
int GuiItemViewGetRangeRect(const GuiItemView* v, int32_t first, int32_t last, GuiViewRect* out);
int32_t GuiItemViewHitTest(const GuiItemView* v, int32_t x, int32_t y, int* outside);
// Outside flag in the high word, index in the low word; -1 for an empty view.
int32_t GuiItemViewItemFromPoint(const GuiItemView* v, int32_t x, int32_t y);
int32_t GuiItemViewHitTestEx(const GuiItemView* v, int32_t x, int32_t y, int* outside,
                             int32_t* contentX, int32_t* contentY);
int GuiItemViewIsRowShown(const GuiItemView* v, int32_t index);
int GuiItemViewSetNotify(GuiItemView* v, int flags);
void GuiItemViewRedrawItem(GuiItemView* v, int32_t index);
void GuiItemViewRedrawRange(GuiItemView* v, int32_t first, int32_t last);
void GuiItemViewPaint(GuiItemView* v, void* dc, const GuiViewRect& paint, void* context,
                      intptr_t extra);

// Messages.
void GuiItemViewVScroll(GuiItemView* v, int code, int32_t thumb);
void GuiItemViewHScroll(GuiItemView* v, int code, int32_t thumb);
void GuiItemViewSetTopIndex(GuiItemView* v, int32_t top);
void GuiItemViewSetHorzPos(GuiItemView* v, int32_t offset);
void GuiItemViewSetRedraw(GuiItemView* v, int redraw);

}  // namespace gui
