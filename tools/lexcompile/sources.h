#pragma once
// Readers of the word sources the lexicon compiler takes: SCOWL size lists,
// plain word lists (one word a line, UTF-8), JSON arrays of words, and the
// WordNet database for definitions.
#include <map>
#include <set>
#include <string>
#include <vector>

// The word as a lexicon word: lower-case letters a..z only. With foldAccents,
// accented lower-case Latin letters become their base letters (oe/ae for the
// ligatures). Empty when the text holds anything else (capitals, digits,
// apostrophes, hyphens, spaces).
std::string LexiconForm(const std::string& utf8, bool foldAccents);

// Lexicon forms of the words of a plain list; false when the file cannot be read.
bool ReadWordList(const std::string& path, bool foldAccents, std::vector<std::string>* words);

// The strings of a JSON array file (escapes decoded to UTF-8).
bool ReadJsonStrings(const std::string& path, std::vector<std::string>* strings);

// Word -> smallest SCOWL size holding it, over the given list names
// ("english", "american", ...) and sizes up to maxSize.
bool ReadScowl(const std::string& dir, const std::vector<std::string>& lists, int maxSize,
               std::map<std::string, int>* smallestSize, std::string* error);

// The lexicon level of a SCOWL size, the unit a player's word-level limit
// is compared with: common words low, size 80 at 10.
int ScowlLevel(int size);

// Definitions from WordNet for the given words: per word, the first senses of
// each part of speech, in the order noun, verb, adjective, adverb.
bool ReadWordNet(const std::string& dir, const std::set<std::string>& words,
                 std::map<std::string, std::vector<std::string>>* definitions, std::string* error);
