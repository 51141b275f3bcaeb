#pragma once
// What the file dialog's procedure and its folder, list and drawing helpers
// share: the one dialog's module state.
#include <windows.h>

#include <string>

#include "gui/utils.h"
#include "ui/file_dialog_rules.h"

namespace ui {

struct FileDialogState {
  char currentFolder[kFileDialogPathSize];  // absolute, or "" for the process's
  char chosenFolder[kFileDialogPathSize];
  char fileName[kFileDialogPathSize];  // no folder
  int openAs;
  int* readOnlyResult;
  int mustExist;
  int mode;
  int type;
  HWND edit, list;
};
FileDialogState& DialogState();

// Copies when the text fits the path buffer; false (and nothing changed)
// otherwise.
bool SetPathText(char (&buffer)[kFileDialogPathSize], const std::string& text);
// The current folder, or the process's current directory when none is set.
std::string DialogFolder();

// The "Search in" combo: the drives, then the folders of `path` under its
// drive when `expand`.
void FillFolderCombo(HWND dialog, const std::string& path, bool expand);
// Takes the combo's choice as the current folder; true when it changed.
bool SelectFolderComboItem(HWND dialog);
// Moves into `name` (relative to the current folder, or ".."); false and
// nothing changed when it cannot.
bool ChangeFileDialogFolder(const std::string& name);
// The list of the current folder's sub-folders and matching files.
int FillFileList(HWND dialog);
// An item's text ("%c%s": the kind byte, then the name); "" when none.
std::string ListItemText(HWND control, UINT textLengthMsg, UINT textMsg, int index);

void DrawFileListItem(HWND dialog, const DRAWITEMSTRUCT* item);
void DrawFolderComboItem(HWND dialog, const DRAWITEMSTRUCT* item);
// The skin image of a name, or null.
gui::PackedDIB* FileDialogImage(const char* name);

}  // namespace ui
