// The modeless-dialog registry against recording window operations, and the
// nesting of modal dialogs.
#include "shell/modeless_registry.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

int d1, d2, d3;  // dialog identities

struct FakeWindows : shell::DialogWindowOps {
  std::set<void*> dead;
  void* taker = nullptr;
  void* unregisterOnOffer = nullptr;  // a dialog that closes itself when offered
  std::vector<void*> offered, posted;
  bool IsWindow(void* d) override { return !dead.count(d); }
  bool IsDialogMessage(void* d, void*) override {
    offered.push_back(d);
    if (d == unregisterOnOffer) {
      shell::UnregisterModelessDialog(d);
      shell::RegisterModelessDialog(&d3, shell::kNoCountdown);
    }
    return d == taker;
  }
  void PostTimeout(void* d) override { posted.push_back(d); }
};

class Modeless : public ::testing::Test {
 protected:
  void SetUp() override { shell::SetDialogWindowOps(&fake); }
  void TearDown() override {
    for (void* d : {&d1, &d2, &d3})
      shell::UnregisterModelessDialog(d);
    shell::SetDialogWindowOps(nullptr);
  }
  FakeWindows fake;
};

TEST_F(Modeless, DispatchNewestFirstSkippingDeadWindows) {
  EXPECT_FALSE(shell::DispatchModelessDialogMessage(nullptr));  // empty
  EXPECT_EQ(shell::RegisterModelessDialog(nullptr, 3), 0);
  EXPECT_EQ(shell::ModelessDialogCount(), 0u);
  shell::RegisterModelessDialog(&d1, shell::kNoCountdown);
  shell::RegisterModelessDialog(&d2, shell::kNoCountdown);
  shell::RegisterModelessDialog(&d3, shell::kNoCountdown);
  fake.dead.insert(&d2);
  fake.taker = &d1;
  EXPECT_TRUE(shell::DispatchModelessDialogMessage(nullptr));
  EXPECT_EQ(fake.offered, (std::vector<void*>{&d3, &d1}));
  fake.taker = nullptr;
  fake.offered.clear();
  EXPECT_FALSE(shell::DispatchModelessDialogMessage(nullptr));
  EXPECT_EQ(fake.offered.size(), 2u);
  // Unregistering an older entry removes it where it stands.
  EXPECT_EQ(shell::UnregisterModelessDialog(&d1), 1);
  EXPECT_EQ(shell::UnregisterModelessDialog(nullptr), 0);
  EXPECT_EQ(shell::ModelessDialogCount(), 2u);
}

TEST_F(Modeless, ADialogThatChangesTheRegistryWhileOffered) {
  shell::RegisterModelessDialog(&d1, shell::kNoCountdown);
  shell::RegisterModelessDialog(&d2, shell::kNoCountdown);
  fake.unregisterOnOffer = &d2;  // leaves, and d3 comes, during the walk
  EXPECT_FALSE(shell::DispatchModelessDialogMessage(nullptr));
  EXPECT_EQ(fake.offered, (std::vector<void*>{&d2, &d1}));  // the snapshot's order
  EXPECT_EQ(shell::ModelessDialogCount(), 2u);
}

TEST_F(Modeless, CountdownPostsOnTheTickAfterItAndEveryTickLater) {
  shell::RegisterModelessDialog(&d1, 3);
  shell::RegisterModelessDialog(&d2, shell::kNoCountdown);
  for (int tick = 1; tick <= 3; ++tick)
    shell::ModelessDialogTick();
  EXPECT_TRUE(fake.posted.empty());
  shell::ModelessDialogTick();
  shell::ModelessDialogTick();
  EXPECT_EQ(fake.posted, (std::vector<void*>{&d1, &d1}));
  fake.dead.insert(&d1);  // gone without unregistering: nothing posted
  shell::ModelessDialogTick();
  EXPECT_EQ(fake.posted.size(), 2u);
}

std::vector<int> g_uiCalls;
int g_uiEnabled = 1;
int EnableUi(int enable) {
  g_uiCalls.push_back(enable);
  if ((enable != 0) == (g_uiEnabled != 0)) return 0;
  g_uiEnabled = enable != 0;
  return 1;
}
intptr_t Inner(void*) {
  EXPECT_EQ(shell::ModalDialogDepth(), 2);
  return 7;
}
intptr_t Outer(void*) {
  EXPECT_EQ(shell::RunModalDialog(EnableUi, Inner, nullptr), 7);
  EXPECT_EQ(g_uiEnabled, 0);  // the inner dialog did not open the interface
  return 1;
}

TEST(ModalDialogs, OnlyTheOutermostEnablesTheInterfaceAgain) {
  EXPECT_EQ(shell::RunModalDialog(EnableUi, Outer, nullptr), 1);
  EXPECT_EQ(g_uiEnabled, 1);
  EXPECT_EQ(g_uiCalls, (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(shell::ModalDialogDepth(), 0);
  g_uiEnabled = 0;  // already locked by someone else: left locked
  g_uiCalls.clear();
  shell::RunModalDialog(
      EnableUi, [](void*) -> intptr_t { return 0; }, nullptr);
  EXPECT_EQ(g_uiEnabled, 0);
}

}  // namespace
