// Reads arbitrary bytes as the session records other machines send: a LAN
// discovery game info and the lobby's search results, with every field of a
// carried type and with a requested field list. No read may step outside the
// data, no text may outgrow it, and a result list never holds more than it
// has room for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Modules/Session/Src/SessionAdvertisement.h"
#include "bdCore/bdCore.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"

using namespace OX_Toolbox;

namespace {

class Fields : public AdvertisedFieldSource {
 public:
  std::vector<AdvertisedField> advertisedFields() const override {
    std::vector<AdvertisedField> list(6);
    const char* names[6] = {"a", kAdvertisedOwnerIdField, "c", "d", "e", kAdvertisedHostNameField};
    for (int i = 0; i < 6; ++i) {
      list[i].id = 10 + i;
      list[i].name = String(names[i]);
    }
    list[0].value.setInt32(1);
    list[1].value.setInt64(2);
    list[2].value.setUInt32(3);
    list[3].value.setUInt64(4);
    list[4].value.setFloat64(5.0);  // never carried
    list[5].value.setString(String("f"));
    return list;
  }
};

void checkTexts(const SessionInfo& info, std::size_t size) {
  for (const SessionInfo::Attribute& a : info.attributes) {
    if (static_cast<std::size_t>(a.second.length()) > size) std::abort();
  }
  if (static_cast<std::size_t>(info.ownerLogin.length()) > size ||
      static_cast<std::size_t>(info.secondText.length()) > size)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 4096) return 0;
  static const Fields* fields = [] {
    bdCore::init(true);
    auto* f = new Fields();
    SetAdvertisedFieldSource(f);
    return f;
  }();
  (void)fields;
  const auto bits = static_cast<unsigned int>(size * 8);

  {
    bdBitBuffer in(data, bits, true);
    SessionGameInfo info;
    info.deserialize(bdReference<bdCommonAddr>(), in);
    checkTexts(info.getSessionInfo(), size);
  }
  // The first byte picks the announced count and whether the search named
  // its fields.
  const unsigned int count = data[0] & 0x1F;
  std::vector<std::int32_t> asked;
  if (data[0] & 0x20) asked = {15, 11, 12};
  if (data[0] & 0x40) asked.push_back(99);  // unknown here
  bdReference<bdBitBuffer> typed(new bdBitBuffer(data + 1, bits - 8, true));
  SessionSearchResultArray results(asked);
  results.handleResult(count, typed);
  if (results.size() > SessionSearchResultArray::kMaxResults || results.size() > count)
    std::abort();
  for (unsigned int i = 0; i < results.size(); ++i)
    checkTexts(results.at(i).getSessionInfo(), size);
  bdReference<bdBitBuffer> again(new bdBitBuffer(data + 1, bits - 8, true));
  SessionSearchResultRef one;
  one.handleResult(count, again);
  checkTexts(one.get().getSessionInfo(), size);
  return 0;
}
