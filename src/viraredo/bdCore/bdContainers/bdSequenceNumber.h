#pragma once
// Packet sequence numbers: signed 32-bit, -1 when not set. They travel
// truncated to a few bits and are widened again near a reference.
#include <cstdint>

class bdSequenceNumber {
 public:
  bdSequenceNumber() : m_seqNum(-1) {}
  explicit bdSequenceNumber(const int value) : m_seqNum(value) {}
  bdSequenceNumber(const bdSequenceNumber& reference, const unsigned int value,
                   const unsigned int bits);

  // Widens a bits-wide value (1 to 31 bits) to the sequence number nearest the reference.
  void set(const bdSequenceNumber& reference, const unsigned int value, const unsigned int bits);
  int getValue() const { return m_seqNum; }
  bool isSet() const { return m_seqNum >= 0; }

  bdSequenceNumber operator+(const int n) const { return bdSequenceNumber(m_seqNum + n); }
  bdSequenceNumber& operator+=(const int n) {
    m_seqNum += n;
    return *this;
  }
  int operator-(const bdSequenceNumber& other) const { return m_seqNum - other.m_seqNum; }
  bdSequenceNumber& operator++() {
    ++m_seqNum;
    return *this;
  }
  bdSequenceNumber operator++(int) {
    bdSequenceNumber old(*this);
    ++m_seqNum;
    return old;
  }
  bool operator<(const bdSequenceNumber& o) const { return m_seqNum < o.m_seqNum; }
  bool operator>(const bdSequenceNumber& o) const { return m_seqNum > o.m_seqNum; }
  bool operator<=(const bdSequenceNumber& o) const { return m_seqNum <= o.m_seqNum; }
  bool operator>=(const bdSequenceNumber& o) const { return m_seqNum >= o.m_seqNum; }
  bool operator==(const bdSequenceNumber& o) const { return m_seqNum == o.m_seqNum; }
  bool operator!=(const bdSequenceNumber& o) const { return m_seqNum != o.m_seqNum; }

 private:
  std::int32_t m_seqNum;
};

// Which of the last 32 sequence numbers were seen, for replay protection.
class bdReplayWindow {
 public:
  enum Result {
    BD_RW_TOO_OLD = -2,
    BD_RW_OLDER_UNSEEN = -1,
    BD_RW_DUPLICATE = 0,
    BD_RW_NEWER = 1,
    BD_RW_NEWER_RESTART = 2,
  };

  bdReplayWindow() : m_mask(0), m_last(0) {}
  explicit bdReplayWindow(const bdSequenceNumber& first) : m_mask(0), m_last(first) {}
  bdReplayWindow(const bdSequenceNumber& last, std::uint32_t mask) : m_mask(mask), m_last(last) {}

  int update(const bdSequenceNumber& seq);
  std::uint32_t getMask() const { return m_mask; }
  const bdSequenceNumber& getLast() const { return m_last; }

 private:
  std::uint32_t m_mask;
  bdSequenceNumber m_last;
};
