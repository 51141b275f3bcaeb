// The saved-game reader on any bytes. An input starting with the magic is
// read as it is; any other input patches one of two valid images made here
// (a standard and a duplicate game with comments and a variation), so that
// short inputs reach deep into the players and the history tree.
//
// Invariant: whatever the reader accepts writes back to an image that reads
// again and writes the same bytes (nothing read is lost or unstable).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/binio.h"
#include "game/game.h"
#include "game/move_history.h"
#include "game/saved_game.h"
#include "platform/crand.h"

namespace {

RobotMove Move(const char* word, int32_t score, uint8_t column, uint8_t row, uint8_t down) {
  RobotMove m;
  std::strncpy(m.word, word, kMoveWordSize - 1);
  m.score = score;
  m.column = column;
  m.row = row;
  m.direction = down;
  m.length = static_cast<uint8_t>(std::strlen(word));
  return m;
}

std::vector<uint8_t> BaseImage(int32_t kind) {
  CGame g;
  g.setup.kind = kind;
  g.setup.language = 0;
  PlayerSetupEntry e;
  e.playerType = kPlayerHuman;
  std::strcpy(e.name, "Alice");
  g.setup.AddPlayer(e);
  e.playerType = kPlayerComputer;
  std::strcpy(e.name, "Robo");
  g.setup.AddPlayer(e);
  platform::SeedRandom(1);
  g.StartNewGame();
  for (int i = 0; i < 2; ++i)
    g.Player(i)->RefillRack();
  g.RecordMove(nullptr);
  RobotMove m = Move("cat", 10, 7, 7, 0);
  g.ApplyMove(m);
  g.RecordMove(&m);
  g.GetCurrentHistoryEntry()->comment = "note";
  HistoryRecord other;
  other.move = Move("ox", 9, 8, 8, 1);
  g.AddVariation(other);
  g.Player(1)->moveWords = {m, m};
  if (kind == kKindDuplicate) g.referencePlayer = std::make_unique<GamePlayer>();
  std::vector<uint8_t> out;
  EncodeSavedGame(g, out);
  return out;
}

// flags (bit 0 the duplicate image, bit 1 a cut), the cut point, then
// patches of (offset, length, bytes) over the image.
std::vector<uint8_t> Patched(const uint8_t* data, size_t size) {
  static const std::vector<uint8_t> standard = BaseImage(kKindStandard);
  static const std::vector<uint8_t> duplicate = BaseImage(kKindDuplicate);
  ByteReader in(data, size);
  const uint8_t flags = in.U8();
  std::vector<uint8_t> image = (flags & 1) ? duplicate : standard;
  const uint32_t cut = in.U32();
  while (in.remaining() >= 6) {
    const size_t at = in.U32() % image.size();
    size_t n = in.U8() % 16 + 1;
    n = std::min({n, in.remaining(), image.size() - at});
    in.Bytes(&image[at], n);
  }
  if (flags & 2) image.resize(cut % image.size());
  return image;
}

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const bool raw = size >= kMagicSize && std::memcmp(data, kSavedGameMagic, kMagicSize) == 0;
  const std::vector<uint8_t> image =
      raw ? std::vector<uint8_t>(data, data + size) : Patched(data, size);
  std::unique_ptr<CGame> game(CreateGame());
  if (ParseSavedGame(*game, image.data(), image.size()) < 0) return 0;

  std::vector<uint8_t> once;
  Check(EncodeSavedGame(*game, once));
  std::unique_ptr<CGame> again(CreateGame());
  Check(ParseSavedGame(*again, once.data(), once.size()) >= 0);
  std::vector<uint8_t> twice;
  Check(EncodeSavedGame(*again, twice));
  Check(once == twice);
  return 0;
}
