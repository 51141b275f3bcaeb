#include "shell/archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/path.h"
#include "recording_sink.h"
#include "shell/archive_writer.h"
#include "temp_dir.h"

namespace shell {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(const std::string& s) { return {s.begin(), s.end()}; }

std::string Flip(std::string s, int how) {
  for (size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    s[i] = char(how == 0   ? std::toupper(c)
                : how == 1 ? std::tolower(c)
                           : (i % 2 ? std::toupper(c) : std::tolower(c)));
  }
  return s;
}

// An archive written to a temporary folder.
struct Archive {
  testsupport::TempDir dir;
  std::string idx = dir / "pack.idx";
  std::string dat = dir / "pack.dat";

  explicit Archive(std::vector<ArchiveItem> items) {
    std::string error;
    EXPECT_TRUE(WriteArchive(std::move(items), idx.c_str(), dat.c_str(), &error)) << error;
  }
  std::optional<ResBlock> Read(const char* name, ResArchiveEntry* e = nullptr) {
    ResArchiveEntry scratch;
    return ResArchiveRead(idx.c_str(), dat.c_str(), name, nullptr, e ? e : &scratch);
  }
  void Rewrite(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(testsupport::WriteBytes(path, bytes));
  }
};

std::vector<std::string> Names(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i)
    names.push_back("Entry_" + std::to_string(i * 7919 % 100003) + ".bmp");
  return names;
}

TEST(ResArchiveFind, FindsEveryNameInAnyCaseAndNothingElse) {
  for (int count : {1, 2, 3, 4, 5, 1000}) {
    SCOPED_TRACE(count);
    std::vector<ArchiveItem> items;
    for (const std::string& n : Names(count))
      items.push_back(MakeStoredItem(n, Text(n)));
    Bytes idx, dat;
    std::string error;
    ASSERT_TRUE(BuildArchive(items, &idx, &dat, &error));
    auto index = ResArchiveParseIndex(idx.data(), idx.size());
    ASSERT_TRUE(index);
    const auto& entries = index->entries;
    ASSERT_EQ(entries.size(), size_t(count));
    for (int i = 0; i < count; ++i) {
      for (int how = 0; how < 3; ++how) {
        const std::string asked = Flip(entries[size_t(i)].name, how);
        ASSERT_EQ(ResArchiveFind(entries.data(), count, asked.c_str()), i) << asked;
      }
    }
    for (const char* missing : {"", "A", "entry_", "Entry_5.bmpx", "zzz", "Entry_10.bm"}) {
      EXPECT_EQ(ResArchiveFind(entries.data(), count, missing), -1) << missing;
    }
  }
  EXPECT_EQ(ResArchiveFind(nullptr, 0, "x"), -1);
}

TEST(ResArchiveParseIndex, RefusesDamagedIndexes) {
  Bytes idx, dat;
  std::string error;
  ASSERT_TRUE(BuildArchive({MakeStoredItem("a", Text("1")), MakeStoredItem("b", Text("2"))}, &idx,
                           &dat, &error));
  ASSERT_TRUE(ResArchiveParseIndex(idx.data(), idx.size()));
  auto damaged = [&](auto change) {
    Bytes copy = idx;
    change(copy);
    return copy;
  };
  struct Case {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"empty", {}},
      {"short header", Bytes(idx.begin(), idx.begin() + 31)},
      {"last entry cut", Bytes(idx.begin(), idx.end() - 1)},
      {"header size 33", damaged([](Bytes& b) { b[0] = 33; })},
      {"count 3", damaged([](Bytes& b) { b[20] = 3; })},
      {"count 2^32-1", damaged([](Bytes& b) { WriteU32(b.data() + 20, 0xFFFFFFFF); })},
      {"name without NUL",
       damaged([](Bytes& b) { std::fill(b.begin() + 32, b.begin() + 96, 'x'); })},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(ResArchiveParseIndex(c.bytes.data(), c.bytes.size())) << c.what;
  }
}

