#include "game/move_history.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

HistoryRecord Entry(const char* word, int32_t score, uint8_t column = 7, uint8_t row = 7) {
  HistoryRecord r;
  std::strncpy(r.move.word, word, kMoveWordSize - 1);
  r.move.score = score;
  r.move.column = column;
  r.move.row = row;
  r.move.length = static_cast<uint8_t>(std::strlen(word));
  return r;
}

std::string Word(const HistoryRecord* r) { return r ? std::string(r->move.word) : "<null>"; }

std::vector<std::string> MainLine(const MoveHistory& h) {
  std::vector<std::string> out;
  for (const HistoryRecord& r : h.ExportMainLine())
    out.push_back(r.move.word);
  return out;
}

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t{b[at + 3]} << 24;
}

TEST(HistoryRecordTest, ImageLayoutAndRoundTrip) {
  HistoryRecord r = Entry("quiz", 64);
  std::strcpy(r.racks[0], "ab_cd__");
  std::strcpy(r.racks[199], "zzz");
  r.scores[0] = 64;
  r.scores[199] = -5;
  r.turnElapsedMs = 1234;
  r.timeLeftMs = -20;
  r.entryKind = kEntryExchange;
  r.reserved412[3] = 9;
  r.reserved5936[19] = 0x7F;
  r.comment = "a fine move";

  std::vector<uint8_t> image;
  ByteWriter out(image);
  ASSERT_TRUE(WriteHistoryRecord(out, r));
  ASSERT_EQ(image.size(), kHistoryRecordImageSize);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&image[0])), "quiz");
  EXPECT_EQ(U32At(image, 376), 64u);  // the move's total
  EXPECT_EQ(image[415], 9);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&image[512])), "ab_cd__");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&image[512 + 199 * 23])), "zzz");
  EXPECT_EQ(U32At(image, 5116), 64u);
  EXPECT_EQ(U32At(image, 5116 + 199 * 4), static_cast<uint32_t>(-5));
  EXPECT_EQ(U32At(image, 5916), 1234u);
  EXPECT_EQ(U32At(image, 5920), static_cast<uint32_t>(-20));
  EXPECT_EQ(image[5928], kEntryExchange);
  EXPECT_EQ(U32At(image, 5932), 0u);  // the comment stays out of the image
  EXPECT_EQ(image[5955], 0x7F);

  HistoryRecord back;
  ByteReader in(image);
  ASSERT_TRUE(ReadHistoryRecord(in, back));
  EXPECT_EQ(in.remaining(), 0u);
  EXPECT_TRUE(back.SameMove(r));
  EXPECT_STREQ(back.racks[0], "ab_cd__");
  EXPECT_EQ(back.scores[199], -5);
  EXPECT_EQ(back.timeLeftMs, -20);
  EXPECT_EQ(back.entryKind, kEntryExchange);
  EXPECT_EQ(back.reserved5936[19], 0x7F);
  EXPECT_TRUE(back.comment.empty());

  std::vector<uint8_t> again;
  ByteWriter out2(again);
  WriteHistoryRecord(out2, back);
  EXPECT_EQ(again, image);
}

TEST(HistoryRecordTest, ShortImageIsRefusedAndLeavesTheRecord) {
  std::vector<uint8_t> image(kHistoryRecordImageSize - 1, 0x41);
  HistoryRecord r = Entry("keep", 3);
  ByteReader in(image);
  EXPECT_FALSE(ReadHistoryRecord(in, r));
  EXPECT_FALSE(in.ok());
  EXPECT_EQ(Word(&r), "keep");
}

TEST(HistoryRecordTest, EmptyMoveIsAllZero) {
  HistoryRecord r;
  EXPECT_FALSE(r.HasMove());
  EXPECT_EQ(r.move.ownerIndex, 0);
  uint8_t image[kRobotMoveImageSize];
  EncodeRobotMove(r.move, image);
  for (uint8_t b : image)
    ASSERT_EQ(b, 0);
}

TEST(MoveHistoryTest, SameMoveTwiceKeepsOneEntry) {
  MoveHistory h;
  h.AddMove(Entry("cat", 10));
  h.GoToIndex(0);
  HistoryRecord* again = h.AddMove(Entry("cat", 10));
  EXPECT_EQ(h.GetIndex(), 1);
  EXPECT_EQ(h.Count(), 1);
  EXPECT_EQ(h.GetCurrentData(), again);
  h.First();
  EXPECT_EQ(h.PromoteVariation(), nullptr);  // no second node was made
}

