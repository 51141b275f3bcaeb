// Reads arbitrary bytes as a record file and as a serialised record list:
// every accepted list serialises and parses back to the same records.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Records/RecordFile.h"
#include "Modules/Core/Src/Records/RecordList.h"

using namespace OX_Toolbox;

#define FUZZ_CHECK(condition)       \
  do {                              \
    if (!(condition)) std::abort(); \
  } while (0)

namespace {

void roundTrip(RecordList& list) {
  const std::size_t count = list.size();
  std::string tags;
  std::uint64_t total = 4;
  for (std::size_t i = 0; i < count; ++i) {
    tags.append(list.at(i)->getTag(), 4);
    total += list.at(i)->getSize();
  }
  std::uint32_t n = 0;
  unsigned char* bytes = list.serialize(n);
  FUZZ_CHECK(bytes && n == total && list.size() == 0);
  RecordList back;
  FUZZ_CHECK(back.deserialize(bytes, n));
  FUZZ_CHECK(back.size() == count);
  for (std::size_t i = 0; i < count; ++i)
    FUZZ_CHECK(back.at(i)->hasTag(&tags[4 * i]));
  ToolboxFree(bytes);
}

const std::string& filePath() {
  static const std::string path = "/tmp/record_file_fuzz_" + std::to_string(getpid()) + ".dat";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 20) return 0;
  RecordList list;
  list.deserialize(data, static_cast<std::uint32_t>(size));
  roundTrip(list);

  std::FILE* f = std::fopen(filePath().c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  unsigned char* payload = nullptr;
  std::uint32_t n = 0;
  const ERRORID result = ReadRecordFile(DefaultRecordFileCodec(), &payload, &n, filePath().c_str());
  if (result == ERRORID_SUCCEEDED) {
    FUZZ_CHECK(n + 20 == size);
    RecordList fromFile;
    fromFile.deserialize(payload, n);
    roundTrip(fromFile);
    ToolboxFree(payload);
  } else {
    FUZZ_CHECK(payload == nullptr && n == 0);
  }
  std::remove(filePath().c_str());
  return 0;
}
