// The program's file dialog: RunFileDialog, the dialog's procedure and its
// commands, and the new-folder prompt.
//
// Differs from the dialog it follows:
// - Enter (the dialog manager's IDOK) presses the mode's Load or Save
//   button; only the dialog's own confirmation (command 1 carrying
//   kSelfConfirm) ends it with OK, so an Enter can never hand back a name
//   that was not checked.
// - A typed saved-game name is taken when its file is any saved game the
//   list shows (kinds 4 to 9), not only kind 9: byte 33 lies inside the
//   game's identifier, so the kind of the program's own games varies.
// - A chosen path that would not fit the caller's 260 characters is
//   reported as a cancel instead of being cut.
#include "ui/win32/file_dialog_win32.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "gui/gui_core.h"
#include "gui/win32/gui_widgets1.h"
#include "platform/message_sink.h"
#include "shell/app_context.h"
#include "shell/res_strings.h"
#include "shell/shell_host.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"
#include "ui/window_slots.h"
#include "ui/win32/file_dialog_parts.h"
#include "ui/win32/main_frame.h"

namespace ui {
namespace {

constexpr char kOpenTemplate[] = "CommFileOpenDlg95";
constexpr char kSaveTemplate[] = "CommFileSaveDlg95";
constexpr char kNewFolderTemplate[] = "NewDirDlg";
constexpr LPARAM kSelfConfirm = 0x46444C47;  // marks the dialog's own command 1
constexpr int kCreateOpenAs = 1, kCreateReadOnly = 2;
constexpr int kNameLimit = 50;
constexpr int kItemHeight = 17;
constexpr int kHelpContents = 1565;

constexpr uint32_t kStrNameRequired = 2138, kStrFileUnsuitable = 2196;
constexpr uint32_t kStrFolderExists = 2217, kStrFolderFailed = 2214;

// The button images of the tool buttons: (control, slot, image name).
struct ToolImage {
  int id;
  WPARAM slot;
  const char* name;
};
constexpr ToolImage kUpImages[] = {{kIdFolderUp, 0, "IDD_FILE_DIRUP_U"},
                                   {kIdFolderUp, 1, "IDD_FILE_DIRUP_D"},
                                   {kIdFolderUp, 2, "IDD_FILE_DIRUP_I"}};
constexpr ToolImage kNewFolderImages[] = {{kIdNewFolder, 0, "IDD_FILE_NEWDIR_U"},
                                          {kIdNewFolder, 1, "IDD_FILE_NEWDIR_D"}};

FileDialogState g_state;

void Sound(const char* name) { shell::GetShellHost().PlaySoundFile(name); }
void Notice(const std::string& text) { platform::ShowNotice(text.c_str(), "", 0); }

bool HasNewFolderButton(int mode) {
  return mode == kModeSave || mode == kModeExport || mode == kModeCreate;
}

void ResetToUserFolder() { SetPathText(g_state.currentFolder, shell::GetCurrentUserFolder()); }

std::string DlgText(HWND dialog, int id) {
  char text[kFileDialogPathSize] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void RequestRefresh(HWND dialog) {
  PostMessageA(dialog, WM_COMMAND, kIdFileList, kFileListRefresh);
}

void Confirm(HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDOK, kSelfConfirm); }

void StoreReadOnly(HWND dialog) {
  if (g_state.readOnlyResult)
    *g_state.readOnlyResult = IsDlgButtonChecked(dialog, kIdReadOnly) == BST_CHECKED;
}

void SetToolImages(HWND dialog, bool install) {
  for (const ToolImage& t : kUpImages)
    SendDlgItemMessageA(dialog, t.id, gui::kMsgSetImage, t.slot,
                        reinterpret_cast<LPARAM>(install ? FileDialogImage(t.name) : nullptr));
  if (!HasNewFolderButton(g_state.mode)) return;
  for (const ToolImage& t : kNewFolderImages)
    SendDlgItemMessageA(dialog, t.id, gui::kMsgSetImage, t.slot,
                        reinterpret_cast<LPARAM>(install ? FileDialogImage(t.name) : nullptr));
}

// Fills a combo with string-table rows and selects one (0: none).
void FillChoices(HWND combo, const ComboChoices& choices) {
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  int selected = -1;
  for (size_t i = 0; i < choices.ids.size(); ++i) {
    SendMessageA(combo, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(shell::LoadResString(choices.ids[i])));
    if (choices.ids[i] == choices.selected && selected < 0) selected = static_cast<int>(i);
  }
  if (selected >= 0) SendMessageA(combo, CB_SETCURSEL, selected, 0);
}

void FillFileTypeCombo(HWND dialog) {
  EnableWindow(GetDlgItem(dialog, kIdFolderUp), TRUE);
  FillChoices(
      GetDlgItem(dialog, kIdFileType),
      FileTypeChoices(g_state.type, g_state.mode, shell::GetShellHost().GetCurrentRoomId()));
}

void FillOpenAsCombo(HWND dialog) {
  const ComboChoices choices = OpenAsChoices(g_state.type);
  FillChoices(GetDlgItem(dialog, kIdOpenAs), choices);
  g_state.openAs = choices.openAs;
}

std::string SelectedComboText(HWND combo) {
  return ListItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT,
                      static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)));
}

