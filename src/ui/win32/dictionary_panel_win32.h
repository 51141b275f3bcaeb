#pragma once
// The dictionary panel (slot 7): pattern, anagram, combination and affix
// searches of the lexicon with each word's definitions.
#include <windows.h>

#include "ui/win32/dictionary_ops_win32.h"

namespace ui {

// -1 without an owner or instance, else 0.
int CreateDictionaryWindow(HWND owner, HINSTANCE instance);
// The rack (blank code as '?') becomes the search text and heads the
// history, followed by the words of the game's board.
void SearchDictionaryForRack(const char* rack);

enum : int {
  kIdDictSearch = 1489,
  kIdDictOk = 1490,
  kIdDictAnagrams = 1494,
  kIdDictCombinations = 1495,
  kIdDictAffixes = 1497,
  kIdDictResults = 5794,
  kIdDictAffixList = 1484,
  kIdDictStatus = 1548,
  kIdDictDefinition = 1486,
};
// From the search thread to the panel: the search has ended; lParam the
// result list, which the panel takes over.
constexpr UINT kMsgDictionarySearchDone = 0x8142;

}  // namespace ui
