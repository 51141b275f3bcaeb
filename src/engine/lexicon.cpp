#include "engine/lexicon.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "rules/letters.h"
#include "platform/path.h"

namespace {

Lexicon* g_lexicon = nullptr;
std::atomic<bool> g_juniorMode{false};

struct LanguageFiles {
  const char* mainGraph;
  const char* reversedGraph;
  const char* extraList;
  const char* definitions;
};

constexpr LanguageFiles kFiles[] = {
    {"tessarinData\\Dictionaries\\englishlexicon.daw",
     "tessarinData\\Dictionaries\\renglishlexicon.daw",
     "tessarinData\\Dictionaries\\englishextra.dic", "tessarinData\\Dictionaries\\encol.dfc"},
    {"tessarinData\\Dictionaries\\frenchlexicon.daw",
     "tessarinData\\Dictionaries\\rfrenchlexicon.daw",
     "tessarinData\\Dictionaries\\frenchextra.dic", "tessarinData\\Dictionaries\\frovx4.dfc"},
};

const LanguageFiles* FilesOf(int32_t language) {
  return language == kLanguageEnglish || language == kLanguageFrench ? &kFiles[language] : nullptr;
}

void Report(const char* format, const std::string& path) {
  std::printf(format, path.c_str());
  std::fflush(stdout);
}

// The largest files the formats can hold here: a graph of 4 M nodes (the
// English graph has 0.3 M), an extra list of 1 M entries in 64 K buckets,
// definitions of 64 MB. Anything larger is refused before it is read.
constexpr uint64_t kMaxGraphNodes = uint64_t{1} << 22;
constexpr uint64_t kMaxGraphBytes = kDawgNodesOffset + kMaxGraphNodes * kDawgNodeSize;
constexpr uint64_t kMaxExtraBytes =
    kExtraHeaderSize + (uint64_t{1} << 16) * kBucketSize + (uint64_t{1} << 20) * kWordEntrySize;
constexpr uint64_t kMaxDefinitionBytes = uint64_t{64} << 20;

// Reports why a dictionary file could not be read: "Can't open dictionary",
// "No memory for dictionary", or what was wrong with it ("not a file",
// "file too large").
void ReportRead(platform::ReadStatus status, const std::string& path) {
  switch (status) {
    case platform::ReadStatus::kCannotOpen:
      Report("Can't open dictionary: %s\n", path);
      break;
    case platform::ReadStatus::kNoMemory:
      Report("No memory for dictionary: %s\n", path);
      break;
    default:
      std::printf("Can't read dictionary: %s: %s\n", path.c_str(),
                  platform::ReadStatusText(status));
      std::fflush(stdout);
      break;
  }
}

}  // namespace

Lexicon::Lexicon(int32_t language) : language_(language) {}

const char* Lexicon::MainGraphName(int32_t language) {
  const LanguageFiles* f = FilesOf(language);
  return f ? f->mainGraph : "";
}
const char* Lexicon::ReversedGraphName(int32_t language) {
  const LanguageFiles* f = FilesOf(language);
  return f ? f->reversedGraph : "";
}
const char* Lexicon::ExtraListName(int32_t language) {
  const LanguageFiles* f = FilesOf(language);
  return f ? f->extraList : "";
}
const char* Lexicon::DefinitionsName(int32_t language) {
  const LanguageFiles* f = FilesOf(language);
  return f ? f->definitions : kFiles[kLanguageEnglish].definitions;
}

std::string Lexicon::FullPath(const char* name) const {
  if (!*name || programFolder_.empty()) return name;
  return platform::JoinPath(programFolder_, name);
}

bool Lexicon::Load(int32_t language, uint8_t flag) {
  Reset();
  language_ = language;
  loadFlag_ = flag;
  loadedLanguage_ = language;
  ExtraImage extra;
  const bool mainOk = ReadGraphFile(&main_, MainGraphName(language), &extra);
  const bool reversedOk = ReadGraphFile(&reversed_, ReversedGraphName(language), &extra);
  if (!definitionsLoaded_) definitionsLoaded_ = ReadDefinitions(DefinitionsName(language));
  return mainOk && reversedOk;
}

void Lexicon::Reset() {
  header_ = DawgHeader();
  loadFlag_ = 0;
  definitionsLoaded_ = false;
  main_.Clear();
  reversed_.Clear();
  definitions_.clear();
}

void Lexicon::Unload() {
  Reset();
  definitions_.shrink_to_fit();
}

bool Lexicon::ReadGraphFile(DawgNodeList* list, const char* name, ExtraImage* extra) {
  list->Clear();
  const std::string path = FullPath(name);
  std::vector<uint8_t> image;
  const platform::ReadStatus read = platform::ReadFileBounded(path.c_str(), kMaxGraphBytes, image);
  if (read != platform::ReadStatus::kOk) {
    ReportRead(read, path);
    return false;
  }
  DawgHeader header;
  const LexFileStatus status = list->ParseGraph(image.data(), image.size(), &header);
  if (status == LexFileStatus::kBadMagic) return false;
  if (status != LexFileStatus::kOk) {
    Report("invalid dictionary: %s\n", path);
    return false;
  }
  header_ = header;
  language_ = header.language;
  list->SetLanguage(header.language);
  LoadExtraList(list, header.language, extra);
  return true;
}

