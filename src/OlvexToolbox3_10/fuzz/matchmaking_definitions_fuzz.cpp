// Reads arbitrary bytes as the definitions file's record list and every
// record as a matchmaking field, query or game page: counts and indexes in
// them may lie, and what reads must hold to what it claims.
#include <cstddef>
#include <cstdint>

#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"
#include "Modules/MatchmakingService/Src/MatchmakingDefinitions.h"

using namespace OX_Toolbox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 65536) return 0;
  RecordList list;
  list.deserialize(data, static_cast<std::uint32_t>(size));
  // The same bytes as one record of each kind, too.
  for (const char* tag : {kFieldTag, kQueryTag, kGamePageTag})
    list.add(TaggedRecord::create(tag, data, static_cast<std::uint32_t>(size)));
  for (std::size_t i = 0; i < list.size(); ++i) {
    const TaggedRecord& r = *list.at(i);
    MatchmakingField f;
    if (ReadMatchmakingFieldDefinition(r, f) && !f.choices.empty() && !f.currentChoice())
      __builtin_trap();
    MatchmakingQuery q;
    ReadMatchmakingQuery(r, q);
    MatchmakingGamePage p;
    ReadMatchmakingGamePage(r, p);
  }
  MatchmakingConfig config;
  if (config.loadDefinitions(list)) {
    for (const MatchmakingField& f : config.fields())
      f.currentText();
  }
  return 0;
}
