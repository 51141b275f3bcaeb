#pragma once
// What the options change outside their record, as the program wires it: a
// new theme applies its skin and gives every room the skin's background
// picture, and the board model follows the options' board.
#include <cstdint>

namespace shell {

// The board model the options name, for the next board scene.
void FollowOptionsBoard();
// The options read when a user becomes current, then their board model.
void LoadProgramOptions();
// The theme of the options (1..5): the rooms take its skin's "backgroundbmp"
// from the Wallpaper folder and its skin is applied. Nothing for the
// automatic theme (0) or a skin without a background picture.
void ApplyThemeChange(int32_t skin);
// A theme change the user keeps: the theme into the user's settings and the
// rooms' backgrounds into the user's page layout.
void SaveThemeChoice();
// The game toolbar's new-skin hook: the theme applied, and kept when `save`.
void ApplyNewSkinFromToolbar(bool save);
// The options dialog's theme hook (ApplyThemeChange).
void InstallOptionsHooks();

}  // namespace shell