TEST(ResArchiveRead, DecodesEachMethodAndClearsTheOffset) {
  std::mt19937 rng(7);
  Bytes text;
  for (int i = 0; i < 30000; ++i)
    text.push_back(uint8_t("tiles on the board "[i % 19]));
  Bytes samples;
  for (int i = 0; i < 2000; ++i) {
    const int16_t s = int16_t((i % 100) * 300 - 15000);
    samples.push_back(uint8_t(s)), samples.push_back(uint8_t(s >> 8));
  }
  ArchiveItem lzss = MakeStoredItem("raw.lzs", Text("\x07"
                                                    "abc\x04\x01"));
  lzss.tag = kTagLzss;
  ArchiveItem imap = MakeStoredItem("Voice.wav", Text("RIFF...."));
  imap.tag = kTagImaAdpcm;
  Archive a({MakeImplodedItem("Story.txt", text), MakeAdpcmItem("tone.pcm", samples),
             MakeStoredItem("plain.ini", Text("[x]\r\n")), lzss, imap});

  ResArchiveEntry e;
  auto story = a.Read("STORY.TXT", &e);
  ASSERT_TRUE(story);
  EXPECT_EQ(*story, text);
  EXPECT_EQ(e.tag, kTagImploded);
  EXPECT_LT(e.storedSize, e.unpackedSize);
  EXPECT_EQ(e.offset, 0u);
  EXPECT_STREQ(e.name, "Story.txt");

  auto tone = a.Read("tone.pcm", &e);
  ASSERT_TRUE(tone);
  EXPECT_EQ(tone->size(), samples.size());
  EXPECT_EQ(e.tag, kTagAdpcm);

  for (const char* stored : {"plain.ini", "raw.lzs", "voice.wav"}) {
    auto block = a.Read(stored, &e);
    ASSERT_TRUE(block) << stored;
    EXPECT_EQ(block->size(), e.storedSize) << stored;
    EXPECT_EQ(e.offset, 0u);
  }
  EXPECT_FALSE(a.Read("missing.txt"));

  // The same through an index loaded once.
  auto index = ResArchiveLoadIndex(a.idx.c_str());
  ASSERT_TRUE(index);
  auto again = ResArchiveRead(nullptr, a.dat.c_str(), "story.txt", index.get(), &e);
  ASSERT_TRUE(again);
  EXPECT_EQ(*again, text);
  EXPECT_TRUE(ResArchiveFindEntry(nullptr, a.dat.c_str(), "PLAIN.INI", index.get(), &e));
  EXPECT_EQ(e.tag, kTagStored);
  EXPECT_FALSE(ResArchiveFindEntry(a.idx.c_str(), "", "plain.ini", nullptr, &e));
  EXPECT_FALSE(ResArchiveRead(nullptr, a.dat.c_str(), "plain.ini", nullptr, &e));
  EXPECT_FALSE(ResArchiveRead(a.idx.c_str(), a.dat.c_str(), "plain.ini", nullptr, nullptr));
}

