#pragma once
// Record files: the 16-byte digest of the payload, the payload length n
// (4 bytes, little-endian), then the n payload bytes scrambled with the
// digest as key. The file is exactly 20 + n bytes long.
#include <cstdint>

#include "Modules/Core/Src/Digest/Md5Digest.h"
#include "Modules/Core/Src/Result/ErrorId.h"

namespace OX_Toolbox {

class PlatformInterface;

// The core's platform object, or a process-wide default one without a core.
PlatformInterface* ToolboxPlatform();

// Scrambles the payload in place. Sets and returns the last result.
ERRORID WriteRecordFile(const RecordFileCodec& codec, unsigned char* payload, std::uint32_t n,
                        const char* path);
// On success *payload is a new buffer the caller frees with ToolboxFree;
// on every failure it is null and *n 0. Sets and returns the last result.
ERRORID ReadRecordFile(const RecordFileCodec& codec, unsigned char** payload, std::uint32_t* n,
                       const char* path);

}  // namespace OX_Toolbox
