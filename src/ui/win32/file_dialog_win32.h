#pragma once
// The program's own file dialog: one modal dialog of the toolkit's widgets
// for every choice of a file to open or a name to save under (the system's
// common dialogs are never used). The portable rules (kinds, filters,
// cleaning, combo rows) are in file_dialog_rules.h.
//
// The dialog changes the process's current directory while it runs and
// restores it when RunFileDialog returns; every path it hands out is
// absolute and at most kFileDialogPathSize - 1 characters.
#include <windows.h>

#include "ui/file_dialog_rules.h"

namespace ui {

// Control ids of the templates.
enum : int {
  kIdFileLoad = 171,
  kIdFileSave = 172,
  kIdFolderUp = 173,
  kIdSearchIn = 174,
  kIdFileList = 175,
  kIdFileName = 176,
  kIdFileType = 177,
  kIdOpenAs = 178,
  kIdNewFolder = 179,
  kIdNewFolderName = 180,
  kIdReadOnly = 181,
  kIdFileDelete = 5795,
};
// lParam of WM_COMMAND 175 that asks the dialog to fill its list again.
constexpr LPARAM kFileListRefresh = 777;

// Runs the dialog modally; 1 when the user confirmed, 0 when cancelled or
// for a mode that shows nothing. `path` holds kFileDialogPathSize
// characters: the initial name in the save modes, the chosen full path on
// confirmation. The outs (each may be null) receive the filter finally in
// force and the open-as code whatever the result. `spare` has no use.
int RunFileDialog(HINSTANCE module, HWND owner, char* path, int spare, int mode, int type,
                  int mustExist, int* outType, int* outOpenAs, int* outReadOnly);
// The folder the next dialog starts in (an absolute path).
void SetGlobalTextBuffer(const char* folder);
// The dialog's current folder, kFileDialogPathSize characters (callers save
// it before pointing the dialog elsewhere and restore it after).
char* GetFileDialogRecord();

INT_PTR CALLBACK FileDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
INT_PTR CALLBACK NewFolderDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace ui
