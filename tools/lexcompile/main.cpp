// lexcompile: builds a language's lexicon files from real word sources.
//
//   lexcompile --lang 0|1 --out-main F --out-reversed F --out-extra F
//              [--out-definitions F]
//              [--scowl DIR --scowl-lists english,american,british --scowl-max 80]
//              [--words FILE [--fold-accents] [--level N]]
//              [--junior FILE.json]... [--wordnet DIR]
//
// Words of 2 to 15 letters a..z only are kept. SCOWL words get the level of
// the smallest size that holds them; plain-list words get --level.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/dawg.h"
#include "engine/lexbuild.h"
#include "sources.h"

namespace {

constexpr size_t kMinLetters = 2;
constexpr size_t kMaxLetters = 15;
constexpr int kDefaultPlainLevel = 2;  // the lowest level: every player knows a plain list

struct Options {
  int language = -1;
  std::string outMain, outReversed, outExtra, outDefinitions;
  std::string scowlDir;
  std::vector<std::string> scowlLists{"english", "american", "british"};
  int scowlMax = 80;
  std::string wordsFile;
  bool foldAccents = false;
  int plainLevel = kDefaultPlainLevel;
  std::vector<std::string> juniorFiles;
  std::string wordnetDir;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "lexcompile: %s\n", message.c_str());
  return 1;
}

bool ParseArgs(int argc, char** argv, Options* o, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--fold-accents") {
      o->foldAccents = true;
      continue;
    }
    if (i + 1 >= argc) {
      *error = "missing value after " + a;
      return false;
    }
    const std::string v = argv[++i];
    if (a == "--lang")
      o->language = std::atoi(v.c_str());
    else if (a == "--out-main")
      o->outMain = v;
    else if (a == "--out-reversed")
      o->outReversed = v;
    else if (a == "--out-extra")
      o->outExtra = v;
    else if (a == "--out-definitions")
      o->outDefinitions = v;
    else if (a == "--scowl")
      o->scowlDir = v;
    else if (a == "--scowl-max")
      o->scowlMax = std::atoi(v.c_str());
    else if (a == "--words")
      o->wordsFile = v;
    else if (a == "--level")
      o->plainLevel = std::atoi(v.c_str());
    else if (a == "--junior")
      o->juniorFiles.push_back(v);
    else if (a == "--wordnet")
      o->wordnetDir = v;
    else if (a == "--scowl-lists") {
      o->scowlLists.clear();
      size_t pos = 0;
      while (pos <= v.size()) {
        size_t comma = v.find(',', pos);
        if (comma == std::string::npos) comma = v.size();
        if (comma > pos) o->scowlLists.push_back(v.substr(pos, comma - pos));
        pos = comma + 1;
      }
    } else {
      *error = "unknown option " + a;
      return false;
    }
  }
  if (o->language < 0 || o->outMain.empty() || o->outReversed.empty() || o->outExtra.empty()) {
    *error = "needs --lang, --out-main, --out-reversed and --out-extra";
    return false;
  }
  if (o->scowlDir.empty() && o->wordsFile.empty()) {
    *error = "needs --scowl or --words";
    return false;
  }
  return true;
}

bool Keep(const std::string& w) { return w.size() >= kMinLetters && w.size() <= kMaxLetters; }

bool GatherWords(const Options& o, std::map<std::string, int>* levels, std::string* error) {
  if (!o.scowlDir.empty()) {
    std::map<std::string, int> sizes;
    if (!ReadScowl(o.scowlDir, o.scowlLists, o.scowlMax, &sizes, error)) return false;
    for (const auto& [word, size] : sizes)
      if (Keep(word)) (*levels)[word] = ScowlLevel(size);
  }
  if (!o.wordsFile.empty()) {
    std::vector<std::string> words;
    if (!ReadWordList(o.wordsFile, o.foldAccents, &words)) {
      *error = "cannot read " + o.wordsFile;
      return false;
    }
    for (const std::string& w : words)
      if (Keep(w)) levels->emplace(w, o.plainLevel);
  }
  return true;
}

