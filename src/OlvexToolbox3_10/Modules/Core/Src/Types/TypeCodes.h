#pragma once
// Type codes of the typed byte stream, blob modes and connection types. The
// numbers are fixed: they are written into blobs and published to scripts.
#include <cstdint>

namespace OX_Toolbox {

enum TypeCode : std::uint8_t {
  UNKNOWN_TYPE = 0,
  OX_BLOB = 1,
  OX_INT8 = 2,
  OX_UINT8 = 3,
  OX_INT16 = 4,
  OX_UINT16 = 5,
  OX_INT32 = 6,
  OX_UINT32 = 7,
  OX_INT64 = 8,
  OX_UINT64 = 9,
  OX_STRING = 10,
  OX_BOOL = 11,
  OX_BINARYBLOCK = 12,
  OX_FLEXIBLEVALUE = 13,
  OX_FLOAT32 = 14,
  OX_FLOAT64 = 15,
  MAX_TYPE = 16,
};

enum BlobMode : std::int32_t {
  BLOB_EXTRACT_AND_WRITE_ENABLED = 0,
  BLOB_READONLY = 1,
};

enum ConnectionType : std::int32_t {
  CONNECTIONTYPE_INVALID = 0,
  CONNECTIONTYPE_LAN = 1,
  CONNECTIONTYPE_ONLINE = 2,
};

}  // namespace OX_Toolbox
