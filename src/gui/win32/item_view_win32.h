#pragma once
// The item-view engine on a real window: its host and the message handlers
// that the list-like widgets share (background, border, non-client size and
// hit test, scroll messages).
//
// The scroll bars are the system's, driven through the host: the engine's
// bar values live here, the bars are shown and hidden on the engine's word
// only, and a clamped position is reported back to the window the way the
// skinned bars do (WM_APP+0x613/0x614), so the engine cannot tell them apart.
#include <windows.h>

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
  void Attach(HWND window, uint32_t barFlags);
  HWND window() const { return window_; }
  void SetRedraw(bool on) { redraw_ = on; }

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
void GuiItemViewNcPaint(HWND window, HRGN region);
// Insets the proposed rectangle by the border, then lets the system take its
// bars off; 0x700 when valid rectangles were asked for.
LRESULT GuiItemViewNcCalcSize(HWND window, WPARAM wp, LPARAM lp, int32_t border);
LRESULT GuiItemViewNcHitTest(HWND window, LPARAM lp);
// The engine's rectangle from the client area.
void GuiItemViewSizeToClient(GuiItemView* view, HWND window);
void GuiItemViewResetBarsToClient(GuiItemView* view, HWND window);
// Scroll and bar messages; true when the message was the engine's.
bool GuiItemViewScrollMessage(GuiItemView* view, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace gui