// Words a graph accepts, counted over its sibling lists (each list once).
int64_t CountWords(const DawgNodeList& graph, int index, std::vector<int64_t>* memo) {
  if (index < 0) return 0;
  int64_t& slot = (*memo)[static_cast<size_t>(index)];
  if (slot >= 0) return slot;
  slot = 0;  // a cycle (never written by us) counts as nothing
  int64_t total = 0;
  for (int i = index; i < graph.NodeCount(); ++i) {
    const DawgNode& n = *graph.Node(i);
    total += (n.EndsWord() ? 1 : 0) + CountWords(graph, n.child, memo);
    if (n.IsLast()) break;
  }
  return slot = total;
}

// The graph accepts exactly the words: each of them, and no more than their
// number.
bool AcceptsExactly(const std::vector<uint8_t>& image, const std::vector<std::string>& words) {
  DawgNodeList graph;
  if (graph.ParseGraph(image.data(), image.size(), nullptr) != LexFileStatus::kOk) return false;
  for (const std::string& w : words)
    if (!graph.WalkToNode(w.c_str(), true)) return false;
  std::vector<int64_t> memo(static_cast<size_t>(graph.NodeCount()), -1);
  return CountWords(graph, 0, &memo) == static_cast<int64_t>(words.size());
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  std::string error;
  if (!ParseArgs(argc, argv, &o, &error)) return Fail(error);

  std::map<std::string, int> levels;
  if (!GatherWords(o, &levels, &error)) return Fail(error);

  std::set<std::string> junior;
  for (const std::string& path : o.juniorFiles) {
    std::vector<std::string> strings;
    if (!ReadJsonStrings(path, &strings)) return Fail("cannot read " + path);
    for (const std::string& s : strings) {
      // The lists are lower case; a word with capitals or spaces is no
      // lexicon word and flags nothing.
      const std::string w = LexiconForm(s, true);
      if (levels.count(w)) junior.insert(w);
    }
  }

  std::map<std::string, std::vector<std::string>> definitions;
  if (!o.wordnetDir.empty()) {
    std::set<std::string> words;
    for (const auto& entry : levels)
      words.insert(entry.first);
    if (!ReadWordNet(o.wordnetDir, words, &definitions, &error)) return Fail(error);
  }

  std::vector<LexSourceWord> source;
  source.reserve(levels.size());
  for (const auto& [word, level] : levels) {
    LexSourceWord w{word, level, junior.count(word) > 0, {}};
    auto d = definitions.find(word);
    if (d != definitions.end()) w.definitions = d->second;
    source.push_back(std::move(w));
  }
  CompiledLexicon lexicon;
  if (!CompileLexicon(source, o.language, &lexicon, &error)) return Fail(error);

  std::vector<std::string> forward, backward;
  for (const auto& entry : levels) {
    forward.push_back(entry.first);
    backward.emplace_back(entry.first.rbegin(), entry.first.rend());
  }
  if (!AcceptsExactly(lexicon.mainGraph, forward) ||
      !AcceptsExactly(lexicon.reversedGraph, backward))
    return Fail("the compiled graphs do not hold exactly the source words");

  if (!WriteFile(o.outMain, lexicon.mainGraph) ||
      !WriteFile(o.outReversed, lexicon.reversedGraph) ||
      !WriteFile(o.outExtra, lexicon.extraList) ||
      (!o.outDefinitions.empty() && !WriteFile(o.outDefinitions, lexicon.definitions)))
    return Fail("cannot write the output files");

  std::printf(
      "lexcompile: language %d: %d words, %d main nodes, %d reversed nodes, %d entries "
      "(%d junior), %d definitions; graphs verified\n",
      o.language, lexicon.wordCount, lexicon.mainNodes, lexicon.reversedNodes, lexicon.entryCount,
      static_cast<int>(junior.size()), lexicon.definitionCount);
  return 0;
}
