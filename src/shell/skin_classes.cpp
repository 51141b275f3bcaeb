#include "shell/skin_classes.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/ini.h"
#include "platform/path.h"

namespace shell {
namespace {

using K = SkinValueKind;

// The skin's hand for the built-in values: walnut, maple, brass, ivory, felt.
constexpr uint32_t kWalnut = PaletteRgb(112, 70, 38);
constexpr uint32_t kWalnutDark = PaletteRgb(70, 42, 22);
constexpr uint32_t kMaple = PaletteRgb(176, 128, 78);
constexpr uint32_t kMapleLight = PaletteRgb(214, 170, 120);
constexpr uint32_t kFelt = PaletteRgb(36, 104, 62);
constexpr uint32_t kFeltDark = PaletteRgb(22, 70, 40);
constexpr uint32_t kCream = PaletteRgb(246, 236, 212);
constexpr uint32_t kIvory = PaletteRgb(250, 244, 226);
constexpr uint32_t kBrass = PaletteRgb(204, 164, 84);
constexpr uint32_t kInk = PaletteRgb(12, 11, 9);
constexpr uint32_t kSage = PaletteRgb(162, 189, 173);
constexpr uint32_t kGrey = PaletteRgb(160, 144, 128);

constexpr SkinValueSpec B(const char* key, uint32_t id = 0) {
  return {K::kBitmap, key, id, nullptr};
}
constexpr SkinValueSpec C(const char* key, uint32_t colour) {
  return {K::kColour, key, colour, nullptr};
}
constexpr SkinValueSpec D(const char* key, uint32_t n = 0) {
  return {K::kDimension, key, n, nullptr};
}
constexpr SkinValueSpec F(const char* key, const char* face) {
  return {K::kFontName, key, 0, face};
}
constexpr SkinValueSpec FS(const char* key, uint32_t size) {
  return {K::kFontSize, key, size, nullptr};
}
constexpr SkinValueSpec FW(const char* key, uint32_t weight) {
  return {K::kFontStyle, key, weight, nullptr};
}

const SkinValueSpec kStatic[] = {
    C("text_color", kInk),         C("text_highlite_color", PaletteRgb(140, 60, 20)),
    C("alt_text_color", kCream),   C("alt_text_highlite_color", PaletteRgb(255, 220, 150)),
    C("tooltip_text_color", kInk),
};

const SkinValueSpec kGlobal[] = {
    C("border_color1", kMapleLight),
    C("border_color2", kWalnutDark),
    C("white_name_color", kIvory),
    C("white_tc_color", kIvory),
    C("white_rating_color", kBrass),
    C("white_clock_on_color", kIvory),
    C("white_clock_off_color", kGrey),
    C("white_clock_on_bkcolor", kFelt),
    C("white_clock_off_bkcolor", kFeltDark),
    C("black_name_color", kIvory),
    C("black_tc_color", kIvory),
    C("black_rating_color", kBrass),
    C("black_clock_on_color", kIvory),
    C("black_clock_off_color", kGrey),
    C("black_clock_on_bkcolor", kFelt),
    C("black_clock_off_bkcolor", kFeltDark),
    C("move_list_dis_color", kGrey),
    C("move_list_sel_color", kFelt),
    C("net_chat_bkcolor", kCream),
    C("net_chat_admin_text_color", PaletteRgb(140, 60, 20)),
    C("net_chat_text_color", kInk),
    C("net_close_bkcolor", kSage),
    C("net_official_bkcolor", kMapleLight),
    C("net_player_bkcolor", kCream),
    C("pers_selectedTextColor", kIvory),
    C("pers_selectedBkColor", kFelt),
    C("pers_selectedBorderColor", kBrass),
    C("pers_normalTextColor", kInk),
    C("pers_normalBkColor", kCream),
    C("pers_normalBorderColor", kWalnut),
    C("pers_borderBkColor", kMaple),
    C("pers_selectedInnerBorderColor", kBrass),
    C("pers_normalInnerBorderColor", kMapleLight),
};

const SkinValueSpec kButton[] = {
    B("check_up", 30287),
    B("check_down", 30288),
    B("check_up_disabled"),
    B("check_down_disabled"),
    B("radio_up", 30289),
    B("radio_down", 30290),
    B("radio_up_disabled"),
    B("radio_down_disabled"),
    B("button_left_up", 30291),
    B("button_center_up", 30292),
    B("button_right_up", 30293),
    B("button_left_down"),
    B("button_center_down"),
    B("button_right_down"),
    B("button_left_disabled"),
    B("button_center_disabled"),
    B("button_right_disabled"),
    C("text_color_up", kInk),
    C("text_color_down", kInk),
    C("text_color_disabled", kGrey),
    C("chkbox_text_color_up", kInk),
    C("chkbox_text_color_down", kInk),
    C("chkbox_text_color_disabled", kGrey),
    C("radio_text_color_up", kInk),
    C("radio_text_color_down", kInk),
    C("radio_text_color_disabled", kGrey),
    C("group_text_color_up", kInk),
    C("group_text_color_down", kInk),
    C("group_text_color_disabled", kGrey),
    C("group_border_color", kWalnut),
    D("text_offset_x_up"),
    D("text_offset_y_up"),
    D("text_offset_x_down", 1),
    D("text_offset_y_down", 1),
    D("text_offset_x_disabled"),
    D("text_offset_y_disabled"),
    D("text_offset_x_focus"),
    D("text_offset_y_focus"),
    D("hitmask"),
    D("disable_check"),
    F("font_name", "CG Omega"),
    FS("font_size", 16),
    FW("font_style", 400),
};

const SkinValueSpec kCombo[] = {C("combo_text_color", kInk)};

const SkinValueSpec kScroll[] = {
    B("v_top_button_up"),      B("v_top_button_down"),   B("v_bottom_button_up"),
    B("v_bottom_button_down"), B("v_track_up"),          B("v_thumb_top_up"),
    B("v_thumb_center_up"),    B("v_thumb_bottom_up"),   B("v_thumb_top_down"),
    B("v_thumb_center_down"),  B("v_thumb_bottom_down"), B("h_left_button_up"),
    B("h_left_button_down"),   B("h_right_button_up"),   B("h_right_button_down"),
    B("h_track_up"),           B("h_track_down"),        B("h_thumb_left_up"),
    B("h_thumb_center_up"),    B("h_thumb_right_up"),    B("h_thumb_left_down"),
    B("h_thumb_center_down"),  B("h_thumb_right_down"),
};

const SkinValueSpec kTrackBar[] = {
    C("trackbar_ticks_color", kWalnutDark),       C("trackbar_thumb_color", kBrass),
    C("trackbar_background_color", kCream),       C("trackbar_channel_color", kFeltDark),
    C("trackbar_thumb_bordercolor", kWalnutDark), C("trackbar_channel_bordercolor", kWalnutDark),
};

const SkinValueSpec kSplitter[] = {
    C("spliter_background_color", kMaple),
    C("spliter_top_left_border_color", kMapleLight),
    C("spliter_bottom_right_border_color", kWalnutDark),
};

#define TESS_LIST_BOX_COLOURS                                                       \
  C("background_color", kCream), C("selected_background_color", kFelt),             \
      C("focused_background_color", kSage), C("disabled_background_color", kIvory), \
      C("text_color", kInk), C("selected_text_color", kIvory)

const SkinValueSpec kListBox[] = {TESS_LIST_BOX_COLOURS};

const SkinValueSpec kListView[] = {
    C("background_color", kCream),
    C("selected_background_color", kFelt),
    C("focused_background_color", kSage),
    C("text_color", kInk),
    C("selected_text_color", kIvory),
    C("disabled_text_color", kGrey),
    C("selected_disabled_text_color", kSage),
    C("selected_disabled_background_color", kFeltDark),
};

const SkinValueSpec kTreeView[] = {
    B("tree_plus"),
    B("tree_minus"),
    D("tree_prebutton_dx", 3),
    D("tree_postbutton_dx", 3),
    C("tree_text_color", kInk),
    C("tree_line_color", kWalnut),
    C("tree_background_color", kCream),
};

const SkinValueSpec kHeader[] = {
    C("header_btnface_color", kMaple),    C("header_btnhighlight_color", kMapleLight),
    C("header_btnshadow_color", kWalnut), C("header_btndarkshadow_color", kInk),
    C("header_background_color", kMaple), C("header_text_color", kInk),
};

const SkinValueSpec kEdit[] = {
    TESS_LIST_BOX_COLOURS,
    C("top_left_border_color", kWalnutDark),
    C("bottom_right_border_color", kMapleLight),
    B("border_top_left", 30390),
    B("border_top_center", 30391),
    B("border_top_right", 30392),
    B("border_right", 30393),
    B("border_bottom_left", 30394),
    B("border_bottom_center", 30395),
    B("border_bottom_right", 30396),
    B("border_left", 30397),
    D("border_width", 1),
};
#undef TESS_LIST_BOX_COLOURS

const SkinValueSpec kSpinEdit[] = {B("spin_top_down"), B("spin_bottom_up"), B("spin_bottom_down")};

const SkinValueSpec kTab[] = {
    B("tab_left_up"),
    B("tab_center_up"),
    B("tab_right_up"),
    B("tab_left_down"),
    B("tab_center_down"),
    B("tab_right_down"),
    B("tab_left_disabled"),
    B("tab_center_disabled"),
    B("tab_right_disabled"),
    B("background"),
    B("tab_border_top"),
    B("tab_border_bottom"),
    B("tab_border_right"),
    B("tab_border_left"),
    B("tab_corner_top_left"),
    B("tab_corner_top_right"),
    B("tab_corner_bottom_left"),
    B("tab_corner_bottom_right"),
    C("text_color_up", kInk),
    C("text_color_down", kInk),
    C("text_color_disabled", kGrey),
    C("top_left_border_color", kMapleLight),
    C("bottom_right_border_color", kWalnutDark),
    D("down_offset_x"),
    D("down_offset_y"),
    D("disabled_offset_x"),
    D("disabled_offset_y"),
    D("up_offset_x"),
    D("up_offset_y"),
    D("border_width", 1),
};

const SkinValueSpec kCaptured[] = {
    B("king_white"),
    B("king_black"),
    B("queen_white"),
    B("queen_black"),
    B("rook_white"),
    B("rook_black"),
    B("bishop_white"),
    B("bishop_black"),
    B("knight_white"),
    B("knight_black"),
    B("pawn_white"),
    B("pawn_black"),
    D("dist_x_from_frame"),
    D("dist_y_from_frame"),
    D("font_space"),
    D("width"),
    D("height"),
    C("text_color_white", kIvory),
    C("text_color_black", kInk),
};

template <size_t N>
constexpr SkinClassSpec Spec(const char* key, const SkinValueSpec (&values)[N]) {
  return {key, values, N};
}

const std::string kEmpty;

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void ReadFaceMasks(const char* file, SkinClassValues* out) {
  char key[32];
  for (int n = 0; n < 64; ++n) {
    std::snprintf(key, sizeof key, "face_mask%d", n);
    std::string mask = platform::IniGet("resources", key, "", file, 260);
    std::snprintf(key, sizeof key, "face_mask_alpha%d", n);
    std::string alpha = platform::IniGet("resources", key, "", file, 260);
    if (mask.empty() && alpha.empty()) break;
    out->faceMasks.push_back(mask);
    out->faceMaskAlphas.push_back(alpha);
  }
}

}  // namespace

const SkinClassSpec kSkinClassSpecs[] = {
    Spec("static", kStatic),
    Spec("global", kGlobal),
    Spec("button", kButton),
    Spec("scroll", kScroll),
    Spec("edit", kEdit),
    Spec("spin_edit", kSpinEdit),
    Spec("list_box", kListBox),
    Spec("list_view", kListView),
    Spec("tree_view", kTreeView),
    Spec("control_header", kHeader),
    Spec("tab", kTab),
    Spec("track_bar", kTrackBar),
    Spec("combo_box", kCombo),
    Spec("splitter", kSplitter),
    Spec("captured_pieces", kCaptured),
};
const size_t kSkinClassSpecCount = sizeof kSkinClassSpecs / sizeof kSkinClassSpecs[0];

const SkinClassSpec* FindSkinClassSpec(const char* configKey) {
  if (!configKey) return nullptr;
  for (const SkinClassSpec& s : kSkinClassSpecs)
    if (std::strcmp(s.configKey, configKey) == 0) return &s;
  return nullptr;
}

bool ParseSkinColour(const char* text, uint32_t* colour) {
  if (!text || !*text || !colour) return false;
  if (std::strstr(text, "RGB")) {
    unsigned r, g, b;
    char tail;
    // Three numbers, then the marker: "255 0 0 RGB".
    if (std::sscanf(text, "%u %u %u %c", &r, &g, &b, &tail) != 4 || r > 255 || g > 255 || b > 255)
      return false;
    *colour = r | (g << 8) | (b << 16);
    return true;
  }
  char* end = nullptr;
  while (std::isspace(static_cast<unsigned char>(*text)))
    ++text;
  if (!std::isxdigit(static_cast<unsigned char>(*text))) return false;
  unsigned long v = std::strtoul(text, &end, 16);
  if (v > 0xFFFFFF) return false;
  *colour = static_cast<uint32_t>(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
  return true;
}

int32_t FontStyleWeight(const char* style) {
  if (!style) return 0;
  if (std::strcmp(style, "bold") == 0) return 600;
  if (std::strcmp(style, "normal") == 0) return 400;
  return 0;
}

void FallbackSkinClass(const SkinClassSpec& spec, SkinClassValues* out) {
  out->spec = &spec;
  out->fromFile = false;
  out->folder.clear();
  out->numbers.assign(spec.count, 0);
  out->names.assign(spec.count, std::string());
  out->faceMasks.clear();
  out->faceMaskAlphas.clear();
  for (size_t i = 0; i < spec.count; ++i) {
    out->numbers[i] = spec.values[i].fallback;
    if (spec.values[i].fallbackText) out->names[i] = spec.values[i].fallbackText;
  }
}

bool ReadSkinClass(const SkinClassSpec& spec, const std::string& iniPath, SkinClassValues* out) {
  FallbackSkinClass(spec, out);
  if (iniPath.empty() || !platform::FileExists(iniPath.c_str())) return false;
  const char* file = iniPath.c_str();
  out->fromFile = true;
  out->folder = FolderOf(iniPath);
  for (size_t i = 0; i < spec.count; ++i) {
    const SkinValueSpec& v = spec.values[i];
    switch (v.kind) {
      case K::kBitmap:
        out->numbers[i] = 0;
        out->names[i] = platform::IniGet("resources", v.key, "", file, 260);
        break;
      case K::kColour: {
        // 32 characters, default "0" (black).
        std::string text = platform::IniGet("colors", v.key, "0", file, 32);
        uint32_t c;
        if (ParseSkinColour(text.c_str(), &c)) out->numbers[i] = c;
        break;
      }
      case K::kDimension:
        out->numbers[i] = static_cast<uint32_t>(platform::IniGetInt("dimensions", v.key, 0, file));
        break;
      case K::kFontName: {
        std::string face = platform::IniGet("resources", v.key, "", file, 64);
        if (!face.empty()) out->names[i] = face;
        break;
      }
      case K::kFontSize:
        out->numbers[i] = static_cast<uint32_t>(
            platform::IniGetInt("resources", v.key, static_cast<int>(v.fallback), file));
        break;
      case K::kFontStyle: {
        std::string style = platform::IniGet("resources", v.key, "", file, 32);
        if (!style.empty()) out->numbers[i] = static_cast<uint32_t>(FontStyleWeight(style.c_str()));
        break;
      }
    }
  }
  if (std::strcmp(spec.configKey, "global") == 0) ReadFaceMasks(file, out);
  return true;
}

uint32_t SkinClassValues::Value(const char* key) const {
  if (!spec || !key) return 0;
  for (size_t i = 0; i < spec->count && i < numbers.size(); ++i)
    if (std::strcmp(spec->values[i].key, key) == 0) return numbers[i];
  return 0;
}

const std::string& SkinClassValues::Name(const char* key) const {
  if (!spec || !key) return kEmpty;
  for (size_t i = 0; i < spec->count && i < names.size(); ++i)
    if (std::strcmp(spec->values[i].key, key) == 0) return names[i];
  return kEmpty;
}

std::string SkinClassValues::BitmapPath(const char* key) const {
  const std::string& name = Name(key);
  if (!fromFile || name.empty()) return {};
  return folder + name + ".bmp";
}

int SkinClassSet::Load(const std::string& skinIni) {
  classes_.clear();
  int found = 0;
  std::string folder = FolderOf(skinIni);
  bool staticFound = false;
  for (const SkinClassSpec& spec : kSkinClassSpecs) {
    SkinClassValues& v = classes_[spec.configKey];
    bool isGlobal = std::strcmp(spec.configKey, "global") == 0;
    std::string name =
        platform::IniGet("configuration files", spec.configKey, "none.ini", skinIni.c_str(), 260);
    std::string lower = name;
    for (char& c : lower)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string path = (name.empty() || lower == "none.ini") ? std::string() : folder + name;
    // The shared colours follow the static texts: a skin without the one
    // keeps the built-in values of both.
    if (isGlobal && !staticFound) path.clear();
    bool ok = ReadSkinClass(spec, path, &v);
    if (std::strcmp(spec.configKey, "static") == 0) staticFound = ok;
    found += ok ? 1 : 0;
  }
  return found;
}

const SkinClassValues* SkinClassSet::Find(const char* configKey) const {
  if (!configKey) return nullptr;
  auto it = classes_.find(configKey);
  return it == classes_.end() ? nullptr : &it->second;
}

SkinClassSet& GetSkinClassSet() {
  static SkinClassSet set;
  return set;
}

}  // namespace shell
