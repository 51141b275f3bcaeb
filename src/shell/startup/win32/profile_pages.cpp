// The pages of the player profile window: the profile itself, and the
// statistics tables of the game room, the tournament room and online play.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/app_context.h"
#include "shell/fixed_text.h"
#include "shell/res_strings.h"
#include "shell/startup/profile_rules.h"
#include "shell/startup/win32/profile_window.h"
#include "shell/user_profile.h"

namespace shell {
namespace {

constexpr int kName = 1164, kLanguage = 1186, kRanking = 722, kAbout = 1184;
constexpr int kAboutLimit = 512;
constexpr uint32_t kStrEnglish = 2449, kStrFrench = 2448;
constexpr int kLabelWidth = 212, kBlockWidth = 150;
constexpr uint32_t kStrLabelColumn = 4200, kStrEloColumn = 4201, kStrPlColumn = 4202,
                   kStrDuplicateColumn = 4203;

UserProfile* ProfileOf(HWND page) {
  return reinterpret_cast<UserProfile*>(GetWindowLongPtrA(page, DWLP_USER));
}

bool IsCurrentUsers(const UserProfile& p) {
  return p.name[0] && std::strcmp(p.name, GetCurrentUserName()) == 0;
}

void FillProfilePage(HWND page, const UserProfile& p) {
  SetDlgItemTextA(page, kAbout, p.about);
  SetDlgItemTextA(page, kName, p.displayName);
  if (p.language == 0 || p.language == 1)
    SetDlgItemTextA(page, kLanguage, LoadResString(p.language == 1 ? kStrFrench : kStrEnglish));
  SetDlgItemInt(page, kRanking, static_cast<UINT>(p.stats[kStatsClassic2].rating), TRUE);
  // Only the player may write about himself.
  SendDlgItemMessageA(page, kAbout, EM_SETREADONLY, IsCurrentUsers(p) ? FALSE : TRUE, 0);
}

// The current user's About text follows every change, in the window's copy
// and in the current profile.
void OnAboutChanged(HWND page) {
  UserProfile* p = ProfileOf(page);
  if (!p || !IsCurrentUsers(*p)) return;
  char text[kAboutLimit + 1] = {};
  GetDlgItemTextA(page, kAbout, text, sizeof text);
  CopyFixedText(p->about, sizeof p->about, text);
  if (UserProfile* current = GetCurrentUserProfile())
    CopyFixedText(current->about, sizeof current->about, text);
}

void AddColumn(HWND list, int index, uint32_t title, int width, int format) {
  std::string text = LoadResString(title);
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = format;
  column.cx = width;
  column.pszText = &text[0];
  SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&column));
}

void SetCell(HWND list, int row, int column, const std::string& value) {
  std::string text = value;
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = &text[0];
  SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void FillStatsPage(HWND page, int listId, StatsPage kind, const UserProfile& p) {
  HWND list = GetDlgItem(page, listId);
  AddColumn(list, 0, kStrLabelColumn, kLabelWidth, LVCFMT_LEFT);
  const std::vector<int> blocks = StatsPageBlocks(kind);
  for (size_t c = 0; c < blocks.size(); ++c) {
    const bool duplicate = c + 1 == blocks.size();
    const uint32_t title = duplicate ? kStrDuplicateColumn : c == 0 ? kStrEloColumn : kStrPlColumn;
    AddColumn(list, static_cast<int>(c + 1), title, kBlockWidth, LVCFMT_CENTER);
  }
  int row = 0;
  for (const StatsRow& r : BuildStatsRows(p, kind)) {
    std::string label = LoadResString(r.label);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = &label[0];
    const int at =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t c = 0; c < r.values.size(); ++c)
      SetCell(list, at, static_cast<int>(c + 1), r.values[c]);
    ++row;
  }
}

INT_PTR RunStatsPage(HWND page, UINT message, LPARAM lParam, int listId, StatsPage kind) {
  if (message != WM_INITDIALOG) return FALSE;
  const UserProfile* p = reinterpret_cast<const UserProfile*>(lParam);
  if (p) FillStatsPage(page, listId, kind, *p);
  return TRUE;
}

}  // namespace

INT_PTR CALLBACK ProfilePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(page, DWLP_USER, lParam);
      SendDlgItemMessageA(page, kAbout, EM_LIMITTEXT, kAboutLimit, 0);
      if (const UserProfile* p = ProfileOf(page)) FillProfilePage(page, *p);
      return TRUE;
    }
    case kMsgProfileChanged:
      if (lParam) FillProfilePage(page, *reinterpret_cast<const UserProfile*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kAbout && HIWORD(wParam) == EN_CHANGE) OnAboutChanged(page);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK GameStatsPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
  return RunStatsPage(page, message, lParam, 5918, StatsPage::kGameRoom);
}

INT_PTR CALLBACK TournamentStatsPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
  return RunStatsPage(page, message, lParam, 5920, StatsPage::kTournament);
}

INT_PTR CALLBACK OnlineStatsPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
  return RunStatsPage(page, message, lParam, 5921, StatsPage::kOnline);
}

}  // namespace shell
