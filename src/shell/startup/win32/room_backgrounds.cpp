#include "shell/startup/win32/room_backgrounds.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "gui/gui_memory.h"
#include "scene/screen.h"
#include "scene/win32/room_window.h"
#include "shell/app_context.h"
#include "shell/settings.h"
#include "ui/game_settings.h"
#include "ui/page_layout.h"

namespace shell {
namespace {

// One room's choice and the tile it has loaded (null until shown, or
// after its choice changed).
struct RoomWallpaper {
  ScreenBackground bg;
  gui::PackedDIB* tile = nullptr;
  bool reload = true;
};
RoomWallpaper g_rooms[kBackgroundRooms];
bool g_initialised = false;

void InitialiseRooms() {
  if (g_initialised) return;
  g_initialised = true;
  for (int room = 0; room < kBackgroundRooms; ++room) {
    ScreenBackground& bg = g_rooms[room].bg;
    bg.roomId = room;
    const char* tile = DefaultRoomTile(room);
    bg.bitmapMode = tile != nullptr;
    if (tile) std::snprintf(bg.path, sizeof bg.path, "%s\\%s", GetWallpaperFolder(), tile);
  }
}

RoomWallpaper* Room(int roomId) {
  if (roomId < 0 || roomId >= kBackgroundRooms) return nullptr;
  InitialiseRooms();
  return &g_rooms[roomId];
}

void DropTile(RoomWallpaper& room) {
  gui::GlobalFreePtr(room.tile);
  room.tile = nullptr;
  room.reload = true;
}

const gui::PackedDIB* TileOf(RoomWallpaper& room) {
  if (room.reload) {
    gui::GlobalFreePtr(room.tile);
    room.tile = room.bg.path[0] ? gui::ReadDIBFile(room.bg.path) : nullptr;
    room.reload = false;
  }
  return room.tile;
}

void FillGradientRows(gui::PackedDIB* dib, const ScreenBackground& bg, int width, int height) {
  for (int y = 0; y < height; ++y) {
    const uint32_t c = GradientColour(bg.colour1, bg.colour2, y, height);
    for (int x = 0; x < width; ++x) {
      uint8_t* p = gui::DIBPixelPtr(dib, x, y);
      p[0] = static_cast<uint8_t>(c >> 16);  // blue
      p[1] = static_cast<uint8_t>(c >> 8);
      p[2] = static_cast<uint8_t>(c);
    }
  }
}

// --- the hooks -------------------------------------------------------------------

scene::RoomPicture* PictureForRoomWindow(int roomId, int width, int height) {
  return MakeRoomPicture(roomId, width, height);
}

bool BackgroundForLayout(int roomId, ui::RoomBackground* out) {
  const ScreenBackground* bg = GetRoomBackground(roomId);
  if (!bg || !out || !scene::GetRoomScreen(roomId)) return false;
  out->bitmap = bg->bitmapMode;
  std::snprintf(out->file, sizeof out->file, "%s", bg->path);
  out->gradient[0] = bg->colour1;
  out->gradient[1] = bg->colour2;
  return true;
}

}  // namespace

ScreenBackground* GetRoomBackground(int roomId) {
  RoomWallpaper* room = Room(roomId);
  return room ? &room->bg : nullptr;
}

bool LoadBackgroundTile(const char* tileName, int roomId) {
  RoomWallpaper* room = Room(roomId);
  if (!room) return false;
  DropTile(*room);
  return LoadBackgroundSettings(tileName, GetWallpaperSetting(), GetWallpaperFolder(), &room->bg);
}

void LoadShownRoomTile(const char* tileName) {
  const int room = scene::GetCurrentRoomId();
  LoadBackgroundTile(tileName, room >= 0 && room < kBackgroundRooms ? room : 0);
}

void SetRoomBackgroundPictures(const char* picturePath) {
  if (!picturePath) return;
  for (int id = 0; id < kBackgroundRooms; ++id) {
    RoomWallpaper& room = *Room(id);
    room.bg.bitmapMode = true;
    std::snprintf(room.bg.path, sizeof room.bg.path, "%s", picturePath);
    DropTile(room);
  }
  RefreshRoomBackground(scene::GetCurrentRoomId());
}

void MarkRoomBackgroundChanged(int roomId) {
  if (RoomWallpaper* room = Room(roomId)) DropTile(*room);
}

gui::PackedDIB* BuildRoomBackground(int roomId, int width, int height) {
  RoomWallpaper* room = Room(roomId);
  if (!room || width <= 0 || height <= 0) return nullptr;
  const gui::PackedDIB* tile = room->bg.bitmapMode ? TileOf(*room) : nullptr;
  if (room->bg.bitmapMode && !tile) return nullptr;
  gui::PackedDIB* dib = gui::DIBCreate(width, height, 24);
  if (!dib) return nullptr;
  if (tile)
    gui::DIBTileToDIB(tile, dib, gui::DibRect{0, 0, width, height}, 0, 0);
  else
    FillGradientRows(dib, room->bg, width, height);
  return dib;
}

scene::RoomPicture* MakeRoomPicture(int roomId, int width, int height) {
  gui::PackedDIB* dib = BuildRoomBackground(roomId, width, height);
  if (!dib) return nullptr;
  // A 24-bit DIB has no colour table: the header, then the rows.
  const size_t bytes = sizeof(gui::DibInfoHeader) +
                       static_cast<size_t>(gui::DIBStride(dib)) * static_cast<size_t>(height);
  auto* picture = new (std::nothrow) scene::RoomPicture;
  if (picture) {
    picture->width = width;
    picture->height = height;
    const auto* start = reinterpret_cast<const uint8_t*>(dib);
    picture->dib.assign(start, start + bytes);
    // The toolkit counts a 24-bit DIB's colours in biClrUsed; GDI would take
    // that for a colour table before the pixels.
    auto* header = reinterpret_cast<gui::DibInfoHeader*>(picture->dib.data());
    header->biClrUsed = header->biClrImportant = 0;
  }
  gui::GlobalFreePtr(dib);
  return picture;
}

void RefreshRoomBackground(int roomId) {
  scene::Screen* screen = scene::GetCurrentScreen();
  if (!screen || screen->roomId != roomId || !screen->is2DRoom) return;
  scene::GetWin32RoomPort().ResizeRoomView(*screen, false);
}

void InstallRoomBackgrounds() {
  InitialiseRooms();
  scene::SetRoomPictureSource(PictureForRoomWindow);
  ui::SetRoomBackgroundHook(SetRoomBackgroundPictures);
  ui::SetRoomBackgroundSource(BackgroundForLayout);
}

void FreeRoomBackgrounds() {
  scene::SetRoomPictureSource(nullptr);
  ui::SetRoomBackgroundHook(nullptr);
  ui::SetRoomBackgroundSource(nullptr);
  for (RoomWallpaper& room : g_rooms)
    DropTile(room);
  g_initialised = false;
}

}  // namespace shell
