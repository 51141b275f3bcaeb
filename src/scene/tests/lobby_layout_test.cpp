// The lobby's size classes at their borders and its button table.
#include <gtest/gtest.h>

#include "scene/lobby_layout.h"

namespace scene {
namespace {

TEST(LobbyLayout, SizeClassesAtTheirBorders) {
  struct Case {
    int w, h;
    LobbySize size;
  } cases[] = {
      {780, 2000, LobbySize::kTiny},  {2000, 630, LobbySize::kTiny},
      {781, 631, LobbySize::kSmall},  {1000, 800, LobbySize::kSmall},
      {1001, 800, LobbySize::kSmall}, {1000, 801, LobbySize::kSmall},
      {1001, 801, LobbySize::kLarge}, {1280, 975, LobbySize::kLarge},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChooseLobbySize(c.w, c.h), c.size) << c.w << "x" << c.h;
  EXPECT_EQ(GetLobbySizeInfo(LobbySize::kSmall).templateId, 25);
  EXPECT_STREQ(GetLobbySizeInfo(LobbySize::kLarge).background, "LOBBY_BACKGROUND_LARGE");
}

TEST(LobbyLayout, EveryTemplatesIdsLeadToTheSameAction) {
  EXPECT_EQ(LobbyActionOf(1421), LobbyAction::kGame);
  EXPECT_EQ(LobbyActionOf(1374), LobbyAction::kGame);
  EXPECT_EQ(LobbyActionOf(1368), LobbyAction::kGame);
  EXPECT_EQ(LobbyActionRoom(LobbyAction::kGame), 1);
  EXPECT_EQ(LobbyActionOf(1393), LobbyAction::kExit);
  EXPECT_EQ(LobbyActionOf(1), LobbyAction::kNone);
  EXPECT_TRUE(LobbyActionNeedsProfile(LobbyAction::kTournament));
  EXPECT_TRUE(LobbyActionNeedsProfile(LobbyAction::kLoad));
  EXPECT_FALSE(LobbyActionNeedsProfile(LobbyAction::kGame));
  EXPECT_EQ(LobbyActionRoom(LobbyAction::kOptions), -1);
  int x = 0, y = 0;
  LobbyTitlePoint(1001, 801, &x, &y);
  EXPECT_EQ(x, 550);
  EXPECT_EQ(y, 248);
}

}  // namespace
}  // namespace scene
