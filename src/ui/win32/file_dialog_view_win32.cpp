// The file dialog's views: the "Search in" combo of drives and folders, the
// list of the current folder, their owner-drawn items and the folder moves.
//
// Differs from the dialog it follows: folder moves are made with absolute
// paths built from the dialog's own folder (never relative to whatever the
// process's directory happens to be), and a path that would not fit the
// 260-character buffers is refused instead of cut.
#include <windows.h>
#include <winnetwk.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <strings.h>
#include <vector>

#include "gui/gui_core.h"
#include "gui/gui_skin.h"
#include "gui/skin_registry.h"
#include "gui/view_skin.h"
#include "gui/win32/gui_win32.h"
#include "shell/shell_host.h"
#include "ui/win32/file_dialog_parts.h"
#include "ui/win32/file_dialog_win32.h"

namespace ui {
namespace {

constexpr int kIconSize = 16;

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

HWND Combo(HWND dialog) { return GetDlgItem(dialog, kIdSearchIn); }

std::string ComboText(HWND combo, int index) {
  return ListItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

bool IsDriveItem(const std::string& text) { return text.find(':') != std::string::npos; }

// "x:  label" for a drive of the combo, "" for one the combo leaves out.
std::string DriveItemText(char letter) {
  char root[4] = {letter, ':', '\\', 0};
  const UINT type = GetDriveTypeA(root);
  if (type == DRIVE_REMOVABLE || type == DRIVE_CDROM) return {};
  std::string text = std::string(1, letter) + ":  ";
  char name[MAX_PATH] = {};
  if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
    if (GetVolumeInformationA(root, name, sizeof name, nullptr, nullptr, nullptr, nullptr, 0))
      text += name;
  } else if (type == DRIVE_REMOTE) {
    char device[3] = {static_cast<char>(std::toupper(static_cast<unsigned char>(letter))), ':', 0};
    DWORD size = sizeof name;
    if (WNetGetConnectionA(device, name, &size) == NO_ERROR) text += name;
  }
  return Lower(text);
}

const char* DriveIcon(char letter) {
  char root[4] = {letter, ':', '\\', 0};
  switch (GetDriveTypeA(root)) {
    case DRIVE_REMOVABLE:
      return "floppydrive";
    case DRIVE_FIXED:
      return "harddrive";
    case DRIVE_CDROM:
      return "cdromdrive";
    case DRIVE_RAMDISK:
      return "ramdrive";
    default:
      return "netdrive";
  }
}

// The list icon of a kind: its normal and selected names.
void KindIcons(int kind, const char** normal, const char** selected) {
  static const char* const kSavedGames[][2] = {{"game4000", "game400s"},
                                               {"game5000", "game500s"},
                                               {"game6000", "game600s"},
                                               {"game7000", "game700s"},
                                               {"game8000", "game800s"}};
  const char* n = "gen_file";
  const char* s = "gen_fils";
  if (kind >= kKindSavedGameFirst && kind <= 8) {
    n = kSavedGames[kind - kKindSavedGameFirst][0];
    s = kSavedGames[kind - kKindSavedGameFirst][1];
  }
  switch (kind) {
    case kKindSavedGame:
      n = "game8000", s = "game800s";
      break;
    case kKindDatabase:
      n = "database_file", s = "database_fils";
      break;
    case kKindText:
      n = "text_file", s = "text_fils";
      break;
    case kKindPgn:
      n = "pgn_file", s = "pgn_fils";
      break;
    case kKindTutorial:
      n = "tutor_file", s = "tutor_fils";
      break;
    case kKindPersonality:
      n = "person_file", s = "person_fils";
      break;
    case kKindTournament:
      n = "tourn_file", s = "tourn_fils";
      break;
    case kKindBook:
      n = "book_file", s = "book_fils";
      break;
    case kKindFolder:
      n = "clsfile", s = "clsfils";
      break;
    case kKindLayout:
      n = "lay_file", s = "lay_fils";
      break;
    case kKindCrossagram:
      n = s = "Cross_File";
      break;
  }
  *normal = n;
  *selected = s;
}

COLORREF ListColour(int which) {
  gui::GuiSkin* skin = gui::GuiGetSkin();
  return skin ? skin->list.colors[which] : GetSysColor(COLOR_WINDOW);
}

HFONT DialogFont() {
  HFONT f = static_cast<HFONT>(gui::GuiGetFont(2));
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Fills the item's background and answers the text colour to draw in.
COLORREF PaintItemBackground(const DRAWITEMSTRUCT* d, bool selected) {
  gui::GuiSkin* skin = gui::GuiGetSkin();
  if (skin && skin->palette)
    gui::GuiSelectRealizePalette(d->hDC, 0, static_cast<HPALETTE>(skin->palette));
  gui::GuiFillRectColor(d->hDC, &d->rcItem,
                        ListColour(selected ? gui::kListSelectedBackground : gui::kListBackground));
  return ListColour(selected ? gui::kListSelectedText : gui::kListText);
}

void DrawIcon(HDC dc, const char* name, int x, const RECT& rc) {
  gui::PackedDIB* icon = FileDialogImage(name);
  if (!icon) return;
  const int w = gui::DIBWidth(icon), h = gui::DIBHeight(icon);
  gui::DIBBlt(dc, x, rc.top + (rc.bottom - rc.top - h) / 2, w, h, 0, 0, icon);
}

void DrawItemText(HDC dc, const std::string& text, int x, const RECT& rc, COLORREF colour) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  HGDIOBJ old = SelectObject(dc, DialogFont());
  RECT r{x, rc.top, rc.right, rc.bottom};
  DrawTextA(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old);
}

}  // namespace

bool SetPathText(char (&buffer)[kFileDialogPathSize], const std::string& text) {
  if (text.size() >= kFileDialogPathSize) return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

std::string DialogFolder() {
  const FileDialogState& s = DialogState();
  if (s.currentFolder[0]) return s.currentFolder;
  char here[kFileDialogPathSize] = {};
  const DWORD n = GetCurrentDirectoryA(sizeof here, here);
  return n && n < sizeof here ? here : "";
}

std::string ListItemText(HWND control, UINT textLengthMsg, UINT textMsg, int index) {
  if (index < 0) return {};
  const LRESULT length = SendMessageA(control, textLengthMsg, index, 0);
  if (length <= 0 || length > 4096) return {};
  std::vector<char> text(static_cast<size_t>(length) + 1);
  if (SendMessageA(control, textMsg, index, reinterpret_cast<LPARAM>(text.data())) < 0) return {};
  text.back() = 0;
  return text.data();
}

gui::PackedDIB* FileDialogImage(const char* name) {
  gui::GuiSkin* skin = gui::GuiGetSkin();
  return skin && skin->imageSource ? gui::SkinRegistryFindDIB(skin->imageSource, name) : nullptr;
}

void FillFolderCombo(HWND dialog, const std::string& path, bool expand) {
  HWND combo = Combo(dialog);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  SendMessageA(combo, CB_DIR, DDL_DRIVES | DDL_EXCLUSIVE, reinterpret_cast<LPARAM>("*"));
  // Drive items come as "[-x-]"; each is replaced by its own text.
  for (int i = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0)) - 1; i >= 0; --i) {
    const std::string raw = ComboText(combo, i);
    SendMessageA(combo, CB_DELETESTRING, i, 0);
    if (raw.size() < 3) continue;
    const std::string text = DriveItemText(raw[2]);
    if (!text.empty())
      SendMessageA(combo, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(text.c_str()));
  }
  if (path.size() < 2 || path[1] != ':') return;
  const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
  const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const std::string text = ComboText(combo, i);
    if (text.empty() || text[0] != drive) continue;
    int selected = i;
    if (expand) {
      for (const std::string& folder : FolderComponents(path)) {
        const std::string item = Lower(folder);
        SendMessageA(combo, CB_INSERTSTRING, ++selected, reinterpret_cast<LPARAM>(item.c_str()));
      }
      EnableWindow(GetDlgItem(dialog, kIdFolderUp), !IsDriveRoot(path));
    }
    SendMessageA(combo, CB_SETCURSEL, selected, 0);
    return;
  }
}

