#pragma once
// A fixture for tests of the remote task layer: the manager sends over a
// loopback connection, so each request can be read back and answered by hand.
#include <memory>

#include "bdNet/bdLoopbackConnection.h"
#include "bdRemoteTaskManager/bdRemoteTaskManager.h"
#include "bd_test_support.h"

namespace bdtest {

class LoopbackTaskTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    loop = new bdLoopbackConnection(new bdCommonAddr(bdAddr("127.0.0.1:1")));
    manager.reset(new bdRemoteTaskManager(loop));
  }
  // The manager and connection go before the core session checks for leaks.
  void TearDown() override {
    manager.reset();
    loop = nullptr;
    CoreTest::TearDown();
  }

  bdReference<bdLoopbackConnection> loop;
  std::unique_ptr<bdRemoteTaskManager> manager;
};

}  // namespace bdtest
