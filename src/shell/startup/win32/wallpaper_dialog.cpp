// The wallpaper choice. Differences from the dialog it follows: the bitmap
// path edit is enabled with the bitmap mode (OK reads it); a colour number
// outside 0..255 is held to that range when the colours are composed; the
// preview shows the tile in bitmap mode; a changed choice is written into
// the user's page layout at once, so that it is not lost at the next start.
#include "shell/startup/win32/wallpaper_dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gui/gui_memory.h"
#include "gui/win32/gui_win32.h"
#include "platform/message_sink.h"
#include "shell/app_context.h"
#include "shell/res_strings.h"
#include "shell/shell_constants.h"
#include "shell/startup/win32/room_backgrounds.h"
#include "shell/startup/win32/wallpaper_paint.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"
#include "ui/file_dialog_rules.h"
#include "ui/page_layout.h"
#include "ui/win32/colour_select_dialog.h"
#include "ui/win32/file_dialog_win32.h"
#include "ui/window_slots.h"

namespace shell {
namespace {

constexpr char kWallpaperTemplate[] = "WALLPAPER_SELECT";
constexpr uint32_t kStrWallpaperTooFewColours = 7180;
constexpr int kMinWallpaperBits = 5;

// Red, green and blue of each colour.
constexpr int kColourEdits[2][3] = {{kIdColour1Red, kIdColour1Green, kIdColour1Blue},
                                    {kIdColour2Red, kIdColour2Green, kIdColour2Blue}};

struct WallpaperState {
  ScreenBackground* target = nullptr;
  ScreenBackground bg;
  bool writing = false;  // the dialog itself fills the edits
};

WallpaperState* StateOf(HWND dialog) {
  return reinterpret_cast<WallpaperState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

uint32_t& ColourOf(WallpaperState* s, int which) { return which ? s->bg.colour2 : s->bg.colour1; }

void WriteColour(HWND dialog, WallpaperState* s, int which) {
  const uint32_t c = ColourOf(s, which);
  s->writing = true;
  for (int channel = 0; channel < 3; ++channel) {
    char text[8];
    std::snprintf(text, sizeof text, "%u", (c >> (8 * channel)) & 0xFFu);
    SetDlgItemTextA(dialog, kColourEdits[which][channel], text);
  }
  s->writing = false;
}

void RedrawPreview(HWND dialog) {
  InvalidateRect(GetDlgItem(dialog, kIdWallpaperPreview), nullptr, FALSE);
}

void ShowMode(HWND dialog, WallpaperState* s, bool bitmap) {
  s->bg.bitmapMode = bitmap;
  CheckRadioButton(dialog, kIdUseGradient, kIdUseBitmap, bitmap ? kIdUseBitmap : kIdUseGradient);
  for (const auto& row : kColourEdits)
    for (int id : row)
      EnableWindow(GetDlgItem(dialog, id), !bitmap);
  EnableWindow(GetDlgItem(dialog, kIdColour1Button), !bitmap);
  EnableWindow(GetDlgItem(dialog, kIdColour2Button), !bitmap);
  EnableWindow(GetDlgItem(dialog, kIdBrowseWallpaper), bitmap);
  EnableWindow(GetDlgItem(dialog, kIdWallpaperPath), bitmap);
  RedrawPreview(dialog);
}

void OnInit(HWND dialog, WallpaperState* s) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
  s->writing = true;
  SetDlgItemTextA(dialog, kIdWallpaperPath, s->bg.path);
  s->writing = false;
  WriteColour(dialog, s, 0);
  WriteColour(dialog, s, 1);
  ShowMode(dialog, s, s->bg.bitmapMode);
  CenterWindow(dialog, static_cast<HWND>(ui::GetSlotWindow(ui::kSlotMainFrame)));
}

// Both colours again from the six numbers; a number outside 0..255 is
// selected whole, so that the next key replaces it.
void OnColourEdit(HWND dialog, WallpaperState* s, int id) {
  if (s->writing) return;
  for (int which = 0; which < 2; ++which) {
    uint32_t colour = 0;
    for (int channel = 0; channel < 3; ++channel) {
      const int edit = kColourEdits[which][channel];
      char text[16] = {};
      GetDlgItemTextA(dialog, edit, text, sizeof text);
      char* end = nullptr;
      const long typed = std::strtol(text, &end, 10);
      const bool valid = end != text && typed >= 0 && typed <= 255;
      if (!valid && edit == id) SendDlgItemMessageA(dialog, edit, EM_SETSEL, 0, -1);
      colour |= static_cast<uint32_t>(std::clamp(typed, 0L, 255L)) << (8 * channel);
    }
    ColourOf(s, which) = colour;
  }
  RedrawPreview(dialog);
}

void OnChooseColour(HWND dialog, WallpaperState* s, int which) {
  COLORREF colour = ColourOf(s, which);
  if (!ui::RunColourSelectDialog(dialog, &colour)) return;
  ColourOf(s, which) = colour & 0xFFFFFF;
  WriteColour(dialog, s, which);
  RedrawPreview(dialog);
}

void OnBrowse(HWND dialog, WallpaperState* s) {
  char path[kWallpaperPathSize] = {};
  if (!ChooseWallpaperFile(dialog, path)) return;
  std::snprintf(s->bg.path, sizeof s->bg.path, "%s", path);
  s->writing = true;
  SetDlgItemTextA(dialog, kIdWallpaperPath, path);
  s->writing = false;
  RedrawPreview(dialog);
}

void OnOk(HWND dialog, WallpaperState* s) {
  if (s->bg.bitmapMode) {
    char typed[kWallpaperPathSize] = {};
    GetDlgItemTextA(dialog, kIdWallpaperPath, typed, sizeof typed);
    if (std::strchr(typed, '\\'))
      std::snprintf(s->bg.path, sizeof s->bg.path, "%s", typed);
    else
      std::snprintf(s->bg.path, sizeof s->bg.path, "%s\\%s", GetWallpaperFolder(), typed);
  }
  *s->target = s->bg;
  EndDialog(dialog, IDOK);
}

// The gradient, or the tile in bitmap mode, over the preview's rectangle.
void OnDrawPreview(const WallpaperState* s, const DRAWITEMSTRUCT* d) {
  const int width = d->rcItem.right - d->rcItem.left, height = d->rcItem.bottom - d->rcItem.top;
  gui::PackedDIB* dib = gui::DIBCreate(width, height, 24);
  if (!dib) return;
  bool drawn = false;
  if (s->bg.bitmapMode) {
    if (gui::PackedDIB* tile = s->bg.path[0] ? gui::ReadDIBFile(s->bg.path) : nullptr) {
      drawn = gui::DIBTileToDIB(tile, dib, gui::DibRect{0, 0, width, height}, 0, 0) != 0;
      gui::GlobalFreePtr(tile);
    }
  } else {
    drawn =
        RenderGradientIntoDib(d->hDC, RECT{0, 0, width, height}, dib, s->bg.colour1, s->bg.colour2);
  }
  if (drawn)
    gui::DIBBltRGB(d->hDC, d->rcItem.left, d->rcItem.top, width, height, 0, 0, dib);
  else
    FillRect(d->hDC, &d->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  FrameRect(d->hDC, &d->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  gui::GlobalFreePtr(dib);
}

bool IsColourEdit(int id) {
  for (const auto& row : kColourEdits)
    for (int edit : row)
      if (edit == id) return true;
  return false;
}

void OnCommand(HWND dialog, WallpaperState* s, int id, int code) {
  if (IsColourEdit(id)) {
    if (code == EN_CHANGE) OnColourEdit(dialog, s, id);
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kIdUseGradient:
    case kIdUseBitmap:
      ShowMode(dialog, s, id == kIdUseBitmap);
      break;
    case kIdColour1Button:
      OnChooseColour(dialog, s, 0);
      break;
    case kIdColour2Button:
      OnChooseColour(dialog, s, 1);
      break;
    case kIdBrowseWallpaper:
      OnBrowse(dialog, s);
      break;
    case IDOK:
      OnOk(dialog, s);
      break;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      break;
    default:
      break;
  }
}

INT_PTR CALLBACK WallpaperDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    OnInit(dialog, reinterpret_cast<WallpaperState*>(lp));
    return TRUE;
  }
  WallpaperState* s = StateOf(dialog);
  if (!s) return FALSE;
  switch (msg) {
    case WM_COMMAND:
      OnCommand(dialog, s, LOWORD(wp), HIWORD(wp));
      return TRUE;
    case WM_DRAWITEM:
      if (wp != kIdWallpaperPreview) return FALSE;
      OnDrawPreview(s, reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool ChooseWallpaperFile(HWND owner, char* pathOut) {
  if (!pathOut) return false;
  char previous[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof previous, previous);
  std::string dialogFolder = ui::GetFileDialogRecord();
  const char* folder = GetWallpaperFolder();
  SetCurrentDirectoryA(folder);
  ui::SetGlobalTextBuffer(folder);
  char chosen[ui::kFileDialogPathSize] = {};
  const int ok = ui::RunFileDialog(GetModuleHandleA(nullptr), owner, chosen, 0, 0, ui::kTypeBitmaps,
                                   1, nullptr, nullptr, nullptr);
  ui::SetGlobalTextBuffer(dialogFolder.c_str());
  SetCurrentDirectoryA(previous);
  if (!ok || !chosen[0]) return false;
  gui::PackedDIB* picture = gui::ReadDIBFile(chosen);
  const int bits = picture ? picture->biBitCount : 0;
  gui::GlobalFreePtr(picture);
  if (bits < kMinWallpaperBits) {
    platform::ShowNotice(LoadResString(kStrWallpaperTooFewColours),
                         LoadResStringSecondary(kStrProductTitle), MB_OK);
    return false;
  }
  std::snprintf(pathOut, kWallpaperPathSize, "%s", chosen);
  return true;
}

int RunWallpaperDialog(HWND owner, ScreenBackground* bg) {
  if (!bg) return IDCANCEL;
  WallpaperState state;
  state.target = bg;
  state.bg = *bg;
  const INT_PTR result = DoModalDialog(GetModuleHandleA(nullptr), kWallpaperTemplate, owner,
                                       WallpaperDlgProc, reinterpret_cast<LPARAM>(&state));
  return result == IDOK ? IDOK : IDCANCEL;
}

int RunRoomWallpaperDialog(HWND owner, int roomId) {
  ScreenBackground* bg = GetRoomBackground(roomId);
  if (!bg) return IDCANCEL;
  const ScreenBackground before = *bg;
  const int result = RunWallpaperDialog(owner, bg);
  if (result != IDOK) return result;
  const bool changed = before.bitmapMode != bg->bitmapMode ||
                       std::strcmp(before.path, bg->path) != 0 || before.colour1 != bg->colour1 ||
                       before.colour2 != bg->colour2;
  if (!changed) return result;
  MarkRoomBackgroundChanged(roomId);
  RefreshRoomBackground(roomId);
  ui::SaveWallpaperSettings();
  return result;
}

}  // namespace shell
