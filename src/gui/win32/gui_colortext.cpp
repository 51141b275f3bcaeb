// CGUIColorText: a read-only, vertically scrolling view of coloured
// paragraphs wrapped at word delimiters, whose link paragraphs are chosen
// with the mouse or the arrow keys. The wrapping and the links are the
// portable ColorTextModel; each laid-out line is one row of the item view.
//
// Runs are measured in the font they are drawn with (italic or bold), so
// that a styled run is never cut at its right edge; a word wider than the
// whole view is cut where it stops fitting; Page Up and Page Down move no
// link; a zero row height never divides the integral-height rounding; the
// scroll bars' messages reach the item view.
#include <windows.h>

#include <algorithm>
#include <new>
#include <vector>

#include "gui/color_text_model.h"
#include "gui/gui_core.h"
#include "gui/list_view_skin.h"
#include "gui/view_skin.h"
#include "gui/win32/gui_listview.h"
#include "gui/win32/gui_win32.h"
#include "gui/win32/item_view_win32.h"

namespace gui {

namespace {

const char kClassName[] = "CGUIColorText";
constexpr UINT kMsgAppend = 0x8621, kMsgGetSelected = 0x8626, kMsgSelect = 0x8627,
               kMsgFind = 0x8628, kMsgSetGap = 0x8629, kMsgGetGap = 0x862a, kMsgEmpty = 0x862c,
               kMsgGetDelimiters = 0x862d, kMsgSetDelimiters = 0x862e;
constexpr DWORD kStyleNoLinks = 0x1, kStyleIntegralHeight = 0x200;
constexpr UINT kTextFormat = DT_NOPREFIX | DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER;
HBRUSH g_classBrush = nullptr;  // made by the first window, freed at unregistration

COLORREF Colour(int role) {
  GuiSkin* skin = GuiGetSkin();
  if (skin) return skin->listViewColors[role];
  switch (role) {
    case kLvBackground:
      return GetSysColor(COLOR_WINDOW);
    case kLvSelectedBackground:
      return GetSysColor(COLOR_HIGHLIGHT);
    case kLvSelectedText:
      return GetSysColor(COLOR_HIGHLIGHTTEXT);
    default:
      return GetSysColor(COLOR_WINDOWTEXT);
  }
}

void RealizeSkinPalette(HDC dc) {
  GuiSkin* skin = GuiGetSkin();
  if (skin && skin->palette) GuiSelectRealizePalette(dc, 0, static_cast<HPALETTE>(skin->palette));
}

struct ColorTextState;

class ColorTextWindowHost final : public ColorTextHost {
 public:
  ColorTextState* s = nullptr;
  int32_t FitText(uint32_t flags, const char* text, int32_t length, int32_t maxWidth,
                  int32_t* width) override;
  int32_t TextWidth(uint32_t flags, const char* text, int32_t length) override;
  bool LineAdded(int32_t line) override;
  void LinesCleared() override;
  void RedrawLine(int32_t line) override;
  void EnsureLineVisible(int32_t line) override;
};

struct ColorTextState {
  HWND window = nullptr;
  ColorTextWindowHost host;
  ColorTextModel model{&host};
  GuiViewHostWin32 viewHost;
  GuiItemView view{};
  HFONT font = nullptr, italic = nullptr, bold = nullptr;
};

ColorTextState* StateOf(HWND w) {
  return reinterpret_cast<ColorTextState*>(GetWindowLongPtrA(w, 0));
}

HFONT FontFor(const ColorTextState* s, uint32_t flags) {
  if ((flags & kCtBold) && s->bold) return s->bold;
  if ((flags & kCtItalic) && s->italic) return s->italic;
  return s->font;
}

// Measures in the run's own font on a DC of the window.
class Measuring {
 public:
  Measuring(ColorTextState* s, uint32_t flags) : w_(s->window), dc_(GetDC(s->window)) {
    old_ = SelectObject(dc_, FontFor(s, flags));
  }
  ~Measuring() {
    SelectObject(dc_, old_);
    ReleaseDC(w_, dc_);
  }
  HDC dc() const { return dc_; }

