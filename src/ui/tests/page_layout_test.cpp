#include "ui/page_layout.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "platform/ini.h"
#include "recording_sink.h"
#include "shell/settings.h"
#include "shell/wallpaper.h"
#include "shell_fixture.h"
#include "slot_port_fake.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

class PageLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(env.ok);
    ResetWindowSlotRegistry();
    platform::MakeDirectory((env.data + "\\Users").c_str());
    platform::MakeDirectory((env.data + "\\Users\\Ann").c_str());
    SelectUser("Ann");
    file = env.data + "\\Users\\Ann\\Ann.lay";
  }
  void SelectUser(const char* name) {
    shell::UserProfile p;
    std::strcpy(p.name, name);
    ASSERT_TRUE(shell::SetCurrentUserProfile(&p));
  }
  shelltest::ShellEnv env;
  shelltest::RecordingHost host;
  uitest::FakeSlotPort port;
  testsupport::RecordingSink sink;
  std::string file;
};

TEST_F(PageLayoutTest, RoomsRoundTripThroughTheFile) {
  RoomLayoutRecord r{};
  r.slots[kSlotMoveList] = SlotPlacement{{10, 20, 210, 320}, 0, 0, 0, 1, 1};
  r.slots[kSlotMentor] = SlotPlacement{{400, 20, 600, 200}, 0, 0, 0, 0, 1};
  r.slots[kSlotGameToolbar] = SlotPlacement{{3, 4, 5, 6}, 0, 0, 0, 1, 1};
  r.slots[kSlotPanelToolbar] = SlotPlacement{{7, 8, 9, 10}, 0, 0, 0, 0, 0};
  StoreRoomLayoutRecord(1, &r);
  SetCurrentLayoutIndex(2);
  SavePageLayout(1);
  EXPECT_EQ(platform::IniGet("Desktop", "width", "", file.c_str()), "1024");
  EXPECT_EQ(platform::IniGet("tessarinroom", "moves list", "", file.c_str()), "10 20 210 320 1 1");
  // Both toolbars share a key: slot 30, written last, wins.
  EXPECT_EQ(platform::IniGet("tessarinroom", "ToolBar", "", file.c_str()), "3 4 5 6 1 1");

  ResetWindowSlotRegistry();
  StoreSlotWindowSize(kSlotGameToolbar);  // no window: 0 by 0 recorded
  ASSERT_EQ(LoadPageLayout(file.c_str()), 0);
  EXPECT_TRUE(sink.messages.empty());  // saved on this desktop size
  const SlotPlacement& back = GetRoomLayoutRecord(1)->slots[kSlotMoveList];
  EXPECT_EQ(back.rect.right, 210);
  EXPECT_EQ(back.showInRoom, 1);
  EXPECT_EQ(back.inLayout, 1);
  EXPECT_EQ(GetRoomLayoutRecord(1)->slots[kSlotMentor].rect.left, 400);
  // A slot the file does not name takes the default placement.
  EXPECT_EQ(GetRoomLayoutRecord(2)->slots[kSlotChat].rect.top, 100);
  EXPECT_EQ(GetRoomLayoutRecord(2)->slots[kSlotChat].inLayout, 0);
  EXPECT_STREQ(shell::GetWallpaperSetting(), file.c_str());
}

TEST_F(PageLayoutTest, ReadingClampsKeepsRecordedSizesAndLimitsTheLobby) {
  const char* f = file.c_str();
  platform::IniWriteString("tessarinroom", "moves list", "-50 10 150 110 1 1", f);
  platform::IniWriteString("tessarinroom", "Tile Bag", "500 500 900 900 1 1", f);
  platform::IniWriteString("tessarinroom", "Top 5/Game Mentor", "garbage", f);
  platform::IniWriteString("lobbyroom", "Tessarin", "0 0 640 480 1 1", f);
  platform::IniWriteString("lobbyroom", "Room", "1 2 3 4 1 1", f);
  WindowSlotOp(kOpRegister, kSlotRemainingTiles, 100);
  port.rects[uitest::Win(100)] = SlotRect{0, 0, 120, 90};
  StoreSlotWindowSize(kSlotRemainingTiles);
  SetCurrentLayoutIndex(2);  // applying a room asks the frame to cover the display
  LoadAllRoomLayouts(f);
  const RoomLayoutRecord* room1 = GetRoomLayoutRecord(1);
  EXPECT_EQ(room1->slots[kSlotMoveList].rect.left, 0);  // kept its width of 200
  EXPECT_EQ(room1->slots[kSlotMoveList].rect.right, 200);
  EXPECT_EQ(room1->slots[kSlotRemainingTiles].rect.right, 620);  // its created size
  EXPECT_EQ(room1->slots[kSlotRemainingTiles].rect.bottom, 368 + 90);
  EXPECT_EQ(room1->slots[kSlotMentor].inLayout, 0);  // a damaged value is not laid out
  // The lobby takes only the frame's placement.
  EXPECT_EQ(GetRoomLayoutRecord(0)->slots[kSlotMainFrame].rect.right, 640);
  EXPECT_EQ(GetRoomLayoutRecord(0)->slots[kSlotRoom].inLayout, 0);
  EXPECT_EQ(GetRoomLayoutRecord(kNetworkRoom)->panelsHidden, 1);
}

