#include "game/session_registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "game/game.h"
#include "game_fakes.h"

namespace {

class RegistryTest : public testing::Test {
 protected:
  // Registers a new game under `id`; the registry owns it.
  CGame* Add(int32_t id) {
    CGame* game = CreateGame();
    EXPECT_EQ(registry.Register(game, id), kRegistered);
    return game;
  }

  gamefakes::RecordingUiPort ui;
  GameSessionRegistry registry;
};

TEST_F(RegistryTest, TheEleventhGameIsRefusedAndStaysTheCallers) {
  for (int i = 0; i < kMaxLiveGames; ++i)
    Add(i);
  std::unique_ptr<CGame> eleventh(CreateGame());
  EXPECT_EQ(registry.Register(eleventh.get(), 10), kRegistryFull);
  EXPECT_EQ(registry.GetGameCount(), kMaxLiveGames);
  EXPECT_FALSE(registry.IsRegistered(eleventh.get()));
  EXPECT_EQ(registry.FindGameById(10), nullptr);
  // The caller still owns it (deleted here); the registry deletes the ten.
}

TEST_F(RegistryTest, GuidsAreKeptMadeOrRenewed) {
  CGame* kept = CreateGame();
  const platform::Guid original = kept->guid;
  ASSERT_EQ(registry.Register(kept, 1), kRegistered);
  EXPECT_EQ(kept->guid, original);

  CGame* blank = CreateGame();
  blank->guid = platform::Guid();
  ASSERT_EQ(registry.Register(blank, 2), kRegistered);
  EXPECT_FALSE(blank->guid.IsNull());

  // The same saved game opened twice: the second copy gets its own GUID,
  // so unregistering one never removes the other's entry.
  CGame* twin = CreateGame();
  twin->guid = original;
  ASSERT_EQ(registry.Register(twin, 3), kRegistered);
  EXPECT_NE(twin->guid, original);
  ASSERT_TRUE(registry.Unregister(twin->guid));
  EXPECT_TRUE(registry.IsRegistered(kept));
  DeleteGame(twin);

  EXPECT_EQ(registry.Register(kept, 9), kAlreadyRegistered);
  EXPECT_EQ(registry.Register(nullptr, 9), kNoGame);
  EXPECT_EQ(registry.GetGameCount(), 2);
}

TEST_F(RegistryTest, CurrentGameFollowsRegistrationAndRemoval) {
  CGame* first = Add(1);
  CGame* second = Add(2);
  CGame* third = Add(3);
  EXPECT_EQ(registry.GetCurrentGame(), first);  // the first one registered

  EXPECT_EQ(registry.SetCurrentGame(third), first);
  EXPECT_EQ(registry.SetCurrentGame(nullptr), nullptr);
  EXPECT_EQ(registry.GetCurrentGame(), third);

  // Removing a game that is not current changes nothing.
  ASSERT_TRUE(registry.Unregister(second->guid));
  DeleteGame(second);
  EXPECT_EQ(registry.GetCurrentGame(), third);
  // Removing the current one makes the oldest remaining one current.
  Add(4);
  ASSERT_TRUE(registry.Unregister(third->guid));
  DeleteGame(third);
  EXPECT_EQ(registry.GetCurrentGame(), first);
  EXPECT_NE(registry.FindGameById(4), nullptr);
  EXPECT_FALSE(registry.Unregister(platform::Guid()));

  registry.DestroyAllGames();
  EXPECT_EQ(registry.GetGameCount(), 0);
  EXPECT_EQ(registry.GetCurrentGame(), nullptr);
  EXPECT_EQ(registry.FindGameById(1), nullptr);
}

TEST(InstalledRegistryTest, ProgramWideOperations) {
  gamefakes::RecordingUiPort ui;
  CGame* game = CreateGame();
  EXPECT_EQ(RegisterGame(game, 1), kRegistryMissing);
  EXPECT_EQ(GetCurrentGame(), nullptr);
  {
    std::shared_ptr<GameSessionRegistry> owner = InitGameSessionRegistry();
    ASSERT_EQ(GetGameSessionRegistry(), owner.get());
    ASSERT_EQ(RegisterGame(game, 7), kRegistered);
    EXPECT_EQ(GetGameCount(), 1);
    EXPECT_EQ(FindGameById(7), game);
    EXPECT_EQ(GetCurrentGame(), game);
    // Withheld while the board view is not ready.
    ui.boardViewPending = true;
    EXPECT_EQ(GetCurrentGame(), nullptr);
    ui.boardViewPending = false;
    EXPECT_EQ(MakeGameCurrent(game), game);
  }
  // The owner's end deleted the game and uninstalled the registry.
  EXPECT_EQ(GetGameSessionRegistry(), nullptr);
  EXPECT_EQ(GetGameCount(), 0);
}

TEST_F(RegistryTest, CurrentGameIsReadSafelyFromAnotherThread) {
  CGame* anchor = Add(0);
  std::atomic<bool> stop{false};
  std::atomic<int> reads{0};
  std::thread reader([&] {
    while (!stop) {
      CGame* g = registry.GetCurrentGame();
      if (g) ++reads;
    }
  });
  while (reads.load() == 0)
    std::this_thread::yield();  // the reader runs before the changes start
  for (int round = 0; round < 200; ++round) {
    CGame* g = Add(round + 1);
    registry.SetCurrentGame(g);
    ASSERT_TRUE(registry.Unregister(g->guid));
    DeleteGame(g);
  }
  stop = true;
  reader.join();
  EXPECT_EQ(registry.GetCurrentGame(), anchor);
}

}  // namespace
