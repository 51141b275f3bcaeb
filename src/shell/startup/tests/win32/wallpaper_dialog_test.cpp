// The rooms' backgrounds as the program keeps them, under Wine: the
// "Select Wallpaper" dialog driven by posted input (a typed gradient kept on
// OK and dropped on Cancel, a typed bitmap name taken from the Wallpaper
// folder, a picture of too few colours refused), the pictures the Room
// window gets, and the options' hooks that change them (a theme's picture,
// the board model).
// Screenshot: <build>/screenshots/startup_wallpaper_select.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gui/gui_memory.h"
#include "platform/ini.h"
#include "scene/game_room.h"
#include "scene/win32/room_window.h"
#include "screenshot.h"
#include "shell/app_context.h"
#include "shell/startup/win32/options_hooks.h"
#include "shell/startup/win32/room_backgrounds.h"
#include "shell/startup/win32/wallpaper_dialog.h"
#include "shell/startup/win32/win_shell_host.h"
#include "standard_skin.h"
#include "ui/game_settings.h"
#include "ui/win32/colour_select_dialog.h"
#include "ui/win32/file_dialog_win32.h"
#include "ui/win32/options_dialog.h"
#include "ui_test_fixture.h"

namespace shell {
namespace {

using uitest::Then;

std::string WindowsPath(std::string p) {
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

std::string Wallpaper(const char* name) { return std::string(GetWallpaperFolder()) + "\\" + name; }

void Click(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

class RoomWallpaper : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    skinReady = uitest::InitializeStandardSkin(GetModuleHandleA(nullptr));
    contextUp = CreateAppContextAt(WindowsPath(tess_test::BuildPath("tessarin.exe")));
  }
  static void TearDownTestSuite() {
    FreeRoomBackgrounds();
    if (contextUp) DestroyAppContext();
    gui::GuiFreeFrameSkin();
  }
  void SetUp() override {
    ASSERT_EQ(skinReady, 1);
    ASSERT_TRUE(contextUp);
    // The options go to a settings ini of the test's own.
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    ini_ = std::string(temp) + "tess_wallpaper_test.ini";
    DeleteFileA(ini_.c_str());
    savedIni_ = GetAppContext()->settingsIniPath;
    GetAppContext()->settingsIniPath = ini_;
    FreeRoomBackgrounds();
    InstallRoomBackgrounds();
  }
  void TearDown() override {
    GetAppContext()->settingsIniPath = savedIni_;
    DeleteFileA(ini_.c_str());
  }

  static int skinReady;
  static bool contextUp;
  std::string ini_, savedIni_;
};
int RoomWallpaper::skinReady = 0;
bool RoomWallpaper::contextUp = false;

TEST_F(RoomWallpaper, ATypedGradientIsKeptOnOkAndDroppedOnCancel) {
  ScreenBackground* bg = GetRoomBackground(0);
  ASSERT_NE(bg, nullptr);
  EXPECT_TRUE(bg->bitmapMode);  // the lobby's tile until chosen otherwise
  EXPECT_EQ(std::string(bg->path), Wallpaper("tile.bmp"));

  Then([](HWND d) {
    Click(d, kIdUseGradient);
    SetDlgItemTextA(d, kIdColour1Red, "200");
    PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(RunRoomWallpaperDialog(nullptr, 0), IDCANCEL);
  EXPECT_TRUE(bg->bitmapMode);
  EXPECT_EQ(bg->colour1, 0u);

  bool gradientControls = false, bitmapControls = true;
  std::string held, shot;
  tess_test::Image preview;
  Then([&](HWND d) {
    Click(d, kIdUseGradient);
    gradientControls = Enabled(d, kIdColour1Red) && Enabled(d, kIdColour2Blue) &&
                       Enabled(d, kIdColour1Button) && Enabled(d, kIdColour2Button);
    bitmapControls = Enabled(d, kIdBrowseWallpaper);
    const struct {
      int id;
      const char* text;
    } typed[] = {{kIdColour1Red, "200"}, {kIdColour1Green, "0"}, {kIdColour1Blue, "0"},
                 {kIdColour2Red, "0"},   {kIdColour2Green, "0"}, {kIdColour2Blue, "300"}};
    for (const auto& t : typed)
      SetDlgItemTextA(d, t.id, t.text);
    held = uitest::Text(d, kIdColour2Blue);
    RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    uitest::Pump(200);
    shot = tess_test::SaveScreenshot(tess_test::CaptureWindow(d), "startup_wallpaper_select");
    preview = tess_test::CaptureClient(GetDlgItem(d, kIdWallpaperPreview));
    PostMessageA(d, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(RunRoomWallpaperDialog(nullptr, 0), IDOK);
  EXPECT_TRUE(gradientControls);
  EXPECT_FALSE(bitmapControls);
  EXPECT_EQ(held, "300");  // left as typed (selected); 255 is used
  EXPECT_FALSE(bg->bitmapMode);
  EXPECT_EQ(bg->colour1, static_cast<uint32_t>(RGB(200, 0, 0)));
  EXPECT_EQ(bg->colour2, static_cast<uint32_t>(RGB(0, 0, 255)));
  EXPECT_FALSE(shot.empty());

  // "Color 2..." runs the colour chooser on colour 2; its choice is shown.
  std::string green;
  Then([&](HWND d) {
    Then([&](HWND chooser) {
      SetDlgItemTextA(chooser, ui::kIdGreenEdit, "99");
      PostMessageA(chooser, WM_COMMAND, IDOK, 0);
      Then([&](HWND back) {
        green = uitest::Text(back, kIdColour2Green);
        PostMessageA(back, WM_COMMAND, IDOK, 0);
      });
    });
    PostMessageA(d, WM_COMMAND, MAKEWPARAM(kIdColour2Button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(d, kIdColour2Button)));
  });
  EXPECT_EQ(RunRoomWallpaperDialog(nullptr, 0), IDOK);
  EXPECT_EQ(green, "99");
  EXPECT_EQ(bg->colour2, static_cast<uint32_t>(RGB(0, 99, 255)));
  // The preview runs from colour 1 at the top to colour 2 at the bottom.
  ASSERT_FALSE(preview.empty());
  EXPECT_EQ(tess_test::ComparePixels(preview,
                                     {{preview.width / 2, 2, RGB(200, 0, 0), 16},
                                      {preview.width / 2, preview.height - 3, RGB(0, 0, 255), 16}}),
            "");
}

TEST_F(RoomWallpaper, ABitmapNameIsTakenFromTheWallpaperFolder) {
  ScreenBackground* bg = GetRoomBackground(3);
  ASSERT_NE(bg, nullptr);
  bg->bitmapMode = false;
  bool colourControls = true, browse = false;
  Then([&](HWND d) {
    Click(d, kIdUseBitmap);
    colourControls = Enabled(d, kIdColour1Red) || Enabled(d, kIdColour1Button);
    browse = Enabled(d, kIdBrowseWallpaper) && Enabled(d, kIdWallpaperPath);
    SetDlgItemTextA(d, kIdWallpaperPath, "Standard.bmp");
    PostMessageA(d, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(RunRoomWallpaperDialog(nullptr, 3), IDOK);
  EXPECT_FALSE(colourControls);
  EXPECT_TRUE(browse);
  EXPECT_TRUE(bg->bitmapMode);
  EXPECT_EQ(std::string(bg->path), Wallpaper("Standard.bmp"));
  EXPECT_EQ(RunRoomWallpaperDialog(nullptr, 18), IDCANCEL);  // no such room
}

// A 2 x 2 picture of 16 colours.
void WriteFourBitBitmap(const std::string& path) {
  std::vector<uint8_t> b(14 + 40 + 16 * 4 + 2 * 4, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
      b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<uint32_t>(b.size()));
  put32(10, 14 + 40 + 64);
  put32(14, 40);
  put32(18, 2);
  put32(22, 2);
  b[26] = 1;  // planes
  b[28] = 4;  // bits per pixel
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);
}

TEST_F(RoomWallpaper, TheFileDialogChoosesFromTheWallpaperFolder) {
  const std::string poor = Wallpaper("tess_test_16_colours.bmp");
  WriteFourBitBitmap(poor);
  char before[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof before, before);
  uitest::NoticeSink notices;
  char path[kWallpaperPathSize] = "untouched";
  auto choose = [](const char* name) {
    Then([name](HWND open) {
      SendDlgItemMessageA(open, ui::kIdFileName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
      PostMessageA(open, WM_COMMAND, ui::kIdFileLoad, 0);
    });
  };
  // Too few colours: refused with a message, the path left as it was.
  choose("tess_test_16_colours.bmp");
  EXPECT_FALSE(ChooseWallpaperFile(nullptr, path));
  EXPECT_EQ(notices.texts.size(), 1u);
  EXPECT_STREQ(path, "untouched");
  DeleteFileA(poor.c_str());

  choose("tile.bmp");
  ASSERT_TRUE(ChooseWallpaperFile(nullptr, path));
  EXPECT_EQ(lstrcmpiA(path, Wallpaper("tile.bmp").c_str()), 0) << path;
  char after[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof after, after);
  EXPECT_STREQ(after, before);  // the process's folder comes back
}

TEST_F(RoomWallpaper, TheRoomWindowGetsTheTileOrTheGradientAtItsSize) {
  // Without a wallpaper settings file the training menu has its own tile.
  ASSERT_TRUE(LoadBackgroundTile(nullptr, 3));
  EXPECT_EQ(std::string(GetRoomBackground(3)->path), Wallpaper("Tile_TrainingMenu.bmp"));
  scene::RoomPicture* tiled = MakeRoomPicture(3, 300, 200);
  ASSERT_NE(tiled, nullptr);
  EXPECT_EQ(tiled->width, 300);
  EXPECT_EQ(tiled->dib.size(), 40u + 900u * 200u);  // 24 bits, rows of 900 bytes
  delete tiled;

  ScreenBackground* bg = GetRoomBackground(5);
  bg->bitmapMode = false;
  bg->colour1 = RGB(250, 0, 0);
  bg->colour2 = RGB(0, 0, 250);
  gui::PackedDIB* dib = BuildRoomBackground(5, 3, 10);
  ASSERT_NE(dib, nullptr);
  const uint8_t* top = gui::DIBPixelPtr(dib, 1, 0);
  const uint8_t* bottom = gui::DIBPixelPtr(dib, 1, 9);
  EXPECT_EQ(top[2], 250);  // red, blue, in the 24-bit order B G R
  EXPECT_EQ(top[0], 0);
  EXPECT_EQ(bottom[0], 225);  // nine tenths of the way
  gui::GlobalFreePtr(dib);
  EXPECT_EQ(MakeRoomPicture(5, 0, 10), nullptr);
  EXPECT_EQ(MakeRoomPicture(18, 10, 10), nullptr);

  // A bitmap that cannot be read gives no picture rather than a black one.
  bg->bitmapMode = true;
  std::snprintf(bg->path, sizeof bg->path, "%s", Wallpaper("no_such_tile.bmp").c_str());
  MarkRoomBackgroundChanged(5);
  EXPECT_EQ(MakeRoomPicture(5, 10, 10), nullptr);
}

TEST_F(RoomWallpaper, OptionsGiveTheRoomsTheThemesPictureAndTheBoardModel) {
  platform::IniWriteString("Options", "Skin", "1", ini_.c_str());
  platform::IniWriteString("Options", "Board", "2", ini_.c_str());
  // The user's options as the shell reads them when the user becomes current.
  WinShellHost host;
  host.LoadOptionsSettings();
  EXPECT_EQ(scene::GetBoardStyle(), scene::kBoardStyleDeluxe);
  const std::string felt = Wallpaper("standard_felt.bmp");
  for (int room : {0, 4, 17})
    EXPECT_EQ(std::string(GetRoomBackground(room)->path), felt) << room;

  // A theme change from the options dialog goes through the same pictures.
  LoadBackgroundTile(nullptr, 0);
  ASSERT_NE(std::string(GetRoomBackground(0)->path), felt);
  InstallOptionsHooks();
  uitest::NoticeSink notices(platform::kResultNo);
  ui::SaveOptionsChanges(ui::kChangedTheme);
  EXPECT_EQ(std::string(GetRoomBackground(0)->path), felt);
  ui::SetThemeChangeHook(nullptr);
  scene::SetBoardStyle(scene::kBoardStyleStandard);
}

}  // namespace
}  // namespace shell
