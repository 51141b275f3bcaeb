#include "rules/robot_move.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "rules/found_moves.h"

namespace {

uint32_t U32At(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24; }

float F32At(const uint8_t* p) {
  uint32_t bits = U32At(p);
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}

TEST(RobotMoveTest, NewAndClearedRecords) {
  RobotMove m;
  EXPECT_EQ(m.ownerIndex, -1);
  EXPECT_EQ(m.rankValue, 0.0f);
  EXPECT_STREQ(m.word, "");
  uint8_t image[kRobotMoveImageSize];
  EncodeRobotMove(m, image);
  for (size_t i = 0; i < kRobotMoveImageSize; ++i) {
    if (i >= 404 && i < 408) continue;       // ownerIndex
    ASSERT_EQ(image[i], 0) << "byte " << i;  // fully zeroed
  }
  EXPECT_EQ(U32At(image + 404), 0xFFFFFFFFu);

  m.terms[3] = 2.5f;
  m.score = 40;
  m.Clear();
  EXPECT_EQ(m.rankValue, kRejectedRank);
  EXPECT_EQ(m.terms[3], 0.0f);
  EXPECT_EQ(m.score, 0);
  EXPECT_EQ(m.ownerIndex, -1);
}

RobotMove Sample() {
  RobotMove m;
  std::strcpy(m.word, "QUIXOTE");
  m.placedLetters[0] = 'q';
  m.placedLetters[20] = 'z';
  m.pad41[1] = 0xAB;
  for (int i = 0; i < kLetterSlots; ++i) {
    m.playedCounts[i] = i;
    m.leaveCounts[i] = -i;
  }
  for (int i = 0; i < kEvaluationTermCount; ++i)
    m.terms[i] = i * 0.5f - 3.0f;
  m.termSum = 12.75f;
  m.reserved360 = 0x01020304;
  m.reserved364 = 7;
  m.column = 3;
  m.row = 14;
  m.direction = 1;
  m.length = 7;
  m.pad369[2] = 0xCD;
  m.wordScore = 88;
  m.score = -123456;
  m.evalValue = 65.5f;
  m.reportRL = 1;
  m.reportRB = 2;
  m.reportBL = 3.25f;
  m.reportOP = 4;
  m.reserved400 = 5;
  m.ownerIndex = 2;
  m.rankValue = -1000.0f;
  return m;
}

TEST(RobotMoveTest, ImageLayout) {
  uint8_t image[kRobotMoveImageSize];
  EncodeRobotMove(Sample(), image);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(image)), "QUIXOTE");
  EXPECT_EQ(image[20], 'q');
  EXPECT_EQ(image[40], 'z');
  EXPECT_EQ(image[42], 0xAB);
  EXPECT_EQ(U32At(image + 44 + 4 * 5), 5u);
  EXPECT_EQ(static_cast<int32_t>(U32At(image + 172 + 4 * 31)), -31);
  EXPECT_EQ(F32At(image + 300 + 4 * 13), 3.5f);
  EXPECT_EQ(F32At(image + 356), 12.75f);
  EXPECT_EQ(U32At(image + 360), 0x01020304u);
  EXPECT_EQ(image[360], 0x04);  // little-endian
  EXPECT_EQ(image[364], 7);
  EXPECT_EQ(image[365], 3);
  EXPECT_EQ(image[366], 14);
  EXPECT_EQ(image[367], 1);
  EXPECT_EQ(image[368], 7);
  EXPECT_EQ(image[371], 0xCD);
  EXPECT_EQ(U32At(image + 372), 88u);
  EXPECT_EQ(static_cast<int32_t>(U32At(image + 376)), -123456);
  EXPECT_EQ(F32At(image + 380), 65.5f);
  EXPECT_EQ(U32At(image + 384), 1u);
  EXPECT_EQ(U32At(image + 388), 2u);
  EXPECT_EQ(F32At(image + 392), 3.25f);
  EXPECT_EQ(U32At(image + 396), 4u);
  EXPECT_EQ(U32At(image + 400), 5u);
  EXPECT_EQ(U32At(image + 404), 2u);
  EXPECT_EQ(U32At(image + 408), 0xC47A0000u);  // -1000.0f
}

