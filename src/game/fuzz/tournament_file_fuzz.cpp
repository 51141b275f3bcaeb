// The tournament-file reader on any bytes. Inputs not starting with a magic
// patch a valid file made here (a classic tournament of four, one game
// played), so that short inputs reach the participants, pairings and lines.
//
// Invariant: whatever the reader accepts writes back to bytes that read
// again to the same record (nothing read is lost or unstable).
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "game/player.h"
#include "game/tournament_file.h"

namespace {

std::vector<uint8_t> ValidFile() {
  TournamentData t;
  t.setup.kind = kKindStandard;
  for (int i = 0; i < 4; ++i) {
    TournamentParticipant p;
    p.number = i + 1;
    std::snprintf(p.name, sizeof p.name, "P%d", i);
    p.isComputer = 1;
    t.participants.push_back(p);
    PlayerSetupEntry e;
    e.playerType = kPlayerComputer;
    t.setup.AddPlayer(e);
  }
  t.roundCount = 1;
  BuildRoundRobinSchedule(t);
  std::vector<uint8_t> bytes;
  EncodeTournamentFile(t, false, nullptr, bytes);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<uint8_t> valid = ValidFile();
  std::vector<uint8_t> input(data, data + size);
  if (size < 3 || (std::memcmp(data, "TST", 3) != 0 && std::memcmp(data, "ADT", 3) != 0)) {
    input = valid;
    // Each 8 bytes of input: a position (4) and a value (4) to write there.
    for (size_t i = 0; i + 8 <= size; i += 8) {
      uint32_t at = 0, v = 0;
      std::memcpy(&at, data + i, 4);
      std::memcpy(&v, data + i + 4, 4);
      at %= static_cast<uint32_t>(input.size());
      for (size_t k = 0; k < 4 && at + k < input.size(); ++k)
        input[at + k] = static_cast<uint8_t>(v >> (8 * k));
    }
  }
  TournamentData t;
  if (DecodeTournamentFile(input.data(), input.size(), t, "", 0, nullptr).message != 0) return 0;
  std::vector<uint8_t> again;
  if (!EncodeTournamentFile(t, false, nullptr, again)) __builtin_trap();
  TournamentData back;
  if (DecodeTournamentFile(again.data(), again.size(), back, "", 0, nullptr).message != 0)
    __builtin_trap();
  std::vector<uint8_t> third;
  EncodeTournamentFile(back, false, nullptr, third);
  if (third != again) __builtin_trap();
  return 0;
}
