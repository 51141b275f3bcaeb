#pragma once
// The networking SDK (and the crypto libraries under it) allocate through
// its memory hooks; the toolbox routes them to its own allocator before the
// first network or crypto use.

namespace OX_Toolbox {

void routeSdkMemoryToToolbox();

}  // namespace OX_Toolbox
