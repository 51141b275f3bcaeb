#pragma once
// The process-wide last result: every toolbox operation ends by setting it,
// the caller reads it with get(). A single static object, so operations that
// run before the core exists (record files, tests) still have somewhere to
// report.
#include "Modules/Core/Src/Result/ErrorId.h"

namespace OX_Toolbox {

class ToolboxResult {
 public:
  void set(ERRORID code) {
    m_code = code;
    m_read = false;
  }
  ERRORID get() {
    m_read = true;
    return m_code;
  }
  void clearRead() { m_read = false; }
  void markRead() { m_read = true; }
  bool isRead() const { return m_read; }
  bool isSucceeded() {
    m_read = true;
    return m_code == ERRORID_SUCCEEDED;
  }
  bool isFailed() { return !isSucceeded(); }
  void reset() {
    m_code = ERRORID_INVALID;
    m_read = true;
  }

 private:
  ERRORID m_code = ERRORID_INVALID;
  bool m_read = true;
};

ToolboxResult& LastResult();

}  // namespace OX_Toolbox
