#include "ui/win32/window_slots_win32.h"

#include <algorithm>

#include "gui/win32/gui_frame.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

HWND H(SlotWindow w) { return static_cast<HWND>(w); }

bool IsTopmost(HWND w) { return (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// A panel owned by a topmost frame must stand in the topmost band too, or
// the frame covers it. Not every platform lifts owned windows with their
// owner, so the registry does it. Only a panel not yet there is moved: one
// already topmost keeps its place under any dialog opened since.
void JoinOwnerBand(HWND w) {
  HWND owner = GetWindow(w, GW_OWNER);
  if (!owner || !IsTopmost(owner) || IsTopmost(w)) return;
  SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A panel of a topmost frame that comes into view goes to the top of the
// topmost band, above its fellow panels and toolbars. Asking for HWND_TOP
// is not enough: an owned window is then placed just above its owner,
// under every other window of the band, and an X11 display without a
// window manager raises a window only when it becomes the first one shown;
// the panel would be mapped where it last stood, under the frame raised
// since. HWND_TOPMOST puts it first. Null when the window keeps its place.
HWND ShowingInsertAfter(HWND w) {
  if (IsWindowVisible(w)) return nullptr;
  HWND owner = GetWindow(w, GW_OWNER);
  return owner && IsTopmost(owner) ? HWND_TOPMOST : nullptr;
}

// The insert-after window and flags of a move that may show the window.
HWND MoveInsertAfter(HWND w, uint32_t* flags) {
  if (!(*flags & SWP_SHOWWINDOW)) return HWND_TOP;
  JoinOwnerBand(w);
  HWND after = ShowingInsertAfter(w);
  if (!after) return HWND_TOP;
  *flags &= ~static_cast<uint32_t>(SWP_NOZORDER);
  return after;
}

SlotRect FromRect(const RECT& r) { return SlotRect{r.left, r.top, r.right, r.bottom}; }

class HwndSlotPort : public SlotWindowPort {
 public:
  void Show(SlotWindow w, bool show) override {
    if (!show) {
      ShowWindow(H(w), SW_HIDE);
      return;
    }
    JoinOwnerBand(H(w));
    HWND after = ShowingInsertAfter(H(w));
    ShowWindow(H(w), SW_SHOW);
    if (after) SetWindowPos(H(w), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  void Enable(SlotWindow w, bool enable) override { EnableWindow(H(w), enable); }
  SlotRect WindowRect(SlotWindow w) override {
    RECT r{};
    GetWindowRect(H(w), &r);
    return FromRect(r);
  }
  SlotRect ClientRect(SlotWindow w) override {
    RECT r{};
    GetClientRect(H(w), &r);
    return FromRect(r);
  }
  void DesktopSize(int32_t* width, int32_t* height) override {
    RECT r{};
    GetWindowRect(GetDesktopWindow(), &r);
    *width = r.right - r.left;
    *height = r.bottom - r.top;
  }
  // A failed batch is not fatal: the moves then go one by one.
  void BeginMoves(int count) override { batch_ = BeginDeferWindowPos(count); }
  void Move(SlotWindow w, const SlotRect& r, uint32_t flags) override {
    HWND after = MoveInsertAfter(H(w), &flags);
    if (batch_) {
      HDWP next = DeferWindowPos(batch_, H(w), after, r.left, r.top, r.right - r.left,
                                 r.bottom - r.top, flags);
      if (next) {
        batch_ = next;
        return;
      }
      batch_ = nullptr;  // the system freed the batch
    }
    SetPos(w, r, flags);
  }
  void EndMoves() override {
    if (batch_) EndDeferWindowPos(batch_);
    batch_ = nullptr;
  }
  void SetPos(SlotWindow w, const SlotRect& r, uint32_t flags) override {
    HWND after = MoveInsertAfter(H(w), &flags);
    SetWindowPos(H(w), after, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
  }
  intptr_t Send(SlotWindow w, uint32_t m, uintptr_t wp, intptr_t lp) override {
    return SendMessageA(H(w), m, wp, lp);
  }
  bool Post(SlotWindow w, uint32_t m, uintptr_t wp, intptr_t lp) override {
    return PostMessageA(H(w), m, wp, lp) != 0;
  }
  void CheckButton(SlotWindow toolbar, int id, bool checked) override {
    if (HWND button = GetDlgItem(H(toolbar), id))
      SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void Destroy(SlotWindow w) override { DestroyWindow(H(w)); }
  void RepaintAll() override { InvalidateRect(nullptr, nullptr, TRUE); }
  void Invalidate(SlotWindow w) override { InvalidateRect(H(w), nullptr, FALSE); }
  bool SetSizingBorder(SlotWindow w, bool sizable) override {
    return gui::GuiFrameSetSizingBorder(H(w), sizable);
  }
  void RelayoutPlayers(SlotWindow panel) override {
    // The players panel lays its rows out on a size notice of its own size.
    RECT r{};
    GetClientRect(H(panel), &r);
    SendMessageA(H(panel), WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right, r.bottom));
  }

 private:
  HDWP batch_ = nullptr;
};

HwndSlotPort g_port;

}  // namespace

void InstallWindowSlotPort() { SetSlotWindowPort(&g_port); }

void SlotWindowHook(int slot, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      WindowSlotOp(kOpUnregister, slot, 0);
      break;
    case WM_SIZE: {
      if (SendMessageA(window, kMsgSlotQuery, 1, 0) == 1) break;
      RECT r{};
      GetWindowRect(window, &r);
      const SlotRect rect = FromRect(r);
      WindowSlotOp(kOpSetRect, slot, reinterpret_cast<intptr_t>(&rect));
      break;
    }
    case WM_WINDOWPOSCHANGED: {
      const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!wp) break;
      SlotRect stored{};
      WindowSlotOp(kOpGetRect, slot, reinterpret_cast<intptr_t>(&stored));
      SlotWindowPos pos{wp->x, wp->y, stored.right - stored.left, stored.bottom - stored.top,
                        wp->flags};
      WindowSlotOp(kOpStoreRect, slot, reinterpret_cast<intptr_t>(&pos));
      break;
    }
    case kMsgSlotQuery:
      if (lParam == 0) WindowSlotOp(kOpSetRoomFlag, slot, static_cast<intptr_t>(wParam));
      break;
    default:
      break;
  }
}

void RaiseOwnedSlotWindows() {
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (HWND w = H(GetSlotWindow(slot))) JoinOwnerBand(w);
}

void PlaceAtRight(int slot, int column) {
  HWND window = H(GetSlotWindow(slot));
  if (!window) return;
  int32_t width = 0, height = 0;
  GetDisplaySize(&width, &height);
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int x = width - (column + 1) * (w + 12);
  if (x < 0 || height <= h) return;
  SetWindowPos(window, nullptr, x, std::min(height * 3 / 8, height - h), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
