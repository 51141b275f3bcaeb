// The ".usr" and ".QNP" readers must refuse or accept any bytes without
// faults; an accepted record must come out of its writer byte for byte as it
// was read (texts aside, which the reader terminates), and read back equal.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "shell/personality.h"
#include "shell/user_profile.h"

namespace {

void CheckProfile(const uint8_t* data, size_t size) {
  shell::UserProfile p;
  if (!shell::DecodeUserProfile(data, size, p)) return;
  std::vector<uint8_t> again = shell::EncodeUserProfile(p);
  if (again.size() != size) std::abort();
  shell::UserProfile q;
  if (!shell::DecodeUserProfile(again.data(), again.size(), q) || !q.SameFileContent(p))
    std::abort();
}

void CheckPersonality(const uint8_t* data, size_t size) {
  shell::PersonalityRecord r;
  if (!shell::DecodePersonality(data, size, r)) return;
  std::vector<uint8_t> again = shell::EncodePersonality(r);
  shell::PersonalityRecord s;
  if (again.size() != shell::kPersonalityRecordSize ||
      !shell::DecodePersonality(again.data(), again.size(), s) ||
      shell::EncodePersonality(s) != again)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckProfile(data, size);
  CheckPersonality(data, size);
  return 0;
}
