// The remote task manager over a loopback connection: requests come straight
// back, so the test reads them and answers as a server would.
#include <gtest/gtest.h>

#include <vector>

#include "bdNet/bdLoopbackConnection.h"
#include "bdRemoteTaskManager/bdRemoteTaskManager.h"
#include "bdStreamConnection/bdStreamConnection.h"
#include "bd_test_support.h"
#include "lobby_test_support.h"
#include "remote_task_test_support.h"

namespace {

class RemoteTaskTest : public bdtest::LoopbackTaskTest {
 protected:
  bdRemoteTaskRef start(unsigned int expectedCode = 0, float timeout = 0.0f) {
    bdRemoteTaskRef task;
    bdReference<bdBitBuffer> args(new bdBitBuffer(0, true));
    args->writeUInt64(42);
    EXPECT_EQ(manager->startTask(task, 9, 5, args, timeout), expectedCode);
    return task;
  }
  // The slot and id of the next request sent.
  bool nextRequest(unsigned int& slot, unsigned char& id) {
    bdReference<bdMessage> m;
    if (!loop->getMessageToDispatch(m)) return false;
    return bdRemoteTaskManager::readTaskHeader(m->getPayload(), slot, id);
  }
  void reply(unsigned int slot, unsigned char id) {
    bdReference<bdMessage> m(new bdMessage(1, true));
    bdRemoteTaskManager::writeTaskHeader(m->getPayload(), slot, id);
    m->getPayload()->writeUInt32(0);
    m->getPayload()->setReadPosition(1);
    EXPECT_TRUE(manager->handleReply(m));
  }

  bdtest::FakeClock clock;
};

TEST_F(RemoteTaskTest, TenSlotsThenNoFreeSlot) {
  std::vector<bdRemoteTaskRef> tasks;
  for (int i = 0; i < 10; ++i)
    tasks.push_back(start());
  bdRemoteTaskRef none = start(bdRemoteTaskManager::BD_NO_FREE_SLOT);
  EXPECT_TRUE(none.isNull());
  tasks[3]->reset();
  EXPECT_EQ(start().get(), tasks[3].get());
}

TEST_F(RemoteTaskTest, RepliesMatchOnlyTheSlotsLastRequest) {
  for (unsigned int use = 0; use < 300; ++use) {
    bdRemoteTaskRef task = start();
    unsigned int slot = 99;
    unsigned char id = 0;
    ASSERT_TRUE(nextRequest(slot, id));
    ASSERT_EQ(slot, 0u);
    ASSERT_EQ(id, static_cast<unsigned char>(use));  // wraps after 255
    if (use == 299) {
      reply(slot, static_cast<unsigned char>(id - 1));  // the previous request's id
      EXPECT_TRUE(log.saw("Task retrieval failed."));
      EXPECT_EQ(task->getStatus(), bdRemoteTask::BD_PENDING);
    }
    reply(slot, id);
    ASSERT_EQ(task->getStatus(), bdRemoteTask::BD_DONE);
    task->reset();
  }
}

TEST_F(RemoteTaskTest, RefusedRepliesLeaveTasksAlone) {
  bdRemoteTaskRef task = start();
  unsigned int slot = 0;
  unsigned char id = 0;
  ASSERT_TRUE(nextRequest(slot, id));
  reply(10, id);
  EXPECT_TRUE(log.saw("Task retrieval failed."));
  bdReference<bdMessage> bare(new bdMessage(1, true));
  bare->getPayload()->writeUChar8(0);
  bare->getPayload()->setReadPosition(1);
  manager->handleReply(bare);
  EXPECT_TRUE(log.saw("Malformed response message."));
  EXPECT_FALSE(manager->handleReply(new bdMessage(2, true)));
  EXPECT_EQ(task->getStatus(), bdRemoteTask::BD_PENDING);
  task->reset();
  reply(slot, id);  // after a reset the late reply is refused too
  EXPECT_EQ(task->getStatus(), bdRemoteTask::BD_EMPTY);
}

TEST_F(RemoteTaskTest, TimeOutsEndTasksButZeroNeverExpires) {
  bdRemoteTaskRef timed = start(0, 2.0f);
  bdRemoteTaskRef patient = start(0, 0.0f);
  clock.advance(1.9);
  EXPECT_EQ(timed->getStatus(), bdRemoteTask::BD_PENDING);
  clock.advance(0.2);
  EXPECT_EQ(timed->getStatus(), bdRemoteTask::BD_TIMED_OUT);
  EXPECT_TRUE(log.saw("Remote task timed out after 2.000s."));
  clock.advance(1000.0);
  EXPECT_EQ(patient->getStatus(), bdRemoteTask::BD_PENDING);
}

TEST_F(RemoteTaskTest, RequestCarriesHeaderTaskArgumentsAndTrailer) {
  start();
  bdReference<bdMessage> m;
  ASSERT_TRUE(loop->getMessageToDispatch(m));
  EXPECT_EQ(m->getType(), 9);
  bdReference<bdBitBuffer> p = m->getPayload();
  unsigned char slot = 9, id = 9, task = 0;
  std::uint64_t arg = 0;
  std::uint32_t trailer = 1;
  ASSERT_TRUE(p->readUChar8(slot) && p->readUChar8(id) && p->readUChar8(task) &&
              p->readUInt64(arg));
  ASSERT_TRUE(p->readBits(&trailer, 32));
  EXPECT_EQ(task, 5);
  EXPECT_EQ(arg, 42u);
  EXPECT_EQ(trailer, 0u);
  EXPECT_EQ(p->getReadPosition(), p->getNumBitsWritten());
}

TEST_F(RemoteTaskTest, ARefusedSendLeavesTheSlotFree) {
  // A stream connection that never connected refuses every message.
  bdReference<bdStreamConnection> idle(
      new bdStreamConnection(new bdCommonAddr(bdAddr("127.0.0.1:1"))));
  bdRemoteTaskManager refusing(idle);
  bdRemoteTaskRef task;
  EXPECT_EQ(refusing.startTask(task, 3, 1, nullptr, 0.0f), bdRemoteTaskManager::BD_SEND_FAILED);
  EXPECT_TRUE(task.isNull());
  EXPECT_EQ(refusing.getSlot(0)->getStatus(), bdRemoteTask::BD_EMPTY);
}

}  // namespace