bool ApplyFileTypeChoice(HWND dialog) {
  const std::string text = SelectedComboText(GetDlgItem(dialog, kIdFileType));
  const int type = FileTypeOfChoice(text, g_state.mode);
  if (type < 0 || type != g_state.type) g_state.openAs = 0;
  if (type < 0 || type == g_state.type) return false;
  g_state.type = type;
  return true;
}

void ReadOpenAsChoice(HWND dialog) {
  const int code = OpenAsOfChoice(SelectedComboText(GetDlgItem(dialog, kIdOpenAs)));
  if (code >= 0) g_state.openAs = code;
}

// Captions, button texts and initial names of the modes other than 0, 1, 6.
void ApplyModeTexts(HWND dialog) {
  char name[kFileDialogPathSize] = {};
  switch (g_state.mode) {
    case kModeDelete:
      SetWindowTextA(dialog, shell::LoadResString(2219));
      SetDlgItemTextA(dialog, kIdFileLoad, shell::LoadResString(2222));
      break;
    case kModeImport:
      SetWindowTextA(dialog, shell::LoadResString(2223));
      SetDlgItemTextA(dialog, kIdFileLoad, shell::LoadResString(2220));
      break;
    case kModeExport:
    case kModeCreate: {
      const bool exporting = g_state.mode == kModeExport;
      SetWindowTextA(dialog, shell::LoadResString(exporting ? 2224 : 2226));
      SetDlgItemTextA(dialog, kIdFileSave, shell::LoadResString(exporting ? 2221 : 2225));
      std::snprintf(name, sizeof name, exporting ? "%s.PGN" : "%s.TBG",
                    shell::GetCurrentUserName());
      SetWindowTextA(g_state.edit, name);
      break;
    }
    default:
      break;
  }
}

void OnInitDialog(HWND dialog, LPARAM creation) {
  SetWindowLongPtrA(dialog, DWLP_USER, creation);
  if (!g_state.currentFolder[0]) SetPathText(g_state.currentFolder, DialogFolder());
  g_state.edit = GetDlgItem(dialog, kIdFileName);
  g_state.list = GetDlgItem(dialog, kIdFileList);
  const WPARAM font = reinterpret_cast<WPARAM>(gui::GuiGetFont(2));
  if (font) {
    for (HWND w : {dialog, g_state.edit, g_state.list})
      SendMessageA(w, WM_SETFONT, font, FALSE);
  }
  SendMessageA(g_state.edit, EM_LIMITTEXT, kNameLimit, 0);
  SendMessageA(g_state.list, LB_SETITEMHEIGHT, 0, kItemHeight);
  SendDlgItemMessageA(dialog, kIdFileType, CB_SETITEMHEIGHT, 0, kItemHeight);
  if (creation & kCreateOpenAs)
    SendDlgItemMessageA(dialog, kIdOpenAs, CB_SETITEMHEIGHT, 0, kItemHeight);
  FillFolderCombo(dialog, g_state.currentFolder, true);
  FillFileTypeCombo(dialog);
  if (creation & kCreateOpenAs) FillOpenAsCombo(dialog);
  RequestRefresh(dialog);
  if (g_state.mode == kModeSave || g_state.mode == kModeSavePreset)
    SetWindowTextA(g_state.edit, g_state.fileName);
  SendMessageA(g_state.edit, EM_SETMODIFY, FALSE, 0);
  SetToolImages(dialog, true);
  ApplyModeTexts(dialog);
  if (creation & kCreateReadOnly)
    ShowWindow(GetDlgItem(dialog, kIdReadOnly), g_state.readOnlyResult ? SW_SHOW : SW_HIDE);
  shell::CenterWindow(dialog, GetWindow(dialog, GW_OWNER));
  SetFocus(dialog);
}

// Into a folder of the list or the combo: the combo and the list follow.
void EnterFolder(HWND dialog, const std::string& name) {
  if (!ChangeFileDialogFolder(name)) return;
  FillFolderCombo(dialog, g_state.currentFolder, true);
  RequestRefresh(dialog);
}