void Lexicon::LoadExtraList(DawgNodeList* list, int32_t language, ExtraImage* extra) {
  const std::string path = FullPath(ExtraListName(language));
  if (extra->language != language) {
    extra->language = language;
    const platform::ReadStatus read =
        platform::ReadFileBounded(path.c_str(), kMaxExtraBytes, extra->bytes);
    extra->ok = read == platform::ReadStatus::kOk;
    if (!extra->ok) ReportRead(read, path);
  }
  if (!extra->ok) return;
  if (list->ParseExtra(extra->bytes.data(), extra->bytes.size()) != LexFileStatus::kOk)
    Report("invalid dictionary: %s\n", path);
}

bool Lexicon::ReadDefinitions(const char* name) {
  std::vector<uint8_t> image;
  if (platform::ReadFileBounded(FullPath(name).c_str(), kMaxDefinitionBytes, image) !=
      platform::ReadStatus::kOk)
    return false;
  definitions_.assign(image.begin(), image.end());
  ScrambleDefinitions(definitions_.data(), definitions_.size());
  return true;
}

void Lexicon::WalkWord(bool* found, int* level, int index, const char* text) const {
  // Iterative form of the recursive walk: one sibling list per letter.
  while (*text && index >= 0) {
    const int want = LetterIndex(*text);
    const DawgNode* match = nullptr;
    for (const DawgNode* n = main_.Node(index); n; n = main_.Node(++index)) {
      if (n->LetterIndex() == want) {
        match = n;
        break;
      }
      if (n->IsLast()) break;
    }
    if (!match) return;
    if (!text[1]) {
      if (match->EndsWord()) {
        *found = true;
        *level = match->Level();
      }
      return;
    }
    index = match->child;
    ++text;
  }
}

bool Lexicon::IsWord(const char* word) const {
  if (!word) return false;
  bool found = false;
  int level = 0;
  WalkWord(&found, &level, 0, word);
  return found;
}

int Lexicon::GetWordLevel(const char* word) const {
  bool found = false;
  int level = 0;
  if (word) WalkWord(&found, &level, 0, word);
  return found && level - 2 > 1 ? level - 2 : 1;
}

int Lexicon::FindPrefixEnd(const char* prefix) const {
  const DawgNode* node = main_.WalkToNode(prefix, false);
  return node ? node->child : -1;
}

const DawgNode* Lexicon::FindWordNode(const char* word) const {
  return main_.WalkToNode(word, false);
}

const DawgNode* Lexicon::FindPrefixNode(const char* prefix, bool* found) const {
  const DawgNode* node = main_.WalkToNode(prefix, false);
  if (found) *found = node != nullptr;
  return node;
}

int Lexicon::CountSiblings(int index) const {
  int count = 0;
  for (const DawgNode* n = main_.Node(index); n; n = main_.Node(++index)) {
    ++count;
    if (n->IsLast()) break;
  }
  return count;
}

const char* Lexicon::FindDefinition(const char* key) const {
  static char buffer[kDefinitionBufferSize];
  if (!key || definitions_.empty()) return nullptr;
  const size_t keyLength = std::strlen(key);
  const char* p = definitions_.data();
  const char* end = p + definitions_.size();
  while (p < end) {
    const char* recordEnd = static_cast<const char*>(std::memchr(p, kDefinitionEnd, end - p));
    if (!recordEnd) recordEnd = end;  // a last record without its CR
    const char* space =
        static_cast<const char*>(std::memchr(p, kDefinitionSeparator, recordEnd - p));
    if (space && static_cast<size_t>(space - p) == keyLength &&
        std::memcmp(p, key, keyLength) == 0) {
      const size_t length =
          std::min(static_cast<size_t>(recordEnd - space - 1), kDefinitionBufferSize - 1);
      std::memcpy(buffer, space + 1, length);
      buffer[length] = 0;
      return buffer;
    }
    p = recordEnd + 1;
  }
  return nullptr;
}

Lexicon* CreateLexicon(int32_t language) {
  delete g_lexicon;
  g_lexicon = new (std::nothrow) Lexicon(language);
  return g_lexicon;
}

Lexicon* GetLexicon() { return g_lexicon; }

void DestroyLexicon() {
  if (g_lexicon) g_lexicon->Unload();
  delete g_lexicon;
  g_lexicon = nullptr;
}

void SetJuniorMode(bool on) { g_juniorMode.store(on); }
bool IsJuniorMode() { return g_juniorMode.load(); }
