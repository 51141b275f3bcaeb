#pragma once
// What the friends side hears back from the online service's chat channels:
// the outcome of listing, subscribing, leaving and whispering. The channel
// it is subscribed to is remembered (0, 0 when none). Runs on the pump
// thread; it only writes debug lines and starts further requests.
#include <cstdint>
#include <vector>

#include "Modules/Core/Src/Result/ErrorId.h"

namespace online {

struct ChannelId {
  uint32_t word1 = 0;
  uint32_t word2 = 0;
  bool operator==(const ChannelId& o) const { return word1 == o.word1 && word2 == o.word2; }
};

class ChannelListener;

// Starts channel requests (the channel tasks on the toolbox's task manager).
class ChannelRequests {
 public:
  virtual ~ChannelRequests() = default;
  virtual void Subscribe(ChannelListener* listener, const ChannelId& channel) = 0;
};

class ChannelListener {
 public:
  explicit ChannelListener(ChannelRequests* requests) : requests_(requests) {}
  virtual ~ChannelListener() = default;

  virtual void onChannelSubscribe(OX_Toolbox::ERRORID result, uint32_t word1, uint32_t word2);
  virtual void onChannelUnsubscribe(OX_Toolbox::ERRORID result);
  virtual void onWhisperToChannel(OX_Toolbox::ERRORID result);
  // A listing ended: on success the first channel listed is joined at once.
  void onChannelsListed(OX_Toolbox::ERRORID result, const std::vector<ChannelId>& channels);

  ChannelId Subscribed() const { return subscribed_; }

 private:
  ChannelRequests* requests_;
  ChannelId subscribed_;
};

}  // namespace online