TEST(MoveHistoryTest, AnotherMoveAfterSteppingBackMakesAVariation) {
  MoveHistory h;
  h.AddMove(Entry("cat", 10));
  h.AddMove(Entry("dog", 12));
  h.AddMove(Entry("emu", 8));
  ASSERT_EQ(h.GetIndex(), 3);

  EXPECT_EQ(Word(h.Previous()), "dog");
  EXPECT_EQ(Word(h.Previous()), "cat");
  h.AddMove(Entry("fox", 20));
  EXPECT_EQ(h.GetIndex(), 2);
  EXPECT_EQ((MainLine(h)), (std::vector<std::string>{"cat", "fox"}));

  // The old continuation (dog, emu) hangs on as fox's variation.
  EXPECT_EQ(Word(h.PromoteVariation()), "dog");
  EXPECT_EQ(h.GetIndex(), 2);
  EXPECT_EQ((MainLine(h)), (std::vector<std::string>{"cat", "dog", "emu"}));
  EXPECT_EQ(Word(h.PromoteVariation()), "fox");

  // Playing the old move again finds it instead of adding a copy.
  h.GoToIndex(1);
  h.AddMove(Entry("dog", 12));
  EXPECT_EQ((MainLine(h)), (std::vector<std::string>{"cat", "dog", "emu"}));
  h.AddVariation(Entry("gnu", 5));
  EXPECT_EQ(h.GetIndex(), 2);
  EXPECT_EQ((MainLine(h)), (std::vector<std::string>{"cat", "gnu"}));
}

TEST(MoveHistoryTest, CursorMovesAndIndexes) {
  MoveHistory h;
  EXPECT_EQ(h.First(), nullptr);
  EXPECT_EQ(h.GoToLast(), nullptr);
  EXPECT_EQ(h.Next(), nullptr);
  EXPECT_EQ(h.Previous(), nullptr);
  EXPECT_EQ(h.GetIndex(), 0);

  for (const char* w : {"a", "b", "c", "d"})
    h.AddMove(Entry(w, 1));
  EXPECT_EQ(h.GoToIndex(0), nullptr);
  EXPECT_EQ(h.GetIndex(), 0);
  EXPECT_EQ(h.GetCurrentData(), nullptr);
  EXPECT_EQ(Word(h.PeekNext()), "a");
  EXPECT_EQ(Word(h.Next()), "a");
  EXPECT_EQ(h.GetIndex(), 1);
  EXPECT_EQ(h.PeekPrevious(), nullptr);
  EXPECT_EQ(h.GoToIndex(5), nullptr);  // too far: nothing moves
  EXPECT_EQ(h.GetIndex(), 1);
  EXPECT_EQ(h.GoToIndex(-1), nullptr);
  EXPECT_EQ(Word(h.GoToIndex(3)), "c");
  EXPECT_EQ(Word(h.PeekPrevious()), "b");
  EXPECT_EQ(Word(h.RecordAt(4)), "d");
  EXPECT_EQ(h.RecordAt(0), nullptr);
  EXPECT_EQ(Word(h.Last()), "d");
  EXPECT_EQ(h.GetIndex(), 3);
  EXPECT_EQ(Word(h.GoToLast()), "d");
  EXPECT_EQ(h.GetIndex(), 4);
  EXPECT_EQ(Word(h.First()), "a");
  EXPECT_EQ(h.GetIndex(), 1);
  EXPECT_EQ(h.Previous(), nullptr);
  EXPECT_EQ(h.GetIndex(), 0);

  EXPECT_EQ(HistoryIndex(nullptr), kHistoryMissing);
  EXPECT_EQ(HistoryCount(nullptr), kHistoryMissing);
  EXPECT_EQ(HistoryTakeBack(nullptr), kHistoryMissing);
  EXPECT_EQ(HistoryCount(&h), 4);
}

TEST(MoveHistoryTest, TakeBackRemovesTheEntryWithItsContinuation) {
  MoveHistory h;
  EXPECT_EQ(h.TakeBack(), kHistoryNoCursor);
  h.AddMove(Entry("cat", 1));
  h.AddMove(Entry("dog", 2));
  h.AddMove(Entry("emu", 3));
  h.GoToIndex(1);
  h.AddMove(Entry("fox", 4));  // fox, variation dog-emu
  h.AddMove(Entry("gnu", 5));

  h.GoToIndex(2);
  EXPECT_EQ(h.TakeBack(), kHistoryOk);
  EXPECT_EQ(h.GetIndex(), 1);
  EXPECT_EQ(Word(h.GetCurrentData()), "cat");
  // The variation takes over the main line.
  EXPECT_EQ((MainLine(h)), (std::vector<std::string>{"cat", "dog", "emu"}));

  h.First();
  EXPECT_EQ(h.TakeBack(), kHistoryOk);
  EXPECT_EQ(h.GetIndex(), 0);
  EXPECT_EQ(h.Count(), 0);
  EXPECT_EQ(h.TakeBack(), kHistoryNoCursor);
}

struct Visit {
  std::vector<std::string> seen;
  int stopAfter = -1;
};

