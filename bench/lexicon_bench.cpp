// Lexicon figures on the lexicons the build made (tessarinData in the build
// folder): load time, IsWord look-ups, anagram searches, and compiling the
// full word lists. Each benchmark skips when the lexicon is not built.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/lexbuild.h"
#include "engine/lexicon.h"
#include "platform/path.h"

namespace {

bool Built(int32_t language) {
  return platform::FileExists(
      platform::JoinPath(TESS_BUILD_DIR, Lexicon::MainGraphName(language)).c_str());
}

// One loaded lexicon per language for the look-up benchmarks.
const Lexicon* Loaded(int32_t language) {
  static std::unique_ptr<Lexicon> lexicons[2];
  if (!lexicons[language]) {
    lexicons[language] = std::make_unique<Lexicon>(language);
    lexicons[language]->SetProgramFolder(TESS_BUILD_DIR);
    lexicons[language]->Load(language, 0);
  }
  return lexicons[language].get();
}

void Enumerate(const DawgNodeList& g, int index, std::string* word,
               std::vector<LexSourceWord>* out) {
  for (const DawgNode* n = g.Node(index); n; n = g.Node(++index)) {
    word->push_back(static_cast<char>(n->Letter()));
    if (n->EndsWord()) out->push_back({*word, n->Level(), false, {}});
    Enumerate(g, n->child, word, out);
    word->pop_back();
    if (n->IsLast()) break;
  }
}

std::vector<LexSourceWord> WordsOf(const Lexicon& lex) {
  std::vector<LexSourceWord> words;
  std::string word;
  Enumerate(lex.Main(), 0, &word, &words);
  return words;
}

void BM_LexiconLoad(benchmark::State& state) {
  const int32_t language = static_cast<int32_t>(state.range(0));
  if (!Built(language)) return state.SkipWithError("lexicon not built");
  for (auto _ : state) {
    Lexicon lex(language);
    lex.SetProgramFolder(TESS_BUILD_DIR);
    benchmark::DoNotOptimize(lex.Load(language, 0));
  }
}
BENCHMARK(BM_LexiconLoad)
    ->Arg(kLanguageEnglish)
    ->Arg(kLanguageFrench)
    ->Unit(benchmark::kMillisecond);

// Half the look-ups are lexicon words, half the same words with one letter
// changed (mostly not words).
void BM_IsWord(benchmark::State& state) {
  if (!Built(kLanguageEnglish)) return state.SkipWithError("lexicon not built");
  const Lexicon* lex = Loaded(kLanguageEnglish);
  std::vector<std::string> probes;
  std::mt19937 rng(1);
  for (const LexSourceWord& w : WordsOf(*lex)) {
    if (rng() % 8) continue;
    probes.push_back(w.text);
    std::string changed = w.text;
    changed[rng() % changed.size()] = static_cast<char>('a' + rng() % 26);
    probes.push_back(changed);
  }
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lex->IsWord(probes[i].c_str()));
    if (++i == probes.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IsWord);

// Seven-tile racks drawn from an English tile distribution, one blank in
// every fourth rack; each search counts the words of lengths 2 to 7.
void BM_FindAnagrams(benchmark::State& state) {
  if (!Built(kLanguageEnglish)) return state.SkipWithError("lexicon not built");
  const Lexicon* lex = Loaded(kLanguageEnglish);
  const std::string bag =
      "aaaaaaaaabbccddddeeeeeeeeeeeeffggghhiiiiiiiiijkllllmmnnnnnnooooooooppqrrrrrrssssttttttuuuuvv"
      "wwxyyz";
  std::mt19937 rng(2);
  std::vector<std::string> racks(256);
  for (size_t r = 0; r < racks.size(); ++r) {
    for (int k = 0; k < 7; ++k)
      racks[r].push_back(bag[rng() % bag.size()]);
    if (r % 4 == 0) racks[r][0] = '`';
  }
  size_t i = 0;
  int64_t words = 0;
  for (auto _ : state) {
    for (int length = 2; length <= 7; ++length)
      words += lex->FindAnagrams(racks[i].c_str(), length);
    if (++i == racks.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["words/rack"] =
      benchmark::Counter(static_cast<double>(words) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_FindAnagrams);

// Compiling the full word list of the built lexicon (the lists as the
// compiler gets them after reading its sources).
void BM_CompileFullList(benchmark::State& state) {
  const int32_t language = static_cast<int32_t>(state.range(0));
  if (!Built(language)) return state.SkipWithError("lexicon not built");
  const std::vector<LexSourceWord> words = WordsOf(*Loaded(language));
  for (auto _ : state) {
    CompiledLexicon out;
    std::string error;
    benchmark::DoNotOptimize(CompileLexicon(words, language, &out, &error));
  }
  state.counters["words"] = static_cast<double>(words.size());
}
BENCHMARK(BM_CompileFullList)
    ->Arg(kLanguageEnglish)
    ->Arg(kLanguageFrench)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
