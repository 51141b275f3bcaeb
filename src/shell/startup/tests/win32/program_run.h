#pragma once
// The program under Wine, watched from outside: the build folder's program
// ini with the test switches (the previous file comes back afterwards), the
// started processes, and finders for the windows of the program's process.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "screenshot.h"

namespace progtest {

using tess_test::BuildPath;

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline HWND WaitVisible(const char* cls, DWORD ms) {
  for (DWORD end = GetTickCount() + ms; GetTickCount() < end; Sleep(20)) {
    HWND w = FindWindowA(cls, nullptr);
    if (w && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

inline DWORD ExitCodeAfter(HANDLE process, DWORD ms) {
  DWORD code = 0xDEAD;
  if (WaitForSingleObject(process, ms) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
  return code;
}

// A window of this process with the class and, when non-zero, the id.
struct Found {
  DWORD process;
  const char* cls;
  int id;
  HWND window;
};

inline BOOL CALLBACK FindChild(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<Found*>(lp);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpiA(cls, f->cls) == 0 && (!f->id || GetDlgCtrlID(w) == f->id) && IsWindowVisible(w)) {
    f->window = w;
    return FALSE;
  }
  return TRUE;
}

inline BOOL CALLBACK FindTopLevel(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<Found*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != f->process) return TRUE;
  FindChild(w, lp);
  if (!f->window) EnumChildWindows(w, FindChild, lp);
  return f->window ? FALSE : TRUE;
}

inline HWND WaitForWindow(HANDLE process, const char* cls, int id, DWORD ms) {
  Found f{GetProcessId(process), cls, id, nullptr};
  for (DWORD end = GetTickCount() + ms; GetTickCount() < end && !f.window; Sleep(50))
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&f));
  return f.window;
}

// The frame's visible panels (the windows it owns, tips aside) and, of
// those, the ones whose centre point reaches the frame or the room: a panel
// drawn under them.
// Waits until the board window's middle band (clear of the panels at the
// screen's edges) shows more than the room's one background colour: on a
// loaded machine the room is set up, and its first scene drawn, seconds after
// the window appears, and until then the screen still shows the closed
// dialog. So the band is read only once the window answers again and has had
// time to repaint.
inline bool WaitForBoardDrawn(HWND board, DWORD ms) {
  for (DWORD end = GetTickCount() + ms;; Sleep(100)) {
    if (GetTickCount() >= end) return false;
    DWORD_PTR unused = 0;
    if (!SendMessageTimeoutA(board, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &unused)) continue;
    Sleep(500);
    RECT r{};
    GetWindowRect(board, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const RECT band{r.left + w * 3 / 10, r.top + h / 10, r.left + w * 6 / 10, r.top + h * 8 / 10};
    const tess_test::Image image = tess_test::CaptureScreen(band);
    std::vector<COLORREF> colours;
    for (int y = 0; y < image.height; y += 16)
      for (int x = 0; x < image.width; x += 16) {
        const COLORREF c = image.At(x, y);
        if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
      }
    if (colours.size() > 2) return true;
  }
}

struct PanelCheck {
  HWND frame;
  int visible;
  std::string covered;
};

inline BOOL CALLBACK CheckPanel(HWND w, LPARAM lp) {
  auto* k = reinterpret_cast<PanelCheck*>(lp);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (GetWindow(w, GW_OWNER) != k->frame || !IsWindowVisible(w) ||
      lstrcmpiA(cls, "tooltips_class32") == 0)
    return TRUE;
  RECT r{};
  GetWindowRect(w, &r);
  if (r.right <= r.left || r.bottom <= r.top) return TRUE;
  ++k->visible;
  HWND hit = WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  HWND top = hit ? GetAncestor(hit, GA_ROOT) : nullptr;
  // Panels the layout stacks on one another may cover each other, never
  // the frame or the room.
  if (top != w && !(top && GetWindow(top, GW_OWNER) == k->frame)) {
    char title[64] = {}, above[64] = {}, aboveTitle[64] = {};
    GetWindowTextA(w, title, sizeof title);
    if (top) GetClassNameA(top, above, sizeof above);
    if (top) GetWindowTextA(top, aboveTitle, sizeof aboveTitle);
    k->covered += std::string("\"") + title + "\" under " + above + " \"" + aboveTitle + "\"; ";
  }
  return TRUE;
}

inline PanelCheck CheckPanelsOnTop(HWND frame) {
  PanelCheck k{frame, 0, ""};
  EnumWindows(CheckPanel, reinterpret_cast<LPARAM>(&k));
  return k;
}

// The screen against each visible panel's own image. The panel's own image
// is what the screen shows at its place once the test has mapped it again on
// top of everything (hidden, then shown topmost): another process cannot
// have a panel paint into its own memory. Pixels under the frame's other
// visible windows are left out, as the layout may stack panels; a panel
// counts as shown when nine in ten of the rest match (a panel under the
// frame shows a few in a hundred).
struct PanelPixels {
  int compared = 0;
  std::string titles;     // "<title> <share>%" of the panels compared, in z-order
  std::string differing;  // "<title> <share>%" of each panel the screen does not show
};

struct OwnedWindows {
  HWND frame;
  std::vector<HWND> windows;  // visible, top first
};

inline BOOL CALLBACK CollectOwned(HWND w, LPARAM lp) {
  auto* o = reinterpret_cast<OwnedWindows*>(lp);
  RECT r{};
  if (GetWindow(w, GW_OWNER) == o->frame && IsWindowVisible(w) && GetWindowRect(w, &r) &&
      r.right > r.left && r.bottom > r.top)
    o->windows.push_back(w);
  return TRUE;
}

inline bool IsToolTip(HWND w) {
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  return lstrcmpiA(cls, "tooltips_class32") == 0;
}

inline PanelPixels ComparePanelsWithScreen(HWND frame) {
  OwnedWindows owned{frame, {}};
  EnumWindows(CollectOwned, reinterpret_cast<LPARAM>(&owned));
  std::vector<RECT> rects;
  for (HWND w : owned.windows) {
    RECT r{};
    GetWindowRect(w, &r);
    rects.push_back(r);
  }
  PanelPixels out;
  for (size_t i = 0; i < owned.windows.size(); ++i) {
    HWND w = owned.windows[i];
    if (IsToolTip(w)) continue;
    const RECT& r = rects[i];
    // Taken just before, so that a panel's own changes do not count.
    const tess_test::Image screen = tess_test::CaptureScreen(r);
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(w, nullptr, 0, 0, 0, 0, keep | SWP_NOZORDER | SWP_HIDEWINDOW);
    SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, keep | SWP_SHOWWINDOW);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    tess_test::PumpMessages(400);
    const tess_test::Image own = tess_test::CaptureScreen(r);
    int same = 0, counted = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        bool underOther = false;
        for (size_t j = 0; j < rects.size() && !underOther; ++j)
          underOther = j != i && PtInRect(&rects[j], POINT{x, y});
        if (underOther) continue;
        ++counted;
        same += tess_test::ColourNear(screen.At(x - r.left, y - r.top),
                                      own.At(x - r.left, y - r.top), 8);
      }
    if (counted == 0) continue;
    char title[64] = {};
    GetWindowTextA(w, title, sizeof title);
    const std::string shown = std::string(title) + " " + std::to_string(same * 100 / counted) + "%";
    ++out.compared;
    out.titles += shown + "; ";
    if (same * 10 < counted * 9) out.differing += shown + " shown; ";
  }
  return out;
}

