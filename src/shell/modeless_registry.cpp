#include "shell/modeless_registry.h"

#include <algorithm>
#include <vector>

namespace shell {
namespace {

struct Entry {
  void* dialog;
  int32_t countdown;
};

struct Registry {
  CountedLock lock;
  std::vector<Entry> entries;  // newest first
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

DialogWindowOps* g_ops = nullptr;
int32_t g_modalDepth = 0;

std::vector<void*> Snapshot() {
  Registry& r = TheRegistry();
  ScopedCountedLock guard(r.lock);
  std::vector<void*> out;
  out.reserve(r.entries.size());
  for (const Entry& e : r.entries)
    out.push_back(e.dialog);
  return out;
}

}  // namespace

DialogWindowOps* SetDialogWindowOps(DialogWindowOps* ops) {
  DialogWindowOps* previous = g_ops;
  g_ops = ops;
  return previous;
}

int RegisterModelessDialog(void* dialog, int32_t countdown) {
  if (!dialog) return 0;
  Registry& r = TheRegistry();
  ScopedCountedLock guard(r.lock);
  int32_t stored = countdown == kNoCountdown ? kNoCountdown : countdown + 1;
  r.entries.insert(r.entries.begin(), Entry{dialog, stored});
  return 0;
}

int UnregisterModelessDialog(void* dialog) {
  if (!dialog) return 0;
  Registry& r = TheRegistry();
  ScopedCountedLock guard(r.lock);
  auto it = std::find_if(r.entries.begin(), r.entries.end(),
                         [dialog](const Entry& e) { return e.dialog == dialog; });
  if (it != r.entries.end()) r.entries.erase(it);
  return 1;
}

bool DispatchModelessDialogMessage(void* message) {
  if (!g_ops) return false;
  for (void* dialog : Snapshot())
    if (g_ops->IsWindow(dialog) && g_ops->IsDialogMessage(dialog, message)) return true;
  return false;
}

void ModelessDialogTick() {
  std::vector<void*> due;
  {
    Registry& r = TheRegistry();
    ScopedCountedLock guard(r.lock);
    for (Entry& e : r.entries) {
      if (e.countdown == kNoCountdown) continue;
      // Keeps falling past zero (never back to the no-countdown mark), so
      // the request repeats until the dialog goes.
      if (e.countdown > kNoCountdown + 1) --e.countdown;
      if (e.countdown < 1) due.push_back(e.dialog);
    }
  }
  if (!g_ops) return;
  for (void* dialog : due)
    if (g_ops->IsWindow(dialog)) g_ops->PostTimeout(dialog);
}

size_t ModelessDialogCount() {
  Registry& r = TheRegistry();
  ScopedCountedLock guard(r.lock);
  return r.entries.size();
}

intptr_t RunModalDialog(UiEnableFn enableUi, ModalRunFn run, void* context) {
  bool disabledHere = enableUi && enableUi(0) == 1;
  ++g_modalDepth;
  intptr_t result = run ? run(context) : -1;
  --g_modalDepth;
  if (disabledHere && g_modalDepth == 0) enableUi(1);
  return result;
}

int32_t ModalDialogDepth() { return g_modalDepth; }

}  // namespace shell
