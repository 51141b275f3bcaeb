// The GUI resource sets: the skin registry, the frame skin and the widget
// skin built from the current skin, at start-up and after a skin change.
// A reload builds the new registry before anything is torn down, so a skin
// that cannot be loaded leaves the old one in force.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "gui/gui_core.h"
#include "gui/skin_reader.h"
#include "gui/widget_skin_reader.h"
#include "gui/win32/gui_frame.h"
#include "gui/win32/gui_win32.h"
#include "platform/message_sink.h"
#include "shell/app_context.h"
#include "shell/res_strings.h"
#include "shell/settings.h"
#include "shell/shell_host.h"
#include "shell/skin_classes.h"
#include "shell/startup/resource_sets.h"
#include "shell/startup/skin_records.h"
#include "shell/theme.h"

namespace shell {
namespace {

gui::SkinRegistry* g_registry = nullptr;
HWND g_mainWindow = nullptr;
HPALETTE g_palette = nullptr;
AmbiancePlayer g_ambiance = nullptr;
std::string g_gameFont;

gui::SkinRegistry* CreateRegistry(const std::string& skinIni) {
  std::string desc = gui::GuiSkinConfigPath(skinIni.c_str(), "GUIResources");
  if (desc.empty()) return nullptr;
  gui::SkinRegistry* reg = gui::SkinRegistryCreate(desc.c_str());
  if (reg && reg->nameCount() == 0) {
    gui::SkinRegistryDestroy(reg);
    reg = nullptr;
  }
  return reg;
}

void DeleteFontIfOwned(gui::GuiHandle font, gui::GuiHandle keep) {
  if (font && font != keep) gui::GuiDeleteFontHandle(font);
}

// The fonts a frame-skin record made for itself (caption, menu, status
// bar), deleted once a newer record no longer uses them.
void ReleaseRecordFonts(const gui::GuiFrameSkin& old, const gui::GuiFrameSkin* now) {
  for (int k = 0; k < gui::kFrameKindCount; ++k)
    DeleteFontIfOwned(old.groups[k].captionFont, now ? now->groups[k].captionFont : nullptr);
  DeleteFontIfOwned(old.menu.font, now ? now->menu.font : nullptr);
  DeleteFontIfOwned(old.status.font, now ? now->status.font : nullptr);
}

// Builds both records on the registry and installs them; the registry
// becomes the process's.
void InstallRecords(const std::string& skinIni, gui::SkinRegistry* reg) {
  gui::GuiFrameSkin frame;
  gui::GuiBuildDefaultFrameSkin(&frame);
  frame.imageSource = reg;
  frame.palette = g_palette;
  FillFrameSkin(skinIni, reg, &frame);
  gui::GuiApplyFrameSkin(0, &frame);

  GetSkinClassSet().Load(skinIni);
  gui::GuiSkin set;
  set.appValue = 0;
  set.builtinInstance = gui::GuiGetInstance();
  FillControlSkin(GetSkinClassSet(), reg, GetProgramFolder(), g_palette, &set);
  // The toolkit's own button and label readers add what the class table does
  // not carry: focus pieces, bitmap-key offsets, the font slot, the shadow,
  // and the texture under labels and group boxes (without it a group box
  // shows the system's light face under the skin's light text).
  std::string buttons = gui::GuiSkinConfigPath(skinIni.c_str(), "button");
  if (!buttons.empty()) gui::GuiReadButtonIni(buttons.c_str(), reg, &set);
  std::string labels = gui::GuiSkinConfigPath(skinIni.c_str(), "static");
  if (!labels.empty()) gui::GuiReadStaticIni(labels.c_str(), reg, &set);
  set.font = gui::GuiGetFont(0);
  set.edgeProc = DrawSkinBevel;
  gui::GuiApplySkin(0, &set);
  g_registry = reg;
}

int SendSkinGoes(HWND window, LPARAM) {
  SendMessageA(window, kMsgSkinGoes, 0, 0);
  return 1;
}

int RefreshFrame(HWND window, LPARAM) {
  RefreshSkinnedChildren(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return 1;
}

}  // namespace

void SetSkinMainWindow(HWND window) { g_mainWindow = window; }
void SetSkinPalette(HPALETTE palette) { g_palette = palette; }
HWND GetSkinMainWindow() { return g_mainWindow; }
HPALETTE GetSkinPalette() { return g_palette; }
void SetAmbiancePlayer(AmbiancePlayer player) { g_ambiance = player; }
gui::SkinRegistry* GetSkinRegistry() { return g_registry; }

void LoadGuiFonts() {
  gui::GuiDeleteFonts();
  gui::GuiFreeProcessSlot(gui::GuiCurrentProcessId(), gui::kSlotFonts);
  gui::GuiInitFontTable();
  struct {
    int slot, points, weight, italic;
  } fonts[] = {{2, 12, 500, 0}, {5, 12, 500, 1}, {0, 10, 600, 0}, {1, 11, 600, 0},
               {4, 20, 600, 0}, {6, 8, 300, 0},  {7, 7, 600, 0},  {8, 8, 600, 0},
               {9, 12, 700, 0}, {10, 12, 400, 1}};
  for (auto& f : fonts)
    gui::GuiAddFont(f.slot, nullptr, "CG Omega", f.points, f.weight, 0, f.italic);
  const char* folder = GetProgramFolder();
  if (folder && g_gameFont.empty()) {
    std::string path = std::string(folder) + "\\tessarin.ttf";
    if (AddFontResourceA(path.c_str()) > 0) g_gameFont = path;
  }
}

bool LoadSkinResources() {
  gui::SkinRegistry* reg = CreateRegistry(GetCurrentSkinPath());
  if (!reg) return false;
  gui::SkinRegistry* old = g_registry;
  gui::GuiFrameSkin before{};
  if (const gui::GuiFrameSkin* cur = gui::GuiGetFrameSkin()) before = *cur;
  if (old) gui::GuiEnumFrameWindows(SendSkinGoes, 0);
  InstallRecords(GetCurrentSkinPath(), reg);
  ReleaseRecordFonts(before, gui::GuiGetFrameSkin());
  gui::SkinRegistryDestroy(old);
  return true;
}

bool LoadGUIResources() {
  InitCommonControls();
  LoadGuiFonts();
  char theme[kThemeBufferSize];
  const SettingsRecord* settings = GetSettingsRecord();
  if (!settings || !settings->lastUser[0] || !GetUserThemeFile(theme, settings->lastUser))
    std::snprintf(theme, sizeof theme, "%s", kDefaultThemeFile);
  char skin[kThemeBufferSize];
  ResolveSkinFile(skin, theme);
  if (SettingsRecord* s = GetSettingsRecord())
    std::snprintf(s->theme, sizeof s->theme, "%s", theme);
  SetCurrentTheme(theme);
  return LoadSkinResources();
}

bool ReloadGUIResources() {
  if (!LoadSkinResources()) return false;
  if (g_mainWindow) RefreshSkinnedChildren(g_mainWindow);
  gui::GuiEnumFrameWindows(RefreshFrame, 0);
  return true;
}

void ReleaseGuiResourcesAndFont() {
  gui::GuiFrameSkin before{};
  bool had = false;
  if (const gui::GuiFrameSkin* cur = gui::GuiGetFrameSkin()) {
    before = *cur;
    had = true;
  }
  gui::GuiFreeFrameSkin();  // also frees the widget skin and the menu and status fonts
  if (had) {
    before.menu.font = before.status.font = nullptr;
    ReleaseRecordFonts(before, nullptr);
  }
  gui::SkinRegistryDestroy(g_registry);
  g_registry = nullptr;
  GetSkinClassSet().Clear();
  gui::GuiDeleteFonts();
  if (!g_gameFont.empty()) {
    RemoveFontResourceA(g_gameFont.c_str());
    g_gameFont.clear();
  }
}

bool ApplySkinByName(const char* skinFile, int reload) {
  char theme[kThemeBufferSize];
  if (!ThemeNameFromSkinFile(skinFile, theme, sizeof theme)) {
    platform::ShowNotice(
        "Impossible de deviner le theme \xe0 partir du skin. Le chargement du theme a \xe9"
        "chou\xe9",
        "tessarin error", 0);
    return false;
  }
  const std::string oldTheme = GetCurrentThemePath(), oldSkin = GetCurrentSkinPath();
  if (!SetCurrentTheme(theme)) return false;
  if (reload && !ReloadGUIResources()) {
    SetCurrentThemePaths(oldTheme.c_str(), oldSkin.c_str());
    return false;
  }
  if (SettingsRecord* s = GetSettingsRecord())
    std::snprintf(s->theme, sizeof s->theme, "%s", theme);
  char ambiance[kThemeBufferSize];
  if (GetThemeAmbiance(theme, ambiance) && ambiance[0] && GetShellHost().GetCurrentRoomId() != 0 &&
      g_ambiance)
    g_ambiance(ambiance);
  return true;
}

int DrawSkinBevel(gui::GuiHandle window, const gui::DibRect* rect, const gui::GuiSkin* set,
                  uint32_t light, uint32_t dark, int32_t width) {
  if (!rect || !set) return 0;
  HWND w = static_cast<HWND>(window);
  HDC dc = GetDC(w);
  if (!dc) return 0;
  HPALETTE oldPal = nullptr;
  if (set->palette) {
    oldPal = SelectPalette(dc, static_cast<HPALETTE>(set->palette), FALSE);
    RealizePalette(dc);
  }
  int l = rect->left, t = rect->top, r = rect->right - 1, b = rect->bottom - 1;
  HPEN lightPen = CreatePen(PS_SOLID, width, light);
  HPEN darkPen = CreatePen(PS_SOLID, width, dark);
  HGDIOBJ oldPen = SelectObject(dc, lightPen);
  MoveToEx(dc, l, b, nullptr);
  LineTo(dc, l, t);
  LineTo(dc, r, t);
  SelectObject(dc, darkPen);
  LineTo(dc, r, b);
  LineTo(dc, l, b);
  SelectObject(dc, oldPen);
  DeleteObject(lightPen);
  DeleteObject(darkPen);
  if (oldPal) SelectPalette(dc, oldPal, FALSE);
  ReleaseDC(w, dc);
  return 1;
}

void RefreshSkinnedChildren(HWND window) {
  if (!window) return;
  if (SendMessageA(window, kMsgSkinRefresh, 1, 0) != 1)
    SetWindowPos(window, nullptr, 0, 0, 0, 0, 0x127);
  else
    SendMessageA(window, kMsgSkinRefresh, 4, 0);
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    RefreshSkinnedChildren(child);
}

void SetStatusBarTextId(HWND bar, int part, UINT stringId) {
  if (bar) SetStatusBarText(bar, part, LoadResString(stringId));
}

void SetStatusBarText(HWND bar, int part, const char* text) {
  if (bar)
    SendMessageA(bar, gui::kMsgStatusSetText, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(text ? text : ""));
}

void SwitchStatusBar(const char* name, int lobby) {
  (void)name;  // the skin path is the current one
  gui::GuiFrameSkin* skin = gui::GuiGetFrameSkin();
  if (!skin) return;
  const std::string ini = GetCurrentSkinPath();
  gui::GuiStatusGroup next = skin->status;
  next.font = nullptr;
  bool changed;
  if (lobby) {
    changed = ReadLobbyStatusGroup(ini, g_registry, &next);
  } else {
    std::string path = gui::GuiSkinConfigPath(ini.c_str(), "status_bar");
    next = gui::GuiStatusGroup{};
    if (path.empty() || !gui::GuiReadStatusIni(path.c_str(), g_registry, &next))
      FallbackStatusGroup(&next);
    changed = true;
  }
  if (!changed) return;
  gui::GuiHandle oldFont = skin->status.font;
  skin->status = next;
  skin->status.separator = gui::SkinRegistryFindIdDIB(g_registry, skin->status.separatorId);
  if (skin->status.face[0])
    skin->status.font = gui::GuiCreateFontPt(skin->status.face, skin->status.points, 400, 0, 0);
  DeleteFontIfOwned(oldFont, skin->status.font);
  if (g_mainWindow) SetWindowPos(g_mainWindow, nullptr, 0, 0, 0, 0, 0x127);
}

}  // namespace shell
