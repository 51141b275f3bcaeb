#pragma once

// Whoever wants the SDK's messages attaches one of these to a node of the log tree.
class bdLogSubscriber {
 public:
  virtual ~bdLogSubscriber() = default;
  virtual void logMessage(const char* channelName, const char* file, const char* function,
                          unsigned int line, const char* message) = 0;
};
