#pragma once
// The process-wide lexicon: a main word graph and a reversed one (words
// written backwards, walked by the move generator), each with the word
// entries of its language's extra word list, and the definitions text.
//
// Made and loaded once at start-up and read without a lock afterwards by the
// interface thread and the robot's worker thread; only FindDefinition (a
// shared static buffer) is for the interface thread alone.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/dawg.h"

class WordList;

enum LexiconLanguage : int32_t { kLanguageEnglish = 0, kLanguageFrench = 1 };

// Size of the buffer FindDefinition returns; longer definitions are cut.
constexpr size_t kDefinitionBufferSize = 1024;

class Lexicon {
 public:
  explicit Lexicon(int32_t language);
  Lexicon(const Lexicon&) = delete;
  Lexicon& operator=(const Lexicon&) = delete;

  // Folder the relative file names are joined to ("%s\%s"); the program
  // folder. Empty: the names are used as they are.
  void SetProgramFolder(const std::string& folder) { programFolder_ = folder; }

  // Discards what is loaded and reads both graphs (each followed by the extra
  // list its header names) and, when none is loaded, the definitions.
  bool Load(int32_t language, uint8_t flag);
  void Reset();
  void Unload();

  // True when the word (NUL-terminated, any case) is in the main graph.
  bool IsWord(const char* word) const;
  // The word's level minus 2, at least 1 (1 for a word that is not found).
  int GetWordLevel(const char* word) const;
  // Walks text from the sibling list at index; on a word end at the text's
  // last letter sets found and level.
  void WalkWord(bool* found, int* level, int index, const char* text) const;
  // Child index of the node of the prefix's last letter (-1 when none).
  int FindPrefixEnd(const char* prefix) const;
  // The node of the word's last letter (word end or not), null when none.
  const DawgNode* FindWordNode(const char* word) const;
  // As FindWordNode; found tells whether the prefix is in the graph.
  const DawgNode* FindPrefixNode(const char* prefix, bool* found) const;
  // Nodes from index up to and including the last of its sibling list.
  int CountSiblings(int index) const;

  // The definition of the record whose key is exactly `key`, in a static
  // buffer that the next call overwrites; null when none.
  const char* FindDefinition(const char* key) const;
  bool DefinitionsLoaded() const { return definitionsLoaded_; }

  // --- searches on the main graph ---------------------------------------
  // Words of exactly `length` letters made from the rack's letters ('`' is a
  // blank standing for any letter).
  int FindAnagrams(const char* rack, int length) const;
  // The same, storing found words into out[k] while fewer than max are
  // stored (max -1: no limit); returns every word found.
  int FindAnagramsWithPattern(const char* rack, int length, char (*out)[kWordTextSize],
                              int max) const;
  // The hook letter of a prefix: the letter byte of the first node after the
  // prefix that ends a word, 0 when none or when rest is not empty.
  int MatchPattern(int index, const char* prefix, const char* rest) const;
  // Adds a word found at node to the list (in count-only mode only counts).
  void CollectWord(WordList* list, const char* word, const DawgNode* node) const;

  // --- read access --------------------------------------------------------
  const DawgNodeList& Main() const { return main_; }
  const DawgNodeList& Reversed() const { return reversed_; }
  const DawgHeader& Header() const { return header_; }
  int32_t Language() const { return language_; }
  int32_t LoadedLanguage() const { return loadedLanguage_; }

  // Relative file names of a language's files (empty for an unknown one;
  // definitions fall back to English).
  static const char* MainGraphName(int32_t language);
  static const char* ReversedGraphName(int32_t language);
  static const char* ExtraListName(int32_t language);
  static const char* DefinitionsName(int32_t language);

 private:
  // The extra list's file, read once for both graphs of a load.
  struct ExtraImage {
    int32_t language = -1;
    bool ok = false;
    std::vector<uint8_t> bytes;
  };
  bool ReadGraphFile(DawgNodeList* list, const char* name, ExtraImage* extra);
  void LoadExtraList(DawgNodeList* list, int32_t language, ExtraImage* extra);
  bool ReadDefinitions(const char* name);
  std::string FullPath(const char* name) const;
  void AnagramWalk(char* word, int position, int counts[32], const DawgNode* node, int index,
                   int depth, int* found, char (*out)[kWordTextSize], int max) const;

  DawgNodeList main_;
  DawgNodeList reversed_;
  DawgHeader header_;
  int32_t language_ = 0;
  uint8_t loadFlag_ = 0;
  int32_t loadedLanguage_ = 0;
  bool definitionsLoaded_ = false;
  std::vector<char> definitions_;
  std::string programFolder_;
};

// The global lexicon.
Lexicon* CreateLexicon(int32_t language);
Lexicon* GetLexicon();
void DestroyLexicon();

// The program-wide junior-mode switch of the game options: when on, words
// whose entry carries the junior flag are left out of searches and play.
void SetJuniorMode(bool on);
bool IsJuniorMode();
