#pragma once
// Small lexicons compiled by our lexicon compiler into a test folder laid out
// like the program's ("tessarinData\Dictionaries\..."), then loaded as the
// global lexicon.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/lexbuild.h"
#include "engine/lexicon.h"
#include "platform/path.h"

namespace lexfix {

// cat cats cab can cane at ate eat tea tee tat act scat dog damn zebra be bet
// beta abet bate beat; "damn" is junior-flagged; cat and dog have definitions.
inline std::vector<LexSourceWord> SmallWords() {
  std::vector<LexSourceWord> w = {
      {"cat", 3, false, {"(n.) feline", "(v.) to hoist an anchor"}},
      {"cats", 4, false, {}},
      {"cab", 5, false, {}},
      {"can", 3, false, {}},
      {"cane", 6, false, {}},
      {"at", 3, false, {}},
      {"ate", 7, false, {}},
      {"eat", 3, false, {}},
      {"tea", 3, false, {}},
      {"tee", 3, false, {}},
      {"tat", 3, false, {}},
      {"act", 3, false, {}},
      {"scat", 9, false, {}},
      {"dog", 3, false, {"(n.) canine"}},
      {"damn", 3, true, {}},
      {"zebra", 12, false, {}},
      {"be", 3, false, {}},
      {"bet", 3, false, {}},
      {"beta", 3, false, {}},
      {"abet", 3, false, {}},
      {"bate", 3, false, {}},
      {"beat", 3, false, {}},
  };
  return w;
}

// Every three-letter string of a..z: more words than a WordList holds.
inline std::vector<LexSourceWord> AllThreeLetterWords() {
  std::vector<LexSourceWord> w;
  for (char a = 'a'; a <= 'z'; ++a)
    for (char b = 'a'; b <= 'z'; ++b)
      for (char c = 'a'; c <= 'z'; ++c)
        w.push_back({std::string{a, b, c}, 3, false, {}});
  return w;
}

inline std::string Folder(const std::string& name) {
  return std::string(TESS_BUILD_DIR) + "/test-tmp/lexicon-" + name;
}

inline void MakeDirs(const std::string& path) {
  for (size_t pos = 1; pos <= path.size(); ++pos)
    if (pos == path.size() || path[pos] == '/')
      platform::MakeDirectory(path.substr(0, pos).c_str());
}

inline std::string DictPath(const std::string& folder, const char* relative) {
  return platform::JoinPath(folder, relative);
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  platform::WriteFileAtomic(path.c_str(), bytes.data(), bytes.size());
}

// Writes the compiled files of a language into the folder (the definitions
// file only when withDefinitions).
inline CompiledLexicon WriteLexicon(const std::string& folder,
                                    const std::vector<LexSourceWord>& words, int32_t language,
                                    bool withDefinitions = true) {
  MakeDirs(folder + "/tessarinData/Dictionaries");
  for (const char* name : {Lexicon::MainGraphName(language), Lexicon::ReversedGraphName(language),
                           Lexicon::ExtraListName(language), Lexicon::DefinitionsName(language)})
    platform::RemoveFile(DictPath(folder, name).c_str());
  CompiledLexicon c;
  std::string error;
  CompileLexicon(words, language, &c, &error);
  WriteBytes(DictPath(folder, Lexicon::MainGraphName(language)), c.mainGraph);
  WriteBytes(DictPath(folder, Lexicon::ReversedGraphName(language)), c.reversedGraph);
  WriteBytes(DictPath(folder, Lexicon::ExtraListName(language)), c.extraList);
  if (withDefinitions)
    WriteBytes(DictPath(folder, Lexicon::DefinitionsName(language)), c.definitions);
  return c;
}

// Makes the global lexicon and loads it from the folder.
inline Lexicon* LoadGlobal(const std::string& folder, int32_t language) {
  Lexicon* lex = CreateLexicon(language);
  lex->SetProgramFolder(folder);
  lex->Load(language, 0);
  return lex;
}

}  // namespace lexfix
