#pragma once
// A window system for the slot registry's tests: windows are numbers, their
// state is kept here and every call is recorded as a line of text.
#include <map>
#include <string>
#include <vector>

#include "ui/window_slots.h"

namespace uitest {

inline ui::SlotWindow Win(intptr_t n) { return reinterpret_cast<ui::SlotWindow>(n); }

class FakeSlotPort : public ui::SlotWindowPort {
 public:
  FakeSlotPort() : previous_(ui::SetSlotWindowPort(this)) {}
  ~FakeSlotPort() override { ui::SetSlotWindowPort(previous_); }

  void Show(ui::SlotWindow w, bool show) override {
    shown[w] = show;
    Log("show " + Id(w) + (show ? " 1" : " 0"));
  }
  void Enable(ui::SlotWindow w, bool enable) override {
    Log("enable " + Id(w) + (enable ? " 1" : " 0"));
  }
  ui::SlotRect WindowRect(ui::SlotWindow w) override { return rects[w]; }
  ui::SlotRect ClientRect(ui::SlotWindow) override { return client; }
  void DesktopSize(int32_t* w, int32_t* h) override { *w = width, *h = height; }
  void BeginMoves(int) override { Log("begin"); }
  void Move(ui::SlotWindow w, const ui::SlotRect& r, uint32_t flags) override {
    Log("move " + Id(w) + " " + Rect(r) + " " + std::to_string(flags));
  }
  void EndMoves() override { Log("end"); }
  void SetPos(ui::SlotWindow w, const ui::SlotRect& r, uint32_t flags) override {
    Log("setpos " + Id(w) + " " + Rect(r) + " " + std::to_string(flags));
  }
  intptr_t Send(ui::SlotWindow w, uint32_t m, uintptr_t, intptr_t) override {
    Log("send " + Id(w) + " " + std::to_string(m));
    return sendAnswer;
  }
  bool Post(ui::SlotWindow w, uint32_t m, uintptr_t, intptr_t) override {
    Log("post " + Id(w) + " " + std::to_string(m));
    return true;
  }
  void CheckButton(ui::SlotWindow, int id, bool checked) override {
    Log("check " + std::to_string(id) + (checked ? " 1" : " 0"));
  }
  void Destroy(ui::SlotWindow w) override { Log("destroy " + Id(w)); }
  void RepaintAll() override { Log("repaint"); }
  void Invalidate(ui::SlotWindow w) override { Log("invalidate " + Id(w)); }
  bool SetSizingBorder(ui::SlotWindow w, bool sizable) override {
    Log("border " + Id(w) + (sizable ? " 1" : " 0"));
    return true;
  }
  void RelayoutPlayers(ui::SlotWindow) override { Log("players"); }

  // The calls since the last Take.
  std::vector<std::string> Take() { return std::move(calls); }

  std::vector<std::string> calls;
  std::map<ui::SlotWindow, bool> shown;
  std::map<ui::SlotWindow, ui::SlotRect> rects;
  ui::SlotRect client{0, 0, 800, 560};
  int32_t width = 1024, height = 768;
  intptr_t sendAnswer = 0;

 private:
  static std::string Id(ui::SlotWindow w) { return std::to_string(reinterpret_cast<intptr_t>(w)); }
  static std::string Rect(const ui::SlotRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
  }
  void Log(const std::string& s) { calls.push_back(s); }
  ui::SlotWindowPort* previous_;
};

}  // namespace uitest
