#include "shell/resource_packs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "shell/app_context.h"
#include "shell/archive_writer.h"
#include "temp_dir.h"

namespace shell {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

Bytes Text(const std::string& s) { return {s.begin(), s.end()}; }

// A 1x1 24-bit bitmap file.
Bytes TinyBitmap() {
  Bytes f(58, 0);
  f[0] = 'B', f[1] = 'M';
  WriteU32(f.data() + 2, 58);
  WriteU32(f.data() + 10, 54);
  WriteU32(f.data() + 14, 40);
  WriteU32(f.data() + 18, 1);
  WriteU32(f.data() + 22, 1);
  WriteU16(f.data() + 26, 1);
  WriteU16(f.data() + 28, 24);
  f[54] = 1, f[55] = 2, f[56] = 3;
  return f;
}

// The program lives in <temp>/prog; packs go to its tessarinData folder.
class ResourcePacks : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(program);
    fs::create_directories(program + "/tessarinData");
    ASSERT_TRUE(CreateAppContextAt(program + "\\tessarin.exe"));
  }
  void TearDown() override {
    CloseAllResourcePacks();
    SetPackModuleFactory(nullptr);
    DestroyAppContext();
  }
  void WritePack(const std::string& folder, const std::string& name,
                 std::vector<ArchiveItem> items) {
    fs::create_directories(folder);
    std::string error;
    ASSERT_TRUE(WriteArchive(std::move(items), (folder + "/" + name + ".idx").c_str(),
                             (folder + "/" + name + ".dat").c_str(), &error))
        << error;
  }
  void WriteFaces() {
    WritePack(
        program + "/tessarinData", "faces",
        {MakeStoredItem("Anna.bmp", TinyBitmap()), MakeImplodedItem("bio.txt", Bytes(900, 'b')),
         MakeStoredItem("note.txt", Text("packed note"))});
  }
  std::string Read(const char* name, int slot, uint32_t* tag = nullptr) {
    ResBlock block;
    if (!ReadPackEntryByName(name, slot, &block, tag, nullptr, nullptr)) return "<none>";
    return std::string(block.begin(), block.end());
  }

  testsupport::TempDir temp;
  std::string program = temp / "prog";
};

TEST_F(ResourcePacks, OpensByNameAndReadsEntriesInAnyCase) {
  WriteFaces();
  EXPECT_TRUE(OpenResourcePack("faces", kPackFaces, false));
  EXPECT_TRUE(IsResourcePackOpen(kPackFaces));
  uint32_t tag = 0, stored = 0, unpacked = 0;
  ResBlock block;
  ASSERT_TRUE(ReadPackEntryByName("BIO.TXT", kPackFaces, &block, &tag, &stored, &unpacked));
  EXPECT_EQ(block, Bytes(900, 'b'));
  EXPECT_EQ(tag, kTagImploded);
  EXPECT_EQ(unpacked, 900u);
  EXPECT_LT(stored, 900u);
  // Bitmaps come back as packed DIBs, whatever the case of ".bmp".
  ASSERT_TRUE(ReadPackEntryByName("anna.BMP", kPackFaces, &block, nullptr, nullptr, nullptr));
  const Bytes bmp = TinyBitmap();
  EXPECT_EQ(block, Bytes(bmp.begin() + 14, bmp.end()));
  EXPECT_EQ(Read("missing.txt", kPackFaces), "<none>");
  EXPECT_EQ(Read("note.txt", kPackProduct), "<none>");  // a closed slot

  tag = stored = unpacked = 77;
  EXPECT_FALSE(FindPackEntry("missing", kPackFaces, &tag, &stored, &unpacked));
  EXPECT_EQ(tag, 77u);
  EXPECT_TRUE(FindPackEntry("Note.Txt", kPackFaces, &tag, &stored, &unpacked));
  EXPECT_EQ(tag, kTagStored);
  EXPECT_EQ(unpacked, 11u);

  CloseResourcePack(kPackFaces);
  EXPECT_FALSE(IsResourcePackOpen(kPackFaces));
  EXPECT_EQ(Read("note.txt", kPackFaces), "<none>");
}

TEST_F(ResourcePacks, LooseFileInTheProgramFolderComesFirstAndWhole) {
  WriteFaces();
  ASSERT_TRUE(OpenResourcePack("faces", kPackFaces, false));
  testsupport::WriteBytes(program + "/NOTE.TXT", "loose note");
  const Bytes bmp = TinyBitmap();
  testsupport::WriteBytes(program + "/anna.bmp", std::string(bmp.begin(), bmp.end()));
  uint32_t tag = 0;
  EXPECT_EQ(Read("note.txt", kPackFaces, &tag), "loose note");
  EXPECT_EQ(tag, kTagStored);
  // The file image itself, not a packed DIB.
  EXPECT_EQ(Read("Anna.bmp", kPackFaces), std::string(bmp.begin(), bmp.end()));
  // Loose files need no open slot.
  EXPECT_EQ(Read("note.txt", 30), "loose note");

  // Only plain names: nothing outside the program folder is read.
  testsupport::WriteBytes(temp / "secret.txt", "secret");
  fs::create_directories(program + "/sub");
  testsupport::WriteBytes(program + "/sub/inner.txt", "inner");
  for (const char* name :
       {"..\\secret.txt", "../secret.txt", "sub\\..\\..\\secret.txt", "sub\\inner.txt", "", "."}) {
    EXPECT_EQ(Read(name, kPackFaces), "<none>") << name;
  }
  const std::string absolute = temp / "secret.txt";
  EXPECT_EQ(Read(absolute.c_str(), kPackFaces), "<none>");
}

