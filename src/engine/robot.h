#pragma once
// The computer opponent's base object. A robot also serves as the word
// finder: its letter counters hold the available letters and its WordList
// pointer names the list the searches fill.
#include <cstdint>

#include "engine/dawg.h"
#include "game/letters.h"

class WordList;
struct GameRules;

// Search modes of Robot::FindWords (also stored as the result list's mode).
enum FindWordsMode : int {
  kFindPattern = 0,         // '*' any run of letters, '?' one letter
  kFindPatternAlt = 1,      // same search
  kFindLettersExact = 2,    // words that use every given letter
  kFindLettersPartial = 3,  // every word the given letters make
  kFindPatternCount = 4,    // pattern search that only counts
};

class Robot {
 public:
  Robot();
  virtual ~Robot();
  Robot(const Robot&) = delete;
  Robot& operator=(const Robot&) = delete;

  // Stores the rules in use (not owned); their board side bounds the words
  // the finder builds.
  virtual bool SetGameParams(const GameRules* rules);

  // The word finder: sets the result list's mode and runs the search of that
  // mode on the main lexicon. Does nothing without a list or a lexicon, for an
  // empty pattern, an unknown mode, or a pattern asking for more letters than
  // the board side.
  void FindWords(const char* pattern, int mode);

  void SetWordList(WordList* list) { wordList_ = list; }
  WordList* GetWordList() const { return wordList_; }
  const int32_t* GetLetterCounts() const { return letterCounts_; }

 protected:
  // Board side of the rules in use, 15 without rules.
  int BoardSide() const;

  const GameRules* rules_ = nullptr;
  WordList* wordList_ = nullptr;
  int32_t letterCounts_[kLetterSlots] = {};  // index 0 blanks, else letter AND 31

 private:
  void MatchPattern(char* word, int length, const char* rest, const DawgNode* node, int index,
                    int budget, int starFlag);
  void MatchLetters(char* word, int length, const DawgNode* node, int index, int left,
                    bool exact);
  void Collect(const char* word, const DawgNode& node);
  bool ListFull() const;
};

// FindWords on the program's word-finder robot in counting mode with the
// pattern "*" + text + "*": the number of words holding the text (at most
// the list's capacity). Uses the global word list.
int FindWordsContaining(const char* text);

// The word list and the word-finder robot the program keeps for the word
// tools (interface thread only).
WordList& GetGlobalWordList();
Robot& GetWordFinder();
