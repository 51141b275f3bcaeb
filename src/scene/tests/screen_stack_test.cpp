// The screen manager on recording screens: entering, pushing and popping
// rooms, refused entries, and the per-frame step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "room_fakes.h"
#include "scene/screen.h"

using namespace scene;

namespace {

std::vector<std::string> g_log;
// Rooms whose Enter answers false (by id); cleared by each test.
std::vector<bool> g_refuse(kRoomScreenCount, false);

class LoggingScreen : public Screen {
 public:
  explicit LoggingScreen(int id) : Screen(id) {}
  bool Enter() override {
    Log("enter");
    return !g_refuse[static_cast<size_t>(roomId)];
  }
  bool Leave() override {
    Log("leave");
    return true;
  }
  void Update(float) override { Log("update"); }
  void OnPush() override { Log("push"); }
  void OnPop() override { Log("pop"); }

 private:
  void Log(const char* what) { g_log.push_back(std::string(what) + " " + std::to_string(roomId)); }
};

Screen* MakeLogging(int id) { return new LoggingScreen(id); }

class ScreenStackTest : public testing::Test {
 protected:
  void SetUp() override {
    for (int id : {0, 2, 3, 5, 6})
      SetRoomScreenFactory(id, &MakeLogging);
    CreateRoomScreens();
    g_log.clear();
    g_refuse.assign(kRoomScreenCount, false);
  }
  void TearDown() override {
    DestroyRoomScreens();
    for (int id : {0, 2, 3, 5, 6})
      SetRoomScreenFactory(id, nullptr);
  }
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(g_log);
    return out;
  }
  using Log = std::vector<std::string>;

  scenetest::FakeRoomPort port;
};

TEST_F(ScreenStackTest, PushAndPopEnterAndLeaveInOrder) {
  ASSERT_TRUE(PushScreen(2));
  ASSERT_TRUE(PushScreen(3));
  EXPECT_EQ(Take(), (Log{"push 2", "enter 2", "push 3", "leave 2", "enter 3"}));
  EXPECT_EQ(GetScreenStackTop(), 1);
  EXPECT_EQ(GetCurrentRoomId(), 3);
  EXPECT_EQ(GetCurrentScreen(), GetRoomScreen(3));

  PopScreen();
  EXPECT_EQ(Take(), (Log{"leave 3", "enter 2", "pop 3"}));
  EXPECT_EQ(GetScreenStackTop(), 0);
  EXPECT_EQ(GetStackedScreen(0), GetRoomScreen(2));
  EXPECT_EQ(GetStackedScreen(1), nullptr);
  EXPECT_EQ(GetCurrentRoomId(), 2);
  // The wait cursor is on the Room window while a room is left.
  EXPECT_EQ(port.events, (std::vector<std::string>{"wait", "normal", "wait", "normal"}));
}

TEST_F(ScreenStackTest, RefusedPushLeavesTheStackAndReentersTheTop) {
  ASSERT_TRUE(PushScreen(2));
  Take();
  g_refuse[5] = true;
  EXPECT_FALSE(PushScreen(5));
  // The refused room is not left: it undid its own entering.
  EXPECT_EQ(Take(), (Log{"push 5", "leave 2", "enter 5", "enter 2", "pop 5"}));
  EXPECT_EQ(GetScreenStackTop(), 0);
  EXPECT_EQ(GetCurrentScreen(), GetRoomScreen(2));
  EXPECT_EQ(GetCurrentRoomId(), 2);
}

TEST_F(ScreenStackTest, RoomsNotBuiltCannotBeEntered) {
  ASSERT_TRUE(PushScreen(2));
  EXPECT_FALSE(PushScreen(9));  // the base screen
  EXPECT_FALSE(PushScreen(-1));
  EXPECT_FALSE(PushScreen(18));
  EXPECT_EQ(GetScreenStackTop(), 0);
  EXPECT_EQ(GetCurrentRoomId(), 2);
}

TEST_F(ScreenStackTest, PopScreensToEntersTheLevelAndPopsTheRestTopDown) {
  for (int id : {2, 3, 5})
    ASSERT_TRUE(PushScreen(id));
  Take();
  PopScreensTo(0);
  EXPECT_EQ(Take(), (Log{"leave 5", "enter 2", "pop 5", "pop 3"}));
  EXPECT_EQ(GetScreenStackTop(), 0);
  PopScreensTo(3);  // above the top: nothing
  EXPECT_TRUE(Take().empty());
}

TEST_F(ScreenStackTest, ReenterFallsBackToTheRoomBelow) {
  for (int id : {2, 3})
    ASSERT_TRUE(PushScreen(id));
  Take();
  ReenterCurrentRoom();
  EXPECT_EQ(Take(), (Log{"leave 3", "enter 3"}));
  g_refuse[3] = true;
  ReenterCurrentRoom();
  EXPECT_EQ(Take(), (Log{"leave 3", "enter 3", "enter 2", "pop 3"}));
  EXPECT_EQ(GetScreenStackTop(), 0);
  EXPECT_EQ(GetCurrentRoomId(), 2);
}

TEST_F(ScreenStackTest, PoppingTheLastRoomReturnsToTheLobby) {
  ASSERT_TRUE(PushScreen(2));
  Take();
  PopScreen();
  EXPECT_EQ(Take(), (Log{"push 0", "leave 2", "enter 0", "pop 2"}));
  EXPECT_EQ(GetScreenStackTop(), 0);
  EXPECT_EQ(GetCurrentRoomId(), 0);
}

TEST_F(ScreenStackTest, FrameStepRunsOutsideTheLobbyOnly) {
  ASSERT_TRUE(PushScreen(0));
  Take();
  UpdateCurrentRoom(0.02f);
  EXPECT_TRUE(Take().empty());
  ASSERT_TRUE(PushScreen(6));
  Take();
  UpdateCurrentRoom(0.02f);
  EXPECT_EQ(Take(), (Log{"update 6"}));
}

TEST_F(ScreenStackTest, RoomIdAndTableLookups) {
  port.hasWindow = false;
  EXPECT_EQ(GetCurrentRoomId(), kNoRoomWindowId);
  port.hasWindow = true;
  SetCurrentRoomId(3);
  EXPECT_EQ(GetCurrentRoomId(), 3);
  EXPECT_EQ(GetRoomScreen(-1), nullptr);
  EXPECT_EQ(GetRoomScreen(18), nullptr);
  EXPECT_EQ(GetRoomData(18), nullptr);
  int data = 0;
  GetRoomScreen(2)->roomData = &data;
  EXPECT_EQ(GetRoomData(2), &data);
  EXPECT_STREQ(RoomKey(1), "tessarinroom");
  EXPECT_STREQ(RoomKey(17), "libraryroom");
  EXPECT_STREQ(RoomKey(18), "");
  for (int id = 0; id < kRoomScreenCount; ++id)
    EXPECT_EQ(GetRoomScreen(id)->roomId, id);
}

}  // namespace
