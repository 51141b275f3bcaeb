#pragma once
// Strict reads for data that comes from another machine: every value must be
// there with its own type code, texts must fit a String, and binary blocks
// must have the size the layout fixes. A failed read returns false; callers
// give up on the whole message.
#include <cstdint>

#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"

namespace OX_Toolbox {
namespace wire {

bool read(Blob& b, std::int8_t& v);
bool read(Blob& b, std::uint8_t& v);
bool read(Blob& b, std::uint16_t& v);
bool read(Blob& b, std::int32_t& v);
bool read(Blob& b, std::uint32_t& v);
bool read(Blob& b, std::int64_t& v);
bool read(Blob& b, std::uint64_t& v);
bool read(Blob& b, bool& v);
bool read(Blob& b, String& v);
bool read(Blob& b, PlayerID& v);
// A binary block of at least `n` bytes whose first `n` are copied to out;
// with `exact`, a block of any other size is refused.
bool readBlock(Blob& b, std::uint8_t* out, std::uint32_t n, bool exact);

}  // namespace wire
}  // namespace OX_Toolbox
