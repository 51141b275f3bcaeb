#pragma once
// The friends side's requests to the online service's chat channels: list
// them, join one, leave it, whisper into it. Each is a toolbox task run by
// the core's task manager on the pump thread; its outcome reaches the
// channel listener when the task ends.
#include <cstdint>
#include <string>

#include "online/channel_listener.h"

namespace online {

uint64_t ChannelId64(const ChannelId& channel);
ChannelId ChannelIdFrom64(uint64_t id);

// Any thread: each call takes the online lock, queues one task for the main
// local player and returns its task id; 0 when nothing was queued (no
// toolbox, no task manager).
class ChannelTasks : public ChannelRequests {
 public:
  uint32_t GetChannels(ChannelListener* listener);
  uint32_t SubscribeTo(ChannelListener* listener, const ChannelId& channel);
  uint32_t Unsubscribe(ChannelListener* listener, const ChannelId& channel);
  uint32_t Whisper(ChannelListener* listener, uint64_t channel, uint64_t to, int32_t value,
                   const std::string& text);

  // The listener's follow-up after a listing (pump thread, lock held).
  void Subscribe(ChannelListener* listener, const ChannelId& channel) override {
    SubscribeTo(listener, channel);
  }
};

}  // namespace online