TEST_F(ResourcePacks, ReadsByIndexWithinTheDirectory) {
  WriteFaces();
  ASSERT_TRUE(OpenResourcePack("faces", kPackFaces, false));
  ResBlock block;
  const ResArchiveEntry* entry = nullptr;
  std::vector<std::string> names;
  for (int n = 0; ReadPackEntryByIndex(n, kPackFaces, &block, &entry); ++n) {
    names.push_back(entry->name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Anna.bmp", "bio.txt", "note.txt"}));
  EXPECT_FALSE(ReadPackEntryByIndex(3, kPackFaces, &block, nullptr));
  EXPECT_FALSE(ReadPackEntryByIndex(-1, kPackFaces, &block, nullptr));
  EXPECT_FALSE(ReadPackEntryByIndex(0, kPackProduct, &block, nullptr));

  // The data file moves to the Data folder: the failed read finds it again.
  fs::create_directories(program + "/Data/tessarinData");
  fs::rename(program + "/tessarinData/faces.dat", program + "/Data/tessarinData/faces.dat");
  EXPECT_FALSE(ReadPackEntryByIndex(1, kPackFaces, &block, nullptr));
  EXPECT_TRUE(ReadPackEntryByIndex(1, kPackFaces, &block, nullptr));
  EXPECT_EQ(block, Bytes(900, 'b'));
}

TEST_F(ResourcePacks, RefusesBadSlotsAndMissingOrDamagedPacks) {
  EXPECT_FALSE(OpenResourcePack("faces", 24, false));
  EXPECT_FALSE(OpenResourcePack("faces", -1, false));
  EXPECT_FALSE(IsResourcePackOpen(24));
  CloseResourcePack(24);
  CloseResourcePack(-1);

  EXPECT_FALSE(OpenResourcePack("faces", kPackFaces, true));  // nothing written yet
  WriteFaces();
  fs::remove(program + "/tessarinData/faces.dat");
  EXPECT_FALSE(OpenResourcePack("faces", kPackFaces, true));
  EXPECT_FALSE(IsResourcePackOpen(kPackFaces));

  WriteFaces();
  testsupport::WriteBytes(program + "/tessarinData/faces.idx", std::string(31, '\0'));
  EXPECT_FALSE(OpenResourcePack("faces", kPackFaces, false));
  WriteFaces();
  EXPECT_TRUE(OpenResourcePack("faces", kPackFaces, false));
}

TEST_F(ResourcePacks, FindsKnownPacksUnderTheDataFolderToo) {
  WritePack(program + "/Data/tessarinData", "Tessarin", {MakeStoredItem("a.txt", Text("A"))});
  EXPECT_TRUE(OpenResourcePack("Tessarin", kPackProduct, false));
  EXPECT_EQ(Read("A.TXT", kPackProduct), "A");
  // Any other name is looked for in the program folder only.
  testsupport::WriteBytes(program + "/Data/words.txt", "w");
  EXPECT_EQ(ResolveDataFilePath("words.txt", false), "");
  testsupport::WriteBytes(program + "/words.txt", "w");
  EXPECT_EQ(ResolveDataFilePath("words.txt", false), program + "\\words.txt");
  EXPECT_EQ(ResolveDataFilePath("..\\prog\\words.txt", false), "");
  EXPECT_EQ(ResolveDataFilePath(nullptr, false), "");
}

TEST_F(ResourcePacks, PlainDataFileSlots) {
  testsupport::WriteBytes(program + "/extra.bin", "x");
  EXPECT_TRUE(OpenResourcePack("extra.bin", 20, false));
  EXPECT_TRUE(IsResourcePackOpen(20));
  EXPECT_EQ(GetPackModule(20), nullptr);
  EXPECT_FALSE(OpenResourcePack("absent.bin", 21, false));
  EXPECT_FALSE(IsResourcePackOpen(21));
}

struct FakeRegistry : PackModule {
  void* FindBitmap(const char* name) override {
    return std::string(name) == "TILE_A" ? this : nullptr;
  }
};

TEST_F(ResourcePacks, PalettePackHoldsTheSkinRegistry) {
  EXPECT_FALSE(OpenResourcePack("skin.txt", kPaletteSlot, false));  // no factory installed
  SetPackModuleFactory([](const char* path) -> std::unique_ptr<PackModule> {
    // An open started from inside another one is refused.
    EXPECT_FALSE(OpenResourcePack("faces", kPackFaces, false));
    if (std::string(path) == "missing") return nullptr;
    return std::make_unique<FakeRegistry>();
  });
  EXPECT_FALSE(OpenResourcePack("missing", kPaletteSlot, false));
  ASSERT_TRUE(OpenResourcePack("skin.txt", kPaletteSlot, false));
  PackModule* module = GetPackModule(kPaletteSlot);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(GetPalettePack(), module);
  void* bitmap = nullptr;
  EXPECT_TRUE(FindPackFileFallback("TILE_A", kPackFaces, &bitmap));
  EXPECT_EQ(bitmap, module);
  EXPECT_FALSE(FindPackFileFallback("TILE_A", kFirstFileSlot, &bitmap));
  EXPECT_FALSE(FindPackFileFallback("", kPackFaces, &bitmap));
  EXPECT_FALSE(FindPackFileFallback("TILE_B", kPackFaces, &bitmap));
  CloseAllResourcePacks();
  EXPECT_EQ(GetPalettePack(), nullptr);
  EXPECT_FALSE(FindPackFileFallback("TILE_A", kPackFaces, &bitmap));
}

}  // namespace
}  // namespace shell