bool SelectFolderComboItem(HWND dialog) {
  HWND combo = Combo(dialog);
  FileDialogState& s = DialogState();
  const int selected = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
  const std::string text = ComboText(combo, selected);
  if (text.empty()) return false;
  const std::string current = DialogFolder();
  if (IsDriveItem(text)) {
    EnableWindow(GetDlgItem(dialog, kIdFolderUp), FALSE);
    const std::string root = text.substr(0, 2) + "\\";
    if (IsDriveRoot(current) && strncasecmp(current.c_str(), root.c_str(), 2) == 0) return false;
    if (!SetCurrentDirectoryA(root.c_str())) {
      SetCurrentDirectoryA(current.c_str());
      return false;
    }
    return SetPathText(s.currentFolder, root);
  }
  EnableWindow(GetDlgItem(dialog, kIdFolderUp), TRUE);
  std::string path;
  for (int i = selected; i >= 0; --i) {
    const std::string item = ComboText(combo, i);
    if (IsDriveItem(item)) {
      path = item.substr(0, item.find(':') + 1) + "\\" + path;
      break;
    }
    path = path.empty() ? item : item + "\\" + path;
  }
  if (path.size() < 3 || path[1] != ':' || strcasecmp(path.c_str(), current.c_str()) == 0)
    return false;
  return SetPathText(s.currentFolder, path);
}