TEST(RobotMoveTest, ImagesRoundTripByteForByte) {
  std::mt19937 rng(99);
  for (int round = 0; round < 50; ++round) {
    uint8_t image[kRobotMoveImageSize];
    for (uint8_t& b : image)
      b = static_cast<uint8_t>(rng());
    image[kMoveWordSize - 1] = 0;  // a word field always ends in a NUL
    RobotMove m;
    ASSERT_TRUE(DecodeRobotMove(image, sizeof image, m));
    uint8_t again[kRobotMoveImageSize];
    EncodeRobotMove(m, again);
    ASSERT_EQ(std::memcmp(image, again, sizeof image), 0) << "round " << round;
  }
  // Through a growing buffer, twice in a row.
  std::vector<uint8_t> bytes;
  ByteWriter w(bytes);
  ASSERT_TRUE(WriteRobotMove(w, Sample()));
  ASSERT_TRUE(WriteRobotMove(w, RobotMove()));
  ASSERT_EQ(bytes.size(), 2 * kRobotMoveImageSize);
  ByteReader r(bytes);
  RobotMove a, b;
  ASSERT_TRUE(ReadRobotMove(r, a));
  ASSERT_TRUE(ReadRobotMove(r, b));
  uint8_t fromA[kRobotMoveImageSize], fromSample[kRobotMoveImageSize];
  EncodeRobotMove(a, fromA);
  EncodeRobotMove(Sample(), fromSample);
  EXPECT_EQ(std::memcmp(fromA, fromSample, sizeof fromA), 0);
  EXPECT_STREQ(a.word, "QUIXOTE");
  EXPECT_EQ(a.pad369[2], 0xCD);
  EXPECT_EQ(b.ownerIndex, -1);
}

TEST(RobotMoveTest, ShortOrUnterminatedImages) {
  uint8_t image[kRobotMoveImageSize];
  EncodeRobotMove(Sample(), image);
  RobotMove m;
  std::strcpy(m.word, "KEEP");
  EXPECT_FALSE(DecodeRobotMove(image, kRobotMoveImageSize - 1, m));
  EXPECT_STREQ(m.word, "KEEP");
  EXPECT_FALSE(DecodeRobotMove(nullptr, 0, m));

  uint8_t small[100];
  ByteWriter w(small, sizeof small);
  EXPECT_FALSE(WriteRobotMove(w, Sample()));

  std::memset(image, 'a', kMoveWordSize);  // no NUL in the word field
  ASSERT_TRUE(DecodeRobotMove(image, sizeof image, m));
  EXPECT_EQ(std::strlen(m.word), static_cast<size_t>(kMoveWordSize - 1));
}

TEST(MovePositionTest, PacksColumnLowest) {
  MovePosition p{1, 2, 1, 9};
  EXPECT_EQ(p.Packed(), 0x09010201u);
  MovePosition q = MovePosition::FromPacked(0x09010201u);
  EXPECT_EQ(q.column, 1);
  EXPECT_EQ(q.row, 2);
  EXPECT_EQ(q.direction, 1);
  EXPECT_EQ(q.length, 9);
}

class FoundMovesTest : public testing::Test {
 protected:
  RobotMove* Add(const char* word, int32_t score, int column = 7, int row = 7, int dir = 0,
                 const MoveAcceptance& accept = MoveAcceptance()) {
    MovePosition p{static_cast<uint8_t>(column), static_cast<uint8_t>(row),
                   static_cast<uint8_t>(dir), 0};
    return list->FindMoveByWord(word, score, p, nullptr, nullptr, accept);
  }
  std::unique_ptr<FoundMoveList> list = std::make_unique<FoundMoveList>();
};

