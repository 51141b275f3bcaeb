// Runs the test lobby server on 127.0.0.1 until interrupted:
//   lobbyserver [port] [48 hex digits of the test key]
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bdCore/bdCore.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "lobbyServer.h"

int main(int argc, char** argv) {
  unsigned short port = 0;
  unsigned char key[lobbyserver::LobbyServer::KEY_SIZE] = {};
  if (argc > 1) port = static_cast<unsigned short>(std::atoi(argv[1]));
  if (argc > 2) {
    if (std::strlen(argv[2]) != 2 * sizeof key) {
      std::fprintf(stderr, "the key is 48 hex digits\n");
      return 2;
    }
    for (unsigned int i = 0; i < sizeof key; ++i) {
      unsigned int byte = 0;
      if (std::sscanf(argv[2] + 2 * i, "%2x", &byte) != 1) {
        std::fprintf(stderr, "the key is 48 hex digits\n");
        return 2;
      }
      key[i] = static_cast<unsigned char>(byte);
    }
  }
  bdCore::init(true);
  lobbyserver::LobbyServer server(key);
  if (!server.start(port)) {
    std::fprintf(stderr, "cannot listen on 127.0.0.1:%u\n", port);
    bdCore::quit();
    return 1;
  }
  std::printf("lobby server on 127.0.0.1:%u\n", server.getPort());
  std::fflush(stdout);
  for (;;) {
    server.pump();
    bdPlatformTiming::sleep(1);
  }
}
