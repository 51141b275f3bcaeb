#include "ui/page_layout.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/ini.h"
#include "platform/message_sink.h"
#include "platform/path.h"
#include "shell/app_context.h"
#include "shell/res_strings.h"
#include "shell/settings.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

constexpr uint32_t kSlotKeyStrings[kSlotCount] = {
    1859, 1860, 1861, 1879, 1880, 1886, 2996, 1887, 1888, 1890, 1891, 1893, 1900, 1914, 1915, 1916,
    1894, 7083, 1901, 1902, 2993, 2991, 2992, 3085, 2995, 3086, 3007, 3096, 4350, 3010, 3010};
constexpr uint32_t kStrHigherResolution = 2961;
constexpr uint32_t kStrDefaultUser = 7144;
constexpr char kDesktop[] = "Desktop";
constexpr char kPlacementDefault[] = "10 100 200 200 0 0";
constexpr char kBoardKey[] = "Board position";
constexpr char kRackKey[] = "Rack position";
constexpr float kBoardDefault[3] = {0.0809f, 3.0549f, 0.7303f};
constexpr float kRackDefault[3] = {-0.9771f, -8.7146f, 10.0f};

RoomBackgroundSource g_backgrounds = nullptr;

const char* LayoutPath() { return shell::GetWallpaperSetting(); }

bool IsDefaultUser(const char* name) {
  return std::strcmp(name, shell::LoadResString(kStrDefaultUser)) == 0;
}

// The fixed-size panels keep the size they were created with.
bool KeepsRecordedSize(int slot) {
  return (slot >= 7 && slot <= 14) || slot == 18 || slot == 19 || slot == 29 || slot == 30;
}

void WriteInt(const char* section, const char* key, int32_t value, const char* file) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  platform::IniWriteString(section, key, text, file);
}

std::string UserFile(const char* folder) {
  const char* name = shell::GetCurrentUserName();
  if (!*name || !*folder) return {};
  return std::string(folder) + "\\" + name + ".lay";
}

// The board and rack positions: the default user's come from its own folder.
std::string PositionFile() {
  const char* name = shell::GetCurrentUserName();
  return UserFile(IsDefaultUser(name) ? shell::GetDefaultUserItemPath()
                                      : shell::GetCurrentUserFolder());
}

void LoadPosition(const char* key, const float* def, float* out) {
  for (int i = 0; i < 3; ++i)
    out[i] = def[i];
  const std::string file = PositionFile();
  const char* room = shell::GetRoomName(-1);
  if (file.empty() || !*room) return;
  char fallback[64];
  std::snprintf(fallback, sizeof fallback, "%.4f %.4f %.4f", def[0], def[1], def[2]);
  const std::string text = platform::IniGet(room, key, fallback, file.c_str(), 255);
  float v[3];
  if (std::sscanf(text.c_str(), "%f %f %f", &v[0], &v[1], &v[2]) == 3)
    for (int i = 0; i < 3; ++i)
      out[i] = v[i];
}

void SavePosition(const char* key, const float* position) {
  const std::string file = PositionFile();
  const char* room = shell::GetRoomName(-1);
  if (file.empty() || !*room || !position) return;
  char text[96];
  std::snprintf(text, sizeof text, "%.4f %.4f %.4f", position[0], position[1], position[2]);
  platform::IniWriteString(room, key, text, file.c_str());
}

void WriteDesktop(const char* file) {
  int32_t w = 0, h = 0;
  GetDisplaySize(&w, &h);
  WriteInt(kDesktop, "width", w, file);
  WriteInt(kDesktop, "height", h, file);
}

void WriteBackgrounds(const char* file) {
  if (!g_backgrounds) return;
  for (int room = 0; room < kRoomLayoutCount; ++room) {
    RoomBackground bg{};
    const char* section = shell::GetRoomName(room);
    if (!*section || !g_backgrounds(room, &bg)) continue;
    bg.file[sizeof bg.file - 1] = '\0';
    // Every room's type and file: the lobby and the three menus read theirs
    // back, so a choice made there survives the next start.
    platform::IniWriteString(section, "WallpaperType", bg.bitmap ? "bitmap" : "gradient", file);
    platform::IniWriteString(section, "WallpaperFile", bg.file, file);
    char colours[32];
    std::snprintf(colours, sizeof colours, "%x %x", bg.gradient[0], bg.gradient[1]);
    platform::IniWriteString(section, "gradient", colours, file);
  }
}

}  // namespace

const char* GetSlotLayoutKey(int slot) {
  return slot >= 0 && slot < kSlotCount ? shell::LoadResString(kSlotKeyStrings[slot]) : "";
}

void SetRoomBackgroundSource(RoomBackgroundSource source) { g_backgrounds = source; }

