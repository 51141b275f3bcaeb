#include "ui/win32/about_box_win32.h"

#include <cstdio>
#include <memory>
#include <string>

#include "shell/thread_api.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"
#include "ui/about_credits.h"

namespace ui {
namespace {

constexpr RECT kScrollArea{0, 0, 398, 350};
constexpr UINT_PTR kRepaintTimer = 2;
constexpr UINT kRepaintMs = 5000;
constexpr DWORD kTickMs = 40;
constexpr COLORREF kBackColour = 0x0A0D0F;
constexpr COLORREF kTextColour = 0x025EEAFF;

struct AboutState {
  HWND dialog = nullptr;
  shell::ThreadApiWorker* worker = nullptr;
  DWORD lastSend = 0;
  bool started = false;  // the worker's first tick
  bool drawing = false;  // the drawing objects exist
  char version[kCreditLineWidth] = {};
  CreditScroller scroller{CreditLineCount()};
  HDC windowDc = nullptr;
  HDC memoryDc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr;
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
  HGDIOBJ oldFont = nullptr;
};
AboutState* g_about = nullptr;

// Runs on the worker thread: pokes the dialog every 40 ms. The send has a
// time-out, so a dialog that is stopping the worker is never waited on.
uint32_t ScrollTimerTick(uintptr_t arg) {
  auto* s = reinterpret_cast<AboutState*>(arg);
  const DWORD now = GetTickCount();
  if (!s->started) {
    s->started = true;
    s->lastSend = now;
  }
  if (now - s->lastSend > kTickMs) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(s->dialog, kMsgCreditsTick, 0, 0, SMTO_NORMAL, 100, &result);
    s->lastSend = GetTickCount();
  }
  Sleep(5);  // the worker loops without end; a short nap spares the processor
  return 1;
}

void ReadVersion(char* out, size_t size) {
  std::snprintf(out, size, "%s", kVersionErrorText);
  char path[MAX_PATH] = {};
  if (!GetModuleFileNameA(nullptr, path, sizeof path)) return;
  DWORD handle = 0;
  const DWORD bytes = GetFileVersionInfoSizeA(path, &handle);
  if (!bytes) return;
  std::unique_ptr<char[]> info(new char[bytes]);
  if (!GetFileVersionInfoA(path, 0, bytes, info.get())) return;
  WORD* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.get(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < 2 * sizeof(WORD))
    return;
  char key[64];
  std::snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\FileVersion", translation[0],
                translation[1]);
  char* value = nullptr;
  if (VerQueryValueA(info.get(), key, reinterpret_cast<void**>(&value), &length) && value &&
      length > 0)
    std::snprintf(out, size, "%.*s", static_cast<int>(length), value);
}

void CreateDrawing(AboutState* s) {
  s->windowDc = GetDC(s->dialog);
  s->memoryDc = CreateCompatibleDC(s->windowDc);
  s->bitmap = CreateCompatibleBitmap(s->windowDc, kScrollArea.right, kScrollArea.bottom);
  s->oldBitmap = SelectObject(s->memoryDc, s->bitmap);
  s->brush = CreateSolidBrush(kBackColour);
  s->font = CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "DejaVu Sans");
  s->oldFont = SelectObject(s->memoryDc, s->font);
  SetBkColor(s->memoryDc, kBackColour);
  SetTextColor(s->memoryDc, kTextColour);
  SetBkMode(s->memoryDc, TRANSPARENT);
  s->drawing = true;
}

void FreeDrawing(AboutState* s) {
  if (!s->drawing) return;
  SelectObject(s->memoryDc, s->oldFont);
  SelectObject(s->memoryDc, s->oldBitmap);
  DeleteObject(s->font);
  DeleteObject(s->bitmap);
  DeleteObject(s->brush);
  DeleteDC(s->memoryDc);
  ReleaseDC(s->dialog, s->windowDc);
  s->drawing = false;
}

