#include "online/channel_tasks.h"

#include <memory>
#include <vector>

#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "Modules/Services/Src/LobbyTask.h"
#include "Modules/Services/Src/OnlineLink.h"
#include "bdCore/bdUtilities/bdByteBuffer.h"
#include "bdLobbyCommon/bdLobbyResults.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"
#include "online/online_lock.h"

namespace online {

using OX_Toolbox::ERRORID;
using OX_Toolbox::ERRORID_FAILED;
using OX_Toolbox::ERRORID_SUCCEEDED;

uint64_t ChannelId64(const ChannelId& channel) {
  return (uint64_t{channel.word2} << 32) | channel.word1;
}

ChannelId ChannelIdFrom64(uint64_t id) {
  return ChannelId{static_cast<uint32_t>(id), static_cast<uint32_t>(id >> 32)};
}

namespace {

enum ChannelRequest : unsigned char { kSubscribe = 1, kUnsubscribe = 2, kList = 3, kWhisper = 5 };

bdChannelChat* channelChat() {
  bdLobbyServiceImpl* lobby = OX_Toolbox::Lobby();
  return lobby ? lobby->getChannelChat() : nullptr;
}

// The listener hears success or failure only: any refusal, time-out or
// unreadable reply is a failure.
ERRORID Outcome(ERRORID result) { return result == ERRORID_SUCCEEDED ? result : ERRORID_FAILED; }

class ChannelTask : public OX_Toolbox::TaskLobbyRequest {
 public:
  static const OX_Toolbox::ClassTypeInfo s_type;
  const OX_Toolbox::ClassTypeInfo* getType() const override { return &s_type; }

 protected:
  ChannelTask(ChannelListener* listener, uint8_t index) : listener_(listener), index_(index) {}

  ERRORID start(unsigned char request, const bdLobbyArgs& args) {
    bdChannelChat* chat = channelChat();
    if (chat == nullptr) return ERRORID_FAILED;
    return Outcome(this->request().begin(chat->startTask(request, index_, args), 0));
  }
  // Reads the answer into `result` (null: no records).
  ERRORID read(bdQueryResult* result) {
    bdChannelChat* chat = channelChat();
    return chat != nullptr && chat->handleTask(request().task(), result) ? ERRORID_SUCCEEDED
                                                                         : ERRORID_FAILED;
  }

  ChannelListener* listener_;
  uint8_t index_;
};

const OX_Toolbox::ClassTypeInfo ChannelTask::s_type = {"TaskRezovovozOnlineChannel",
                                                       &OX_Toolbox::TaskAtomic::s_type};

class GetChannelsTask : public ChannelTask {
 public:
  GetChannelsTask(ChannelListener* listener, uint8_t index) : ChannelTask(listener, index) {}

 protected:
  ERRORID startRequest() override { return start(kList, bdLobbyArgs()); }
  ERRORID readReply() override { return read(&records_); }
  void notify(ERRORID result) override {
    std::vector<ChannelId> channels;
    for (unsigned int i = 0; i < records_.getNumResults(); ++i)
      channels.push_back(ChannelIdFrom64(records_.getEntry(i).m_userID));
    if (listener_ != nullptr) listener_->onChannelsListed(Outcome(result), channels);
  }

 private:
  bdChannelChatResult records_;
};

class SubscribeTask : public ChannelTask {
 public:
  SubscribeTask(ChannelListener* listener, uint8_t index, const ChannelId& channel)
      : ChannelTask(listener, index), channel_(channel) {}

 protected:
  ERRORID startRequest() override {
    return start(kSubscribe, bdLobbyArgs().u64(ChannelId64(channel_)));
  }
  // The answer is this player's record in the channel; the channel is ours.
  ERRORID readReply() override {
    bdChannelChatResult member;
    return read(&member);
  }
  void notify(ERRORID result) override {
    if (listener_ != nullptr)
      listener_->onChannelSubscribe(Outcome(result), channel_.word1, channel_.word2);
  }

 private:
  ChannelId channel_;
};

class UnsubscribeTask : public ChannelTask {
 public:
  UnsubscribeTask(ChannelListener* listener, uint8_t index, const ChannelId& channel)
      : ChannelTask(listener, index), channel_(channel) {}

 protected:
  ERRORID startRequest() override {
    return start(kUnsubscribe, bdLobbyArgs().u64(ChannelId64(channel_)));
  }
  ERRORID readReply() override { return read(nullptr); }
  void notify(ERRORID result) override {
    if (listener_ != nullptr) listener_->onChannelUnsubscribe(Outcome(result));
  }

 private:
  ChannelId channel_;
};

class WhisperTask : public ChannelTask {
 public:
  WhisperTask(ChannelListener* listener, uint8_t index, uint64_t channel, uint64_t to,
              int32_t value, const std::string& text)
      : ChannelTask(listener, index), channel_(channel), to_(to), value_(value), text_(text) {}

 protected:
  // The text goes with its terminator. The SDK's request carries the two ids
  // and the text only, so the value stays with the task.
  ERRORID startRequest() override {
    bdReference<bdByteBuffer> bytes(new bdByteBuffer(static_cast<unsigned int>(text_.size() + 1)));
    bytes->write(text_.c_str(), static_cast<unsigned int>(text_.size() + 1));
    return start(kWhisper, bdLobbyArgs().u64(channel_).u64(to_).buffer(bytes.get()));
  }
  ERRORID readReply() override { return read(nullptr); }
  void notify(ERRORID result) override {
    text_.clear();
    if (listener_ != nullptr) listener_->onWhisperToChannel(Outcome(result));
  }

 private:
  uint64_t channel_;
  uint64_t to_;
  [[maybe_unused]] int32_t value_;
  std::string text_;
};

// Queues the task for the main local player; 0 when there is nowhere to
// queue it (the task is then deleted).
template <typename MakeTask>
uint32_t Queue(MakeTask make) {
  OnlineLockGuard lock;
  OX_Toolbox::ToolboxCore* core = OX_Toolbox::ToolboxCore::instance();
  if (core == nullptr || core->getTaskManager() == nullptr) return 0;
  const auto index = static_cast<uint8_t>(core->getMainLocalPlayerIndex());
  return core->getTaskManager()->addTask(make(index));
}

}  // namespace

uint32_t ChannelTasks::GetChannels(ChannelListener* listener) {
  return Queue([&](uint8_t index) { return new GetChannelsTask(listener, index); });
}

uint32_t ChannelTasks::SubscribeTo(ChannelListener* listener, const ChannelId& channel) {
  return Queue([&](uint8_t index) { return new SubscribeTask(listener, index, channel); });
}

uint32_t ChannelTasks::Unsubscribe(ChannelListener* listener, const ChannelId& channel) {
  return Queue([&](uint8_t index) { return new UnsubscribeTask(listener, index, channel); });
}

uint32_t ChannelTasks::Whisper(ChannelListener* listener, uint64_t channel, uint64_t to,
                               int32_t value, const std::string& text) {
  return Queue(
      [&](uint8_t index) { return new WhisperTask(listener, index, channel, to, value, text); });
}

}  // namespace online