int Visitor(void* context, const HistoryRecord& r, const HistoryRecord* next,
            const HistoryRecord* variation) {
  auto* v = static_cast<Visit*>(context);
  v->seen.push_back(std::string(r.move.word) + ":" + Word(next) + ":" + Word(variation));
  return static_cast<int>(v->seen.size()) != v->stopAfter;
}

TEST(MoveHistoryTest, WalkGoesDepthFirstContinuationBeforeVariations) {
  MoveHistory h;
  h.AddMove(Entry("a", 1));
  h.AddMove(Entry("b", 1));
  h.AddMove(Entry("c", 1));
  h.GoToIndex(1);
  h.AddMove(Entry("x", 1));  // a -> x (c after b as x's variation)
  h.AddMove(Entry("y", 1));

  h.First();
  Visit all;
  EXPECT_TRUE(h.Walk(Visitor, &all));
  EXPECT_EQ(all.seen, (std::vector<std::string>{"a:x:<null>", "x:y:b", "y:<null>:<null>",
                                                "b:c:<null>", "c:<null>:<null>"}));
  EXPECT_EQ(h.GetIndex(), 1);

  Visit some;
  some.stopAfter = 2;
  EXPECT_FALSE(h.Walk(Visitor, &some));
  EXPECT_EQ(some.seen.size(), 2u);
}

TEST(MoveHistoryTest, PathSelectAndWalkAllReachVariations) {
  MoveHistory h;
  h.AddMove(Entry("a", 1));
  h.AddMove(Entry("b", 1));
  h.GoToIndex(1);
  const HistoryRecord* x = h.AddMove(Entry("x", 1));  // b is x's variation
  h.AddMove(Entry("y", 1));
  h.GoToIndex(1);
  h.AddMove(Entry("b", 1));  // back onto the main line: b, then x as variation
  EXPECT_EQ(Word(h.RecordAt(2)), "b");

  std::vector<std::string> path;
  for (const HistoryRecord* r : h.PathTo(x))
    path.push_back(r->move.word);
  EXPECT_EQ(path, (std::vector<std::string>{"a", "x"}));
  HistoryRecord stranger = Entry("a", 1);
  EXPECT_TRUE(h.PathTo(&stranger).empty());
  EXPECT_FALSE(h.Select(&stranger));
  EXPECT_EQ(h.GetIndex(), 2);

  ASSERT_TRUE(h.Select(x));
  EXPECT_EQ(h.GetIndex(), 2);
  EXPECT_FALSE(h.AtEndOfLine());
  EXPECT_EQ(Word(h.Next()), "y");
  EXPECT_TRUE(h.AtEndOfLine());

  Visit all;
  EXPECT_TRUE(h.WalkAll(Visitor, &all));
  EXPECT_EQ(all.seen.size(), 4u);
  EXPECT_EQ(all.seen.front(), "a:b:<null>");
  Visit fromCursor;
  h.Walk(Visitor, &fromCursor);
  EXPECT_EQ(fromCursor.seen, (std::vector<std::string>{"y:<null>:<null>"}));
}

TEST(MoveHistoryTest, LongLinesSpanPoolsAndNeedNoRecursion) {
  MoveHistory h;
  const int n = kHistoryPoolNodes + 50;
  HistoryRecord r = Entry("a", 1);
  for (int i = 0; i < n; ++i) {
    r.move.score = i;  // each one a new entry
    h.AddMove(r);
  }
  EXPECT_EQ(h.Count(), n);
  int visited = 0;
  h.First();
  h.Walk(
      [](void* c, const HistoryRecord&, const HistoryRecord*, const HistoryRecord*) {
        ++*static_cast<int*>(c);
        return 1;
      },
      &visited);
  EXPECT_EQ(visited, n);
  EXPECT_EQ(h.RecordAt(n)->move.score, n - 1);
  h.First();
  EXPECT_EQ(h.TakeBack(), kHistoryOk);
  EXPECT_EQ(h.Count(), 0);
}

TEST(MoveHistoryTest, AppendChildKeepsTheGivenOrder) {
  MoveHistory h;
  HistoryNode* a = h.AppendChild(nullptr, Entry("a", 1));
  h.AppendChild(nullptr, Entry("a", 1));  // an equal sibling is kept, not merged
  h.AppendChild(a, Entry("b", 1));
  h.AppendChild(a, Entry("c", 1));
  EXPECT_EQ(h.GetIndex(), 0);
  EXPECT_EQ((MainLine(h)), (std::vector<std::string>{"a", "b"}));
  h.First();
  Visit all;
  h.Walk(Visitor, &all);
  EXPECT_EQ(all.seen, (std::vector<std::string>{"a:b:a", "b:<null>:c", "c:<null>:<null>",
                                                "a:<null>:<null>"}));
}

}  // namespace