void DrawFrame(AboutState* s) {
  RECT area = kScrollArea;
  FillRect(s->memoryDc, &area, s->brush);
  const int width = area.right - area.left;
  for (int i = 0; i < kCreditSlots; ++i) {
    const CreditLine line = GetCreditLine(s->scroller.SlotLine(i), s->version);
    if (line.text.empty()) continue;
    const int top = area.top + s->scroller.Offset() + i * kCreditLineStep;
    RECT r{area.left, top, area.right, top + kCreditLineStep};
    UINT format = DT_SINGLELINE | DT_NOPREFIX;
    if (line.align == kCreditIndent)
      r.left += width / 5;
    else
      format |= line.align;
    DrawTextA(s->memoryDc, line.text.c_str(), -1, &r, format);
  }
  BitBlt(s->windowDc, area.left, area.top, width, area.bottom - area.top, s->memoryDc, 0, 0,
         SRCCOPY);
}

void InitAbout(HWND dialog) {
  auto* s = new AboutState;
  s->dialog = dialog;
  g_about = s;
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
  shell::CenterWindow(dialog, nullptr);
  SetTimer(dialog, kRepaintTimer, kRepaintMs, nullptr);
  ReadVersion(s->version, sizeof s->version);
  char text[96];
  std::snprintf(text, sizeof text, "Version\n%s", s->version);
  SetDlgItemTextA(dialog, kIdAboutVersion, text);
  s->worker = shell::ThreadAPIStart("SCROLL_TIMER_THREAD", reinterpret_cast<uintptr_t>(s),
                                    ScrollTimerTick, nullptr, nullptr);
  SetFocus(dialog);
}

void OnTick(AboutState* s) {
  if (!s->drawing) {
    CreateDrawing(s);
    return;
  }
  if (s->scroller.State() == kScrollerFinished) return;
  DrawFrame(s);
  s->scroller.Tick();
}

void DestroyAbout(HWND dialog, AboutState* s) {
  KillTimer(dialog, kRepaintTimer);
  if (!s) return;
  shell::ThreadAPIStop(s->worker, 50);
  FreeDrawing(s);
  g_about = nullptr;
  delete s;
  SetWindowLongPtrA(dialog, DWLP_USER, 0);
}

}  // namespace

INT_PTR CALLBACK AboutWndProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  auto* s = reinterpret_cast<AboutState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      InitAbout(dialog);
      return FALSE;
    case kMsgCreditsTick:
      if (s) OnTick(s);
      return TRUE;
    case WM_TIMER: {
      RECT area = kScrollArea;
      RedrawWindow(dialog, &area, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      return TRUE;
    }
    case WM_KEYDOWN:
      if (s && wp == VK_ADD) s->scroller.Faster();
      if (s && wp == VK_SUBTRACT) s->scroller.Slower();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) EndDialog(dialog, 1);
      return TRUE;
    case WM_DESTROY:
      DestroyAbout(dialog, s);
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR ShowAboutBox(HWND owner) {
  return shell::DoModalDialog(GetModuleHandleA(nullptr), kAboutTemplate, owner, AboutWndProc, 0);
}

int GetAboutScrollSpeed() { return g_about ? g_about->scroller.Speed() : 0; }

// --- The timed message ---

struct TimedMessage {
  const char* text;
  UINT milliseconds;
  HWND over;
};

INT_PTR CALLBACK TimedMessageProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      const auto* m = reinterpret_cast<const TimedMessage*>(lp);
      if (m) {
        SetDlgItemTextA(dialog, kIdTimedText, m->text ? m->text : "");
        SetTimer(dialog, 0, m->milliseconds, nullptr);
        shell::CenterWindow(dialog, m->over);
      }
      return TRUE;
    }
    case WM_TIMER:
      DestroyWindow(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      return TRUE;
    default:
      return FALSE;
  }
}

HWND ShowTimedMessage(HWND over, const char* text, UINT milliseconds) {
  TimedMessage m{text, milliseconds, over};
  HWND dialog =
      CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kTimedMessageTemplate), over,
                         TimedMessageProc, reinterpret_cast<LPARAM>(&m));
  if (dialog) ShowWindow(dialog, SW_SHOW);
  return dialog;
}

}  // namespace ui
