#include "ui/file_dialog_rules.h"

#include <cstring>
#include <strings.h>

#include "platform/message_sink.h"
#include "platform/path.h"
#include "shell/file_utils.h"
#include "shell/res_strings.h"

namespace ui {
namespace {

constexpr uint32_t kStrForbiddenCharacters = 2166;
constexpr uint32_t kStrNameTaken = 2167;
constexpr char kForbidden[] = "\\/:*?\"<>|";

bool EqualNoCase(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// The text from the last '.', or "".
std::string Extension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

struct ExtensionKind {
  const char* extension;
  int kind;
};
constexpr ExtensionKind kExtensionKinds[] = {{".TXT", kKindText},        {".LAY", kKindLayout},
                                             {".TUT", kKindTutorial},    {".OBK", kKindBook},
                                             {".QNP", kKindPersonality}, {".TST", kKindTournament},
                                             {".TBG", kKindDatabase},    {".BMP", kKindBitmap},
                                             {".EXE", kKindProgram},     {".CRA", kKindCrossagram}};

int SavedGameKind(const std::string& path) {
  std::vector<uint8_t> head;
  if (platform::ReadFileHead(path.c_str(), 34, head) != platform::ReadStatus::kOk ||
      head.size() < 34)
    return kKindHidden;
  const int8_t b = static_cast<int8_t>(head[33]);
  return b >= kKindSavedGameFirst && b <= 8 ? static_cast<int>(b)
                                            : static_cast<int>(kKindSavedGame);
}

// Bytes the cleaning keeps even though they lie above 127: the accented
// letters of the program's code page.
bool KeptHighByte(uint8_t c) {
  return c >= 192 || c == 138 || c == 154 || c == 156 || c == 159 || c == 161 || c == 182 ||
         c == 191;
}

std::string SortKey(const FileListItem& item) {
  return (item.kind == kKindFolder ? "D" : "F") + item.name;
}

}  // namespace

int DetectFileKind(const std::string& folder, const std::string& name, bool isDirectory,
                   bool hidden) {
  if (hidden) return kKindHidden;
  if (isDirectory) return !name.empty() && name[0] == '.' ? kKindHidden : kKindFolder;
  const std::string ext = Extension(name);
  if (ext.size() == 4) {
    for (const ExtensionKind& e : kExtensionKinds)
      if (EqualNoCase(ext, e.extension)) return e.kind;
    if (EqualNoCase(ext, ".TSB")) return SavedGameKind(platform::JoinPath(folder, name));
  }
  return kKindFile;
}

bool FileKindMatchesFilter(int type, int kind) {
  switch (type) {
    case kTypeAll:
      return kind != kKindHidden;
    case kTypeSavedGames:
      return kind >= kKindSavedGameFirst && kind <= kKindSavedGame;
    case kTypeText:
    case kTypeBoardPosition:
    case kTypeText10:
      return kind == kKindText;
    case kTypePgn:
      return kind == kKindPgn;
    case kTypeTournaments:
      return kind == kKindTournament;
    case kTypePersonalities:
      return kind == kKindPersonality;
    case kTypeBooks:
      return kind == kKindBook;
    case kTypeLayouts:
      return kind == kKindLayout;
    case kTypeCrossagramDatabase:
      return kind == kKindDatabase;
    case kTypeBitmaps:
      return kind == kKindBitmap;
    case kTypePrograms:
      return kind == kKindProgram;
    case kTypeCrossagrams:
      return kind == kKindCrossagram;
    default:
      return false;
  }
}

const char* FileTypeExtension(int type) {
  switch (type) {
    case kTypeSavedGames:
      return ".TSB";
    case kTypeText:
    case kTypeBoardPosition:
    case kTypeText10:
      return ".TXT";
    case kTypePgn:
      return ".PGN";
    case kTypeTournaments:
      return ".TST";
    case kTypePersonalities:
      return ".QNP";
    case kTypeBooks:
      return ".OBK";
    case kTypeLayouts:
      return ".LAY";
    case kTypeBitmaps:
      return ".BMP";
    case kTypePrograms:
      return ".EXE";
    case kTypeCrossagrams:
      return ".CRA";
    default:
      return "";
  }
}

void AppendDefaultExtension(std::string* name, int type) {
  const char* ext = FileTypeExtension(type);
  if (!*ext || EqualNoCase(Extension(*name), ext)) return;
  // The result must still fit the dialog's path buffer.
  if (name->size() + std::strlen(ext) < kFileDialogPathSize) *name += ext;
}

bool ValidateFileName(std::string* name) {
  bool ok = true;
  if (name->find_first_of(kForbidden) != std::string::npos) {
    platform::ShowNotice(shell::LoadResString(kStrForbiddenCharacters), "", 0);
    ok = false;
  }
  std::string clean;
  for (char ch : *name) {
    const uint8_t c = static_cast<uint8_t>(ch);
    if (clean.empty() && c == ' ') continue;
    if (c == '/')
      clean += '-';
    else if (std::strchr(kForbidden, ch) || c < 32 || (c > 127 && !KeptHighByte(c)))
      continue;
    else
      clean += ch;
  }
  while (!clean.empty() && (clean.back() == '.' || clean.back() == ' '))
    clean.pop_back();
  *name = clean;
  if (!ok || clean.empty()) return false;
  const std::string stem = clean.substr(0, clean.find('.'));
  if (shell::IsReservedDeviceName(stem.c_str())) {
    std::string text = shell::LoadResString(kStrNameTaken);
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, clean);
    platform::ShowNotice(text.substr(0, 511).c_str(), "", 0);
    return false;
  }
  return true;
}

void InsertFileListItem(std::vector<FileListItem>* list, FileListItem item) {
  if (item.kind == kKindHidden) return;
  const std::string key = SortKey(item);
  auto at = list->begin();
  while (at != list->end() && strcasecmp(SortKey(*at).c_str(), key.c_str()) <= 0)
    ++at;
  list->insert(at, std::move(item));
}

std::vector<FileListItem> ListFolder(const std::string& folder, int type) {
  std::vector<FileListItem> list;
  for (const platform::FindEntry& e :
       platform::FindFiles(platform::JoinPath(folder, "*.*").c_str())) {
    if (e.name == "." || e.name == "..") continue;
    const int kind = DetectFileKind(folder, e.name, e.isDirectory, false);
    if (kind == kKindFolder || (kind != kKindHidden && FileKindMatchesFilter(type, kind)))
      InsertFileListItem(&list, FileListItem{kind, e.name});
  }
  return list;
}

int FileTypeOfChoice(const std::string& text, int mode) {
  const struct {
    uint32_t id;
    int type;
  } choices[] = {{2169, 2},
                 {2216, 2},
                 {2218, 17},
                 {2177, 4},
                 {2172, 5},
                 {2180, 7},
                 {2178, 11},
                 {2173, 3},
                 {2209, 12},
                 {2229, 15},
                 {2237, 16},
                 {2175, mode ? 9 : 3},
                 {2176, mode ? 10 : 3},
                 {2181, 0}};
  for (const auto& c : choices)
    if (text == shell::LoadResString(c.id)) return c.type;
  return -1;
}

int OpenAsOfChoice(const std::string& text) {
  const struct {
    uint32_t id;
    int code;
  } choices[] = {{2183, 2}, {2186, 4},  {2217, 14}, {2188, 9},  {2189, 10}, {2190, 5},
                 {2191, 7}, {2192, 11}, {2228, 15}, {2236, 16}, {2182, 0}};
  for (const auto& c : choices)
    if (text == shell::LoadResString(c.id)) return c.code;
  return -1;
}

bool IsSaveMode(int mode) {
  return mode == kModeSave || mode == kModeExport || mode == kModeCreate || mode == kModeSavePreset;
}

namespace {

constexpr uint32_t kStrGamesOpen = 2169, kStrGames = 2216, kStrTournaments = 2172,
                   kStrCrossagrams = 2218, kStrEmptyPgn = 2177, kStrAll = 2181, kStrText = 2173,
                   kStrBoardPosition = 2175, kStrText10 = 2176;
constexpr int kRoomStandard = 1, kRoomTournament = 2, kRoomCrossagram = 7;

// The row a type alone lists, for the types with one row of their own.
uint32_t SingleRow(int type) {
  switch (type) {
    case kTypeTournaments:
      return kStrTournaments;
    case kTypePersonalities:
      return 2180;
    case kTypeBooks:
      return 2178;
    case kTypeLayouts:
      return 2209;
    case kTypeCrossagramDatabase:
      return kStrCrossagrams;
    case kTypeBitmaps:
      return 2229;
    case kTypePrograms:
      return 2237;
    default:
      return kStrAll;
  }
}

}  // namespace

ComboChoices FileTypeChoices(int type, int mode, int room) {
  ComboChoices c;
  switch (type) {
    case kTypeAll:
    case kTypeSavedGames:
    case kTypeText:
    case kTypePgn:
    case kTypeBoardPosition:
    case kTypeText10:
      if (((type == kTypeSavedGames && mode != kModeSavePreset) ||
           (type != kTypeSavedGames && type != kTypePgn)) &&
          mode != kModeImport && mode != kModeExport) {
        c.ids.push_back(mode != kModeOpen || room == kRoomTournament ? kStrGames : kStrGamesOpen);
        if (mode == kModeOpen && room != kRoomStandard && room != kRoomCrossagram) {
          c.ids.push_back(kStrTournaments);
          c.ids.push_back(kStrCrossagrams);
        } else if (mode == kModeOpen && room == kRoomCrossagram) {
          c.ids.push_back(kStrCrossagrams);
        }
      } else {
        c.ids.push_back(kStrEmptyPgn);
      }
      break;
    case kTypeCrossagrams:
      c.ids = {kStrCrossagrams, 2180};
      c.selected = kStrCrossagrams;
      return c;
    default:
      c.ids.push_back(SingleRow(type));
      c.selected = c.ids.back();
      return c;
  }
  switch (type) {
    case kTypeAll:
      c.selected = kStrAll;  // not among the rows: nothing is selected
      break;
    case kTypeSavedGames:
      // 2169 and 2216 read the same: the combo selects by text, so the
      // games row is chosen whichever of the two it holds.
      c.selected = mode == kModeSavePreset ? kStrEmptyPgn : mode ? kStrGames : kStrGamesOpen;
      if (mode != kModeSavePreset && c.ids.front() != kStrEmptyPgn) c.selected = c.ids.front();
      break;
    case kTypeText:
      c.selected = kStrText;
      break;
    case kTypePgn:
      c.selected = kStrEmptyPgn;
      break;
    case kTypeBoardPosition:
      c.selected = mode ? kStrBoardPosition : kStrText;
      break;
    case kTypeText10:
      c.selected = mode ? kStrText10 : kStrText;
      break;
  }
  return c;
}

ComboChoices OpenAsChoices(int type) {
  constexpr uint32_t kAuto = 2182;
  switch (type) {
    case kTypeSavedGames:
      return {{kAuto, 2183}, kAuto, 0};
    case kTypeText:
    case kTypeBoardPosition:
    case kTypeText10:
      return {{2188, 2189}, 2189, 10};
    case kTypePgn:
      return {{kAuto, 2186}, 0, 0};
    case kTypeTournaments:
      return {{kAuto, 2190}, 0, 0};
    case kTypePersonalities:
      return {{kAuto, 2191}, 0, 0};
    case kTypeBooks:
      return {{kAuto, 2192}, 0, 0};
    case kTypeLayouts:
      return {{kAuto, 2208}, 0, 0};
    case kTypeCrossagramDatabase:
      return {{kAuto, 2217}, kAuto, 14};
    case kTypeBitmaps:
      return {{kAuto, 2228}, kAuto, 15};
    case kTypePrograms:
      return {{kAuto, 2236}, 2236, 16};
    default:
      return {{2183, 2186, 2188, 2189}, 2183, 2};
  }
}

std::vector<std::string> FolderComponents(const std::string& path) {
  std::vector<std::string> parts;
  const size_t start = path.size() >= 2 && path[1] == ':' ? 2 : 0;
  std::string part;
  for (size_t i = start; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\' || path[i] == '/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += path[i];
    }
  }
  return parts;
}

bool IsDriveRoot(const std::string& path) {
  return path.size() == 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

std::string JoinDialogPath(const std::string& folder, const std::string& name) {
  const bool separated = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
  std::string path = folder + (separated || folder.empty() ? "" : "\\") + name;
  return path.size() < kFileDialogPathSize ? path : std::string();
}

}  // namespace ui
