// qnpgen: builds one personality file per section of the text source.
//
//   qnpgen <source.ini> <main lexicon graph> <output folder> <stamp file>
//
// Each section names a personality; its file is <section>.QNP and its
// picture <section>.bmp. Keys: name, second_name, sex (male/female), age,
// rating, description, info (a "%d" in it shows the rating), and the robot's
// settings (see kRobotKeys); a robot key left out keeps the engine's default.
// Texts that do not fit their fields are errors, never cut. A personality
// that could never lay a word is an error too: a word level below every word
// of the lexicon, or a difficulty limit that vetoes even an opening move.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/dawg.h"
#include "platform/binio.h"
#include "platform/ini.h"
#include "platform/path.h"
#include "shell/personality.h"

namespace {

enum class Field { kByte, kInt, kFloat };

// The 13 option words of a computer player, by byte offset, with the
// engine's defaults (byte 0, the human flag, is 0 for every personality).
struct RobotKey {
  const char* key;
  size_t offset;
  Field type;
  double def;
};
const RobotKey kRobotKeys[] = {
    {"swap_analysis", 1, Field::kByte, 1},
    {"endgame", 2, Field::kByte, 1},
    {"pool_limited", 3, Field::kByte, 1},
    {"joker_term", 4, Field::kByte, 1},
    {"conventions_term", 5, Field::kByte, 1},
    {"bonus_block_term", 6, Field::kByte, 1},
    {"judge_by_reference", 7, Field::kByte, 1},
    {"word_level", 8, Field::kInt, 10},
    {"word_score", 12, Field::kFloat, 200},
    {"difficulty_mode", 16, Field::kByte, 0},
    {"note_duplicate_joker", 17, Field::kByte, 1},
    {"note_first_word", 18, Field::kByte, 1},
    {"note_duplicate_endgame", 19, Field::kByte, 1},
    {"closing_bonus", 20, Field::kFloat, 70},
    {"closing_board", 24, Field::kFloat, 100},
    {"remainder", 28, Field::kFloat, 100},
    {"challenge", 32, Field::kFloat, 80},
    {"letter_swap", 36, Field::kFloat, 100},
    {"min_score_percent", 40, Field::kFloat, 100},
    {"difficulty_weight", 44, Field::kFloat, 0},
    {"situation_level", 48, Field::kInt, 10},
};

// The difficulty of an opening move (tiles laid on empty squares with none
// beside them): a third of 100. A lower limit vetoes every opening move.
constexpr double kOpeningDifficulty = 100.0 / 3.0;

[[noreturn]] void Fail(const std::string& section, const std::string& what) {
  std::fprintf(stderr, "qnpgen: [%s] %s\n", section.c_str(), what.c_str());
  std::exit(1);
}

std::string Get(const char* src, const std::string& section, const char* key) {
  return platform::IniGet(section.c_str(), key, "", src, 2048);
}

void PutText(char* field, size_t size, const std::string& text, const std::string& section,
             const char* key) {
  if (text.size() >= size) Fail(section, std::string(key) + " is longer than its field");
  std::memset(field, 0, size);
  std::memcpy(field, text.data(), text.size());
}

long GetNumber(const char* src, const std::string& section, const char* key, long lo, long hi) {
  std::string v = Get(src, section, key);
  char* end = nullptr;
  long n = std::strtol(v.c_str(), &end, 10);
  if (v.empty() || *end || n < lo || n > hi)
    Fail(section, std::string(key) + " must be a number from " + std::to_string(lo) + " to " +
                      std::to_string(hi));
  return n;
}

void PutOptions(uint8_t* options, const char* src, const std::string& section) {
  std::vector<uint8_t> bytes(shell::kPlayerOptionsSize, 0);
  for (const RobotKey& k : kRobotKeys) {
    std::string v = Get(src, section.c_str(), k.key);
    char* end = nullptr;
    double d = v.empty() ? k.def : std::strtod(v.c_str(), &end);
    if (!v.empty() && *end) Fail(section, std::string(k.key) + " is not a number");
    ByteWriter w(bytes.data() + k.offset, shell::kPlayerOptionsSize - k.offset);
    if (k.type == Field::kByte)
      w.U8(static_cast<uint8_t>(d));
    else if (k.type == Field::kInt)
      w.I32(static_cast<int32_t>(d));
    else
      w.F32(static_cast<float>(d));
  }
  std::memcpy(options, bytes.data(), bytes.size());
}

// The lowest word level of the graph from a sibling list on (a large value
// when no word ends there).
int LowestLevel(const DawgNodeList& graph, int index, std::vector<int>* memo) {
  constexpr int kNone = 1 << 20;
  if (index < 0 || index >= graph.NodeCount()) return kNone;
  int& slot = (*memo)[static_cast<size_t>(index)];
  if (slot >= 0) return slot;
  slot = kNone;  // a cycle (never written by our compiler) finds nothing
  int lowest = kNone;
  for (int i = index; i < graph.NodeCount(); ++i) {
    const DawgNode& n = *graph.Node(i);
    if (n.EndsWord()) lowest = std::min(lowest, n.Level());
    lowest = std::min(lowest, LowestLevel(graph, n.child, memo));
    if (n.IsLast()) break;
  }
  return slot = lowest;
}

int LexiconLowestLevel(const char* path) {
  std::vector<uint8_t> image;
  DawgNodeList graph;
  if (!platform::ReadWholeFile(path, image) ||
      graph.ParseGraph(image.data(), image.size(), nullptr) != LexFileStatus::kOk)
    Fail("", std::string("cannot read the lexicon graph ") + path);
  std::vector<int> memo(static_cast<size_t>(graph.NodeCount()), -1);
  const int lowest = LowestLevel(graph, 0, &memo);
  if (lowest > kMaxWordLevel) Fail("", std::string("the lexicon holds no word: ") + path);
  return lowest;
}

// Refuses settings under which the robot could never lay a word.
void CheckPlayable(const uint8_t* options, const std::string& section, int lowestLevel) {
  ByteReader r(options, shell::kPlayerOptionsSize);
  r.Skip(8);
  const int32_t wordLevel = r.I32();
  if (wordLevel >= 0 && wordLevel < lowestLevel)
    Fail(section, "word_level " + std::to_string(wordLevel) +
                      " allows no word: the lexicon's lowest level is " +
                      std::to_string(lowestLevel));
  r.Skip(4);
  const uint8_t difficultyMode = r.U8();
  ByteReader weight(options + 44, 4);
  const float difficultyWeight = weight.F32();
  if (difficultyMode != 0 && difficultyWeight != 0.0f && difficultyWeight < kOpeningDifficulty)
    Fail(section, "difficulty_weight below " + std::to_string(kOpeningDifficulty) +
                      " vetoes every opening move");
}

shell::PersonalityRecord Build(const char* src, const std::string& section) {
  shell::PersonalityRecord r;
  r.rating = static_cast<int32_t>(GetNumber(src, section, "rating", 0, 3000));
  r.age = static_cast<int32_t>(GetNumber(src, section, "age", 6, 99));
  r.ageGroup = shell::AgeGroupOf(r.age);
  std::string sex = Get(src, section, "sex");
  if (sex != "male" && sex != "female") Fail(section, "sex must be male or female");
  r.sex = sex == "male" ? 1 : 0;
  PutText(r.picture, sizeof r.picture, section + ".bmp", section, "picture");
  PutText(r.name, sizeof r.name, Get(src, section, "name"), section, "name");
  PutText(r.secondName, sizeof r.secondName, Get(src, section, "second_name"), section,
          "second_name");
  PutText(r.description, sizeof r.description, Get(src, section, "description"), section,
          "description");
  PutText(r.infoText, sizeof r.infoText, Get(src, section, "info"), section, "info");
  if (!r.name[0]) Fail(section, "a personality needs a name");
  PutOptions(r.playerOptions, src, section);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr,
                 "usage: qnpgen <source.ini> <main lexicon graph> <output folder> <stamp file>\n");
    return 2;
  }
  const char* src = argv[1];
  std::string out = argv[3];
  if (!platform::FileExists(src)) Fail("", std::string("cannot read ") + src);
  const int lowestLevel = LexiconLowestLevel(argv[2]);
  platform::MakeDirectory(out.c_str());
  int written = 0;
  for (const std::string& section : platform::IniSections(src)) {
    const shell::PersonalityRecord record = Build(src, section);
    CheckPlayable(record.playerOptions, section, lowestLevel);
    std::vector<uint8_t> bytes = shell::EncodePersonality(record);
    std::string path = platform::JoinPath(out, section + shell::kPersonalityExt);
    if (!platform::WriteFileAtomic(path.c_str(), bytes.data(), bytes.size()))
      Fail(section, "cannot write " + path);
    ++written;
  }
  if (written == 0) Fail("", "no personality in the source");
  std::string stamp = std::to_string(written) + " personalities\n";
  if (!platform::WriteFileAtomic(argv[4], stamp.data(), stamp.size()))
    Fail("", std::string("cannot write ") + argv[4]);
  return 0;
}
