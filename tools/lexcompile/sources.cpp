#include "sources.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

bool ReadFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *text = s.str();
  return true;
}

// Decodes one UTF-8 sequence at text[i]; returns the code point (0xFFFD for
// a bad sequence) and advances i.
uint32_t NextCodePoint(const std::string& text, size_t* i) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t b = byte(*i);
  int extra = b < 0x80             ? 0
              : (b & 0xE0) == 0xC0 ? 1
              : (b & 0xF0) == 0xE0 ? 2
              : (b & 0xF8) == 0xF0 ? 3
                                   : -1;
  if (extra < 0) {
    ++*i;
    return 0xFFFD;
  }
  uint32_t cp = extra == 0 ? b : b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    if (*i + k >= text.size() || (byte(*i + k) & 0xC0) != 0x80) {
      ++*i;
      return 0xFFFD;
    }
    cp = cp << 6 | (byte(*i + k) & 0x3F);
  }
  *i += static_cast<size_t>(extra) + 1;
  return cp;
}

// Base letters of the accented lower-case Latin letters U+00DF..U+00FF.
const char* FoldLatin1(uint32_t cp) {
  static const char* const kFold[] = {
      // U+00E0 .. U+00FF
      "a",     "a", "a", "a", "a", "a", "ae", "c",     "e", "e", "e", "e", "i", "i", "i",     "i",
      nullptr, "n", "o", "o", "o", "o", "o",  nullptr, "o", "u", "u", "u", "u", "y", nullptr, "y"};
  if (cp >= 0xE0 && cp <= 0xFF) return kFold[cp - 0xE0];
  if (cp == 0x153) return "oe";
  return nullptr;
}

void AppendUtf8(uint32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | cp >> 6));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | cp >> 12));
    out->push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | cp >> 18));
    out->push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::vector<std::string> Split(const std::string& line, char sep) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream s(line);
  while (std::getline(s, part, sep))
    if (!part.empty()) parts.push_back(part);
  return parts;
}

// The definition part of a WordNet gloss: its clauses up to the first quoted
// example.
std::string GlossDefinition(const std::string& gloss) {
  std::string out;
  size_t pos = 0;
  while (pos < gloss.size()) {
    size_t end = gloss.find("; ", pos);
    if (end == std::string::npos) end = gloss.size();
    std::string clause = gloss.substr(pos, end - pos);
    while (!clause.empty() && (clause.back() == ' ' || clause.back() == ';'))
      clause.pop_back();
    if (clause.empty() || clause[0] == '"') break;
    if (!out.empty()) out += "; ";
    out += clause;
    pos = end + 2;
  }
  return out;
}

struct PartOfSpeech {
  const char* name;
  const char* tag;
};
constexpr PartOfSpeech kParts[] = {
    {"noun", "(n.) "}, {"verb", "(v.) "}, {"adj", "(adj.) "}, {"adv", "(adv.) "}};
constexpr int kSensesPerPart = 2;

}  // namespace

std::string LexiconForm(const std::string& utf8, bool foldAccents) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    const uint32_t cp = NextCodePoint(utf8, &i);
    if (cp >= 'a' && cp <= 'z') {
      out.push_back(static_cast<char>(cp));
      continue;
    }
    const char* folded = foldAccents ? FoldLatin1(cp) : nullptr;
    if (!folded) return std::string();
    out += folded;
  }
  return out;
}

bool ReadWordList(const std::string& path, bool foldAccents, std::vector<std::string>* words) {
  std::string text;
  if (!ReadFile(path, &text)) return false;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string w = LexiconForm(line, foldAccents);
    if (!w.empty()) words->push_back(std::move(w));
  }
  return true;
}

bool ReadJsonStrings(const std::string& path, std::vector<std::string>* strings) {
  std::string text;
  if (!ReadFile(path, &text)) return false;
  size_t i = text.find('[');
  if (i == std::string::npos) return false;
  while (++i < text.size()) {
    if (text[i] == ']') return true;
    if (text[i] != '"') continue;
    std::string s;
    for (++i; i < text.size() && text[i] != '"'; ++i) {
      if (text[i] != '\\' || i + 1 >= text.size()) {
        s.push_back(text[i]);
        continue;
      }
      const char e = text[++i];
      if (e == 'u' && i + 4 < text.size()) {
        AppendUtf8(static_cast<uint32_t>(std::stoul(text.substr(i + 1, 4), nullptr, 16)), &s);
        i += 4;
      } else {
        s.push_back(e == 'n' ? '\n' : e == 't' ? '\t' : e);
      }
    }
    strings->push_back(s);
  }
  return false;
}

int ScowlLevel(int size) {
  static const int kSizes[] = {10, 20, 35, 40, 50, 55, 60, 70, 80, 95};
  // Sizes 10 to 80 take levels 2 to 10: the default limit of 10 plays every
  // word we ship, and a limit of 5 (a weak player) the common words up to
  // size 40. The lexicon reports level - 2, at least 1.
  int level = 2;
  for (int s : kSizes) {
    if (size <= s) return level;
    ++level;
  }
  return level;
}

bool ReadScowl(const std::string& dir, const std::vector<std::string>& lists, int maxSize,
               std::map<std::string, int>* smallestSize, std::string* error) {
  static const int kSizes[] = {10, 20, 35, 40, 50, 55, 60, 70, 80, 95};
  for (const std::string& list : lists) {
    for (int size : kSizes) {
      if (size > maxSize) break;
      const std::string path = dir + "/" + list + "-words." + std::to_string(size);
      std::vector<std::string> words;
      if (!ReadWordList(path, false, &words)) {
        *error = "cannot read " + path;
        return false;
      }
      for (const std::string& w : words) {
        auto [it, added] = smallestSize->emplace(w, size);
        if (!added && size < it->second) it->second = size;
      }
    }
  }
  return true;
}

bool ReadWordNet(const std::string& dir, const std::set<std::string>& words,
                 std::map<std::string, std::vector<std::string>>* definitions, std::string* error) {
  for (const PartOfSpeech& part : kParts) {
    std::string index, data;
    const std::string indexPath = dir + "/index." + part.name;
    const std::string dataPath = dir + "/data." + part.name;
    if (!ReadFile(indexPath, &index) || !ReadFile(dataPath, &data)) {
      *error = "cannot read " + indexPath + " or " + dataPath;
      return false;
    }
    std::istringstream lines(index);
    std::string line;
    while (std::getline(lines, line)) {
      if (line.empty() || line[0] == ' ') continue;  // licence header
      const std::vector<std::string> f = Split(line, ' ');
      if (f.size() < 6 || !words.count(f[0])) continue;
      // lemma pos synset_cnt p_cnt [ptr...] sense_cnt tagsense_cnt offsets...
      const size_t pointers = std::stoul(f[3]);
      const size_t synsets = std::stoul(f[2]);
      const size_t first = 4 + pointers + 2;
      if (first + synsets > f.size()) continue;
      std::vector<std::string>& defs = (*definitions)[f[0]];
      for (size_t k = 0; k < synsets && k < kSensesPerPart; ++k) {
        const size_t at = std::stoul(f[first + k]);
        if (at >= data.size()) continue;
        const size_t bar = data.find(" | ", at);
        const size_t eol = data.find('\n', at);
        if (bar == std::string::npos || bar > eol) continue;
        const std::string gloss = GlossDefinition(data.substr(bar + 3, eol - bar - 3));
        if (!gloss.empty()) defs.push_back(part.tag + gloss);
      }
    }
  }
  return true;
}
