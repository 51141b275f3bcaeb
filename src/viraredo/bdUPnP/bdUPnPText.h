#pragma once
// Reading what routers send: the location in an SSDP answer, the control URL
// in a device description, and the owner in a mapping query reply. Every
// text is zero-terminated; whatever it holds, reads stay inside it and every
// result fits the room given.
#include "bdSocket/bdAddr.h"

class bdUPnPText {
 public:
  enum LocationResult {
    LOCATION_OK,
    LOCATION_NO_URL,
    LOCATION_NO_PATH,
    LOCATION_BAD_HOST,
    LOCATION_NO_CARRIAGE_RETURN,
    LOCATION_BAD_PATH,
  };
  enum DescriptionResult {
    DESCRIPTION_OK,
    DESCRIPTION_BAD_URLBASE,
    DESCRIPTION_NO_SERVICE,
    DESCRIPTION_BAD_CONTROL_URL,
  };
  enum QueryResult { QUERY_NO_MAPPING, QUERY_MAPPED, QUERY_MALFORMED };

  // The router's address and the description's path ("/..."), which must be
  // printable and shorter than pathSize.
  static LocationResult parseLocation(const char* answer, bdAddr& addr, char* path,
                                      unsigned int pathSize);
  // The control path of the WAN IP (isIP) or else WAN PPP connection service;
  // a URLBase or an absolute control URL replaces addr.
  static DescriptionResult parseDescription(const char* text, bdAddr& addr, bool& isIP, char* path,
                                            unsigned int pathSize);
  // Whether a mapping exists and, when it does, the client it points to.
  static QueryResult parseQueryReply(const char* text, bdInetAddr& client);
  static bool isSuccess(const char* text);
};
