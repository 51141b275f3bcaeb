#include "gui/gui_menu.h"

#include <cctype>
#include <cstring>

#include "gui/gui_memory.h"

namespace gui {

namespace {

void FreeItems(GuiMenuItem* items, int32_t count) {
  if (!items) return;
  for (int32_t i = 0; i < count; ++i) {
    SafeGlobalFreePtr(items[i].images[0]);
    SafeGlobalFreePtr(items[i].images[1]);
    FreeItems(items[i].subItems, items[i].subCount);
  }
  GlobalFreePtr(items);
}

GuiMenuItem* Grow(GuiMenu* menu) {
  size_t bytes = sizeof(GuiMenuItem) * (menu->count + 1);
  auto* items = static_cast<GuiMenuItem*>(menu->items ? GlobalReAllocPtr(menu->items, bytes)
                                                      : GlobalAllocPtr(bytes));
  if (!items) return nullptr;
  menu->items = items;
  GuiMenuItem* item = &items[menu->count++];
  std::memset(item, 0, sizeof *item);
  return item;
}

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Reads one level of a menu resource into `menu`; false when the data ends
// early or nests too deeply.
bool ParseLevel(const uint8_t* data, size_t size, size_t* pos, GuiMenu* menu, int depth) {
  if (depth > 8) return false;
  for (;;) {
    if (size - *pos < 2) return false;
    uint16_t flags = Le16(data + *pos);
    *pos += 2;
    uint16_t id = 0;
    if (!(flags & kMenuPopup)) {
      if (size - *pos < 2) return false;
      id = Le16(data + *pos);
      *pos += 2;
    }
    char text[kMenuTextMax] = {};
    size_t n = 0;
    for (;;) {
      if (size - *pos < 2) return false;
      uint16_t ch = Le16(data + *pos);
      *pos += 2;
      if (ch == 0) break;
      if (n + 1 < kMenuTextMax) text[n++] = static_cast<char>(ch & 0xFF);
    }
    uint32_t itemFlags = flags & ~kMenuEnd;
    if (flags & kMenuPopup) {
      GuiMenu sub{};
      if (!ParseLevel(data, size, pos, &sub, depth + 1)) {
        FreeItems(sub.items, sub.count);
        return false;
      }
      GuiMenuItem* item = Grow(menu);
      if (!item) {
        FreeItems(sub.items, sub.count);
        return false;
      }
      std::memcpy(item->text, text, sizeof text);
      item->mnemonic = GuiMenuMnemonic(text);
      item->flags = itemFlags;
      item->subCount = sub.count;
      item->subItems = sub.items;
    } else {
      GuiMenuItem* item = Grow(menu);
      if (!item) return false;
      std::memcpy(item->text, text, sizeof text);
      item->id = id;
      item->flags = itemFlags;
      if (id == 0 && text[0] == 0)
        item->flags |= kMenuSeparator;
      else
        item->mnemonic = GuiMenuMnemonic(text);
    }
    if (flags & kMenuEnd) return true;
  }
}

GuiMenuItem* FindById(GuiMenuItem* items, int32_t count, uint32_t id) {
  for (int32_t i = 0; i < count; ++i) {
    if (!(items[i].flags & kMenuPopup) && items[i].id == id) return &items[i];
    if (items[i].subItems)
      if (GuiMenuItem* found = FindById(items[i].subItems, items[i].subCount, id)) return found;
  }
  return nullptr;
}

bool Selectable(const GuiMenuItem& item) { return !(item.flags & kMenuSeparator); }

}  // namespace

char GuiMenuMnemonic(const char* text) {
  if (!text) return 0;
  for (const char* p = text; *p; ++p) {
    if (*p != '&') continue;
    if (p[1] == '&') {
      ++p;  // a literal ampersand
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(p[1])));
  }
  return 0;
}

