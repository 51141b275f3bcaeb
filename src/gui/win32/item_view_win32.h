#pragma once
// The item-view engine on a real window: its host and the message handlers
// that the list-like widgets share (background, border, non-client size, hit
// test and painting, the bars' own messages, scroll messages).
//
// The host drives either the skinned non-client scroll bars (the engine of
// gui_scrollbars, forwarded through the handlers taking the host) or the
// system's bars (the handlers taking the window). With the system's bars the
// engine's values live in the host, the bars are shown and hidden on the
// engine's word only, and a clamped position is reported back to the window
// as the skinned bars report it (WM_APP+0x613/0x614).
#include <windows.h>

#include "gui/gui_scrollbars.h"
#include "gui/item_view.h"

namespace gui {

// Bar flags given at creation: 0x200 a vertical bar, 0x400 a horizontal one.
constexpr uint32_t kViewVerticalBar = 0x200, kViewHorizontalBar = 0x400;
// The flags for a window's create parameters; WS_HSCROLL and WS_VSCROLL are
// then taken off the style so that nothing is shown before it is needed.
uint32_t GuiViewBarFlags(DWORD style, DWORD exStyle, bool horizontalToo);
void GuiViewStripBarStyles(HWND window);

class GuiViewHostWin32 final : public GuiItemViewHost {
 public:
  ~GuiViewHostWin32() override;
  // The bars named by the flags, skinned or the system's; false when memory
  // ran out.
  bool Attach(HWND window, uint32_t barFlags, bool skinned = false);
  HWND window() const { return window_; }
  GuiScrollBars* bars() { return &bars_; }
  void SetRedraw(bool on);

  void Invalidate(const GuiViewRect* rect) override;
  void Scroll(int32_t dx, int32_t dy, const GuiViewRect& clip, bool repaint) override;
  void NotifyParent(uint32_t message, intptr_t lParam) override;
  void FrameChanged() override;
  bool HasBar(int bar) override;
  void SetBar(int bar, uint32_t mask, const GuiViewBarInfo& info) override;
  GuiViewBarInfo GetBar(int bar) override;
  bool BarShown(int bar) override;
  void ShowBar(int bar, bool show) override;
  int32_t LineStep(int bar) override;
  int32_t PageStep(int bar) override;
  int32_t SetLineStep(int bar, int32_t step) override;
  int32_t SetPageStep(int bar, int32_t step) override;
  int32_t BarThickness(int bar) override;

 private:
  void Push(int bar);
  HWND window_ = nullptr;
  bool skinned_ = false;
  GuiScrollBars bars_{};
  // The system's bars.
  bool has_[2] = {false, false};
  bool shown_[2] = {false, false};
  bool redraw_ = true;
  GuiViewBarInfo info_[2] = {};
  int32_t line_[2] = {1, 1};
  int32_t page_[2] = {0, 0};
};

GuiViewRect GuiViewRectOf(const RECT& r);
RECT GuiRectOf(const GuiViewRect& r);

// Shared handlers.
LRESULT GuiItemViewEraseBkgnd(GuiItemView* view, HWND window, HDC dc, COLORREF background);
// With the system's bars: the system paints and sizes them, the skin's list
// border is drawn around them.
void GuiItemViewNcPaint(HWND window, HRGN region);
LRESULT GuiItemViewNcCalcSize(HWND window, WPARAM wp, LPARAM lp, int32_t border);
LRESULT GuiItemViewNcHitTest(HWND window, LPARAM lp);

// With skinned bars:
// The skin's border (when `border` is above 0), then the bars.
void GuiItemViewNcPaint(GuiViewHostWin32* host, int32_t border);
// Insets the proposed rectangle by the border, then takes the shown bars
// off; 0x700 when valid rectangles were asked for.
LRESULT GuiItemViewNcCalcSize(GuiViewHostWin32* host, WPARAM wp, LPARAM lp, int32_t border);
// The bars' hit codes first, then the client area and the border.
LRESULT GuiItemViewNcHitTest(GuiViewHostWin32* host, LPARAM lp);
// The bars' own messages: presses, moves and releases over them, their
// repeat timer, the wheel and the end of tracking when the window hides.
// True when the message was theirs (its result in *result).
bool GuiItemViewBarMessage(GuiViewHostWin32* host, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
// The engine's rectangle from the client area.
void GuiItemViewSizeToClient(GuiItemView* view, HWND window);
void GuiItemViewResetBarsToClient(GuiItemView* view, HWND window);
// Scroll and bar messages; true when the message was the engine's.
bool GuiItemViewScrollMessage(GuiItemView* view, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace gui
