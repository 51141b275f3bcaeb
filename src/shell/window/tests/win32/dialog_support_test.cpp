// Modal nesting and the interface switch, closing through the window's
// record, and the button spreading, on real dialogs under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"

namespace {

constexpr int kTemplate = 101;
std::string g_calls;  // the interface switch's calls, "0" and "1"
bool g_interfaceOn = true;
int g_nestLevels = 0;  // how many dialogs to open inside each other
std::vector<int> g_depths;

int RecordingSwitch(int on) {
  g_calls += on ? '1' : '0';
  const bool was = g_interfaceOn;
  g_interfaceOn = on != 0;
  return was ? 1 : 0;
}

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

INT_PTR CALLBACK NestingProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  g_depths.push_back(shell::ModalDialogDepth());
  if (--g_nestLevels > 0)
    shell::DoModalDialog(Module(), MAKEINTRESOURCEA(kTemplate), dialog, NestingProc, 0);
  g_depths.push_back(static_cast<int>(g_calls.size()));  // no switch back on yet
  EndDialog(dialog, 7);
  return TRUE;
}

class DialogSupport : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    g_depths.clear();
    g_interfaceOn = true;
    shell::SetInterfaceSwitch(RecordingSwitch);
  }
  void TearDown() override { shell::SetInterfaceSwitch(nullptr); }
};

TEST_F(DialogSupport, OnlyTheOutermostModalDialogSwitchesTheInterfaceBackOn) {
  g_nestLevels = 3;
  EXPECT_EQ(shell::DoModalDialog(Module(), MAKEINTRESOURCEA(kTemplate), nullptr, NestingProc, 0),
            7);
  EXPECT_EQ(g_calls, "01");
  EXPECT_EQ(g_depths, (std::vector<int>{1, 2, 3, 1, 1, 1}));
  EXPECT_EQ(shell::ModalDialogDepth(), 0);
  EXPECT_TRUE(g_interfaceOn);

  // An interface that was off before stays off.
  g_calls.clear();
  g_interfaceOn = false;
  g_nestLevels = 1;
  shell::DoModalDialog(Module(), MAKEINTRESOURCEA(kTemplate), nullptr, NestingProc, 0);
  EXPECT_EQ(g_calls, "0");
  EXPECT_FALSE(g_interfaceOn);
}

int g_closedResult = 0;
uint32_t g_closedValue = 0;
void OnClosed(int result, uint32_t value) {
  g_closedResult = result;
  g_closedValue = value;
}

LRESULT CALLBACK RecordClassProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, m, wp, lp);
}

TEST_F(DialogSupport, CloseModelessDialogCallsBackAndDestroys) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = RecordClassProc;
  wc.hInstance = Module();
  wc.lpszClassName = "RecordHolder";
  wc.cbWndExtra = sizeof(LONG_PTR);
  ASSERT_TRUE(RegisterClassA(&wc));
  shell::SetWindowUserDataOffset(0);
  HWND holder = CreateWindowA("RecordHolder", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              Module(), nullptr);
  shell::MessageBoxParams record{OnClosed, 42, 0, 0, nullptr};
  SetWindowLongPtrA(holder, 0, reinterpret_cast<LONG_PTR>(&record));
  EXPECT_EQ(shell::GetWindowUserData(holder), &record);
  shell::CloseModelessDialog(holder, 6);
  EXPECT_EQ(g_closedResult, 6);
  EXPECT_EQ(g_closedValue, 42u);
  EXPECT_FALSE(IsWindow(holder));
  // A window that is gone: no record, nothing called.
  g_closedResult = 0;
  EXPECT_EQ(shell::GetWindowUserData(holder), nullptr);
  shell::CloseModelessDialog(holder, 2);
  EXPECT_EQ(g_closedResult, 0);
  UnregisterClassA("RecordHolder", Module());
}

RECT g_spread[3];
INT_PTR CALLBACK SpreadProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  shell::SpreadThreeButtons(dialog, 11, 12, 13);
  for (int i = 0; i < 3; ++i) {
    GetWindowRect(GetDlgItem(dialog, 11 + i), &g_spread[i]);
    shell::ScreenRectToClient(dialog, &g_spread[i]);
  }
  RECT client;
  GetClientRect(dialog, &client);
  EndDialog(dialog, client.right);
  return TRUE;
}

TEST_F(DialogSupport, SpreadThreeButtonsLeavesFourEqualGaps) {
  const int width = static_cast<int>(
      DialogBoxParamA(Module(), MAKEINTRESOURCEA(kTemplate), nullptr, SpreadProc, 0));
  int used = 0;
  for (const RECT& r : g_spread)
    used += r.right - r.left;
  const int gap = (width - used) / 4;
  EXPECT_EQ(g_spread[0].left, gap);
  EXPECT_EQ(g_spread[1].left, g_spread[0].right + gap);
  EXPECT_EQ(g_spread[2].left, g_spread[1].right + gap);
  EXPECT_EQ(g_spread[0].top, g_spread[2].top);  // heights kept
}

}  // namespace