void LoadRoomLayout(int room) {
  if (room < 0 || room >= kRoomLayoutCount) return;
  const char* section = shell::GetRoomName(room);
  RoomLayoutRecord record{};
  for (int slot = 0; slot < kSlotCount && *section; ++slot) {
    const char* key = GetSlotLayoutKey(slot);
    if (!*key) continue;
    if (room == kNetworkRoom && !GetSlotWindow(slot)) continue;
    const std::string text = platform::IniGet(section, key, kPlacementDefault, LayoutPath(), 255);
    SlotPlacement& p = record.slots[slot];
    long l = 0, t = 0, r = 0, b = 0;
    int show = 0, in = 0;
    // A damaged value keeps what it parsed and zero for the rest.
    std::sscanf(text.c_str(), "%ld %ld %ld %ld %d %d", &l, &t, &r, &b, &show, &in);
    p.rect = SlotRect{static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r),
                      static_cast<int32_t>(b)};
    p.showInRoom = show;
    p.inLayout = in;
    ClampRectToDesktop(&p.rect);
    if (KeepsRecordedSize(slot)) {
      int32_t w = 0, h = 0;
      GetSlotWindowSize(slot, &w, &h);
      p.rect.right = p.rect.left + w;
      p.rect.bottom = p.rect.top + h;
      ClampRectToDesktop(&p.rect);
    }
    if (room == 0) break;
  }
  if (room == kNetworkRoom) record.panelsHidden = 1;
  StoreRoomLayoutRecord(room, &record);
}

void LoadAllRoomLayouts(const char* path) {
  shell::SetWallpaperSetting(path ? path : "");
  for (int room = 0; room < kRoomLayoutCount; ++room)
    LoadRoomLayout(room);
}

int LoadPageLayout(const char* path) {
  if (!path || !*path) return 0;
  const int32_t savedW = platform::IniGetInt(kDesktop, "width", 0, path);
  const int32_t savedH = platform::IniGetInt(kDesktop, "height", 0, path);
  int32_t w = 0, h = 0;
  GetDisplaySize(&w, &h);
  if ((savedW > w || savedH > h) &&
      platform::ShowNotice(shell::LoadResString(kStrHigherResolution), "", 1 /* OK, Cancel */) ==
          platform::kResultCancel)
    return -1;
  LoadAllRoomLayouts(path);
  const int current = GetCurrentLayoutIndex();
  if (current >= 1 && current < kRoomLayoutCount && shell::GetScreen(current))
    InvalidateSlotWindow(kSlotRoom);
  ApplyRoomLayout(current);
  return 0;
}

void SaveRoomLayout(int room) {
  if (room < 0 || room >= kRoomLayoutCount) return;
  const char* section = shell::GetRoomName(room);
  const RoomLayoutRecord* record = GetRoomLayoutRecord(room);
  if (!*section || !record) return;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const char* key = GetSlotLayoutKey(slot);
    if (!*key || (room == kNetworkRoom && !GetSlotWindow(slot))) continue;
    const SlotPlacement& p = record->slots[slot];
    char text[96];
    std::snprintf(text, sizeof text, "%" PRId32 " %" PRId32 " %" PRId32 " %" PRId32 " %d %d",
                  p.rect.left, p.rect.top, p.rect.right, p.rect.bottom, p.showInRoom, p.inLayout);
    platform::IniWriteString(section, key, text, LayoutPath());
  }
}

void SaveAllRoomLayouts(const char* path) {
  shell::SetWallpaperSetting(path ? path : "");
  for (int room = 0; room < kRoomLayoutCount; ++room)
    SaveRoomLayout(room);
}

char* GetLayoutFilePath(char* buffer, size_t size) {
  if (!buffer || !size) return buffer;
  buffer[0] = '\0';
  const std::string file = UserFile(shell::GetCurrentUserFolder());
  if (file.size() < size) std::memcpy(buffer, file.c_str(), file.size() + 1);
  return buffer;
}

void SavePageLayout(int room) {
  const char* name = shell::GetCurrentUserName();
  if (!shell::GetCurrentUserProfile() || !*name || IsDefaultUser(name)) return;
  const std::string file = UserFile(shell::GetCurrentUserFolder());
  if (file.empty()) return;
  platform::MakeWritable(file.c_str());
  WriteDesktop(file.c_str());
  shell::SetWallpaperSetting(file.c_str());
  SaveRoomLayout(room);
}

int ExportPageLayout(const char* path) {
  if (!path || !*path) return 0;
  platform::MakeWritable(path);
  WriteDesktop(path);
  SaveAllRoomLayouts(path);
  WriteBackgrounds(path);
  return 0;
}

void SaveWallpaperSettings() {
  const char* name = shell::GetCurrentUserName();
  if (!*name || IsDefaultUser(name)) return;
  const std::string file = UserFile(shell::GetCurrentUserFolder());
  if (!file.empty()) WriteBackgrounds(file.c_str());
}

void SaveBoardPosition(const float position[3]) { SavePosition(kBoardKey, position); }
void SaveRackPosition(const float position[3]) { SavePosition(kRackKey, position); }
void LoadBoardPosition(float position[3]) { LoadPosition(kBoardKey, kBoardDefault, position); }
void LoadRackPosition(float position[3]) { LoadPosition(kRackKey, kRackDefault, position); }

}  // namespace ui
