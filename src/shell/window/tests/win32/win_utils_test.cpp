// Window, bitmap, printer-record and list-column helpers against real
// windows under Wine.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "gui/gui_memory.h"
#include "shell/window/list_columns_win32.h"
#include "shell/window/win_utils.h"

namespace {

HWND Window(const char* cls, DWORD style, int x, int y, int w, int h, HWND parent = nullptr) {
  return CreateWindowExA(0, cls, "", style, x, y, w, h, parent, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

TEST(WinUtils, CenterWindowKeepsALargeChildAtOne) {
  HWND parent = Window("STATIC", WS_OVERLAPPEDWINDOW, 50, 50, 300, 200);
  HWND small = Window("STATIC", WS_CHILD, 0, 0, 100, 50, parent);
  HWND large = Window("STATIC", WS_CHILD, 0, 0, 600, 400, parent);
  RECT client;
  GetClientRect(parent, &client);
  shell::CenterWindow(small, parent);
  RECT r;
  GetWindowRect(small, &r);
  shell::ScreenRectToClient(parent, &r);
  EXPECT_EQ(r.left, (client.right - 100) / 2);
  EXPECT_EQ(r.top, (client.bottom - 50) / 2);
  shell::CenterWindow(large, nullptr);  // null: the parent
  GetWindowRect(large, &r);
  shell::ScreenRectToClient(parent, &r);
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.top, 1);
  DestroyWindow(parent);
}

TEST(WinUtils, ScrollListBoxToItem) {
  HWND list = Window("LISTBOX", WS_POPUP | LBS_NOINTEGRALHEIGHT, 0, 0, 120, 100);
  for (int i = 0; i < 30; ++i)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
  int itemHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  RECT c;
  GetClientRect(list, &c);
  int rows = std::max(1, static_cast<int>(c.bottom / itemHeight));
  EXPECT_EQ(shell::ScrollListBoxToItem(nullptr, 3), -1);
  EXPECT_EQ(shell::ScrollListBoxToItem(list, 30), -1);
  EXPECT_EQ(shell::ScrollListBoxToItem(list, -1), -1);
  EXPECT_EQ(shell::ScrollListBoxToItem(list, 20), 0);  // the previous top
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 20 - rows + 1);
  EXPECT_EQ(shell::ScrollListBoxToItem(list, 2), 20 - rows + 1);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 2);
  DestroyWindow(list);
}

TEST(WinUtils, RotateCaptureAndWriteBitmaps) {
  HDC screen = GetDC(nullptr);
  HBITMAP src = CreateCompatibleBitmap(screen, 3, 2);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, src);
  const COLORREF colours[2][3] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
                                  {RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255)}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      SetPixel(dc, x, y, colours[y][x]);
  SelectObject(dc, old);
  HBITMAP turned = shell::RotateBitmap90(dc, src);
  ASSERT_NE(turned, nullptr);
  BITMAP bm{};
  GetObjectA(turned, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 2);
  EXPECT_EQ(bm.bmHeight, 3);
  old = SelectObject(dc, turned);
  // Source (x, y) lands on (y, width - 1 - x).
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(GetPixel(dc, y, 3 - 1 - x), colours[y][x]) << x << "," << y;
  SelectObject(dc, old);

  void* dib = shell::CaptureWindowDib(src, 24, nullptr);
  ASSERT_NE(dib, nullptr);
  const auto* h = static_cast<const BITMAPINFOHEADER*>(dib);
  EXPECT_EQ(h->biWidth, 3);
  EXPECT_EQ(h->biHeight, 2);
  char tmp[MAX_PATH];
  GetTempPathA(sizeof tmp, tmp);
  std::string path = std::string(tmp) + "tess_capture.bmp";
  ASSERT_TRUE(shell::WriteDibToFile(path.c_str(), dib));
  HBITMAP back = static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  ASSERT_NE(back, nullptr);
  old = SelectObject(dc, back);
  EXPECT_EQ(GetPixel(dc, 2, 1), colours[1][2]);
  EXPECT_EQ(GetPixel(dc, 0, 0), colours[0][0]);
  SelectObject(dc, old);
  EXPECT_FALSE(shell::WriteDibToFile(path.c_str(), nullptr));
  gui::GlobalFreePtr(dib);
  DeleteObject(back);
  DeleteObject(turned);
  DeleteObject(src);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  DeleteFileA(path.c_str());
}

