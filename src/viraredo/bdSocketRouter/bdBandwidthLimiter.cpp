#include "bdSocketRouter/bdBandwidthLimiter.h"

#include <limits>

void bdBandwidthLimiter::consume(unsigned int bytes) {
  // Saturates instead of wrapping round to a large allowance.
  const std::int64_t left = static_cast<std::int64_t>(m_allowance) - bytes;
  m_allowance = left < std::numeric_limits<std::int32_t>::min()
                    ? std::numeric_limits<std::int32_t>::min()
                    : static_cast<std::int32_t>(left);
  m_used = 1;
}

void bdBandwidthLimiter::refill(unsigned int amount) {
  const std::int64_t share = amount == 0 ? 0 : static_cast<std::int64_t>(m_allowance) / amount;
  const bool full = amount != 0 && share >= 2;
  const bool idle = m_allowance >= 1 && m_used == 0;
  if (!full && !idle) {
    const std::int64_t sum = static_cast<std::int64_t>(m_allowance) + amount;
    m_allowance = sum > std::numeric_limits<std::int32_t>::max()
                      ? std::numeric_limits<std::int32_t>::max()
                      : static_cast<std::int32_t>(sum);
  }
  m_used = 0;
}
