#pragma once
// Matchmaking definitions for tests: a few fields (the toolbox's own slot,
// owner and match fields among them), a query and a game page, written to
// the core's definitions file.
#include <string>
#include <vector>

#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/MatchmakingService/Src/MatchmakingDefinitions.h"

namespace matchmaking_test {

using namespace OX_Toolbox;

inline FlexibleValue Int32(std::int32_t v) {
  FlexibleValue f;
  f.setInt32(v);
  return f;
}

inline FlexibleValue Int64(std::int64_t v) {
  FlexibleValue f;
  f.setInt64(v);
  return f;
}

inline FlexibleValue Text(const char* v) {
  FlexibleValue f;
  f.setString(String(v));
  return f;
}

inline MatchmakingField Field(const char* name, std::int32_t id, std::vector<FlexibleValue> values,
                              std::uint32_t defaultIndex = 0, std::uint32_t categories = 1) {
  MatchmakingField f;
  f.name = String(name);
  f.id = id;
  f.categories = categories;
  for (std::size_t i = 0; i < values.size(); ++i) {
    MatchmakingChoice c;
    c.id = static_cast<std::int32_t>(100 + i);
    c.value = values[i];
    c.label = Text(("choice " + std::to_string(i)).c_str());
    f.choices.push_back(c);
  }
  f.current = f.defaultIndex = defaultIndex;
  return f;
}

constexpr std::int32_t kMaxPlayersId = 0x10000011;
constexpr std::int32_t kGameKindId = 0x10000012;

inline std::vector<MatchmakingField> Fields(std::int32_t publicSlots, std::int32_t privateSlots) {
  return {Field("OLVEX_public_slots", 1, {Int32(publicSlots)}),
          Field("OLVEX_private_slots", 2, {Int32(privateSlots)}),
          Field("OLVEX_ownerID", 3, {Int64(0)}),
          Field("OLVEX_hostName", 4, {Text("")}),
          Field("OLVEX_hasMatchStarted", 5, {Int32(0)}),
          Field("maxPlayers", kMaxPlayersId, {Int32(2), Int32(3), Int32(4)}, 0, 2),
          Field("gameKind", kGameKindId, {Int32(0), Int32(1)}, 0, 4)};
}

inline MatchmakingQuery GamesQuery() {
  MatchmakingQuery q;
  q.id = 1;
  q.name = String("games");
  q.count = 20;
  NamedValueRecordHolder c;
  c.attributeId = kGameKindId;
  c.op = NamedValueRecordHolder::EQUAL;
  c.record.name = String("gameKind");
  c.record.value = Int32(0);
  q.conditions.push_back(c);
  q.fieldIds = {kMaxPlayersId};
  return q;
}

inline void AddDefinitions(RecordList& list, const std::vector<MatchmakingField>& fields) {
  for (const MatchmakingField& f : fields)
    list.add(WriteMatchmakingFieldDefinition(f));
  list.add(WriteMatchmakingQuery(GamesQuery()));
  MatchmakingGamePage page;
  page.id = 7;
  page.name = String("Page");
  page.fieldIds = {kGameKindId, kMaxPlayersId, 999};
  list.add(WriteMatchmakingGamePage(page));
}

// Writes the definitions to the path (the record list is emptied).
inline ERRORID SaveDefinitions(const char* path, std::int32_t publicSlots = 4,
                               std::int32_t privateSlots = 2) {
  RecordList list;
  AddDefinitions(list, Fields(publicSlots, privateSlots));
  return list.saveToFile(path);
}

}  // namespace matchmaking_test
