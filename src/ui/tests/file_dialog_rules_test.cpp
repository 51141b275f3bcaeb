#include "ui/file_dialog_rules.h"

#include <gtest/gtest.h>

#include "platform/path.h"
#include "recording_sink.h"
#include "shell/res_strings.h"
#include "temp_dir.h"

namespace ui {
namespace {

TEST(FileNames, CleaningAndItsMessages) {
  struct Case {
    const char* typed;
    const char* cleaned;
    bool accepted;
    size_t messages;
  } cases[] = {
      {"game one", "game one", true, 0},
      {"a/b.", "a-b", false, 1},  // warned, cleaned, refused this time
      {"a-b", "a-b", true, 0},    // the second Save takes it
      {"  lead. . ", "lead", true, 0},
      {"x*y?z<>|\"", "xyz", false, 1},
      {"tab\there", "tabhere", true, 0},
      {"caf\xe9 \x80", "caf\xe9", true, 0},  // accented letters stay, other high bytes go
      {"CON.TSB", "CON.TSB", false, 1},      // a device name
      {"con", "con", false, 1},
      {"...", "", false, 0},
  };
  for (const Case& c : cases) {
    testsupport::RecordingSink sink;
    std::string name = c.typed;
    EXPECT_EQ(ValidateFileName(&name), c.accepted) << c.typed;
    EXPECT_EQ(name, c.cleaned) << c.typed;
    EXPECT_EQ(sink.messages.size(), c.messages) << c.typed;
  }
  testsupport::RecordingSink sink;
  std::string device = "Con.txt";
  ValidateFileName(&device);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text.rfind("Con.txt' is already taken.", 0), 0u);
}

TEST(FileNames, DefaultExtensions) {
  struct Case {
    const char* name;
    int type;
    const char* result;
  } cases[] = {
      {"a-b", kTypeSavedGames, "a-b.TSB"},           {"game.tsb", kTypeSavedGames, "game.tsb"},
      {"game.txt", kTypeSavedGames, "game.txt.TSB"}, {"cup", kTypeTournaments, "cup.TST"},
      {"grid", kTypeCrossagrams, "grid.CRA"},        {"any", kTypeAll, "any"},
      {"base", kTypeCrossagramDatabase, "base"},
  };
  for (const Case& c : cases) {
    std::string name = c.name;
    AppendDefaultExtension(&name, c.type);
    EXPECT_EQ(name, c.result);
  }
  std::string full(kFileDialogPathSize - 2, 'x');
  AppendDefaultExtension(&full, kTypeSavedGames);  // would not fit
  EXPECT_EQ(full.size(), kFileDialogPathSize - 2);
}

TEST(FileList, KindsFiltersAndOrder) {
  testsupport::TempDir dir;
  const std::string folder = dir.path();
  auto write = [&](const std::string& name, const std::string& bytes) {
    testsupport::WriteBytes(dir / name, bytes);
  };
  std::string game(40, '\0');
  game[33] = 6;
  write("b.TSB", game);
  game[33] = 42;
  write("a.tsb", game);
  write("short.TSB", "too short");
  write("Notes.txt", "x");
  write("cup.TST", "x");
  write("readme", "x");
  platform::MakeDirectory((folder + "/zeta").c_str());
  platform::MakeDirectory((folder + "/Alpha").c_str());
  platform::MakeDirectory((folder + "/.cache").c_str());

  EXPECT_EQ(DetectFileKind(folder, "b.TSB", false, false), 6);
  EXPECT_EQ(DetectFileKind(folder, "a.tsb", false, false), kKindSavedGame);
  EXPECT_EQ(DetectFileKind(folder, "short.TSB", false, false), kKindHidden);
  EXPECT_EQ(DetectFileKind(folder, "x.TXT", false, true), kKindHidden);  // hidden
  EXPECT_EQ(DetectFileKind(folder, ".cache", true, false), kKindHidden);

  auto names = [](const std::vector<FileListItem>& list) {
    std::string s;
    for (const FileListItem& i : list)
      s += i.name + ",";
    return s;
  };
  EXPECT_EQ(names(ListFolder(folder, kTypeSavedGames)), "Alpha,zeta,a.tsb,b.TSB,");
  EXPECT_EQ(names(ListFolder(folder, kTypeAll)),
            "Alpha,zeta,a.tsb,b.TSB,cup.TST,Notes.txt,readme,");
  EXPECT_EQ(names(ListFolder(folder, kTypePgn)), "Alpha,zeta,");  // folders only
  EXPECT_EQ(names(ListFolder(folder, 18)), "Alpha,zeta,");
}

TEST(FileChoices, ComboTextsMapToTypesAndCodes) {
  // The table's texts are in the program's code page.
  EXPECT_EQ(FileTypeOfChoice(shell::LoadResString(2216), 0), kTypeSavedGames);
  EXPECT_EQ(FileTypeOfChoice("CROSSAGRAM games (*.CRA)", 1), kTypeCrossagrams);
  EXPECT_EQ(FileTypeOfChoice("Board position", 0), kTypeText);
  EXPECT_EQ(FileTypeOfChoice("Board position", 1), kTypeBoardPosition);
  EXPECT_EQ(FileTypeOfChoice("", 0), kTypePgn);  // the first empty text
  EXPECT_EQ(FileTypeOfChoice("nothing like it", 0), -1);
  EXPECT_EQ(OpenAsOfChoice("Auto"), 0);
  EXPECT_EQ(OpenAsOfChoice("Tournament"), 5);
  EXPECT_EQ(OpenAsOfChoice("?"), -1);
}

TEST(FileChoices, FileTypeRowsByTypeModeAndRoom) {
  struct Case {
    int type, mode, room;
    std::vector<uint32_t> ids;
    uint32_t selected;
  } cases[] = {
      {kTypeSavedGames, kModeOpen, 0, {2169, 2172, 2218}, 2169},  // the lobby opens every kind
      {kTypeSavedGames, kModeOpen, 1, {2169}, 2169},
      {kTypeSavedGames, kModeOpen, 2, {2216, 2172, 2218}, 2216},
      {kTypeSavedGames, kModeOpen, 7, {2169, 2218}, 2169},
      {kTypeSavedGames, kModeSave, 1, {2216}, 2216},
      {kTypeSavedGames, kModeSavePreset, 1, {2177}, 2177},
      {kTypeText, kModeImport, 0, {2177}, 2173},  // selects a row it does not list
      {kTypeTournaments, kModeOpen, 0, {2172}, 2172},
      {kTypeBitmaps, kModeOpen, 0, {2229}, 2229},
      {kTypeCrossagrams, kModeSave, 7, {2218, 2180}, 2218},
      {18, kModeOpen, 0, {2181}, 2181},
  };
  for (const Case& c : cases) {
    const ComboChoices got = FileTypeChoices(c.type, c.mode, c.room);
    EXPECT_EQ(got.ids, c.ids) << c.type << " " << c.mode << " " << c.room;
    EXPECT_EQ(got.selected, c.selected) << c.type << " " << c.mode << " " << c.room;
  }
  const ComboChoices games = OpenAsChoices(kTypeSavedGames);
  EXPECT_EQ(games.ids, (std::vector<uint32_t>{2182, 2183}));
  EXPECT_EQ(games.openAs, 0);
  EXPECT_EQ(OpenAsChoices(kTypeBitmaps).openAs, 15);
  EXPECT_EQ(OpenAsChoices(kTypePrograms).selected, 2236u);
  EXPECT_EQ(OpenAsChoices(kTypeCrossagrams).openAs, 2);
}

TEST(FolderPaths, ComponentsRootsAndBoundedJoins) {
  EXPECT_EQ(FolderComponents("c:\\Games\\\\Saved\\"), (std::vector<std::string>{"Games", "Saved"}));
  EXPECT_TRUE(FolderComponents("c:\\").empty());
  EXPECT_TRUE(IsDriveRoot("c:\\"));
  EXPECT_FALSE(IsDriveRoot("c:\\a"));
  EXPECT_EQ(JoinDialogPath("c:\\", "a.TSB"), "c:\\a.TSB");
  EXPECT_EQ(JoinDialogPath("c:\\Games", ".."), "c:\\Games\\..");
  const std::string deep = "c:\\" + std::string(250, 'd');
  EXPECT_EQ(JoinDialogPath(deep, "long-name.TSB"), "");  // would pass 259 characters
  EXPECT_EQ(JoinDialogPath(deep, "a").size(), 255u);
}

}  // namespace
}  // namespace ui
