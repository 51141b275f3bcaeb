#include "gui/gui_core.h"
#include "gui/widget_skins.h"

#include <cctype>
#include <cstring>

#include "gui/gui_memory.h"
#include "gui/view_skin.h"

namespace gui {

namespace {

struct ProcessRow {
  uint32_t pid;  // 0: free
  void* slots[3];
};
ProcessRow g_rows[kProcessRows];

size_t SlotSize(int slot) {
  switch (slot) {
    case kSlotFrameSkin:
      return sizeof(GuiFrameSkin);
    case kSlotSkin:
      return sizeof(GuiSkin);
    case kSlotFonts:
      return sizeof(GuiFontTable);
    default:
      return 0;
  }
}

ProcessRow* FindRow(uint32_t pid) {
  for (ProcessRow& r : g_rows)
    if (r.pid && r.pid == pid) return &r;
  return nullptr;
}

GuiFontCreator g_createFont = GuiCreateFontPt;
GuiFontDeleter g_deleteFont = GuiDeleteFontHandle;

GuiFontTable* Fonts() { return static_cast<GuiFontTable*>(GuiGetProcessSlot(0, kSlotFonts)); }

void CopyText(char* dst, size_t size, const char* src) {
  std::strncpy(dst, src ? src : "", size - 1);
  dst[size - 1] = 0;
}

}  // namespace

void SetGuiFontFunctions(GuiFontCreator create, GuiFontDeleter del) {
  g_createFont = create ? create : GuiCreateFontPt;
  g_deleteFont = del ? del : GuiDeleteFontHandle;
}

void* GuiGetProcessSlot(int, int slot) {
  ProcessRow* row = FindRow(GuiCurrentProcessId());
  if (!row || SlotSize(slot) == 0) return nullptr;
  return row->slots[slot];
}

int GuiSetProcessSlot(uint32_t pid, int slot, const void* record, size_t size) {
  ProcessRow* row = FindRow(pid);
  size_t cap = SlotSize(slot);
  if (!row || cap == 0 || size > cap) return 0;
  if (!row->slots[slot]) row->slots[slot] = GlobalAllocPtr(cap);
  if (row->slots[slot] && record && record != row->slots[slot])
    std::memcpy(row->slots[slot], record, size);
  return row->slots[slot] ? 1 : 0;
}

int GuiAddProcessRow(uint32_t pid, int slot, const void* record, size_t size) {
  if (SlotSize(slot) == 0 || pid == 0) return -1;
  ProcessRow* row = FindRow(pid);
  if (!row) {
    for (ProcessRow& r : g_rows)
      if (!r.pid) {
        row = &r;
        break;
      }
    if (!row) return -1;
    row->pid = pid;
  }
  GuiSetProcessSlot(pid, slot, record, size);
  return static_cast<int>(row - g_rows);
}

int GuiFreeProcessSlot(uint32_t pid, int slot) {
  ProcessRow* row = FindRow(pid);
  if (!row) return -1;
  auto drop = [&](int s) {
    SafeGlobalFreePtr(row->slots[s]);
    row->slots[s] = nullptr;
  };
  if (slot == kSlotFrameSkin) {
    drop(kSlotFrameSkin);
    drop(kSlotSkin);
  } else if (slot == kSlotSkin || slot == kSlotFonts) {
    drop(slot);
  }
  int index = static_cast<int>(row - g_rows);
  if (!row->slots[0] && !row->slots[1] && !row->slots[2]) row->pid = 0;
  return index;
}

void GuiBuildDefaultFrameSkin(GuiFrameSkin* skin) {
  if (!skin) return;
  std::memset(skin, 0, sizeof *skin);
  skin->sizeValue = 8;  // palette and font null: the stock objects
}

int GuiInitDefaultFrameSkin() {
  GuiFrameSkin skin;
  GuiBuildDefaultFrameSkin(&skin);
  return GuiAddProcessRow(GuiCurrentProcessId(), kSlotFrameSkin, &skin, sizeof skin) >= 0;
}

void GuiLoadFrameGroupImages(GuiFrameGroup* group, bool identity) {
  if (!group || !group->present || !group->imageSource || group->loaded) return;
  for (int i = 0; i < kFrameImageCount; ++i) {
    group->images[i] = SkinRegistryFindIdDIB(group->imageSource, group->imageIds[i]);
    if (identity) DIBSetIdentityColorTable(group->images[i]);
  }
  group->imageSet = 1;
  group->loaded = 1;
  group->present = 1;
}

namespace {
void LoadMenuImages(GuiFrameSkin* skin) {
  GuiMenuGroup& m = skin->menu;
  if (!m.present || m.loaded) return;
  for (int i = 0; i < kMenuImageCount; ++i)
    m.images[i] = SkinRegistryFindIdDIB(skin->imageSource, m.imageIds[i]);
  if (!m.font && m.face[0])
    m.font = g_createFont(m.face, m.points, m.weight ? m.weight : 400, 0, 0);
  m.loaded = 1;
}

void LoadStatusImages(GuiFrameSkin* skin) {
  GuiStatusGroup& s = skin->status;
  if (!s.present) return;
  s.separator = SkinRegistryFindIdDIB(skin->imageSource, s.separatorId);
  if (!s.font && s.face[0]) s.font = g_createFont(s.face, s.points, 400, 0, 0);
}
}  // namespace

int GuiApplyFrameSkin(int, GuiFrameSkin* skin) {
  if (!skin) return 0;
  // The fourth and fifth kinds are left to whoever uses them.
  for (int k = 0; k < 3; ++k)
    GuiLoadFrameGroupImages(&skin->groups[k], skin->identity != 0);
  LoadMenuImages(skin);
  LoadStatusImages(skin);
  GuiAddProcessRow(GuiCurrentProcessId(), kSlotFrameSkin, skin, sizeof *skin);
  return 1;
}

GuiFrameSkin* GuiGetFrameSkin() {
  return static_cast<GuiFrameSkin*>(GuiGetProcessSlot(0, kSlotFrameSkin));
}

int GuiFreeFrameSkin() {
  GuiFrameSkin* skin = GuiGetFrameSkin();
  if (!skin) return 0;
  GuiListDestroy(skin->popupPool);
  skin->popupPool = nullptr;
  // The images belong to the skin registry; the fonts the record made are its own.
  if (skin->menu.font) g_deleteFont(skin->menu.font);
  if (skin->status.font) g_deleteFont(skin->status.font);
  GuiFreeProcessSlot(GuiCurrentProcessId(), kSlotFrameSkin);
  return 1;
}

GuiHandle GuiSwapFrameSkinHandle(int, GuiHandle window) {
  GuiFrameSkin* skin = GuiGetFrameSkin();
  if (!skin) return nullptr;
  GuiHandle old = skin->notifyWindow;
  skin->notifyWindow = window;
  return old;
}

void GuiInitSkinTreeDefaults(GuiSkin* skin) {
  if (!skin) return;
  const uint32_t tree[10] = {0, 0, 0, 0, 0, 3, 3, 0, 0x00FF00, 0xFFFFFF};
  std::memcpy(skin->tree.words, tree, sizeof tree);
}

void GuiBuildDefaultSkin(GuiSkin* skin) {
  if (!skin) return;
  uintptr_t value = skin->appValue;
  GuiHandle instance = skin->builtinInstance;
  std::memset(skin, 0, sizeof *skin);
  skin->appValue = value;
  skin->builtinInstance = instance;
  skin->identity = 1;
  skin->borderWidth = 1;
  skin->scrollMetrics.len1 = 10;
  skin->scrollMetrics.len2 = 10;
  skin->scrollMetrics.len3 = 17;
  CopyText(skin->button.face, sizeof skin->button.face, "Courier New");
  const int32_t words[6] = {9, 12, 0, 0, 1, 1};
  std::memcpy(skin->button.words, words, sizeof words);
  skin->button.textColors[0] = 251;
  skin->button.textColors[1] = 255;
  skin->button.textColors[2] = 4;
  skin->button.extraColor = 65535;
  skin->scroll.present = 1;
  for (int i = 0; i < 21; ++i)
    skin->scroll.imageIds[i] = 19 + i;
  skin->scroll.colors[1] = skin->scroll.colors[3] = 0x808080;
  GuiInitSkinTreeDefaults(skin);
}

int GuiInitDefaultSkin(uintptr_t value) {
  GuiSkin skin{};
  skin.appValue = value;
  GuiBuildDefaultSkin(&skin);
  return GuiAddProcessRow(GuiCurrentProcessId(), kSlotSkin, &skin, sizeof skin) >= 0;
}

GuiSkin* GuiGetSkin() { return static_cast<GuiSkin*>(GuiGetProcessSlot(0, kSlotSkin)); }

GuiHandle GuiSwapSkinPalette(int, GuiHandle palette) {
  GuiSkin* skin = GuiGetSkin();
  if (!skin) return nullptr;
  GuiHandle old = skin->palette;
  skin->palette = palette;
  return old;
}

int GuiFreeSkin() {
  if (!GuiGetSkin()) return 0;
  GuiFreeProcessSlot(GuiCurrentProcessId(), kSlotSkin);
  return 1;
}

namespace {
int ApplyPlaceholder(SkinRegistry*, GuiSkin*) { return 1; }
// The widget families' skin loaders in their order: scroll bar, button,
// (placeholder), list, tree, tab, refresh. A family replaces its entry when it
// is built.
GuiSkinApplyFn g_familyApply[7] = {
    CGUIScrollBarApplySkin, ApplyPlaceholder,    ApplyPlaceholder, CGUIListWndApplySkin,
    CGUITreeViewApplySkin,  CGUITabWndApplySkin, ApplyPlaceholder};
}  // namespace

int GuiApplySkin(int, GuiSkin* skin) {
  if (!skin) return 0;
  // The families resolve their images before the record is installed, so
  // the installed copy holds them too.
  if (skin->imageSource)
    for (GuiSkinApplyFn fn : g_familyApply)
      fn(skin->imageSource, skin);
  GuiAddProcessRow(GuiCurrentProcessId(), kSlotSkin, skin, sizeof *skin);
  return 1;
}

int GuiInitFontTable() {
  GuiFontTable table{};
  return GuiAddProcessRow(GuiCurrentProcessId(), kSlotFonts, &table, sizeof table) >= 0 ? 1 : 0;
}

GuiHandle GuiAddFont(int slot, GuiHandle font, const char* face, int32_t points, int32_t weight,
                     int32_t charset, int32_t italic) {
  GuiFontTable* t = Fonts();
  if (!t || slot < 0 || slot >= kFontSlots || t->entries[slot]) return nullptr;
  auto* e = static_cast<GuiFontEntry*>(GlobalAllocPtr(sizeof(GuiFontEntry)));
  if (!e) return nullptr;
  CopyText(e->face, sizeof e->face, face);
  e->points = points;
  e->weight = weight;
  e->charset = charset;
  e->font = font ? font : g_createFont(face, points, weight, charset, italic);
  t->entries[slot] = e;
  ++t->count;
  return e->font;
}

int GuiRemoveFont(int slot) {
  GuiFontTable* t = Fonts();
  if (!t || slot < 0 || slot >= kFontSlots || !t->entries[slot] || !t->entries[slot]->font)
    return -1;
  g_deleteFont(t->entries[slot]->font);
  GlobalFreePtr(t->entries[slot]);
  t->entries[slot] = nullptr;
  return --t->count;
}

int GuiFindFont(int32_t points, int32_t weight, int32_t charset) {
  GuiFontTable* t = Fonts();
  if (!t || points == -1 || weight == -1 || charset == -1) return -1;
  for (int i = 0; i < kFontSlots; ++i) {
    const GuiFontEntry* e = t->entries[i];
    if (e && e->font && e->points == points && e->weight == weight && e->charset == charset)
      return i;
  }
  return -1;
}

GuiHandle GuiGetFont(int slot) {
  GuiFontTable* t = Fonts();
  if (!t || slot < 0 || slot >= kFontSlots || !t->entries[slot]) return nullptr;
  return t->entries[slot]->font;
}

int GuiDeleteFonts() {
  GuiFontTable* t = Fonts();
  if (!t) return 0;
  for (int i = 0; i < kFontSlots; ++i) {
    if (!t->entries[i]) continue;
    if (t->entries[i]->font) g_deleteFont(t->entries[i]->font);
    GlobalFreePtr(t->entries[i]);
    t->entries[i] = nullptr;
    --t->count;
  }
  return 1;
}

namespace {
// A run of decimal digits; false when there is none.
bool ReadNumber(const char*& p, int32_t* out) {
  if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
  int64_t v = 0;
  while (std::isdigit(static_cast<unsigned char>(*p))) {
    if (v < 1000000) v = v * 10 + (*p - '0');  // stays bounded on long runs
    ++p;
  }
  *out = static_cast<int32_t>(v);
  return true;
}
}  // namespace

bool GuiParseCaptionMarkup(const char* text, CaptionPlacement* out) {
  if (!text || !out) return false;
  *out = CaptionPlacement{};
  const char* end = text + strnlen(text, 256);
  const char* p = static_cast<const char*>(std::memchr(text, '{', end - text));
  if (!p) return false;
  ++p;
  // Only p and s, and only ahead of every other key.
  while (p < end && *p != '}') {
    while (p < end && *p == ' ')
      ++p;
    if (p + 1 >= end || (*p != 'p' && *p != 's') || p[1] != ':') break;
    char key = *p;
    p += 2;
    int32_t a, b;
    if (!ReadNumber(p, &a) || *p != ',') break;
    ++p;
    if (!ReadNumber(p, &b)) break;
    if (key == 'p') {
      out->x = a;
      out->y = b;
      out->swpFlags &= ~kSwpNoMove;
    } else {
      out->cx = a;
      out->cy = b;
      out->swpFlags &= ~kSwpNoSize;
    }
  }
  return true;
}

}  // namespace gui
