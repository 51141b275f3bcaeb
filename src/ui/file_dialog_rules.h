#pragma once
// The program file dialog's rules, apart from its windows: what a directory
// entry is, which entries a filter lists and in what order, how a typed name
// is cleaned and completed, and how the "File type" and "Open as" choices
// map to types and codes.
#include <cstdint>
#include <string>
#include <vector>

namespace ui {

constexpr size_t kFileDialogPathSize = 260;

// The kinds of directory entries (0: never listed).
enum FileKind : int {
  kKindHidden = 0,
  kKindFile = 1,
  kKindSavedGameFirst = 4,  // 4..8 by byte 33 of the file
  kKindSavedGame = 9,
  kKindDatabase = 10,
  kKindBitmap = 11,
  kKindText = 12,
  kKindPgn = 13,
  kKindTutorial = 14,
  kKindPersonality = 15,
  kKindTournament = 16,
  kKindBook = 17,
  kKindFolder = 18,
  kKindDriveFirst = 19,  // 19..23 removable, fixed, remote, CD-ROM, RAM disk
  kKindLayout = 24,
  kKindProgram = 25,
  kKindCrossagram = 27,
};

// The filters the callers pass.
enum FileDialogType : int {
  kTypeAll = 0,
  kTypeSavedGames = 2,
  kTypeText = 3,
  kTypePgn = 4,
  kTypeTournaments = 5,
  kTypePersonalities = 7,
  kTypeBoardPosition = 9,
  kTypeText10 = 10,
  kTypeBooks = 11,
  kTypeLayouts = 12,
  kTypeCrossagramDatabase = 14,
  kTypeBitmaps = 15,
  kTypePrograms = 16,
  kTypeCrossagrams = 17,
};

// The kind of `name` in `folder`: a hidden entry (`hidden`) or a "."-folder
// is 0; a saved game too short to read is 0.
int DetectFileKind(const std::string& folder, const std::string& name, bool isDirectory,
                   bool hidden);
bool FileKindMatchesFilter(int type, int kind);
// The extension a save adds for the type ("" for none).
const char* FileTypeExtension(int type);
// Appends the type's extension unless the name already ends with it.
void AppendDefaultExtension(std::string* name, int type);
// Cleans the name in place and answers whether it can be used; forbidden
// characters and reserved device names are told to the user.
bool ValidateFileName(std::string* name);

// One listed entry: its kind and name; the list keeps folders first, then
// files, each by name without regard to case.
struct FileListItem {
  int kind;
  std::string name;
};
void InsertFileListItem(std::vector<FileListItem>* list, FileListItem item);
// The entries of a folder as the list shows them for the filter.
std::vector<FileListItem> ListFolder(const std::string& folder, int type);

// "File type" choices: the type a combo text stands for; -1 when none
// matches. `mode` is the dialog mode (0 open, 1 save ...).
int FileTypeOfChoice(const std::string& text, int mode);
// "Open as" choices: the code a combo text stands for, -1 when none.
int OpenAsOfChoice(const std::string& text);

// The dialog modes.
enum FileDialogMode : int {
  kModeOpen = 0,
  kModeSave = 1,
  kModeDelete = 2,
  kModeImport = 3,
  kModeExport = 4,
  kModeCreate = 5,
  kModeSavePreset = 6,
};
bool IsSaveMode(int mode);  // the save template: modes 1, 4, 5 and 6

// A combo's content as string-table numbers, and the one selected (0: none).
struct ComboChoices {
  std::vector<uint32_t> ids;
  uint32_t selected = 0;
  int openAs = 0;  // "Open as" only: the code in force once filled
};
// The "File type" rows for the caller's type in this mode and room.
ComboChoices FileTypeChoices(int type, int mode, int room);
// The hidden "Open as" rows for the type.
ComboChoices OpenAsChoices(int type);

// The non-empty folder names of an absolute path after its drive
// ("c:\a\\b\" gives a, b).
std::vector<std::string> FolderComponents(const std::string& path);
// "x:\" (three characters).
bool IsDriveRoot(const std::string& path);
// folder + "\" + name, without doubling the root's separator; "" when the
// result would not fit a path buffer.
std::string JoinDialogPath(const std::string& folder, const std::string& name);

}  // namespace ui