bool TypedFileAccepted(const std::string& name) {
  const std::string path = JoinDialogPath(DialogFolder(), name);
  const DWORD attributes =
      path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
  const bool missing = attributes == INVALID_FILE_ATTRIBUTES;
  if (g_state.mustExist && missing) return false;
  const int kind =
      DetectFileKind(DialogFolder(), name, !missing && (attributes & FILE_ATTRIBUTE_DIRECTORY),
                     !missing && (attributes & FILE_ATTRIBUTE_HIDDEN));
  if (g_state.type == kTypeTournaments) return kind == kKindTournament;
  if (g_state.type == kTypeSavedGames) return FileKindMatchesFilter(kTypeSavedGames, kind);
  return true;
}

void OnLoad(HWND dialog) {
  const std::string typed = DlgText(dialog, kIdFileName);
  const std::string item =
      ListItemText(g_state.list, LB_GETTEXTLEN, LB_GETTEXT,
                   static_cast<int>(SendMessageA(g_state.list, LB_GETCURSEL, 0, 0)));
  if (item.size() > 1 && item[0] == kKindFolder) {
    EnterFolder(dialog, item.substr(1));
    return;
  }
  if (!typed.empty()) {
    std::string name = typed;
    const bool valid = ValidateFileName(&name);
    SetPathText(g_state.fileName, name);
    SetPathText(g_state.chosenFolder, DialogFolder());
    StoreReadOnly(dialog);
    if (valid && TypedFileAccepted(name))
      Confirm(dialog);
    else if (valid)
      Notice(shell::LoadResString(kStrFileUnsuitable));
    SetWindowTextA(g_state.edit, g_state.fileName);
    return;
  }
  if (item.size() > 1) {
    SetPathText(g_state.fileName, item.substr(1));
    SetPathText(g_state.chosenFolder, DialogFolder());
    StoreReadOnly(dialog);
    Confirm(dialog);
  }
}

void OnSave(HWND dialog) {
  std::string name = DlgText(dialog, kIdFileName);
  const bool valid = ValidateFileName(&name);
  if (valid) AppendDefaultExtension(&name, g_state.type);
  SetPathText(g_state.fileName, name);
  SetPathText(g_state.chosenFolder, DialogFolder());
  SetWindowTextA(g_state.edit, g_state.fileName);
  if (name.empty())
    Notice(shell::LoadResString(kStrNameRequired));
  else if (valid)
    Confirm(dialog);
}

bool ComboSettled(HWND dialog, int id, WORD code) {
  return (code == CBN_SELCHANGE || code == CBN_CLOSEUP) &&
         !SendDlgItemMessageA(dialog, id, CB_GETDROPPEDSTATE, 0, 0);
}

void OnListCommand(HWND dialog, WORD code, LPARAM lp) {
  if (lp == kFileListRefresh) {
    if (FillFileList(dialog) > 0) {
      SendMessageA(g_state.list, LB_SETCURSEL, 0, 0);
      SetFocus(g_state.list);
    }
    return;
  }
  const int selected = static_cast<int>(SendMessageA(g_state.list, LB_GETCURSEL, 0, 0));
  const std::string item = ListItemText(g_state.list, LB_GETTEXTLEN, LB_GETTEXT, selected);
  if (item.size() < 2) return;
  const bool folder = item[0] == kKindFolder;
  if (code == LBN_SELCHANGE && !folder) SetWindowTextA(g_state.edit, item.c_str() + 1);
  if (code != LBN_DBLCLK) return;
  if (folder)
    EnterFolder(dialog, item.substr(1));
  else
    SendMessageA(dialog, WM_COMMAND, g_state.mode == kModeSave ? kIdFileSave : kIdFileLoad, 0);
}

void PlayCommandSound(int id) {
  switch (id) {
    case kIdFileSave:
    case kIdFileDelete:
      Sound("SgpSavP1.wav");
      break;
    case kIdFileLoad:
      Sound("SBouOK1.wav");
      break;
    case IDCANCEL:
      Sound("SBouFer1.wav");
      break;
  }
}