TEST_F(FoundMovesTest, FindOrAdd) {
  int32_t played[kLetterSlots] = {};
  played[3] = 2;
  RobotMove* first = list->FindMoveByWord("cat", 10, MovePosition{7, 7, 0, 99}, played, nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->length, 3);  // the word's own length
  EXPECT_EQ(first->playedCounts[3], 2);
  EXPECT_EQ(first->rankValue, kRejectedRank);  // a fresh slot is a cleared one
  EXPECT_EQ(Add("cat", 10), first);
  EXPECT_EQ(list->Count(), 1);
  // Any difference in word, score, place or direction is another move.
  EXPECT_NE(Add("cat", 11), first);
  EXPECT_NE(Add("cat", 10, 7, 7, 1), first);
  EXPECT_NE(Add("cat", 10, 6, 7), first);
  EXPECT_NE(Add("cot", 10), first);
  EXPECT_EQ(list->Count(), 5);
}

TEST_F(FoundMovesTest, SingleRowGamesRefuseOtherPlaces) {
  MoveAcceptance anagram{kKindAnagram, 5};
  EXPECT_EQ(Add("stone", 5, 0, 0, 1, anagram), nullptr);
  EXPECT_EQ(Add("stone", 5, 1, 0, 0, anagram), nullptr);
  MovePosition wrongLength{0, 0, 0, 4};
  EXPECT_EQ(list->FindMoveByWord("ston", 5, wrongLength, nullptr, nullptr, anagram), nullptr);
  MovePosition right{0, 0, 0, 5};
  EXPECT_NE(list->FindMoveByWord("stone", 5, right, nullptr, nullptr, anagram), nullptr);
  MoveAcceptance conundrum{kKindConundrum, 0};
  EXPECT_NE(Add("tones", 5, 0, 0, 0, conundrum), nullptr);
  EXPECT_EQ(Add("notes", 5, 0, 1, 0, conundrum), nullptr);
  EXPECT_EQ(list->Count(), 2);
}

TEST_F(FoundMovesTest, FullListReplacesItsLowestOnlyWithABetterMove) {
  for (int i = 0; i < kFoundMoveSlots; ++i) {
    const std::string w = "w" + std::to_string(i);
    // Scores 10..; slots 100 and 200 share the lowest score, 5.
    ASSERT_NE(Add(w.c_str(), i == 100 || i == 200 ? 5 : 10 + i), nullptr);
  }
  list->GetMoveSlot(100)->terms[2] = 9.0f;
  list->GetMoveSlot(100)->rankValue = 3.0f;
  EXPECT_EQ(Add("worse", 4), nullptr);
  EXPECT_EQ(Add("equal", 5), nullptr);
  RobotMove* m = Add("better", 6);
  ASSERT_EQ(m, list->GetMoveSlot(100));  // the first of the lowest
  EXPECT_STREQ(m->word, "better");
  EXPECT_EQ(m->terms[2], 0.0f);  // nothing of the old move is kept
  EXPECT_EQ(m->rankValue, kRejectedRank);
  EXPECT_EQ(list->Count(), kFoundMoveSlots);
  EXPECT_EQ(Add("next", 7), list->GetMoveSlot(200));

  // Moves of 9999 and more are never replaced.
  for (int i = 0; i < kFoundMoveSlots; ++i)
    list->GetMoveSlot(i)->score = kKeptScore;
  EXPECT_EQ(Add("huge", 20000), nullptr);
}

TEST_F(FoundMovesTest, RemoveKeepsTheOtherMoves) {
  Add("a", 1);
  Add("b", 2);
  Add("c", 3);
  Add("d", 4);
  list->RemoveMove(1);
  ASSERT_EQ(list->Count(), 3);
  std::set<std::string> left;
  for (int i = 0; i < list->Count(); ++i)
    left.insert(list->GetMoveSlot(i)->word);
  EXPECT_EQ(left, (std::set<std::string>{"a", "c", "d"}));
  EXPECT_EQ(list->GetMoveSlot(3)->rankValue, kRejectedRank);  // the freed slot is clear
  EXPECT_STREQ(list->GetMoveSlot(3)->word, "");
  list->RemoveMove(2);  // the last one
  list->RemoveMove(5);  // not live: ignored
  list->RemoveMove(-1);
  EXPECT_EQ(list->Count(), 2);
}

