#pragma once
// The dictionary panel's portable half: what the search field accepts, how
// a search text becomes a word-finder pattern, the
// searches themselves on a finder robot and list of the panel's own, the
// affix ("Hyphenated") search and the definitions as a rich-text document.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Lexicon;
class Robot;
class WordList;
struct WordSlot;

namespace ui {

// What the search field does with a typed character.
enum class SearchKeyAction { kSwallow, kPass, kPassAndSearch };
struct SearchKey {
  SearchKeyAction action = SearchKeyAction::kSwallow;
  char ch = 0;  // the character passed on
};
// Letters pass upper-cased (code-page 1252 accented letters folded), '?',
// '*' and Backspace pass, Enter passes after running the search; anything
// else, or any but Backspace and Enter once the text is longer than twice
// the rack size, is swallowed.
SearchKey FilterSearchKey(unsigned char ch, size_t textLength, int rackSize);

// Each run of '*' as one '*'.
std::string CollapseStars(const std::string& text);
// '?' as the unassigned-blank code, for the letter searches.
std::string WildcardsToBlanks(const std::string& text);
// A rack as a search text: the blank code as '?', up to the first empty
// place.
std::string RackToSearchText(const char* rack);

enum class WordSearchKind { kPattern, kAnagram, kCombination };
// Empties the list and runs the search of that kind on the text (cut to the
// board side); combinations come out longest first. Returns the count; an
// empty text runs nothing.
int RunWordSearch(Robot& finder, WordList& list, WordSearchKind kind, std::string text,
                  int boardSide);

// The "Hyphenated" search: the words with letters before the word, after it
// and on both sides, each group by length, longest first.
struct AffixBounds {
  int prefixEnd = 0;  // slots [0, prefixEnd) have letters before the word
  int suffixEnd = 0;  // [prefixEnd, suffixEnd) letters after it; the rest both
  int total = 0;
};
// False (nothing run, list untouched) when the word is empty, not shorter
// than the board side or begins or ends with '*'.
bool RunAffixSearch(Robot& finder, WordList& list, const std::string& word, int boardSide,
                    AffixBounds* bounds);

// The affix list's rows: three group headers (data kAffixHeader) each
// followed by its words (data = slot index).
constexpr intptr_t kAffixHeader = -5;
struct AffixRow {
  std::string text;
  intptr_t data = 0;
};
std::vector<AffixRow> MakeAffixRows(const WordList& list, const AffixBounds& bounds);

// Text as RTF: '\', '{' and '}' escaped, bytes above 127 as \'hh, line
// breaks as \par, other control characters dropped.
std::string RtfEscape(const std::string& text);
// The word's definitions as a rich-text document in the colour given; false
// when the lexicon holds no definition for it (the panel then shows
// kNoDefinitionText).
bool BuildDefinitionRtf(const Lexicon& lexicon, const char* word, int red, int green, int blue,
                        std::string* out);
constexpr char kNoDefinitionText[] = "< no definition >";

}  // namespace ui