GuiMenu* GuiCreateMenu() {
  auto* menu = static_cast<GuiMenu*>(GlobalAllocPtr(sizeof(GuiMenu)));
  if (menu) menu->selected = menu->barOpen = -1;
  return menu;
}

GuiMenu* GuiParseMenuResource(const uint8_t* data, size_t size) {
  if (!data || size < 4) return nullptr;
  size_t pos = 4 + Le16(data + 2);  // version word, then the header size
  if (pos > size) return nullptr;
  GuiMenu* menu = GuiCreateMenu();
  if (!menu) return nullptr;
  if (!ParseLevel(data, size, &pos, menu, 0)) {
    GuiDestroyMenu(menu);
    return nullptr;
  }
  return menu;
}

int GuiAppendMenu(GuiMenu* menu, uint32_t flags, uintptr_t idOrSubmenu, const char* text) {
  if (!menu || !text || menu->view) return 0;
  GuiMenuItem* item = Grow(menu);
  if (!item) return 0;
  std::strncpy(item->text, text, kMenuTextMax - 1);
  item->flags = flags;
  if (!(flags & (kMenuOwnerDraw | kMenuColoured))) item->mnemonic = GuiMenuMnemonic(item->text);
  if (flags & kMenuPopup) {
    auto* sub = reinterpret_cast<GuiMenu*>(idOrSubmenu);
    if (sub && !sub->view) {
      item->subCount = sub->count;
      item->subItems = sub->items;
      sub->count = 0;
      sub->items = nullptr;
    }
  } else {
    item->id = static_cast<uint32_t>(idOrSubmenu);
  }
  return 1;
}

int32_t GuiEnableMenuItem(GuiMenu* menu, uint32_t idOrPosition, uint32_t flags) {
  if (!menu) return -1;
  GuiMenuItem* item = nullptr;
  if (flags & kMenuByPosition) {
    if (idOrPosition < static_cast<uint32_t>(menu->count)) item = &menu->items[idOrPosition];
  } else {
    item = FindById(menu->items, menu->count, idOrPosition);
  }
  if (!item) return -1;
  int32_t previous = static_cast<int32_t>(item->flags);
  if (flags & (kMenuGrayed | kMenuDisabled))
    item->flags |= kMenuGrayed | kMenuDisabled;
  else
    item->flags &= ~(kMenuGrayed | kMenuDisabled);
  return previous;
}

int GuiDestroyMenu(GuiMenu* menu) {
  if (!menu) return 0;
  if (!menu->view) FreeItems(menu->items, menu->count);
  GlobalFreePtr(menu);
  return 1;
}

GuiMenu* GuiGetSubMenu(GuiMenu* menu, int32_t position) {
  if (!menu || position < 0 || position >= menu->count) return nullptr;
  GuiMenuItem& item = menu->items[position];
  if (!(item.flags & kMenuPopup)) return nullptr;
  GuiMenu* view = GuiCreateMenu();
  if (!view) return nullptr;
  view->count = item.subCount;
  view->items = item.subItems;
  view->view = 1;
  return view;
}

int32_t GuiFindMnemonic(const GuiMenu* menu, char key) {
  if (!menu || !key) return -1;
  char k = static_cast<char>(std::tolower(static_cast<unsigned char>(key)));
  for (int32_t i = 0; i < menu->count; ++i)
    if (menu->items[i].mnemonic == k && Selectable(menu->items[i])) return i;
  return -1;
}

int32_t GuiMenuStep(const GuiMenu* menu, int32_t from, int direction) {
  if (!menu || menu->count <= 0) return -1;
  int32_t n = menu->count;
  int32_t i = from;
  if (i < 0) i = direction > 0 ? -1 : n;
  for (int32_t tries = 0; tries < n; ++tries) {
    i = ((i + (direction > 0 ? 1 : -1)) % n + n) % n;
    if (Selectable(menu->items[i])) return i;
  }
  return -1;
}

}  // namespace gui