// Damaged entries: each gives nothing, with the notice the user always saw.
TEST(ResArchiveRead, RefusesDamagedData) {
  Bytes text;
  for (int i = 0; i < 5000; ++i)
    text.push_back(uint8_t('a' + i % 26));
  ArchiveItem packed = MakeImplodedItem("packed.txt", text);
  ASSERT_EQ(packed.tag, kTagImploded);

  struct Case {
    const char* what;
    ArchiveItem item;
    std::string text;
  };
  ArchiveItem longer = packed, shorter = packed, broken = packed, adpcm;
  longer.unpackedSize += 1;
  shorter.unpackedSize -= 1;
  broken.stored[1] = 9;
  adpcm = MakeAdpcmItem("s.pcm", Bytes(400, 1));
  adpcm.unpackedSize += 4;
  Case cases[] = {
      {"explodes short", longer, "Explode size mismatch"},
      {"explodes long", shorter, "Explode size mismatch"},
      {"bad dictionary", broken, "Explode invalid Dictionary size"},
      {"adpcm short", adpcm, ""},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.item.name = "x";
    Archive a({c.item});
    testsupport::RecordingSink sink;
    EXPECT_FALSE(a.Read("x"));
    if (c.text.empty()) {
      EXPECT_TRUE(sink.messages.empty());
    } else {
      ASSERT_EQ(sink.messages.size(), 1u);
      EXPECT_EQ(sink.messages[0].text, c.text);
    }
  }

  // Stored bytes reaching past the end of the data file.
  Archive cut({MakeStoredItem("a", Text("0123456789")), MakeStoredItem("b", Text("abcdef"))});
  cut.Rewrite(cut.dat, "0123456789abc");
  testsupport::RecordingSink sink;
  EXPECT_TRUE(cut.Read("a"));
  EXPECT_FALSE(cut.Read("b"));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Data read - incorrect size!");
  EXPECT_EQ(sink.messages[0].caption, "Error");

  // A damaged index file reads as no archive.
  cut.Rewrite(cut.idx, std::string(40, '\0'));
  EXPECT_FALSE(cut.Read("a"));
  EXPECT_FALSE(ResArchiveLoadIndex(cut.idx.c_str()));
  EXPECT_FALSE(ResArchiveLoadIndex((cut.dir / "none.idx").c_str()));
  // A planted huge index, or a folder in its place, is refused unread.
  ASSERT_TRUE(testsupport::MakeHugeFile(cut.dir / "huge.idx", 3ull << 30));
  EXPECT_FALSE(ResArchiveLoadIndex((cut.dir / "huge.idx").c_str()));
  ASSERT_TRUE(platform::MakeDirectory((cut.dir / "folder.idx").c_str()));
  EXPECT_FALSE(ResArchiveLoadIndex((cut.dir / "folder.idx").c_str()));
}

TEST(ResArchiveLoadBitmap, ConvertsBitmapsAndPassesOtherBlocks) {
  // 2x1 pixels, 24 bits: 14 + 40 header bytes, one padded row of 8 bytes.
  Bytes bmp(62, 0);
  bmp[0] = 'B', bmp[1] = 'M';
  WriteU32(bmp.data() + 2, 62);
  WriteU32(bmp.data() + 10, 54);
  WriteU32(bmp.data() + 14, 40);
  WriteU32(bmp.data() + 18, 2);
  WriteU32(bmp.data() + 22, 1);
  WriteU16(bmp.data() + 26, 1);
  WriteU16(bmp.data() + 28, 24);
  for (int i = 54; i < 62; ++i)
    bmp[size_t(i)] = uint8_t(i);
  Archive a({MakeImplodedItem("pic.bmp", bmp), MakeStoredItem("note.txt", Text("BMx"))});
  ResArchiveEntry e;
  auto dib = ResArchiveLoadBitmap(a.idx.c_str(), a.dat.c_str(), "PIC.BMP", nullptr, &e);
  ASSERT_TRUE(dib);
  EXPECT_EQ(*dib, Bytes(bmp.begin() + 14, bmp.end()));
  // Starts with "BM" but is no bitmap: nothing.
  EXPECT_FALSE(ResArchiveLoadBitmap(a.idx.c_str(), a.dat.c_str(), "note.txt", nullptr, &e));
}

TEST(ResArchiveMethodName, NamesTheKnownTags) {
  EXPECT_STREQ(ResArchiveMethodName(kTagImploded), "PKZip");
  EXPECT_STREQ(ResArchiveMethodName(kTagImaAdpcm), "IMA ADPCM");
  EXPECT_STREQ(ResArchiveMethodName(MakeTag("XXXX")), "");
  const char* expected[] = {"", "LZSS", "PKZip", "ADPCM", "IMA ADPCM", "MP3", "QT-PV", "", ""};
  for (int i = -1; i < 8; ++i) {
    EXPECT_STREQ(ResArchiveMethodNameByIndex(i), expected[i < 0 ? 8 : i]) << i;
  }
}

