#pragma once
// The theme chain: a theme file (<Data>\Themes\<theme>) names a skin file
// (<Data>\Skin\<skin>) and an ambiance sound; the skin file names one ini
// file per widget class. The current theme and skin paths are process-wide.
// Developer errors (missing skins, themes without keys) go to the message
// sink captioned "tessarin error"; nothing here stops the program.
#include <cstddef>
#include <string>

namespace shell {

constexpr char kDefaultThemeFile[] = "standard_theme.ini";
constexpr char kDefaultSkinFile[] = "standard_skin.ini";
constexpr char kNoClassFile[] = "none.ini";  // stands for "no file"
constexpr size_t kThemeBufferSize = 260;     // every buffer argument below

// "settings"/"theme" of <Users>\<name>\<name>.ini, default
// "standard_theme.ini". False (and the default) when the path does not fit.
bool GetUserThemeFile(char* buffer, const char* userName);
// "settings"/"skin" of the theme, default "standard_skin.ini"; reports a
// skin file that has no section at all.
void ResolveSkinFile(char* buffer, const char* themeFile);
// False when <Themes>\themeFile is already the current theme
// (case-insensitive); otherwise resolves its skin, makes the theme current
// and returns SetCurrentSkinPath of the skin.
bool SetCurrentTheme(const char* themeFile);
// Makes <Skin>\skinFile current; true only when it differs
// (case-insensitive) from the current skin.
bool SetCurrentSkinPath(const char* skinFile);
const char* GetCurrentThemePath();  // "" before the first theme
const char* GetCurrentSkinPath();   // "" before the first skin
void ClearCurrentTheme();           // both paths back to ""
// Sets both paths as they stand (a failed skin change puts the previous
// ones back).
void SetCurrentThemePaths(const char* themePath, const char* skinPath);

// The skin's display name ("properties"/"name") of a theme; false (and an
// empty name) when the theme is null or has no "skin" key.
bool GetThemeSkinName(const char* themeFile, char* nameBuffer);
// "settings"/"ambiance" of a theme; false when the theme is null or the key
// is missing.
bool GetThemeAmbiance(const char* themeFile, char* buffer);
// "properties"/key of <Skin>\skinFile, default empty.
void ReadSkinProperty(const char* skinFile, const char* key, char* buffer);
// "configuration files"/key of the current skin (default "none.ini") joined
// to the Skin folder; "" when the path does not fit.
std::string GetSkinConfigFile(const char* key);
// True when the current skin names a real file (not "none.ini") for the key.
bool HasSkinConfigFile(const char* key);

// The theme file of a skin file: the part before "skin", "theme", the part
// after ("blue_skin.ini" gives "blue_theme.ini"); false when the name holds
// no "skin" or the result would not fit in `size`.
bool ThemeNameFromSkinFile(const char* skinFile, char* out, size_t size);

}  // namespace shell
