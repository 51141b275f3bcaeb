#include "bdNet/bdConnectionStatistics.h"

namespace {
constexpr unsigned int kHeaderBytes = 28;

unsigned int runningAverage(unsigned int average, unsigned int sample) {
  return average == 0 ? sample : (average + sample) / 2;
}
}  // namespace

void bdConnectionStatistics::reset() {
  m_bytesSent = m_sendRate = m_rateAmount = m_rateMark = m_bytesReceived = 0;
  m_avgSentSize = m_avgReceivedSize = m_maxSentSize = m_maxReceivedSize = 0;
  m_minSentSize = m_minReceivedSize = 0xFFFFFFFFu;
  m_packetsSent = m_packetsReceived = 0;
  m_maxRtt = m_avgRtt = 0.0f;
}

void bdConnectionStatistics::addBytesSent(unsigned int size) {
  m_bytesSent += size + kHeaderBytes;
  m_avgSentSize = runningAverage(m_avgSentSize, size);
  if (size > m_maxSentSize) m_maxSentSize = size;
  if (size < m_minSentSize) m_minSentSize = size;
  ++m_packetsSent;
}

void bdConnectionStatistics::addBytesReceived(unsigned int size) {
  m_bytesReceived += size + kHeaderBytes;
  m_avgReceivedSize = runningAverage(m_avgReceivedSize, size);
  if (size > m_maxReceivedSize) m_maxReceivedSize = size;
  if (size < m_minReceivedSize) m_minReceivedSize = size;
  ++m_packetsReceived;
}

void bdConnectionStatistics::addRoundTripSample(float seconds) {
  if (seconds > m_maxRtt) m_maxRtt = seconds;
  m_avgRtt = m_avgRtt == 0.0f ? seconds : (seconds + m_avgRtt) * 0.5f;
}

void bdConnectionStatistics::updateSendRate(float elapsedSeconds) {
  if (!(elapsedSeconds > 0.0f)) return;
  m_rateAmount = (m_rateAmount + (m_bytesSent - m_rateMark)) / 2;
  m_rateMark = m_bytesSent;
  m_sendRate = static_cast<unsigned int>(static_cast<float>(m_rateAmount) / elapsedSeconds);
}