TEST(ResArchiveFind, FoldsAccentedLettersOfTheProgramCodePage) {
  Bytes idx, dat;
  std::string error;
  // "Défi.bmp", "Œuvre.txt", "zèbre" in Windows-1252.
  ASSERT_TRUE(BuildArchive({MakeStoredItem("D\xE9"
                                           "fi.bmp",
                                           {}),
                            MakeStoredItem("\x8C"
                                           "uvre.txt",
                                           {}),
                            MakeStoredItem("z\xE8"
                                           "bre",
                                           {})},
                           &idx, &dat, &error));
  auto index = ResArchiveParseIndex(idx.data(), idx.size());
  ASSERT_TRUE(index);
  const int n = int(index->entries.size());
  EXPECT_GE(ResArchiveFind(index->entries.data(), n,
                           "D\xC9"
                           "FI.BMP"),
            0);
  EXPECT_GE(ResArchiveFind(index->entries.data(), n,
                           "\x9C"
                           "UVRE.TXT"),
            0);
  EXPECT_GE(ResArchiveFind(index->entries.data(), n,
                           "Z\xC8"
                           "BRE"),
            0);
  EXPECT_EQ(ResArchiveFind(index->entries.data(), n,
                           "Z\xD7"
                           "BRE"),
            -1);
}

TEST(ArchiveWriter, PacksAFolderAndReadsItBack) {
  testsupport::TempDir dir;
  Bytes pcm;
  for (int i = 0; i < 3000; ++i)
    pcm.push_back(uint8_t(i / 40));
  Bytes text(5000, 'z');
  testsupport::WriteBytes(dir / "Readme.TXT", std::string(text.begin(), text.end()));
  testsupport::WriteBytes(dir / "tone.PCM", std::string(pcm.begin(), pcm.end()));
  testsupport::WriteBytes(dir / "tiny", "ab");
  testsupport::WriteBytes(dir / ".hidden", "no");
  std::filesystem::create_directories(dir / "sub");
  PackFolderOptions options;
  options.implode = true;
  options.adpcmExtension = ".pcm";
  std::vector<ArchiveItem> items;
  std::string error;
  ASSERT_TRUE(CollectFolderItems(dir.path().c_str(), options, &items, &error)) << error;
  ASSERT_EQ(items.size(), 3u);
  Archive a(std::move(items));
  ResArchiveEntry e;
  EXPECT_EQ(a.Read("readme.txt", &e), text);
  EXPECT_EQ(e.tag, kTagImploded);
  EXPECT_EQ(a.Read("TINY", &e), Text("ab"));
  EXPECT_EQ(e.tag, kTagStored);  // imploding would not make it smaller
  auto tone = a.Read("tone.pcm", &e);
  ASSERT_TRUE(tone);
  EXPECT_EQ(e.tag, kTagAdpcm);
  EXPECT_EQ(tone->size(), pcm.size());
  EXPECT_FALSE(a.Read(".hidden"));
}

TEST(ArchiveWriter, RefusesNamesTheReaderCouldNotTellApart) {
  Bytes idx, dat;
  std::string error;
  EXPECT_FALSE(BuildArchive({MakeStoredItem("Face.bmp", {}), MakeStoredItem("FACE.BMP", {})}, &idx,
                            &dat, &error));
  EXPECT_FALSE(BuildArchive({MakeStoredItem(std::string(64, 'n'), {})}, &idx, &dat, &error));
  EXPECT_FALSE(BuildArchive({MakeStoredItem("", {})}, &idx, &dat, &error));
  EXPECT_TRUE(BuildArchive({MakeStoredItem(std::string(63, 'n'), {})}, &idx, &dat, &error));
}

}  // namespace
}  // namespace shell
