// The "Choose skin" dialog: every skin of the Skin folder with a display
// name, a preview of the selected one, and the choice of its wallpaper.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/ini.h"
#include "platform/path.h"
#include "shell/app_context.h"
#include "shell/bitmap_file.h"
#include "shell/shell_host.h"
#include "shell/startup/resource_sets.h"
#include "shell/theme.h"

namespace shell {
namespace {

constexpr int kList = 1172, kPreview = 1173, kWallpaper = 1174;

struct SkinDialogState {
  std::vector<std::string> files;  // item data: the skin file of each entry
  std::vector<uint8_t> preview;    // the packed DIB on show
  int shown = -2;                  // the entry whose preview is loaded
  std::string chosen;
  bool wallpaper = false;
};

SkinDialogState* g_state = nullptr;
WallpaperHandler g_wallpaper = nullptr;

void LoadPreview(HWND dlg, int index) {
  if (index == g_state->shown) return;
  g_state->shown = index;
  g_state->preview.clear();
  if (index >= 0 && static_cast<size_t>(index) < g_state->files.size()) {
    char name[kThemeBufferSize];
    ReadSkinProperty(g_state->files[static_cast<size_t>(index)].c_str(), "previewbmp", name);
    if (name[0]) {
      std::string path = std::string(GetSkinFolder()) + "\\" + name;
      std::vector<uint8_t> file;
      if (platform::ReadFileBounded(path.c_str(), 16u << 20, file) == platform::ReadStatus::kOk)
        if (auto dib = BitmapFileToPackedDib(file.data(), file.size()))
          g_state->preview = std::move(*dib);
    }
  }
  HWND preview = GetDlgItem(dlg, kPreview);
  const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(g_state->preview.data());
  if (preview && !g_state->preview.empty())
    SetWindowPos(preview, nullptr, 0, 0, h->biWidth + 2, std::abs(h->biHeight) + 2,
                 SWP_NOMOVE | SWP_NOZORDER);
  InvalidateRect(preview, nullptr, TRUE);
}

void PaintPreview(HWND dlg) {
  HWND preview = GetDlgItem(dlg, kPreview);
  if (!preview) return;
  HDC dc = GetDC(preview);
  RECT r;
  GetClientRect(preview, &r);
  if (g_state->preview.size() < sizeof(BITMAPINFOHEADER)) {
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  } else {
    HPALETTE pal = GetSkinPalette();
    HPALETTE old = pal ? SelectPalette(dc, pal, FALSE) : nullptr;
    if (pal) RealizePalette(dc);
    const auto* bi = reinterpret_cast<const BITMAPINFO*>(g_state->preview.data());
    const BITMAPINFOHEADER& h = bi->bmiHeader;
    size_t colours = h.biClrUsed ? h.biClrUsed : (h.biBitCount <= 8 ? (1u << h.biBitCount) : 0);
    const uint8_t* bits = g_state->preview.data() + h.biSize + colours * sizeof(RGBQUAD);
    StretchDIBits(dc, 1, 1, h.biWidth, std::abs(h.biHeight), 0, 0, h.biWidth, std::abs(h.biHeight),
                  bits, bi, DIB_RGB_COLORS, SRCCOPY);
    if (old) SelectPalette(dc, old, FALSE);
  }
  ReleaseDC(preview, dc);
}

void FillList(HWND dlg) {
  HWND list = GetDlgItem(dlg, kList);
  char current[kThemeBufferSize] = {};
  const char* themePath = GetCurrentThemePath();
  const char* slash = std::strrchr(themePath, '\\');
  GetThemeSkinName(slash ? slash + 1 : themePath, current);
  std::string pattern = std::string(GetSkinFolder()) + "\\*.ini";
  for (const platform::FindEntry& e : platform::FindFiles(pattern.c_str())) {
    char name[kThemeBufferSize];
    ReadSkinProperty(e.name.c_str(), "name", name);
    if (!name[0]) continue;
    int item =
        static_cast<int>(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name)));
    if (item < 0) continue;
    g_state->files.insert(g_state->files.begin() + std::min<size_t>(item, g_state->files.size()),
                          e.name);
    if (std::strcmp(name, current) == 0) SendMessageA(list, LB_SETCURSEL, item, 0);
  }
  LoadPreview(dlg, static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)));
}

void Finish(HWND dlg, int result) {
  if (result == 1) {
    int sel = static_cast<int>(SendDlgItemMessageA(dlg, kList, LB_GETCURSEL, 0, 0));
    if (sel >= 0 && static_cast<size_t>(sel) < g_state->files.size())
      g_state->chosen = g_state->files[static_cast<size_t>(sel)];
    g_state->wallpaper = IsDlgButtonChecked(dlg, kWallpaper) == BST_CHECKED;
  }
  EndDialog(dlg, result);
}

INT_PTR CALLBACK SkinDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      FillList(dlg);
      return TRUE;
    case WM_PAINT:
      PaintPreview(dlg);
      return FALSE;
    case WM_COMMAND: {
      const int id = LOWORD(wp), code = HIWORD(wp);
      if (id == 1 || (id == kList && code == LBN_DBLCLK)) {
        GetShellHost().PlaySoundFile("SBouOK1.wav");
        Finish(dlg, 1);
      } else if (id == 2) {
        GetShellHost().PlaySoundFile("SBouFer1.wav");
        Finish(dlg, 2);
      } else if (id == kWallpaper && code == BN_CLICKED) {
        GetShellHost().PlaySoundFile(IsDlgButtonChecked(dlg, kWallpaper) ? "SCasCoh1.wav"
                                                                         : "SCasDec.wav");
      } else if (id == kList && code == LBN_SELCHANGE) {
        LoadPreview(dlg, static_cast<int>(SendDlgItemMessageA(dlg, kList, LB_GETCURSEL, 0, 0)));
        PaintPreview(dlg);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

void SetWallpaperHandler(WallpaperHandler handler) { g_wallpaper = handler; }

int RunSkinDialog() {
  SkinDialogState state;
  g_state = &state;
  INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(130), GetSkinMainWindow(),
                              SkinDialogProc, 0);
  g_state = nullptr;
  if (r != 1) return r == 2 ? 2 : 0;
  if (!state.chosen.empty()) ApplySkinByName(state.chosen.c_str(), 1);
  if (state.wallpaper && g_wallpaper && !state.chosen.empty()) {
    char bmp[kThemeBufferSize];
    ReadSkinProperty(state.chosen.c_str(), "backgroundbmp", bmp);
    if (bmp[0]) g_wallpaper((std::string(GetWallpaperFolder()) + "\\" + bmp).c_str());
  }
  return 1;
}

}  // namespace shell