TEST_F(PageLayoutTest, ALargerDesktopAsksFirst) {
  platform::IniWriteString("Desktop", "width", "1600", file.c_str());
  platform::IniWriteString("Desktop", "height", "1200", file.c_str());
  platform::IniWriteString("tessarinroom", "moves list", "1 2 3 4 1 1", file.c_str());
  sink.answers = {platform::kResultCancel};
  EXPECT_EQ(LoadPageLayout(file.c_str()), -1);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].text.find("higher resolution"), std::string::npos);
  EXPECT_EQ(GetRoomLayoutRecord(1)->slots[kSlotMoveList].inLayout, 0);  // nothing loaded
  EXPECT_EQ(LoadPageLayout(file.c_str()), 0);                           // OK loads
  EXPECT_EQ(GetRoomLayoutRecord(1)->slots[kSlotMoveList].inLayout, 1);
  EXPECT_EQ(LoadPageLayout(""), 0);
}

TEST_F(PageLayoutTest, TheDefaultUserIsNeverSavedButKeepsItsPositions) {
  SelectUser("Default");
  SavePageLayout(1);
  EXPECT_FALSE(platform::FileExists((env.data + "\\Users\\Default\\Default.lay").c_str()));

  host.room = 1;
  float board[3];
  LoadBoardPosition(board);
  EXPECT_FLOAT_EQ(board[1], 3.0549f);
  SelectUser("Ann");
  const float rack[3] = {1.5f, -2.25f, 8.0f};
  SaveRackPosition(rack);
  EXPECT_EQ(platform::IniGet("tessarinroom", "Rack position", "", file.c_str()),
            "1.5000 -2.2500 8.0000");
  float back[3];
  LoadRackPosition(back);
  EXPECT_FLOAT_EQ(back[1], -2.25f);
}

TEST_F(PageLayoutTest, AReadOnlyLayoutIsMadeWritableBeforeSaving) {
  platform::IniWriteString("Desktop", "width", "1", file.c_str());
  const std::string native = platform::NativePath(file.c_str());
  ASSERT_EQ(chmod(native.c_str(), S_IRUSR), 0);
  SavePageLayout(1);
  EXPECT_EQ(platform::IniGet("Desktop", "width", "", file.c_str()), "1024");
  struct stat st;
  ASSERT_EQ(stat(native.c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IWUSR);
}

// A background chosen for the lobby or a menu comes back at the next load:
// the rooms that read the type and file back get them written too.
TEST_F(PageLayoutTest, TheLobbysBackgroundChoiceRoundTrips) {
  SetRoomBackgroundSource([](int room, RoomBackground* out) {
    if (room != 0 && room != 5) return false;
    out->bitmap = room == 5;
    std::strcpy(out->file, "C:\\Pictures\\felt.bmp");
    out->gradient[0] = 0x102030;
    out->gradient[1] = 0xa0b0c0;
    return true;
  });
  SaveWallpaperSettings();
  SetRoomBackgroundSource(nullptr);
  EXPECT_EQ(platform::IniGet("anagramroom", "WallpaperType", "", file.c_str()), "bitmap");
  shell::ScreenBackground bg;
  bg.roomId = 0;
  ASSERT_TRUE(shell::LoadBackgroundSettings(nullptr, file.c_str(), "C:\\Wall", &bg));
  EXPECT_FALSE(bg.bitmapMode);
  EXPECT_EQ(bg.colour1, 0x102030u);
  EXPECT_EQ(bg.colour2, 0xa0b0c0u);
}

}  // namespace
}  // namespace ui
