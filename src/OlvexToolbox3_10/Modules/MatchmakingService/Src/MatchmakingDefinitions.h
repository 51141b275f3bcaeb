#pragma once
// The matchmaking records of the definitions file: fields ("MMFD"), queries
// ("MMQY") and game pages ("MMGP"), each a typed byte stream without a
// version. Readers check every value's type and that every counted element
// is really there; a choice index must name a choice. Writers give the form
// the readers take (the build's generator writes the same layout).
#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"

namespace OX_Toolbox {

class TaggedRecord;

constexpr char kFieldTag[4] = {'M', 'M', 'F', 'D'};
constexpr char kQueryTag[4] = {'M', 'M', 'Q', 'Y'};
constexpr char kGamePageTag[4] = {'M', 'M', 'G', 'P'};

// Each false, with `out` unchanged, on a record that does not read whole.
bool ReadMatchmakingFieldDefinition(const TaggedRecord& record, MatchmakingField& out);
bool ReadMatchmakingQuery(const TaggedRecord& record, MatchmakingQuery& out);
bool ReadMatchmakingGamePage(const TaggedRecord& record, MatchmakingGamePage& out);

// New records (null when one cannot be made).
TaggedRecord* WriteMatchmakingFieldDefinition(const MatchmakingField& field);
TaggedRecord* WriteMatchmakingQuery(const MatchmakingQuery& query);
TaggedRecord* WriteMatchmakingGamePage(const MatchmakingGamePage& page);

}  // namespace OX_Toolbox
