#pragma once
// The byte allowance that NAT traversal and QoS probing share on a router:
// they send while it is positive and are charged for what they send.
#include <cstdint>

class bdBandwidthLimiter {
 public:
  // What each datagram costs beyond its own bytes (IP and UDP headers).
  static constexpr unsigned int DATAGRAM_OVERHEAD = 28;

  bdBandwidthLimiter() : m_allowance(0), m_used(0) {}
  // The byte count is not compared: a positive allowance lets any datagram go.
  bool canSend(unsigned int) const { return m_allowance > 0; }
  void consume(unsigned int bytes);
  // Adds the amount unless the allowance is twice the amount or more, or is
  // positive and was not drawn on since the last refill.
  void refill(unsigned int amount);
  std::int32_t getAllowance() const { return m_allowance; }

 private:
  std::int32_t m_allowance;
  std::uint8_t m_used;
};
