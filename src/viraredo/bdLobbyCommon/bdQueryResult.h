#pragma once
// The bases of lobby results and records. A result object reads the records
// a reply carries; a record writes itself into a request and reads itself
// back from a reply.
#include "bdCore/bdContainers/bdReference.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"

class bdQueryResult {
 public:
  virtual ~bdQueryResult() = default;
  virtual bool handleResult(const unsigned int count, bdReference<bdBitBuffer> buffer) = 0;
  unsigned int getNumResults() const { return m_numResults; }

 protected:
  unsigned int m_numResults = 0;
};

class bdSerializable {
 public:
  virtual ~bdSerializable() = default;
  virtual void serialize(bdBitBuffer&) const {}
  virtual bool deserialize(bdReference<bdBitBuffer>) { return false; }
};
