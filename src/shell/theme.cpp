#include "shell/theme.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/ini.h"
#include "platform/message_sink.h"
#include "shell/app_context.h"
#include "shell/file_utils.h"
#include "shell/shell_constants.h"

namespace shell {
namespace {

std::string g_themePath;
std::string g_skinPath;

void Copy(char* buffer, const std::string& text) {
  std::snprintf(buffer, kThemeBufferSize, "%s", text.c_str());
}

bool SameNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// <folder>\name, or "" when it would not fit a path.
std::string InFolder(const char* folder, const char* name) {
  std::string out;
  if (!folder || !*folder || !name || !FormatPath(out, kMaxPath, "%s\\%s", folder, name)) return {};
  return out;
}

std::string ThemePath(const char* themeFile) { return InFolder(GetThemesFolder(), themeFile); }
std::string SkinPath(const char* skinFile) { return InFolder(GetSkinFolder(), skinFile); }

void DeveloperError(const char* text) { platform::ShowNotice(text, kErrorCaption, 0); }

// The theme's "settings" key; false after the developer message when the
// theme is null or lacks the key (format takes the theme's name).
bool ThemeKey(const char* themeFile, const char* key, const char* missingFormat, char* out) {
  if (!themeFile) {
    DeveloperError(
        "aucun theme n'est sp\xe9"
        "cifi\xe9");
    Copy(out, "");
    return false;
  }
  std::string v = platform::IniGet("settings", key, "", ThemePath(themeFile).c_str(), 260);
  Copy(out, v);
  if (!v.empty()) return true;
  char text[400];
  std::snprintf(text, sizeof text, missingFormat, themeFile);
  DeveloperError(text);
  return false;
}

}  // namespace

bool GetUserThemeFile(char* buffer, const char* userName) {
  Copy(buffer, kDefaultThemeFile);
  std::string ini;
  const char* users = GetUsersFolder();
  if (!userName || !users || !*users ||
      !FormatPath(ini, kMaxPath, "%s\\%s\\%s.ini", users, userName, userName))
    return false;
  Copy(buffer, platform::IniGet("settings", "theme", kDefaultThemeFile, ini.c_str(), 260));
  return true;
}

void ResolveSkinFile(char* buffer, const char* themeFile) {
  std::string theme = themeFile ? ThemePath(themeFile) : std::string();
  Copy(buffer, platform::IniGet("settings", "skin", kDefaultSkinFile, theme.c_str(), 260));
  std::string skin = SkinPath(buffer);
  if (skin.empty() || platform::IniSections(skin.c_str()).empty())
    DeveloperError("le theme 'standard_theme.ini' utilise un skin introuvable ou vide !");
}

bool SetCurrentTheme(const char* themeFile) {
  if (!themeFile) return false;
  std::string theme = ThemePath(themeFile);
  if (theme.empty() || SameNoCase(theme, g_themePath)) return false;
  char skin[kThemeBufferSize];
  ResolveSkinFile(skin, themeFile);
  g_themePath = theme;
  return SetCurrentSkinPath(skin);
}

bool SetCurrentSkinPath(const char* skinFile) {
  std::string skin = skinFile ? SkinPath(skinFile) : std::string();
  if (skin.empty() || SameNoCase(skin, g_skinPath)) return false;
  g_skinPath = skin;
  return true;
}

const char* GetCurrentThemePath() { return g_themePath.c_str(); }
const char* GetCurrentSkinPath() { return g_skinPath.c_str(); }

void ClearCurrentTheme() {
  g_themePath.clear();
  g_skinPath.clear();
}

void SetCurrentThemePaths(const char* themePath, const char* skinPath) {
  g_themePath = themePath ? themePath : "";
  g_skinPath = skinPath ? skinPath : "";
}

bool GetThemeSkinName(const char* themeFile, char* nameBuffer) {
  char skin[kThemeBufferSize];
  if (!ThemeKey(themeFile, "skin", "le theme '%s' n'a pas de skin !!", skin)) {
    Copy(nameBuffer, "");
    return false;
  }
  ReadSkinProperty(skin, "name", nameBuffer);
  return true;
}

bool GetThemeAmbiance(const char* themeFile, char* buffer) {
  return ThemeKey(themeFile, "ambiance", "le theme '%s' n'a pas d'ambiance !!", buffer);
}

void ReadSkinProperty(const char* skinFile, const char* key, char* buffer) {
  std::string skin = skinFile ? SkinPath(skinFile) : std::string();
  Copy(buffer,
       skin.empty() ? std::string() : platform::IniGet("properties", key, "", skin.c_str(), 260));
}

std::string GetSkinConfigFile(const char* key) {
  std::string name =
      platform::IniGet("configuration files", key, kNoClassFile, g_skinPath.c_str(), 260);
  return SkinPath(name.c_str());
}

bool HasSkinConfigFile(const char* key) {
  std::string name =
      platform::IniGet("configuration files", key, kNoClassFile, g_skinPath.c_str(), 260);
  return !name.empty() && !SameNoCase(name, kNoClassFile);
}

bool ThemeNameFromSkinFile(const char* skinFile, char* out, size_t size) {
  if (!skinFile || !out || size == 0) return false;
  const char* at = std::strstr(skinFile, "skin");
  if (!at) return false;
  int n =
      std::snprintf(out, size, "%.*stheme%s", static_cast<int>(at - skinFile), skinFile, at + 4);
  if (n < 0 || static_cast<size_t>(n) >= size) {
    out[0] = '\0';
    return false;
  }
  return true;
}

}  // namespace shell
