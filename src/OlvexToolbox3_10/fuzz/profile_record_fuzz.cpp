// Reads arbitrary lobby answers as profile property records: the values a
// server sends back are read against the definitions, one per definition,
// and no length in them may be trusted.
#include <cstddef>
#include <cstdint>

#include "Modules/AccountService/Src/Driver/Rezovovoz/ProfileTasks.h"
#include "Modules/Core/Src/Types/TypeCodes.h"
#include "Modules/NetworkService/Src/SdkMemory.h"

using namespace OX_Toolbox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 16384) return 0;
  routeSdkMemoryToToolbox();
  // The first byte picks the definitions' types; every kind the record
  // carries, and one it does not, is among them.
  static const std::uint32_t kTypes[] = {OX_INT32, OX_INT64, OX_FLOAT64, OX_STRING,
                                         OX_BLOB,  OX_BOOL,  0,          OX_UINT64};
  ProfileDefinitions definitions;
  for (int i = 0; i < 4; ++i) {
    ProfilePropertyDefinition d;
    d.type = kTypes[(data[0] >> (2 * i)) & 7];
    definitions.push_back(d);
  }
  bdReference<bdBitBuffer> buffer(
      new bdBitBuffer(data + 1, static_cast<unsigned int>(size - 1) * 8, true));
  ProfilePropertyList record;
  record.expect(&definitions);
  if (record.handleResult(1, buffer) && record.values.size() != definitions.size())
    __builtin_trap();
  return 0;
}