// The pairs of the frame's visible panels and toolbars that overlap, as
// "<title> over <title>; ".
inline std::string OverlappingPanels(HWND frame) {
  OwnedWindows owned{frame, {}};
  EnumWindows(CollectOwned, reinterpret_cast<LPARAM>(&owned));
  std::string out;
  for (size_t i = 0; i < owned.windows.size(); ++i)
    for (size_t j = i + 1; j < owned.windows.size(); ++j) {
      HWND a = owned.windows[i], b = owned.windows[j];
      RECT ra{}, rb{}, both{};
      GetWindowRect(a, &ra);
      GetWindowRect(b, &rb);
      if (IsToolTip(a) || IsToolTip(b) || !IntersectRect(&both, &ra, &rb)) continue;
      char ta[64] = {}, tb[64] = {};
      GetWindowTextA(a, ta, sizeof ta);
      GetWindowTextA(b, tb, sizeof tb);
      out += std::string(ta) + " over " + tb + "; ";
    }
  return out;
}

// The build folder's program ini with the test switches; the previous file
// comes back afterwards.
// The welcome prompt's first answer opens the profile manager; its "Create
// later" leaves the player the Default profile. False when the manager does
// not come, does not go, or the Default profile is not made.
inline bool LeaveProfileManager(HANDLE process) {
  constexpr int kCreateLater = 362;
  HWND later = WaitForWindow(process, "CGUIBMPButton", kCreateLater, 15000);
  if (!later) return false;
  HWND manager = GetParent(later);
  PostMessageA(manager, WM_COMMAND, MAKEWPARAM(kCreateLater, BN_CLICKED),
               reinterpret_cast<LPARAM>(later));
  const std::string usr = BuildPath("Data/Default User/Default/Default.usr");
  for (DWORD end = GetTickCount() + 10000; GetTickCount() < end; Sleep(50))
    if (!IsWindow(manager) && GetFileAttributesA(usr.c_str()) != INVALID_FILE_ATTRIBUTES)
      return true;
  return false;
}

class ProgramRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ini_ = BuildPath("tessarin.ini");
    log_ = BuildPath("startup_test.log");
    saved_ = ReadFile(ini_);
    hadIni_ = GetFileAttributesA(ini_.c_str()) != INVALID_FILE_ATTRIBUTES;
    DeleteFileA(log_.c_str());
    Write("AutoTest", "1");
    Write("Log", log_.c_str());
  }
  void TearDown() override {
    for (PROCESS_INFORMATION& p : started_) {
      if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(p.hProcess, 1);
      CloseHandle(p.hProcess);
      CloseHandle(p.hThread);
    }
    if (hadIni_) {
      std::ofstream(ini_, std::ios::binary) << saved_;
    } else {
      DeleteFileA(ini_.c_str());
    }
  }
  void Write(const char* key, const char* value) {
    WritePrivateProfileStringA("debug", key, value, ini_.c_str());
  }
  HANDLE Start() {
    std::string exe = BuildPath("tessarin.exe");
    std::string folder = BuildPath("");
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &si, &pi))
      return nullptr;
    started_.push_back(pi);
    return pi.hProcess;
  }
  std::string Log() { return ReadFile(log_); }

  // The lobby once the lexicon is in, its Play button pressed: the
  // new-game dialog it opens, null when none came.
  HWND PressPlay(HANDLE run) {
    for (DWORD end = GetTickCount() + 20000; GetTickCount() < end; Sleep(50))
      if (Log().find("welcome answer") != std::string::npos) break;
    if (!LeaveProfileManager(run)) return nullptr;
    // The large lobby's Play button (the screen is 1280x1024).
    HWND play = WaitForWindow(run, "AnimButton", 1368, 10000);
    if (!play) return nullptr;
    PostMessageA(GetParent(play), WM_COMMAND, MAKEWPARAM(1368, BN_CLICKED),
                 reinterpret_cast<LPARAM>(play));
    for (DWORD end = GetTickCount() + 15000; GetTickCount() < end; Sleep(50))
      if (HWND ok = WaitForWindow(run, "CGUIBMPButton", IDOK, 100)) return GetParent(ok);
    return nullptr;
  }

  // The new-game dialog confirmed as a classic game with its proposed
  // players: the board window of the game room, null when it did not come.
  HWND ConfirmClassicGame(HANDLE run, HWND dialog) {
    constexpr int kClassicMode = 1081;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kClassicMode, BN_CLICKED), 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (DWORD end = GetTickCount() + 15000; GetTickCount() < end && IsWindow(dialog);)
      Sleep(50);
    if (IsWindow(dialog)) return nullptr;
    return WaitForWindow(run, "TessarinBoardWndClass", 0, 30000);
  }

  std::string ini_, log_, saved_;
  bool hadIni_ = false;
  std::vector<PROCESS_INFORMATION> started_;
};

}  // namespace progtest
