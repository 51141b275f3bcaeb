#include "shell/startup/win32/personality_card.h"

#include <map>
#include <string>
#include <vector>

#include "gui/gui_core.h"
#include "gui/list_view_skin.h"
#include "shell/resource_packs.h"
#include "shell/shell_host.h"
#include "shell/startup/personality_cards.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"

namespace shell {
namespace {

constexpr int kClassCursor = 3031;
constexpr int kCardWindowBytes = 8;  // the entry shown
constexpr int kFaceX = 2, kFaceY = 8;
constexpr RECT kTitleRect = {99, 8, 231, 105};
constexpr RECT kDescriptionRect = {99, 28, 231, 105};
constexpr int kDialogCardId = 100;
constexpr int kMargin = 8;

int g_classUsers = 0;
const PersonalityEntry* g_selected = nullptr;
std::map<std::string, ResBlock> g_faces;  // by picture name; an empty block: none

const ResBlock& FaceOf(const std::string& picture) {
  auto it = g_faces.find(picture);
  if (it != g_faces.end()) return it->second;
  std::optional<ResBlock> face = LoadFacePicture(picture.c_str());
  return g_faces[picture] = face ? std::move(*face) : ResBlock();
}

COLORREF SkinColour(int index, COLORREF fallback) {
  const gui::GuiSkin* skin = gui::GuiGetSkin();
  return skin && skin->listViewColors[index] ? skin->listViewColors[index] : fallback;
}

void DrawFace(HDC dc, const std::string& picture) {
  const ResBlock& face = FaceOf(picture);
  PackedDibLayout layout;
  if (face.empty() || !ReadPackedDibLayout(face.data(), face.size(), layout)) return;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(face.data());
  const int height = layout.height < 0 ? -layout.height : layout.height;
  SetDIBitsToDevice(dc, kFaceX, kFaceY, layout.width, height, 0, 0, 0, height,
                    face.data() + layout.bitsOffset, info, DIB_RGB_COLORS);
}

void DrawCard(HWND card, HDC dc) {
  RECT all;
  GetClientRect(card, &all);
  const PersonalityEntry* e = GetPersonalityCardEntry(card);
  const bool selected = e && e == g_selected;
  const COLORREF back = selected ? SkinColour(gui::kLvSelectedBackground, RGB(0, 96, 64))
                                 : SkinColour(gui::kLvBackground, RGB(246, 236, 212));
  const COLORREF text = selected ? SkinColour(gui::kLvSelectedText, RGB(255, 255, 255))
                                 : SkinColour(gui::kLvText, RGB(0, 0, 0));
  HBRUSH fill = CreateSolidBrush(back);
  FillRect(dc, &all, fill);
  DeleteObject(fill);
  HBRUSH edge = CreateSolidBrush(SkinColour(gui::kHeaderDark, RGB(64, 40, 20)));
  FrameRect(dc, &all, edge);
  DeleteObject(edge);
  if (!e) return;
  DrawFace(dc, e->picture);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(GetParent(card), WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  const std::string title = PersonalityCardTitle(e->name, e->rating);
  RECT r = kTitleRect;
  DrawTextA(dc, title.c_str(), -1, &r,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  r = kDescriptionRect;
  DrawTextA(dc, e->description.c_str(), -1, &r,
            DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (old) SelectObject(dc, old);
}

// Painted off screen, then copied in one go, so scrolling does not flicker.
void OnPaint(HWND card) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(card, &ps);
  RECT all;
  GetClientRect(card, &all);
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, all.right, all.bottom);
  HGDIOBJ oldBmp = SelectObject(mem, bmp);
  DrawCard(card, mem);
  BitBlt(dc, 0, 0, all.right, all.bottom, mem, 0, 0, SRCCOPY);
  SelectObject(mem, oldBmp);
  DeleteObject(bmp);
  DeleteDC(mem);
  EndPaint(card, &ps);
}

void OnClick(HWND card) {
  SendMessageA(GetParent(card), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(card), BN_CLICKED),
               reinterpret_cast<LPARAM>(card));
}

LRESULT CALLBACK CardProc(HWND card, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      OnPaint(card);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      OnClick(card);
      return 0;
    default:
      return DefWindowProcA(card, msg, wp, lp);
  }
}

// --- The card dialog ---

struct CardDialogState {
  const PersonalityEntry* entry = nullptr;
};

void InitCardDialog(HWND dialog, CardDialogState* s) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
  HWND card = CreatePersonalityCard(dialog, kDialogCardId, kMargin, kMargin);
  SetPersonalityCardEntry(card, s->entry);
  RECT ok;
  HWND button = GetDlgItem(dialog, IDOK);
  GetWindowRect(button, &ok);
  const int okWidth = ok.right - ok.left, okHeight = ok.bottom - ok.top;
  const int top = kMargin * 2 + kPersonalityCardHeight;
  MoveWindow(button, kMargin + kPersonalityCardWidth - okWidth, top, okWidth, okHeight, FALSE);
  RECT want = {0, 0, kPersonalityCardWidth + 2 * kMargin, top + okHeight + kMargin};
  FitClientArea(dialog, want.right, want.bottom);
  CenterWindow(dialog, GetParent(dialog));
}