 private:
  HWND w_;
  HDC dc_;
  HGDIOBJ old_;
};

int32_t ColorTextWindowHost::FitText(uint32_t flags, const char* text, int32_t length,
                                     int32_t maxWidth, int32_t* width) {
  *width = 0;
  if (length <= 0 || maxWidth < 0) return 0;
  Measuring m(s, flags);
  std::vector<INT> ends(static_cast<size_t>(length));
  INT fit = 0;
  SIZE size{};
  if (!GetTextExtentExPointA(m.dc(), text, length, maxWidth, &fit, ends.data(), &size)) return 0;
  fit = std::min<INT>(std::max<INT>(fit, 0), length);
  *width = fit > 0 ? ends[static_cast<size_t>(fit) - 1] : 0;
  return fit;
}

int32_t ColorTextWindowHost::TextWidth(uint32_t flags, const char* text, int32_t length) {
  Measuring m(s, flags);
  SIZE size{};
  GetTextExtentPoint32A(m.dc(), text, length, &size);
  return size.cx;
}

bool ColorTextWindowHost::LineAdded(int32_t line) {
  return GuiItemViewInsertItem(&s->view, line, line, s->model.viewWidth()) >= 0;
}

void ColorTextWindowHost::LinesCleared() { GuiItemViewResetContent(&s->view); }
void ColorTextWindowHost::RedrawLine(int32_t line) { GuiItemViewRedrawItem(&s->view, line); }
void ColorTextWindowHost::EnsureLineVisible(int32_t line) {
  GuiItemViewEnsureVisible(&s->view, line, 0, nullptr);
}

void Measure(ColorTextState* s) {
  HDC dc = GetDC(s->window);
  HGDIOBJ old = SelectObject(dc, s->font);
  SIZE size{};
  GetTextExtentPoint32A(dc, "WAXZyjpg", 8, &size);
  SelectObject(dc, old);
  ReleaseDC(s->window, dc);
  GuiItemViewSetRowHeight(&s->view, std::max<int32_t>(size.cy, 1), 0);
  s->model.SetRunGap(6);
}

void PaintLine(const GuiRowDraw* row) {
  auto* s = static_cast<ColorTextState*>(row->context);
  if (!s || row->index < 0) return;
  const auto& lines = s->model.lines();
  if (row->index >= static_cast<int32_t>(lines.size())) return;
  HDC dc = static_cast<HDC>(row->dc);
  const ColorTextLine& line = lines[static_cast<size_t>(row->index)];
  bool focused = GetFocus() == s->window;
  SetBkMode(dc, TRANSPARENT);
  for (int32_t k = 0; k < line.runCount; ++k) {
    const ColorTextRun& r = s->model.runs()[static_cast<size_t>(line.firstRun + k)];
    RECT rc{row->row.left + r.x, row->row.top, row->row.left + r.x + r.width, row->row.bottom};
    uint32_t flags = r.paragraph->flags;
    COLORREF text = (flags & kCtOwnColour) ? r.paragraph->colour : Colour(kLvText);
    if (r.selected) text = Colour(kLvSelectedText);
    GuiFillRectColor(dc, &rc, Colour(r.selected ? kLvSelectedBackground : kLvBackground));
    SetTextColor(dc, text);
    HGDIOBJ old = SelectObject(dc, FontFor(s, flags));
    DrawTextA(dc, r.text, r.length, &rc, kTextFormat);
    SelectObject(dc, old);
    if (focused && r.selected) {
      RECT f = rc;
      if (r.width > s->model.runGap()) f.right -= s->model.runGap();
      DrawFocusRect(dc, &f);
    }
  }
}

void RedrawSelection(ColorTextState* s) {
  for (int32_t i = 0; i < s->model.selectedLineCount(); ++i)
    GuiItemViewRedrawItem(&s->view, s->model.selectedFirstLine() + i);
}

void NotifyParent(ColorTextState* s, int code) {
  HWND parent = GetParent(s->window);
  if (!parent) return;
  WPARAM wp = MAKEWPARAM(GetWindowLongPtrA(s->window, GWLP_ID), code);
  if (code == 2)
    PostMessageA(parent, WM_COMMAND, wp, reinterpret_cast<LPARAM>(s->window));
  else
    SendMessageA(parent, WM_COMMAND, wp, reinterpret_cast<LPARAM>(s->window));
}

// --- Messages.

LRESULT OnNcCreate(HWND w, CREATESTRUCTA* cs) {
  auto* s = new (std::nothrow) ColorTextState;
  if (!s) return 0;
  s->window = w;
  s->host.s = s;
  uint32_t bars = static_cast<uint32_t>(cs->dwExStyle) & ~(kViewVerticalBar | kViewHorizontalBar);
  if (cs->style & WS_VSCROLL) bars |= kViewVerticalBar;
  if (cs->style & WS_HSCROLL) bars |= kViewHorizontalBar;
  GuiViewStripBarStyles(w);
  s->viewHost.Attach(w, bars);
  GuiItemViewInitEx(&s->view, &s->viewHost, PaintLine, 0, 0);
  s->font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  s->italic = CreateFontA(-14, 0, 0, 0, 400, TRUE, 0, 0, 0, 0, 0, 2, 2, "");
  s->bold = CreateFontA(-14, 0, 0, 0, 700, FALSE, 0, 0, 0, 0, 0, 2, 2, "");
  if (!GetClassLongPtrA(w, GCLP_HBRBACKGROUND)) {
    if (!g_classBrush) g_classBrush = CreateSolidBrush(Colour(kLvBackground));
    SetClassLongPtrA(w, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(g_classBrush));
  }
  SetWindowLongPtrA(w, 0, reinterpret_cast<LONG_PTR>(s));
  return 1;
}

void OnCreate(ColorTextState* s) {
  Measure(s);
  GuiItemViewResetBarsToClient(&s->view, s->window);
  if (!(GetWindowLongA(s->window, GWL_STYLE) & kStyleIntegralHeight)) return;
  RECT wr;
  GetWindowRect(s->window, &wr);
  int32_t border = GuiListBorderWidth(GuiGetSkin());
  int32_t h = GuiItemViewGetRowHeight(&s->view);
  int32_t inner = wr.bottom - wr.top - 2 * border;
  int32_t r = h > 0 ? inner % h : 0;
  if (r > 0)
    SetWindowPos(s->window, nullptr, 0, 0, wr.right - wr.left, wr.bottom - wr.top - r,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void OnNcDestroy(ColorTextState* s) {
  GuiItemViewDestroy(&s->view);
  if (s->italic) DeleteObject(s->italic);
  if (s->bold) DeleteObject(s->bold);
  SetWindowLongPtrA(s->window, 0, 0);
  delete s;
}

void OnSize(ColorTextState* s) {
  GuiItemViewSizeToClient(&s->view, s->window);
  RECT rc;
  GetClientRect(s->window, &rc);
  s->model.SetViewWidth(rc.right - rc.left);
  s->model.Relayout();
  RedrawWindow(s->window, nullptr, nullptr, RDW_INTERNALPAINT | RDW_UPDATENOW);
}

void OnPaint(ColorTextState* s, HDC given) {
  PAINTSTRUCT ps;
  HDC dc = given ? given : BeginPaint(s->window, &ps);
  RECT paint = ps.rcPaint;
  if (given) GetClientRect(s->window, &paint);
  RealizeSkinPalette(dc);
  HWND parent = GetParent(s->window);
  if (parent)
    SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(s->window));
  GuiItemViewPaint(&s->view, dc, GuiViewRectOf(paint), s, 0);
  if (!given) EndPaint(s->window, &ps);
}

LRESULT OnEraseBkgnd(ColorTextState* s, HDC dc) {
  RealizeSkinPalette(dc);
  RECT rc;
  GetClientRect(s->window, &rc);
  HWND parent = GetParent(s->window);
  auto brush = parent ? reinterpret_cast<HBRUSH>(SendMessageA(parent, WM_CTLCOLORSTATIC,
                                                              reinterpret_cast<WPARAM>(dc),
                                                              reinterpret_cast<LPARAM>(s->window)))
                      : nullptr;
  if (brush)
    FillRect(dc, &rc, brush);
  else
    GuiFillRectColor(dc, &rc, Colour(kLvBackground));
  return 1;
}

LRESULT OnNcCalcSize(ColorTextState* s, WPARAM wp, LPARAM lp) {
  LONG style = GetWindowLongA(s->window, GWL_STYLE);
  LONG ex = GetWindowLongA(s->window, GWL_EXSTYLE);
  int32_t border = (style & WS_BORDER) || (ex & 0x800) ? GuiListBorderWidth(GuiGetSkin()) : 0;
  LRESULT r = GuiItemViewNcCalcSize(s->window, wp, lp, border);
  RECT* rc = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
  s->model.SetViewWidth(rc->right - rc->left);
  return r;
}

// A press on a link selects it; the result says whether one was chosen.
LRESULT OnClick(ColorTextState* s, LPARAM lp) {
  if (GetWindowLongA(s->window, GWL_STYLE) & kStyleNoLinks) return 0;
  int outside = 0;
  int32_t x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
  int32_t cx = 0, cy = 0;
  int32_t line = GuiItemViewHitTestEx(&s->view, x, y, &outside, &cx, &cy);
  int32_t h = GuiItemViewGetRowHeight(&s->view);
  if (line < 0 || outside || h <= 0 || cy / h >= static_cast<int32_t>(s->model.lines().size()))
    return 0;
  if (!s->model.Click(cy / h, cx)) return 0;
  NotifyParent(s, 1);
  return 1;
}

LRESULT PrivateMessage(ColorTextState* s, UINT msg, WPARAM wp, LPARAM lp) {
  ColorTextModel& m = s->model;
  switch (msg) {
    case kMsgAppend:
      if (lp) m.Append(*reinterpret_cast<const ColorTextParagraph*>(lp));
      return 0;
    case kMsgGetSelected:
      if (!m.selected() || !lp) return 0;
      *reinterpret_cast<ColorTextParagraph*>(lp) = *m.selected();
      return 1;
    case kMsgSelect:
      return m.SelectParagraph(reinterpret_cast<const ColorTextParagraph*>(lp)) ? 1 : 0;
    case kMsgFind:
      return reinterpret_cast<LRESULT>(m.Find(
          static_cast<int>(wp), reinterpret_cast<const char*>(lp), static_cast<uintptr_t>(lp)));
    case kMsgSetGap:
      return m.SetRunGap(static_cast<int32_t>(wp));
    case kMsgGetGap:
      return m.runGap();
    case kMsgEmpty:
      m.Clear();
      if (lp) RedrawWindow(s->window, nullptr, nullptr, RDW_INTERNALPAINT | RDW_UPDATENOW);
      return 0;
    case kMsgGetDelimiters:
      return reinterpret_cast<LRESULT>(m.delimiters().c_str());
    case kMsgSetDelimiters:
      return m.SetDelimiters(reinterpret_cast<const char*>(lp), static_cast<int32_t>(wp));
    case 0x8601:
      SetWindowPos(s->window, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
      return 0;
    default:
      GuiItemViewScrollMessage(&s->view, msg, wp, lp);
      return 0;
  }
}

LRESULT CALLBACK ColorTextProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    if (!OnNcCreate(w, reinterpret_cast<CREATESTRUCTA*>(lp))) return 0;
    return DefWindowProcA(w, msg, wp, lp);
  }
  ColorTextState* s = StateOf(w);
  if (!s) return DefWindowProcA(w, msg, wp, lp);
  switch (msg) {
    case WM_CREATE:
      OnCreate(s);
      return 0;
    case WM_NCDESTROY:
      OnNcDestroy(s);
      return 0;
    case WM_SIZE:
      OnSize(s);
      return 0;
    case WM_SETFONT: {
      HFONT old = s->font;
      s->font = wp ? reinterpret_cast<HFONT>(wp) : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
      Measure(s);
      s->model.Relayout();
      if (lp) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s->font);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      DefWindowProcA(w, msg, wp, lp);
      RedrawSelection(s);
      return 0;
    case WM_PAINT:
      OnPaint(s, reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      return OnEraseBkgnd(s, reinterpret_cast<HDC>(wp));
    case WM_CTLCOLORSTATIC:
      return static_cast<LRESULT>(GetClassLongPtrA(w, GCLP_HBRBACKGROUND));
    case WM_NCCALCSIZE:
      return OnNcCalcSize(s, wp, lp);
    case WM_NCHITTEST:
      return GuiItemViewNcHitTest(w, lp);
    case WM_NCPAINT:
      GuiItemViewNcPaint(w, reinterpret_cast<HRGN>(wp));
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      LRESULT r = DefWindowProcA(w, msg, wp, lp);
      SetFocus(w);
      return r;
    }
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
      GuiItemViewScrollMessage(&s->view, msg, wp, lp);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (s->model.Navigate(static_cast<uint32_t>(wp))) NotifyParent(s, 1);
      return 0;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_KEYMENU) SendMessageA(GetParent(w), msg, wp, lp);
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      LRESULT r = OnClick(s, lp);
      SetFocus(w);
      if (msg == WM_LBUTTONDBLCLK) NotifyParent(s, 2);
      return r;
    }
    default:
      break;
  }
  if (msg >= 0x8601 && msg <= 0x862e) return PrivateMessage(s, msg, wp, lp);
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

int RegisterCGUIColorText(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_CLASSDC | CS_GLOBALCLASS;
  wc.lpfnWndProc = ColorTextProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  return RegisterClassExA(&wc) ? 1 : 0;
}

int UnregisterCGUIColorText(HINSTANCE instance) {
  int r = UnregisterClassA(kClassName, instance) ? 1 : 0;
  if (g_classBrush) DeleteObject(g_classBrush);
  g_classBrush = nullptr;
  return r;
}

}  // namespace gui
