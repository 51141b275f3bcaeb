// Graph and extra-list images from anywhere: a refused image leaves the list
// empty; an accepted one can be walked, looked up and counted without reading
// outside it.
#include <cstddef>
#include <cstdint>

#include <string>
#include <vector>

#include "engine/dawg.h"
#include "engine/lexbuild.h"

namespace {

// Round trip: words made from the input compile into graphs that hold each of
// them, forwards and backwards.
void RoundTrip(const uint8_t* data, size_t size) {
  std::vector<LexSourceWord> words;
  std::string w;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || data[i] < 0x40 || w.size() == 15) {
      if (!w.empty()) words.push_back({w, static_cast<int>(w.size()), (w[0] & 1) != 0, {}});
      w.clear();
      continue;
    }
    w.push_back(static_cast<char>('a' + data[i] % 26));
  }
  CompiledLexicon c;
  std::string error;
  if (!CompileLexicon(words, 0, &c, &error)) __builtin_trap();
  DawgNodeList main, reversed;
  if (main.ParseGraph(c.mainGraph.data(), c.mainGraph.size(), nullptr) != LexFileStatus::kOk ||
      main.ParseExtra(c.extraList.data(), c.extraList.size()) != LexFileStatus::kOk ||
      reversed.ParseGraph(c.reversedGraph.data(), c.reversedGraph.size(), nullptr) !=
          LexFileStatus::kOk)
    __builtin_trap();
  for (const LexSourceWord& s : words) {
    const DawgNode* node = main.WalkToNode(s.text.c_str(), true);
    const std::string back(s.text.rbegin(), s.text.rend());
    if (!node || !reversed.WalkToNode(back.c_str(), true)) __builtin_trap();
    if (s.junior && !main.GetWordFlag(s.text.c_str())) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DawgNodeList list;
  DawgHeader header;
  if (list.ParseGraph(data, size, &header) != LexFileStatus::kOk) {
    if (list.NodeCount() != 0) __builtin_trap();
  }
  if (list.ParseExtra(data, size) != LexFileStatus::kOk) {
    if (list.EntryCount() != 0 || list.BucketCount() != 0) __builtin_trap();
  }
  static const char* const kWords[] = {"a", "cat", "SDCT", "zzzzzzzzzzzzzzzz", "abcdefghijklmno"};
  for (const char* w : kWords) {
    list.GetWordFlag(w);
    list.GetWordInfo(w);
    const DawgNode* node = list.WalkToNode(w, false);
    if (node) list.GetEntryValue(w, node->Bucket());
  }
  for (int i = 0; i < list.NodeCount() && i < 64; ++i) {
    int index = list.Node(i)->child;
    for (const DawgNode* n = list.Node(index); n && !n->IsLast(); n = list.Node(++index)) {
    }
  }
  RoundTrip(data, size);
  return 0;
}
