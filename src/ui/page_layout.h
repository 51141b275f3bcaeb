#pragma once
// The user's page layout: an ini file "<user folder>\<user>.lay" that keeps,
// for every room, where each window of the slot registry stands and whether
// it is shown, the desktop size it was saved at, the room backgrounds and the
// 3D board and rack positions. Nothing is cached: every call goes through the
// private-profile functions. The layout path of the settings record names the
// file last loaded or saved.
#include <cstddef>
#include <cstdint>

namespace ui {

// 0, or -1 when the user declines a layout saved on a larger desktop; an
// empty path does nothing.
int LoadPageLayout(const char* path);
void SavePageLayout(int room);
void LoadRoomLayout(int room);
void LoadAllRoomLayouts(const char* path);
void SaveRoomLayout(int room);
void SaveAllRoomLayouts(const char* path);
int ExportPageLayout(const char* path);
// The current user's layout file name; empty without a user or when it does
// not fit.
char* GetLayoutFilePath(char* buffer, size_t size);
void SaveWallpaperSettings();
void SaveBoardPosition(const float position[3]);
void SaveRackPosition(const float position[3]);
void LoadBoardPosition(float position[3]);
void LoadRackPosition(float position[3]);

// The ini key of a slot's placement ("" for a slot without one).
const char* GetSlotLayoutKey(int slot);

// What a room screen tells of its background; false when the room has no
// screen that keeps a page section. The rooms install it.
struct RoomBackground {
  bool bitmap;
  char file[260];
  uint32_t gradient[2];
};
using RoomBackgroundSource = bool (*)(int room, RoomBackground* out);
void SetRoomBackgroundSource(RoomBackgroundSource source);

}  // namespace ui
