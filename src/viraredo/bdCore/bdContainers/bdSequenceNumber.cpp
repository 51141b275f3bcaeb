#include "bdCore/bdContainers/bdSequenceNumber.h"

#include "bdCore/bdLog/bdLog.h"

bdSequenceNumber::bdSequenceNumber(const bdSequenceNumber& reference, const unsigned int value,
                                   const unsigned int bits)
    : m_seqNum(-1) {
  set(reference, value, bits);
}

void bdSequenceNumber::set(const bdSequenceNumber& reference, const unsigned int value,
                           const unsigned int bits) {
  if (bits == 0 || bits > 31) {
    bdAssertMsg("Sequence number width must be 1 to 31 bits.");
    m_seqNum = static_cast<std::int32_t>(value & 0x7FFFFFFF);
    return;
  }
  const std::int64_t window = std::int64_t{1} << bits;
  const std::int64_t half = window / 2;
  std::int64_t v = value;
  if (v >= window) {
    bdAssertMsg("Sequence number given outside the range.");
    v %= window;
  }
  const std::int64_t ref = reference.m_seqNum;
  if (ref < 0) {
    m_seqNum = static_cast<std::int32_t>(v);
    return;
  }
  const std::int64_t low = ref % window;
  const std::int64_t base = ref - low;
  std::int64_t result = base + v;
  if (low == v) {
    result = ref;
  } else if ((v > low ? v - low : low - v) == half) {
    bdLogWarn("bdCore/bdContainers/sequenceNumber",
              "Sequence numbers are too far away and cannot be compared.");
  } else if (v > low && v - low > half) {
    result = base - window + v;  // the previous turn of the window
  } else if (v < low && low - v > half) {
    result = base + window + v;  // the next turn
  }
  m_seqNum = static_cast<std::int32_t>(result);
}

int bdReplayWindow::update(const bdSequenceNumber& seq) {
  if (seq > m_last) {
    const std::int64_t distance = static_cast<std::int64_t>(seq.getValue()) - m_last.getValue();
    m_mask = distance >= 32 ? 1u : ((m_mask << distance) | 1u);
    m_last = seq;
    return distance >= 32 ? BD_RW_NEWER_RESTART : BD_RW_NEWER;
  }
  const std::int64_t distance = static_cast<std::int64_t>(m_last.getValue()) - seq.getValue();
  if (distance >= 32) return BD_RW_TOO_OLD;
  const std::uint32_t bit = 1u << distance;
  if ((m_mask & bit) != 0) return BD_RW_DUPLICATE;
  m_mask |= bit;
  return BD_RW_OLDER_UNSEEN;
}