TEST_F(FoundMovesTest, SortsAreStableAndDescending) {
  Add("a", 5)->evalValue = 1.0f;
  Add("b", 9)->evalValue = 3.0f;
  Add("c", 5)->evalValue = 2.0f;
  Add("d", 7)->evalValue = 2.0f;
  list->GetMoveSlot(0)->rankValue = 0.5f;
  list->GetMoveSlot(1)->rankValue = -1000.0f;
  list->GetMoveSlot(2)->rankValue = 0.5f;
  list->GetMoveSlot(3)->rankValue = 0.75f;
  auto order = [&] {
    std::string s;
    for (int i = 0; i < list->Count(); ++i)
      s += list->GetMoveSlot(i)->word;
    return s;
  };
  list->SortMovesByScore(true);
  EXPECT_EQ(order(), "bdac");
  list->SortMovesByScore(false);
  EXPECT_EQ(order(), "bdca");
  list->SortMovesByKey(MoveSortKey::kRankValue);
  EXPECT_EQ(order(), "dcab");

  EXPECT_EQ(list->GetBestMove(), list->GetMoveSlot(0));
  list->GetMoveSlot(0)->evalValue = 0.0005f;
  EXPECT_EQ(list->GetBestMove(), nullptr);
  list->ClearMoveSlots();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->GetBestMove(), nullptr);
  EXPECT_EQ(list->GetMoveSlot(kFoundMoveSlots), nullptr);
}

// A full list with many ties and NaN values, sorted by each key, ends as a
// stable sort of its records would leave it, record for record.
TEST_F(FoundMovesTest, FullListsSortAsTheirRecordsWould) {
  for (int i = 0; i < kFoundMoveSlots; ++i) {
    RobotMove* m = Add("word", (i * 37) % 11, i % 15, (i / 15) % 15, (i / 225) % 2);
    ASSERT_NE(m, nullptr) << i;
    m->rankValue = i % 9 == 0 ? std::nanf("") : static_cast<float>((i * 13) % 7) - 3.0f;
    m->evalValue = i % 4 == 0 ? -0.0f : static_cast<float>(i % 5) * 0.5f;
  }
  ASSERT_EQ(list->Count(), kFoundMoveSlots);
  const auto sortable = [](float f) { return std::isnan(f) ? -INFINITY : f; };
  for (MoveSortKey key : {MoveSortKey::kRankValue, MoveSortKey::kScore, MoveSortKey::kEvalValue,
                          MoveSortKey::kScore}) {
    std::vector<RobotMove> expected;
    for (int i = 0; i < list->Count(); ++i)
      expected.push_back(*list->GetMoveSlot(i));
    std::stable_sort(expected.begin(), expected.end(), [&](const RobotMove& a, const RobotMove& b) {
      switch (key) {
        case MoveSortKey::kScore:
          return a.score > b.score;
        case MoveSortKey::kRankValue:
          return sortable(a.rankValue) > sortable(b.rankValue);
        default:
          return sortable(a.evalValue) > sortable(b.evalValue);
      }
    });
    list->SortMovesByKey(key);
    for (int i = 0; i < list->Count(); ++i)
      ASSERT_EQ(
          std::memcmp(list->GetMoveSlot(i), &expected[static_cast<size_t>(i)], sizeof(RobotMove)),
          0)
          << static_cast<int>(key) << " slot " << i;
  }
}

