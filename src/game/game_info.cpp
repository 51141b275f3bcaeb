#include "game/game_info.h"

#include <cstdio>
#include <cstring>

#include "platform/clock.h"

namespace {

bool KeptHighByte(uint8_t b) {
  return b == 138 || b == 154 || b == 156 || b == 159 || b == 161 || b == 182 || b == 191 ||
         b >= 192;
}

bool FileSafe(uint8_t b) {
  if (b < 32) return false;
  if (b > 127) return KeptHighByte(b);
  return !std::strchr("\\:*?\"<>|", b);
}

// The char fields in image order with their sizes.
template <typename Info, typename Fn>
void ForEachField(Info& info, Fn fn) {
  fn(info.title, sizeof info.title);
  fn(&info.markA, 1);
  fn(&info.markB, 1);
  fn(info.fileSafeName, sizeof info.fileSafeName);
  fn(info.infoText1, sizeof info.infoText1);
  fn(info.infoText2, sizeof info.infoText2);
  fn(info.path, sizeof info.path);
  fn(info.text32a, sizeof info.text32a);
  fn(info.text32b, sizeof info.text32b);
  fn(info.dateText, sizeof info.dateText);
  fn(info.text128, sizeof info.text128);
  fn(info.further, sizeof info.further);
}

constexpr size_t kPointerBytes = 4 * kGameInfoOwnedTexts;

}  // namespace

void GameInfo::Clear() {
  ForEachField(*this, [](void* field, size_t n) { std::memset(field, 0, n); });
  for (std::string& t : ownedTexts)
    t.clear();
}

void CopyInfoText(char* field, size_t size, const char* text) {
  if (size == 0) return;
  std::memset(field, 0, size);
  if (text) std::strncpy(field, text, size - 1);
}

void MakeFileSafeName(char* out, size_t size, const char* text) {
  if (size == 0) return;
  std::memset(out, 0, size);
  if (!text) return;
  for (size_t i = 0; i + 1 < size && text[i]; ++i) {
    const uint8_t b = static_cast<uint8_t>(text[i]);
    out[i] = FileSafe(b) ? text[i] : '-';
  }
}

char* FormatDateText(char* buffer, size_t size) {
  const platform::LocalDateTime now = platform::GetLocalDateTime();
  std::snprintf(buffer, size, "%d-%d-%4d", now.month, now.day, now.year);
  return buffer;
}

void EncodeGameInfo(const GameInfo& info, ByteWriter& out) {
  ForEachField(info, [&out](const void* field, size_t n) { out.Bytes(field, n); });
  out.Zeros(kPointerBytes);
}

bool DecodeGameInfo(ByteReader& in, GameInfo& info) {
  GameInfo read;
  // A text that fills its field has no NUL of its own: the last byte is
  // forced to 0 so that no reader runs past the field.
  ForEachField(read, [&in](void* field, size_t n) {
    in.Bytes(field, n);
    if (n > 1) static_cast<char*>(field)[n - 1] = 0;
  });
  in.Skip(kPointerBytes);
  if (!in.ok()) return false;
  info = read;
  return true;
}
