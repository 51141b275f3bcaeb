#pragma once
// Our lexicon compiler: from a word list it writes the minimised main graph,
// the reversed graph, the extra word list with the words' entries and the
// scrambled definitions, in the layouts of engine/dawg.h. Output depends only
// on the input (same words, same bytes). Used by tools/lexcompile and by tests
// that build small fixture lexicons.
#include <cstdint>
#include <string>
#include <vector>

struct LexSourceWord {
  std::string text;  // 1..15 letters a..z, lower case
  int level = 0;     // 0..15, stored on the word's end node
  bool junior = false;
  std::vector<std::string> definitions;  // the first kEntryMaxDefinitions are kept
};

struct CompiledLexicon {
  std::vector<uint8_t> mainGraph;
  std::vector<uint8_t> reversedGraph;
  std::vector<uint8_t> extraList;
  std::vector<uint8_t> definitions;  // scrambled
  int wordCount = 0;
  int mainNodes = 0;
  int reversedNodes = 0;
  int entryCount = 0;
  int bucketCount = 0;
  int definitionCount = 0;
};

// Compiles the words (duplicates merge: lowest level, junior if any is,
// definitions in order without repeats). A word that is not 1..15 letters
// a..z or has a level outside 0..15 fails with a message in *error.
bool CompileLexicon(const std::vector<LexSourceWord>& words, int32_t language, CompiledLexicon* out,
                    std::string* error);

// A definitions file from plain records (key, text), scrambled as the lexicon
// reads it.
std::vector<uint8_t> BuildDefinitionsFile(
    const std::vector<std::pair<std::string, std::string>>& records);
