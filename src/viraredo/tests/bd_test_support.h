#pragma once
// Shared helpers for the SDK tests: a subscriber that records every message,
// and a fixture that runs each test inside one core session with the SDK's
// own allocator and checks that the test leaked nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bdCore/bdCore.h"
#include "bdCore/bdLog/bdLogRegistry.h"
#include "bdCore/bdMemory/bdMallocMemory.h"
#include "bdCore/bdUtilities/bdDebug.h"

namespace bdtest {

struct LoggedMessage {
  std::string node;
  std::string function;
  std::string message;
};

class RecordingSubscriber : public bdLogSubscriber {
 public:
  void logMessage(const char* channelName, const char*, const char* function, unsigned int,
                  const char* message) override {
    messages.push_back({channelName, function, message});
  }
  bool saw(const std::string& text) const {
    for (const auto& m : messages) {
      if (m.message.find(text) != std::string::npos) return true;
    }
    return false;
  }
  std::vector<LoggedMessage> messages;
};

inline int& debugStops() {
  static int stops = 0;
  return stops;
}
inline std::string& debugOutput() {
  static std::string text;
  return text;
}

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    debugStops() = 0;
    debugOutput().clear();
    bdSetDebugHandlers([](const char* text) { debugOutput() += text; }, [] { ++debugStops(); });
    bdCore::init(true);
    // Subscribed at the root, the recorder hears every message once.
    bdLogRegistry::getInstance()->addSubscriber("", &log);
  }
  void TearDown() override {
    bdCore::quit();
    EXPECT_EQ(bdMallocMemory::getTotalBytes(), 0u) << debugOutput();
    bdMallocMemory::releaseAll();
    bdSetDebugHandlers(nullptr, nullptr);
  }
  RecordingSubscriber log;
};

}  // namespace bdtest
