#include "online/channel_listener.h"

#include "online/online_window_port.h"

namespace online {

using OX_Toolbox::ERRORID_SUCCEEDED;

void ChannelListener::onChannelSubscribe(OX_Toolbox::ERRORID result, uint32_t word1,
                                         uint32_t word2) {
  if (result == ERRORID_SUCCEEDED) {
    OnlineDebugOutput("onChannelSubscribe: SUCCESS\n");
    subscribed_ = ChannelId{word1, word2};
  } else {
    OnlineDebugOutput("onChannelSubscribe: ERROR\n");
    subscribed_ = ChannelId{};
  }
}

void ChannelListener::onChannelUnsubscribe(OX_Toolbox::ERRORID result) {
  if (result == ERRORID_SUCCEEDED) {
    OnlineDebugOutput("onChannelUnsubscribe: SUCCESS\n");
    subscribed_ = ChannelId{};
  } else {
    OnlineDebugOutput("onChannelUnsubscribe: FAILED\n");
  }
}

void ChannelListener::onWhisperToChannel(OX_Toolbox::ERRORID result) {
  OnlineDebugOutput(result == ERRORID_SUCCEEDED ? "onWhisperToChannel: SUCCESS\n"
                                                : "onWhisperToChannel: FAILED\n");
}

void ChannelListener::onChannelsListed(OX_Toolbox::ERRORID result,
                                       const std::vector<ChannelId>& channels) {
  if (result != ERRORID_SUCCEEDED || channels.empty() || requests_ == nullptr) return;
  requests_->Subscribe(this, channels.front());
}

}  // namespace online
