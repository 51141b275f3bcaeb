#pragma once
// "Options": the Graphics page (theme, board model, panels, locked windows,
// junior mode) and the Audio page (music and effects volumes, applied as the
// user moves them and put back by Cancel). The record of the "Options"
// settings changes only at OK; the caller saves it.
#include <windows.h>

#include <cstdint>

namespace ui {

// What OK changed (bits set only for values that differ from the stored ones).
enum OptionsChange : uint32_t {
  kChangedRackSorting = 0x1,
  kChangedBoard = 0x2,
  kChangedScoresPanel = 0x4,
  kChangedDictionaryPanel = 0x8,
  kChangedRemainderPanel = 0x10,
  kChangedMentorPanel = 0x20,
  kChangedMoveListPanel = 0x80,
  kChangedCommentsPanel = 0x100,
  kChangedTheme = 0x200,
  kChangedVolume = 0x400,
  kChangedLockedWindows = 0x800,
  kChangedJuniorMode = 0x2000,
};

// Runs the dialog modally; the change mask, 0 when cancelled.
int RunOptionsDialog(HWND owner);

enum : int {
  kIdOptionsTabs = 1752,
  kIdOptionsDefaults = 1753,
  // Game page
  kIdLoseTurn = 1775,
  kIdSortRandom = 1743,
  kIdSortAlphabetical = 1755,
  kIdSortConsonants = 1756,
  kIdSortVowels = 1754,
  // Graphics page
  kIdThemeAutomatic = 1758,
  kIdThemeStandard = 1757,
  kIdThemeParadisiacal = 1759,
  kIdThemeDesertica = 1760,
  kIdThemeOriental = 1744,
  kIdThemeAntarctica = 1761,
  kIdBoardStandard = 1746,
  kIdBoardWhite = 1762,
  kIdBoardDeluxe = 1763,
  kIdShowScores = 1764,
  kIdShowRemainder = 1747,
  kIdShowDictionary = 1765,
  kIdShowMentor = 1766,
  kIdShowMoveList = 1776,
  kIdShowComments = 5793,
  kIdShowTime = 1767,
  kIdLockWindows = 1768,
  kIdJuniorMode = 1770,
  // Audio page
  kIdMusicTrack = 1768,
  kIdSoundTrack = 1745,
  kIdMusicEdit = 1769,
  kIdSoundEdit = 1770,
  kIdAmbientLabel = 5792,
};

// What the callers do after a non-zero mask: a theme change goes to the
// installed theme hook (the shell applies the skin and the rooms their
// backgrounds); then, unless the user is the "Default" profile, the user is
// asked whether to keep the changes in the profile, and on Yes the options
// are written. Returns whether they were written.
using ThemeChangeHook = void (*)(int32_t skin);
void SetThemeChangeHook(ThemeChangeHook hook);
bool SaveOptionsChanges(int mask);

// The pages' windows while the dialog runs (null otherwise or when a page
// is not offered), for tests.
HWND GetOptionsPage(int templateId);

}  // namespace ui