// Clearing rewrites only the slots used since the last clear: every slot a
// caller could have written, live or not, must read as cleared afterwards.
TEST_F(FoundMovesTest, ClearingLeavesEverySlotCleared) {
  const FoundMoveList& slots = *list;  // const reads hand out nothing to write
  const RobotMove cleared = *slots.GetMoveSlot(kFoundMoveSlots - 1);
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 40; ++i)
      Add("cat", i, i % 15);
    list->RemoveMove(3);
    list->GetMoveSlot(120)->score = 7;  // past the live slots
    list->GetMoveSlot(5)->evalValue = 2.0f;
    list->ClearMoveSlots();
    uint8_t want[kRobotMoveImageSize], got[kRobotMoveImageSize];
    EncodeRobotMove(cleared, want);
    for (int i = 0; i < kFoundMoveSlots; ++i) {
      EncodeRobotMove(*slots.GetMoveSlot(i), got);
      ASSERT_EQ(std::memcmp(want, got, sizeof want), 0) << "round " << round << " slot " << i;
    }
  }
}

}  // namespace

namespace {

// The list as a plain scan keeps it: the first identical move, else the
// next free slot, else the first of the lowest scores below the kept score.
struct ScanList {
  std::vector<RobotMove> slots = std::vector<RobotMove>(kFoundMoveSlots);
  int count = 0;

  int Offer(const char* word, int32_t score, MovePosition p) {
    for (int i = 0; i < count; ++i)
      if (slots[i].score == score && slots[i].Position().column == p.column &&
          slots[i].row == p.row && slots[i].direction == p.direction &&
          std::strncmp(slots[i].word, word, kMoveWordSize) == 0)
        return i;
    int index = count;
    if (count == kFoundMoveSlots) {
      int lowest = -1;
      for (int i = 0; i < count; ++i)
        if (slots[i].score < kKeptScore && (lowest < 0 || slots[i].score < slots[lowest].score))
          lowest = i;
      if (lowest < 0 || score <= slots[lowest].score) return -1;
      index = lowest;
    }
    slots[index].Clear();
    std::strncpy(slots[index].word, word, kMoveWordSize - 1);
    p.length = static_cast<uint8_t>(std::strlen(slots[index].word));
    slots[index].SetPosition(p);
    slots[index].score = score;
    count = std::max(count, index + 1);
    return index;
  }
};

}  // namespace

// Many offers of few distinct moves, so that duplicates, a full list and
// replacements all happen, with sorts and removals between them: the indexed
// list answers as the plain scan does, slot by slot.
TEST_F(FoundMovesTest, IndexedListAnswersAsAPlainScan) {
  std::mt19937 rng(7);
  const FoundMoveList& slots = *list;  // const reads leave the indexes alone
  ScanList scan;
  const char* words[] = {"a", "at", "cat", "cats", "scat", "zebra", "ab"};
  for (int step = 0; step < 40000; ++step) {
    if (step % 5000 == 4999) {
      // Both sides reorder the same way.
      list->SortMovesByKey(MoveSortKey::kScore);
      std::stable_sort(scan.slots.begin(), scan.slots.begin() + scan.count,
                       [](const RobotMove& a, const RobotMove& b) { return a.score > b.score; });
      const int victim = static_cast<int>(rng() % static_cast<unsigned>(scan.count));
      list->RemoveMove(victim);
      if (victim != scan.count - 1) scan.slots[victim] = scan.slots[scan.count - 1];
      scan.slots[--scan.count].Clear();
    }
    const char* word = words[rng() % 7];
    const int32_t score = static_cast<int32_t>(rng() % 60) + (rng() % 500 == 0 ? kKeptScore : 0);
    MovePosition p{static_cast<uint8_t>(rng() % 15), static_cast<uint8_t>(rng() % 15),
                   static_cast<uint8_t>(rng() % 2), 0};
    RobotMove* got = list->FindMoveByWord(word, score, p, nullptr, nullptr);
    const int want = scan.Offer(word, score, p);
    ASSERT_EQ(got ? static_cast<int>(got - slots.GetMoveSlot(0)) : -1, want) << "step " << step;
    ASSERT_EQ(list->Count(), scan.count) << "step " << step;
  }
  for (int i = 0; i < scan.count; ++i) {
    EXPECT_STREQ(slots.GetMoveSlot(i)->word, scan.slots[i].word) << i;
    EXPECT_EQ(slots.GetMoveSlot(i)->score, scan.slots[i].score) << i;
  }
}