TEST(WinUtils, PrinterRecordsAreCheckedBeforeUse) {
  // A printer-name block: four offsets, then the texts.
  HGLOBAL names = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 32);
  auto* p = static_cast<uint8_t*>(GlobalLock(names));
  p[2] = 8;
  std::memcpy(p + 8, "Printer", 8);
  GlobalUnlock(names);
  char out[32];
  EXPECT_TRUE(shell::GetDevNamesText(names, out, sizeof out));
  EXPECT_STREQ(out, "Printer");
  p = static_cast<uint8_t*>(GlobalLock(names));
  p[2] = 200;  // past the block
  GlobalUnlock(names);
  EXPECT_FALSE(shell::GetDevNamesText(names, out, sizeof out));
  p = static_cast<uint8_t*>(GlobalLock(names));
  p[2] = 24;
  std::memset(p + 24, 'x', 8);  // no terminator inside the block
  GlobalUnlock(names);
  EXPECT_FALSE(shell::GetDevNamesText(names, out, sizeof out));
  GlobalFree(names);

  HGLOBAL mode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
  EXPECT_TRUE(shell::SetPrintOrientation(mode, 2));
  EXPECT_FALSE(shell::SetPrintOrientation(mode, 3));
  EXPECT_TRUE(shell::SetPrintColor(mode, 1));
  EXPECT_FALSE(shell::SetPrintColor(mode, 0));
  EXPECT_TRUE(shell::SetPrintQuality(mode, -4));
  EXPECT_FALSE(shell::SetPrintQuality(mode, 0));
  auto* dm = static_cast<DEVMODEA*>(GlobalLock(mode));
  EXPECT_EQ(dm->dmOrientation, 2);
  EXPECT_EQ(dm->dmColor, 1);
  EXPECT_EQ(dm->dmPrintQuality, -4);
  GlobalUnlock(mode);
  GlobalFree(mode);
  HGLOBAL tiny = GlobalAlloc(GMEM_MOVEABLE, 8);
  EXPECT_FALSE(shell::SetPrintOrientation(tiny, 1));
  GlobalFree(tiny);
  EXPECT_FALSE(shell::SetPrintOrientation(nullptr, 1));
}

TEST(WinUtils, ListColumnsReadAndFitAgainstAListView) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  HWND list = Window(WC_LISTVIEWA, WS_POPUP | LVS_REPORT, 0, 0, 400, 200);
  ASSERT_NE(list, nullptr);
  shell::ListColumn table[3] = {};
  table[0].caption = "Name";
  table[1].caption = "Score";
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNA col{};
    col.mask = LVCF_WIDTH | LVCF_TEXT;
    col.cx = i == 0 ? 100 : 300;
    col.pszText = const_cast<char*>(table[i].caption);
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
  }
  shell::ReadColumnLayout(list, table);
  EXPECT_EQ(table[0].width, 100);
  EXPECT_EQ(table[1].width, 300);
  EXPECT_EQ(table[1].order, 1);
  EXPECT_EQ(shell::ReadColumn(list, LVCF_WIDTH, table, 2), 0);  // past the end
  SetWindowPos(list, nullptr, 0, 0, 200, 200, SWP_NOMOVE | SWP_NOZORDER);
  RECT c;
  GetClientRect(list, &c);
  shell::FitListColumns(list, table, 0);
  const int w = static_cast<int>(c.right);
  EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0), (200 + 100 * w) / 400);
  EXPECT_EQ(
      SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0) + SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0),
      w);
  DestroyWindow(list);
}

}  // namespace
