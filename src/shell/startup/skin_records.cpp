#include "shell/startup/skin_records.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "gui/gui_core.h"
#include "gui/skin_reader.h"

namespace shell {
namespace {

using gui::GuiSkin;
using gui::SkinRegistry;

uint32_t RegistryId(SkinRegistry* registry, const std::string& name) {
  if (!registry || name.empty()) return 0;
  std::string upper = name;
  for (char& c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return registry->IdOf(upper);
}

// The class's values of one kind, in table order, into `out` (as many as
// fit). Bitmaps named in a file become registry ids; built-in ones keep
// their resource ids.
template <size_t N>
void Take(const SkinClassValues* v, SkinValueKind kind, SkinRegistry* reg, uint32_t (&out)[N],
          size_t first = 0) {
  if (!v || !v->spec) return;
  size_t k = first;
  for (size_t i = 0; i < v->spec->count && k < N; ++i) {
    if (v->spec->values[i].kind != kind) continue;
    out[k++] = (kind == SkinValueKind::kBitmap && v->fromFile) ? RegistryId(reg, v->names[i])
                                                               : v->numbers[i];
  }
}

// One bitmap by key: its registry id when the file names it, else the
// built-in resource id.
uint32_t BitmapId(const SkinClassValues* v, const char* key, SkinRegistry* reg) {
  return v->fromFile ? RegistryId(reg, v->Name(key)) : v->Value(key);
}

template <typename A>
constexpr size_t Count(const A& a) {
  return sizeof a / sizeof a[0];
}

// Ids by key in the order given, as many as the record's array holds.
template <size_t N, size_t M>
void FillIds(const SkinClassValues* v, const char* const (&keys)[N], SkinRegistry* reg,
             uint32_t (&out)[M]) {
  for (size_t i = 0; i < N && i < M; ++i)
    out[i] = BitmapId(v, keys[i], reg);
}

void CopyFace(char* out, size_t size, const char* face) { std::snprintf(out, size, "%s", face); }

// The button group by key: the record's images are grouped by kind (marks,
// then caps, middles and right caps by state), not in the class file's order.
void FillButtonGroup(const SkinClassValues* b, SkinRegistry* reg, GuiSkin* skin) {
  auto& g = skin->button;
  CopyFace(g.face, sizeof g.face, b->Name("font_name").c_str());
  const char* const marks[4] = {"up", "down", "up_disabled", "down_disabled"};
  for (int i = 0; i < 4; ++i) {
    g.imageIds[gui::kBtCheck + i] = BitmapId(b, ("check_" + std::string(marks[i])).c_str(), reg);
    g.imageIds[gui::kBtRadio + i] = BitmapId(b, ("radio_" + std::string(marks[i])).c_str(), reg);
  }
  const char* const states[4] = {"up", "down", "disabled", "focus"};
  for (int i = 0; i < 4; ++i) {
    const std::string st = states[i];
    g.imageIds[gui::kBtLeft + i] = BitmapId(b, ("button_left_" + st).c_str(), reg);
    g.imageIds[gui::kBtMiddle + i] = BitmapId(b, ("button_center_" + st).c_str(), reg);
    g.imageIds[gui::kBtRight + i] = BitmapId(b, ("button_right_" + st).c_str(), reg);
    g.textOffsetX[i] = static_cast<int32_t>(b->Value(("text_offset_x_" + st).c_str()));
    g.textOffsetY[i] = static_cast<int32_t>(b->Value(("text_offset_y_" + st).c_str()));
  }
  const char* const trio[3] = {"up", "down", "disabled"};
  for (int i = 0; i < 3; ++i) {
    const std::string st = trio[i];
    g.textColors[i] = b->Value(("text_color_" + st).c_str());
    g.checkColors[i] = b->Value(("chkbox_text_color_" + st).c_str());
    g.radioColors[i] = b->Value(("radio_text_color_" + st).c_str());
  }
  g.groupTextColor = b->Value("group_text_color_up");
  g.extraColor = b->Value("group_border_color");
  // The text fills are the colours above; the font is the face at its size.
  g.words[gui::kBtwPlainText] = 1;
  g.words[gui::kBtwFontSlot] = -1;
  g.words[gui::kBtwPoints] = static_cast<int32_t>(b->Value("font_size"));
}

}  // namespace

void FallbackFrameGroup(gui::GuiFrameGroup* group) {
  // The toolkit's own look: the group is not present, so frames use its
  // stock drawing.
  if (group) *group = gui::GuiFrameGroup{};
}

void FallbackMenuGroup(gui::GuiMenuGroup* menu) {
  if (!menu) return;
  *menu = gui::GuiMenuGroup{};
  CopyFace(menu->face, sizeof menu->face, "CG Omega");
  menu->points = 11;
  menu->weight = 400;
  menu->style = gui::kMenuTextItems;
  menu->present = 1;
}

void FallbackStatusGroup(gui::GuiStatusGroup* status) {
  if (!status) return;
  *status = gui::GuiStatusGroup{};
  CopyFace(status->face, sizeof status->face, "CG Omega");
  status->points = 10;
  status->present = 1;
}

unsigned FillFrameSkin(const std::string& skinIni, SkinRegistry* registry,
                       gui::GuiFrameSkin* skin) {
  if (!skin) return 0;
  struct {
    const char* key;
    int kind;
    unsigned bit;
  } frames[] = {{"thick_frame", gui::kKindThick, kThickBit},
                {"thin_frame", gui::kKindBordered, kThinBit},
                {"dialog_frame", gui::kKindDialog, kDialogBit},
                {"tooltip_frame", gui::kKindTooltip, kTooltipBit}};
  unsigned found = 0;
  const char* ini = skinIni.c_str();
  for (auto& f : frames) {
    gui::GuiFrameGroup* g = &skin->groups[f.kind];
    std::string path = gui::GuiSkinConfigPath(ini, f.key);
    if (!path.empty() && gui::GuiReadFrameIni(path.c_str(), registry, g))
      found |= f.bit;
    else
      FallbackFrameGroup(g);
  }
  std::string menu = gui::GuiSkinConfigPath(ini, "menu");
  if (!menu.empty() && gui::GuiReadMenuIni(menu.c_str(), registry, &skin->menu))
    found |= kMenuBit;
  else
    FallbackMenuGroup(&skin->menu);
  std::string status = gui::GuiSkinConfigPath(ini, "status_bar");
  if (!status.empty() && gui::GuiReadStatusIni(status.c_str(), registry, &skin->status))
    found |= kStatusBit;
  else
    FallbackStatusGroup(&skin->status);
  return found;
}

bool ReadAppFrameGroup(const std::string& skinIni, SkinRegistry* registry,
                       gui::GuiFrameGroup* group) {
  if (!group) return false;
  *group = gui::GuiFrameGroup{};
  std::string path = gui::GuiSkinConfigPath(skinIni.c_str(), "app_frame");
  if (path.empty() || !gui::GuiReadFrameIni(path.c_str(), registry, group)) {
    path = gui::GuiSkinConfigPath(skinIni.c_str(), "thick_frame");
    if (path.empty() || !gui::GuiReadFrameIni(path.c_str(), registry, group))
      FallbackFrameGroup(group);
    return false;
  }
  return true;
}

bool ReadLobbyStatusGroup(const std::string& skinIni, SkinRegistry* registry,
                          gui::GuiStatusGroup* status) {
  std::string path = gui::GuiSkinConfigPath(skinIni.c_str(), "status_bar_lobby");
  if (path.empty() || !status) return false;
  gui::GuiStatusGroup fresh{};
  if (!gui::GuiReadStatusIni(path.c_str(), registry, &fresh)) return false;
  *status = fresh;
  return true;
}

void FillControlSkin(const SkinClassSet& classes, SkinRegistry* registry, const char* programFolder,
                     gui::GuiHandle palette, GuiSkin* skin) {
  if (!skin) return;
  gui::GuiBuildDefaultSkin(skin);
  skin->imageSource = registry;
  skin->identity = 0;
  std::snprintf(skin->programFolder, sizeof skin->programFolder, "%s",
                programFolder ? programFolder : "");
  skin->palette = palette;
  skin->color1 = 15 | (13 << 8) | (10 << 16);
  skin->lastColor = 0xFFFFFFFFu;
  using K = SkinValueKind;

  if (const SkinClassValues* b = classes.Find("button")) FillButtonGroup(b, registry, skin);
  if (const SkinClassValues* s = classes.Find("scroll")) {
    // Per orientation the arrows, the track and the thumb row, pressed
    // after normal; the vertical track has one look for both states.
    static const char* const kOrder[] = {
        "v_top_button_up",   "v_top_button_down",  "v_bottom_button_up",  "v_bottom_button_down",
        "v_track_up",        "v_track_up",         "v_thumb_top_up",      "v_thumb_center_up",
        "v_thumb_bottom_up", "v_thumb_top_down",   "v_thumb_center_down", "v_thumb_bottom_down",
        "h_left_button_up",  "h_left_button_down", "h_right_button_up",   "h_right_button_down",
        "h_track_up",        "h_track_down",       "h_thumb_left_up",     "h_thumb_center_up",
        "h_thumb_right_up",  "h_thumb_left_down",  "h_thumb_center_down", "h_thumb_right_down"};
    FillIds(s, kOrder, registry, skin->scroll.imageIds);
    skin->scroll.present = 1;
  }
  if (const SkinClassValues* e = classes.Find("edit")) {
    Take(e, K::kColour, registry, skin->editColors);
    skin->editListColors[0] = e->Value("top_left_border_color");
    skin->editListColors[1] = e->Value("bottom_right_border_color");
    Take(e, K::kBitmap, registry, skin->editConfig.imageIds);
  }
  // The edit control's own pieces and flag, whatever the skin says.
  skin->editConfig.imageIds[8] = 30390;
  skin->editConfig.imageIds[9] = 30395;
  skin->editConfig.imageIds[10] = 1;
  if (const SkinClassValues* l = classes.Find("list_box")) {
    // By key: the class also carries a disabled background, which the
    // toolkit's five list colours have no slot for (taken in file order it
    // became the text colour, pale on the list's own background).
    static const char* const kListColours[] = {"background_color", "selected_background_color",
                                               "focused_background_color", "text_color",
                                               "selected_text_color"};
    for (size_t i = 0; i < 5; ++i)
      skin->list.colors[i] = l->Value(kListColours[i]);
  }
  skin->list.fallbackBorder = 1;
  if (const SkinClassValues* l = classes.Find("list_view"))
    Take(l, K::kColour, registry, skin->listViewColors);
  // The header's six colours follow the list view's eight.
  if (const SkinClassValues* h = classes.Find("control_header"))
    Take(h, K::kColour, registry, skin->listViewColors, 8);
  if (const SkinClassValues* t = classes.Find("tree_view")) {
    uint32_t ids[2] = {}, dx[2] = {}, colours[3] = {};
    Take(t, K::kBitmap, registry, ids);
    Take(t, K::kDimension, registry, dx);
    Take(t, K::kColour, registry, colours);
    uint32_t* w = skin->tree.words;
    w[0] = ids[0];
    w[1] = ids[1];
    w[5] = dx[0];
    w[6] = dx[1];
    w[7] = colours[0];
    w[8] = colours[1];
    w[9] = colours[2];
  }
  if (const SkinClassValues* t = classes.Find("tab")) {
    // Tab pieces by state (selected, normal, disabled), the page texture
    // and the strip along the page's top; colours: the text by state, then
    // shadow, light and dark edges.
    static const char* const kOrder[] = {
        "tab_left_down",       "tab_left_up",         "tab_left_disabled",   "tab_center_down",
        "tab_center_up",       "tab_center_disabled", "tab_right_down",      "tab_right_up",
        "tab_right_disabled",  "background",          "tab_corner_top_left", "tab_border_top",
        "tab_corner_top_right"};
    FillIds(t, kOrder, registry, skin->tab.imageIds);
    const uint32_t colours[] = {
        t->Value("text_color_down"),       t->Value("text_color_up"),
        t->Value("text_color_disabled"),   t->Value("bottom_right_border_color"),
        t->Value("top_left_border_color"), t->Value("bottom_right_border_color")};
    for (size_t i = 0; i < Count(colours) && i < Count(skin->tab.colors); ++i)
      skin->tab.colors[i] = colours[i];
  }
  if (const SkinClassValues* c = classes.Find("combo_box"))
    skin->combo.color = c->Value("combo_text_color");
  if (const SkinClassValues* t = classes.Find("track_bar")) {
    // The class's colours in its key order: ticks, thumb, background,
    // channel, thumb frame, channel frame.
    uint32_t colours[6] = {};
    Take(t, K::kColour, registry, colours);
    auto& tb = skin->trackbar;
    tb.ticks = colours[0];
    tb.thumb = colours[1];
    tb.background = colours[2];
    tb.channel = colours[3];
    tb.thumbFrame = colours[4];
    tb.channelFrame = colours[5];
  }
}

}  // namespace shell