bool ChangeFileDialogFolder(const std::string& name) {
  FileDialogState& s = DialogState();
  const std::string current = DialogFolder();
  const std::string target = JoinDialogPath(current, name);
  if (target.empty() || !SetCurrentDirectoryA(target.c_str())) return false;
  char now[kFileDialogPathSize] = {};
  const DWORD n = GetCurrentDirectoryA(sizeof now, now);
  if (!n || n >= sizeof now) {
    SetCurrentDirectoryA(current.c_str());
    return false;
  }
  return SetPathText(s.currentFolder, now);
}

int FillFileList(HWND dialog) {
  FileDialogState& s = DialogState();
  HWND list = GetDlgItem(dialog, kIdFileList);
  shell::GetShellHost().SetBusyCursor(true);
  const std::string folder = DialogFolder();
  if (s.currentFolder[0]) SetCurrentDirectoryA(s.currentFolder);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  std::vector<FileListItem> items;
  const std::string pattern = JoinDialogPath(folder, "*.*");
  WIN32_FIND_DATAA found;
  HANDLE find = pattern.empty() ? INVALID_HANDLE_VALUE : FindFirstFileA(pattern.c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const DWORD a = found.dwFileAttributes;
      const int kind = DetectFileKind(folder, name, (a & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                      (a & FILE_ATTRIBUTE_HIDDEN) != 0);
      if (kind == kKindFolder || (kind != kKindHidden && FileKindMatchesFilter(s.type, kind)))
        InsertFileListItem(&items, FileListItem{kind, name});
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  for (const FileListItem& item : items) {
    const std::string text = std::string(1, static_cast<char>(item.kind)) + item.name;
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  shell::GetShellHost().SetBusyCursor(false);
  return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
}

void DrawFileListItem(HWND, const DRAWITEMSTRUCT* d) {
  const bool selected = (d->itemState & ODS_SELECTED) != 0;
  const COLORREF text = PaintItemBackground(d, selected);
  const std::string item =
      ListItemText(d->hwndItem, LB_GETTEXTLEN, LB_GETTEXT, static_cast<int>(d->itemID));
  if (item.size() < 2) return;
  const char* normal;
  const char* chosen;
  KindIcons(static_cast<uint8_t>(item[0]), &normal, &chosen);
  DrawIcon(d->hDC, selected ? chosen : normal, d->rcItem.left, d->rcItem);
  DrawItemText(d->hDC, item.substr(1), d->rcItem.left + 19, d->rcItem, text);
}

void DrawFolderComboItem(HWND dialog, const DRAWITEMSTRUCT* d) {
  const bool selected = (d->itemState & ODS_SELECTED) != 0;
  const COLORREF colour = PaintItemBackground(d, selected);
  HWND combo = Combo(dialog);
  const int index = static_cast<int>(d->itemID);
  const std::string text = ComboText(combo, index);
  if (text.empty()) return;
  const char* icon;
  int depth = 0;
  if (IsDriveItem(text)) {
    icon = DriveIcon(text[0]);
  } else {
    const std::string next = ComboText(combo, index + 1);
    const bool deepest = next.empty() || IsDriveItem(next);
    icon = deepest ? (selected ? "opnfils" : "opnfile") : (selected ? "clsfils" : "clsfile");
    for (int i = index; i > 0 && !IsDriveItem(ComboText(combo, i)); --i)
      ++depth;
  }
  // In the drop list each folder sits one step right of its parent.
  const int indent = d->CtlType == ODT_LISTBOX ? depth * kIconSize : 0;
  DrawIcon(d->hDC, icon, d->rcItem.left + indent, d->rcItem);
  DrawItemText(d->hDC, text, d->rcItem.left + indent + 18, d->rcItem, colour);
}

}  // namespace ui
