#include "bdMatchMaking/bdMatchMaking.h"

bdRemoteTaskRef bdMatchMaking::startTask(const unsigned char index, const bdSerializable* record,
                                         const unsigned char taskID) {
  bdReference<bdBitBuffer> buffer(new bdBitBuffer(0, true));
  buffer->writeUChar8(index);
  if (record != nullptr) {
    record->serialize(*buffer);
    const unsigned char zero[2] = {0, 0};
    buffer->writeBits(zero, 16);
  }
  return startWritten(taskID, buffer);
}
