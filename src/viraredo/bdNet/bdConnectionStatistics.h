#pragma once
// Per-connection traffic counters kept by the store and the connections.

class bdConnectionStatistics {
 public:
  bdConnectionStatistics() { reset(); }
  void reset();
  void addBytesSent(unsigned int datagramSize);
  void addBytesReceived(unsigned int datagramSize);
  void addRoundTripSample(float seconds);
  // Does nothing unless elapsed seconds are above 0.
  void updateSendRate(float elapsedSeconds);

  unsigned int getPacketsSent() const { return m_packetsSent; }
  unsigned int getPacketsReceived() const { return m_packetsReceived; }
  float getAvgRoundTripTime() const { return m_avgRtt; }

  unsigned int m_bytesSent;
  unsigned int m_sendRate;
  unsigned int m_rateAmount;
  unsigned int m_rateMark;
  unsigned int m_bytesReceived;
  unsigned int m_avgSentSize;
  unsigned int m_avgReceivedSize;
  unsigned int m_maxSentSize;
  unsigned int m_minSentSize;
  unsigned int m_maxReceivedSize;
  unsigned int m_minReceivedSize;
  unsigned int m_packetsSent;
  unsigned int m_packetsReceived;
  float m_maxRtt;
  float m_avgRtt;
};