INT_PTR CALLBACK CardDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      InitCardDialog(dialog, reinterpret_cast<CardDialogState*>(lp));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        if (LOWORD(wp) == IDOK) GetShellHost().PlaySoundFile("SBouOK1.wav");
        EndDialog(dialog, LOWORD(wp));
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void FitClientArea(HWND window, int width, int height) {
  RECT outer, client;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  const int frameX = (outer.right - outer.left) - client.right;
  const int frameY = (outer.bottom - outer.top) - client.bottom;
  SetWindowPos(window, nullptr, 0, 0, width + frameX, height + frameY, SWP_NOMOVE | SWP_NOZORDER);
}

bool AcquirePersonalityCardClass(HINSTANCE instance) {
  if (g_classUsers++ > 0) return true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = CardProc;
  wc.cbWndExtra = kCardWindowBytes;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(kClassCursor));
  if (!wc.hCursor) wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
  wc.lpszClassName = kPersonalityCardClass;
  if (RegisterClassA(&wc)) return true;
  g_classUsers = 0;
  return false;
}

void ReleasePersonalityCardClass(HINSTANCE instance) {
  if (g_classUsers <= 0 || --g_classUsers > 0) return;
  UnregisterClassA(kPersonalityCardClass, instance);
  g_faces.clear();
  g_selected = nullptr;
}

HWND CreatePersonalityCard(HWND parent, int id, int x, int y) {
  return CreateWindowExA(
      0, kPersonalityCardClass, "", WS_CHILD | WS_VISIBLE, x, y, kPersonalityCardWidth,
      kPersonalityCardHeight, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
}

void SetPersonalityCardEntry(HWND card, const PersonalityEntry* entry) {
  SetWindowLongPtrA(card, 0, reinterpret_cast<LONG_PTR>(entry));
  InvalidateRect(card, nullptr, FALSE);
}

const PersonalityEntry* GetPersonalityCardEntry(HWND card) {
  return reinterpret_cast<const PersonalityEntry*>(GetWindowLongPtrA(card, 0));
}

void SetSelectedPersonalityEntry(const PersonalityEntry* entry) { g_selected = entry; }

bool ShowPersonalityCardDialog(HWND owner, const char* name) {
  if (!name) return false;
  ListPersonalityFiles();
  const std::string stem = PersonalityFileStem(name);
  std::vector<PersonalityEntry> list = GetPersonalityList();
  FreePersonalityList();
  CardDialogState s;
  for (const PersonalityEntry& e : list)
    if (_stricmp(PersonalityFileStem(e.fileName).c_str(), stem.c_str()) == 0) s.entry = &e;
  if (!s.entry) return false;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!IsResourcePackOpen(kPackFaces)) OpenResourcePack("faces", kPackFaces, false);
  if (!AcquirePersonalityCardClass(instance)) return false;
  DoModalDialog(instance, MAKEINTRESOURCEA(kPersonalityCardDialog), owner, CardDialogProc,
                reinterpret_cast<LPARAM>(&s));
  ReleasePersonalityCardClass(instance);
  return true;
}

}  // namespace shell
