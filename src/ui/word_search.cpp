#include "ui/word_search.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "engine/dawg.h"
#include "engine/lexicon.h"
#include "engine/robot.h"
#include "engine/wordlist.h"
#include "rules/letters.h"

namespace ui {
namespace {

constexpr unsigned char kBackspace = 8;
constexpr unsigned char kEnter = 13;

// Code-page 1252 letters the field folds to plain capitals.
char FoldAccent(unsigned char ch) {
  switch (ch) {
    case 0xE0:  // à
    case 0xE2:  // â
      return 'A';
    case 0xE7:  // ç
      return 'C';
    case 0xE8:  // è
    case 0xE9:  // é
    case 0xEA:  // ê
      return 'E';
    case 0xEE:  // î
      return 'I';
    case 0xF4:  // ô
      return 'O';
    case 0xF9:  // ù
    case 0xFB:  // û
      return 'U';
    default:
      return 0;
  }
}

void SortRange(WordList& list, int first, int end) {
  // WordList::Sort takes an inclusive last slot, and 0 means "to the end".
  if (end - first > 1) list.Sort(WordList::kSortNumber, first, end - 1);
}

}  // namespace

SearchKey FilterSearchKey(unsigned char ch, size_t textLength, int rackSize) {
  if (ch != kBackspace && ch != kEnter && textLength > static_cast<size_t>(2 * rackSize)) return {};
  if (ch >= 'A' && ch <= 'Z') return {SearchKeyAction::kPass, static_cast<char>(ch)};
  if (ch >= 'a' && ch <= 'z') return {SearchKeyAction::kPass, static_cast<char>(ch - 'a' + 'A')};
  if (char folded = FoldAccent(ch)) return {SearchKeyAction::kPass, folded};
  if (ch == '?' || ch == '*' || ch == kBackspace)
    return {SearchKeyAction::kPass, static_cast<char>(ch)};
  if (ch == kEnter) return {SearchKeyAction::kPassAndSearch, static_cast<char>(ch)};
  return {};
}

std::string CollapseStars(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '*' || out.empty() || out.back() != '*') out += c;
  return out;
}

std::string WildcardsToBlanks(const std::string& text) {
  std::string out = text;
  std::replace(out.begin(), out.end(), '?', kUnassignedBlank);
  return out;
}

std::string RackToSearchText(const char* rack) {
  std::string out;
  for (const char* c = rack; c && *c && *c != kEmptyRackPlace; ++c)
    out += *c == kUnassignedBlank ? '?' : *c;
  return out;
}

int RunWordSearch(Robot& finder, WordList& list, WordSearchKind kind, std::string text,
                  int boardSide) {
  list.Clear();
  if (text.size() > static_cast<size_t>(boardSide)) text.resize(boardSide);
  if (text.empty()) return 0;
  finder.SetWordList(&list);
  switch (kind) {
    case WordSearchKind::kPattern:
      finder.FindWords(CollapseStars(text).c_str(), kFindPattern);
      break;
    case WordSearchKind::kAnagram:
      finder.FindWords(WildcardsToBlanks(text).c_str(), kFindLettersExact);
      break;
    case WordSearchKind::kCombination:
      finder.FindWords(WildcardsToBlanks(text).c_str(), kFindLettersPartial);
      SortRange(list, 0, list.GetCount());
      break;
  }
  return list.GetCount();
}

bool RunAffixSearch(Robot& finder, WordList& list, const std::string& word, int boardSide,
                    AffixBounds* bounds) {
  const std::string w = word.substr(0, static_cast<size_t>(std::max(boardSide, 0)));
  if (w.empty() || static_cast<int>(w.size()) >= boardSide || w.front() == '*' || w.back() == '*')
    return false;
  list.Clear();
  finder.SetWordList(&list);
  AffixBounds b;
  finder.FindWords(("*?" + w).c_str(), kFindPattern);
  b.prefixEnd = list.GetCount();
  SortRange(list, 0, b.prefixEnd);
  finder.FindWords((w + "?*").c_str(), kFindPattern);
  b.suffixEnd = list.GetCount();
  SortRange(list, b.prefixEnd, b.suffixEnd);
  finder.FindWords(("*?" + w + "?*").c_str(), kFindPattern);
  b.total = list.GetCount();
  SortRange(list, b.suffixEnd, b.total);
  if (bounds) *bounds = b;
  return true;
}

std::vector<AffixRow> MakeAffixRows(const WordList& list, const AffixBounds& bounds) {
  std::vector<AffixRow> rows;
  const struct {
    const char* header;
    int first, end;
  } groups[] = {{"Prefixes-------------------", 0, bounds.prefixEnd},
                {"Suffixes-------------------", bounds.prefixEnd, bounds.suffixEnd},
                {"Prefixes-&-Suffixes--------", bounds.suffixEnd, bounds.total}};
  for (const auto& g : groups) {
    rows.push_back({g.header, kAffixHeader});
    for (int i = g.first; i < g.end && i < WordList::kCapacity; ++i)
      if (const char* text = list.GetWord(i)) rows.push_back({text, i});
  }
  return rows;
}

std::string RtfEscape(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\par ";
    } else if (c >= 0x80) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\'%02x", c);
      out += hex;
    } else if (c >= 0x20 || c == '\t') {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool BuildDefinitionRtf(const Lexicon& lexicon, const char* word, int red, int green, int blue,
                        std::string* out) {
  if (!word || !*word || !out) return false;
  std::string upper;
  for (const char* c = word; *c && upper.size() < kEntryWordSize - 1; ++c)
    upper += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  const DawgNode* node = lexicon.FindWordNode(upper.c_str());
  if (!node) return false;
  const WordEntry* entry = lexicon.Main().FindEntry(upper.c_str(), node->Bucket());
  if (!entry || std::strncmp(entry->word, upper.c_str(), kEntryWordSize) != 0) return false;
  const int count = std::min<int>(entry->number, kEntryMaxDefinitions);
  std::vector<std::string> texts;
  for (int i = 0; i < count; ++i)
    if (const char* d = lexicon.FindDefinition(std::to_string(entry->definitionIds[i]).c_str()))
      texts.push_back(d);
  if (texts.empty()) return false;
  char head[160];
  std::snprintf(head, sizeof head,
                "{\\rtf1\\ansi\\ansicpg1252\\uc1{\\colortbl;\\red255\\green0\\blue255;"
                "\\red%d\\green%d\\blue%d;}{\\cf2 ",
                red & 255, green & 255, blue & 255);
  std::string doc = head;
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i) doc += "\\par ";
    if (texts.size() > 1) doc += std::to_string(i + 1) + "- ";
    doc += RtfEscape(texts[i]);
  }
  doc += "}}";
  *out = std::move(doc);
  return true;
}

}  // namespace ui
