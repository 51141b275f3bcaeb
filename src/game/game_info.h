#pragma once
// A game's information block: title, file-safe name, texts, path and date
// that saved games carry (1064 bytes in files, copied whole), plus five
// owned texts. Every setter keeps its text within its field, NUL included.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/binio.h"

constexpr size_t kGameInfoImageSize = 1064;
constexpr int kGameInfoOwnedTexts = 5;
// The two bytes a fresh block carries after the title.
constexpr uint8_t kGameInfoMarkA = 26;
constexpr uint8_t kGameInfoMarkB = 9;

struct GameInfo {
  // Field order follows the file image; the comment gives the image offset.
  char title[32];          // 0
  uint8_t markA;           // 32
  uint8_t markB;           // 33
  char fileSafeName[128];  // 34
  char infoText1[128];     // 162
  char infoText2[128];     // 290
  char path[260];          // 418
  char text32a[32];        // 678
  char text32b[32];        // 710
  char dateText[32];       // 742
  char text128[128];       // 774
  char further[142];       // 902
  // 1044: five text pointers in the image. Their values mean nothing in a
  // file: they are written as zeros and read back as empty texts.
  std::array<std::string, kGameInfoOwnedTexts> ownedTexts;

  GameInfo() { Clear(); }
  void Clear();
};

// Copies text into a field of `size` bytes, cutting it to fit; the rest of
// the field is zeros.
void CopyInfoText(char* field, size_t size, const char* text);
// The file-safe form of a name: Windows' forbidden file-name characters,
// control characters and bytes above 127 outside the kept accented letters
// become '-'. Writes at most size - 1 bytes and a NUL.
void MakeFileSafeName(char* out, size_t size, const char* text);
// Today as "%d-%d-%4d" (month, day, year); returns the buffer.
char* FormatDateText(char* buffer, size_t size);

void EncodeGameInfo(const GameInfo& info, ByteWriter& out);
// False (and `info` untouched) when the reader runs short.
bool DecodeGameInfo(ByteReader& in, GameInfo& info);