void OnCommand(HWND dialog, WPARAM wp, LPARAM lp) {
  const int id = LOWORD(wp);
  const WORD code = HIWORD(wp);
  if (code == 0) PlayCommandSound(id);
  switch (id) {
    case IDOK:
      if (lp == kSelfConfirm)
        EndDialog(dialog, 1);
      else  // Enter: the mode's confirming button
        SendMessageA(dialog, WM_COMMAND, IsSaveMode(g_state.mode) ? kIdFileSave : kIdFileLoad, 0);
      break;
    case IDCANCEL:
      ResetToUserFolder();
      EndDialog(dialog, 0);
      break;
    case kIdFileLoad:
      OnLoad(dialog);
      break;
    case kIdFileSave:
      OnSave(dialog);
      break;
    case kIdFolderUp:
      EnterFolder(dialog, "..");
      break;
    case kIdSearchIn:
      if (ComboSettled(dialog, id, code)) {
        const bool changed = SelectFolderComboItem(dialog);
        FillFolderCombo(dialog, g_state.currentFolder, true);
        if (changed) RequestRefresh(dialog);
      }
      break;
    case kIdFileList:
      OnListCommand(dialog, code, lp);
      break;
    case kIdFileType:
      if (ComboSettled(dialog, id, code) && ApplyFileTypeChoice(dialog)) RequestRefresh(dialog);
      break;
    case kIdOpenAs:
      if (ComboSettled(dialog, id, code)) ReadOpenAsChoice(dialog);
      break;
    case kIdNewFolder:
      if (shell::DoModalDialog(GetModuleHandleA(nullptr), kNewFolderTemplate, dialog,
                               NewFolderDlgProc, 0) > 0)
        RequestRefresh(dialog);
      break;
    case kHelpContents:
      if (HWND main = GetMainFrameWindow()) SendMessageA(main, WM_COMMAND, wp, lp);
      break;
    default:
      break;
  }
}

void CreateNewFolder(HWND dialog) {
  char name[512] = {};
  GetDlgItemTextA(dialog, kIdNewFolderName, name, sizeof name);
  if (!name[0]) return;
  const std::string path = JoinDialogPath(DialogFolder(), name);
  if (!path.empty() && CreateDirectoryA(path.c_str(), nullptr)) {
    EndDialog(dialog, 1);
    return;
  }
  const bool exists = !path.empty() && GetLastError() == ERROR_ALREADY_EXISTS;
  Notice(shell::LoadResString(exists ? kStrFolderExists : kStrFolderFailed));
}

}  // namespace

FileDialogState& DialogState() { return g_state; }

void SetGlobalTextBuffer(const char* folder) {
  if (folder) SetPathText(g_state.currentFolder, folder);
}

char* GetFileDialogRecord() { return g_state.currentFolder; }

INT_PTR CALLBACK FileDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, lp);
      return FALSE;
    case WM_DESTROY:
      SetToolImages(dialog, false);
      return FALSE;
    case WM_DRAWITEM: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (d->CtlID == kIdFileList) DrawFileListItem(dialog, d);
      if (d->CtlID == kIdSearchIn) DrawFolderComboItem(dialog, d);
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    case WM_COMMAND:
      OnCommand(dialog, wp, lp);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK NewFolderDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      SendDlgItemMessageA(dialog, kIdNewFolderName, EM_LIMITTEXT, kNameLimit, 0);
      if (HFONT font = static_cast<HFONT>(gui::GuiGetFont(2)))
        SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      shell::CenterWindow(dialog, GetWindow(dialog, GW_OWNER));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        Sound("SBouOK1.wav");
        CreateNewFolder(dialog);
      } else if (LOWORD(wp) == IDCANCEL) {
        Sound("SBouFer1.wav");
        EndDialog(dialog, 0);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

int RunFileDialog(HINSTANCE module, HWND owner, char* path, int, int mode, int type, int mustExist,
                  int* outType, int* outOpenAs, int* outReadOnly) {
  g_state.type = type;
  g_state.mode = mode;
  g_state.mustExist = mustExist;
  g_state.readOnlyResult = outReadOnly;
  g_state.openAs = 0;
  char saved[kFileDialogPathSize] = {};
  const DWORD n = GetCurrentDirectoryA(sizeof saved, saved);
  if (!n || n >= sizeof saved) saved[0] = 0;
  INT_PTR result = 0;
  if (mode == kModeOpen || mode == kModeDelete || mode == kModeImport) {
    g_state.fileName[0] = 0;
    result = shell::DoModalDialog(module, kOpenTemplate, owner, FileDialogProc,
                                  kCreateOpenAs | kCreateReadOnly);
  } else if (IsSaveMode(mode)) {
    if (!path || !SetPathText(g_state.fileName, std::string(path, strnlen(path, 259))))
      g_state.fileName[0] = 0;
    HWND main = GetMainFrameWindow();
    if (main) EnableWindow(main, FALSE);
    result = shell::DoModalDialog(module, kSaveTemplate, owner, FileDialogProc, 0);
    if (main) EnableWindow(main, TRUE);
  }
  if (result > 0) {
    const std::string chosen = JoinDialogPath(g_state.chosenFolder, g_state.fileName);
    if (chosen.empty() || !path)
      result = 0;
    else
      std::memcpy(path, chosen.c_str(), chosen.size() + 1);
    ResetToUserFolder();
  }
  if (outType) *outType = g_state.type;
  if (outOpenAs) *outOpenAs = g_state.openAs;
  if (saved[0]) SetCurrentDirectoryA(saved);
  return result > 0 ? 1 : 0;
}

}  // namespace ui
