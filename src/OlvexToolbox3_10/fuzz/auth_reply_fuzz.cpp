// Runs the authentication service's reply handlers over arbitrary replies:
// certificate, challenge and ticket replies come from a server the client
// has not yet proved, so no length or count in them may be trusted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Modules/AccountService/Src/Driver/Rezovovoz/OlvexAuthService.h"
#include "Modules/NetworkService/Src/SdkMemory.h"

using namespace OX_Toolbox;

namespace {

OlvexAuthService* service() {
  static OlvexAuthService* s = [] {
    routeSdkMemoryToToolbox();
    if (auth::registerAll() != auth::kOk) std::abort();
    auth::Random random;
    if (random.make() != auth::kOk) std::abort();
    rsa_key key;
    if (rsa_make_key(&random.state, random.index, 128, 65537, &key) != auth::kOk) std::abort();
    std::vector<unsigned char> der(1024);
    unsigned long n = der.size();
    if (rsa_export(der.data(), &n, PK_PUBLIC, &key) != auth::kOk) std::abort();
    rsa_free(&key);
    auto* made =
        new OlvexAuthService(der.data(), n, "a", "b", "c", bdAddr(bdInetAddr::getLoopback(), 1));
    return made;
  }();
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > 16384) return 0;
  OlvexAuthService* s = service();
  const unsigned char type = static_cast<unsigned char>(4 + 2 * (data[0] % 3));
  bdReference<bdMessage> reply(
      new bdMessage(type, data + 1, static_cast<unsigned int>(size - 1), true));
  std::uint32_t result = 0;
  switch (type) {
    case 4:
      result = s->handleCertificate(*reply);
      break;
    case 6:
      result = s->handleChallenge(*reply);
      break;
    default:
      result = s->handleTicket(*reply);
      break;
  }
  (void)result;
  return 0;
}
