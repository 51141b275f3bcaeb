// In-memory dialog templates for the window tests: one dialog class, a
// title, an optional font and one item per control, each naming its class.
#pragma once

#include <windows.h>

#include <vector>

namespace tess_test {

struct DialogItem {
  const char* cls;
  DWORD style;  // WS_CHILD | WS_VISIBLE are added
  short x, y, cx, cy;
  WORD id;
  const char* text = "";
};

struct DialogShape {
  const char* cls;  // the dialog's window class
  const char* title;
  DWORD style;  // DS_SETFONT is added when a face is given
  short cx, cy;
  const char* face = nullptr;
  WORD points = 0;
};

inline void PutTemplateString(std::vector<WORD>& t, const char* s) {
  for (; *s; ++s)
    t.push_back(static_cast<WORD>(static_cast<unsigned char>(*s)));
  t.push_back(0);
}

inline std::vector<WORD> BuildDialogTemplate(const DialogShape& shape,
                                             const std::vector<DialogItem>& items) {
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / 2, 0);
  auto* d = reinterpret_cast<DLGTEMPLATE*>(t.data());
  d->style = shape.style | (shape.face ? DS_SETFONT : 0);
  d->cdit = static_cast<WORD>(items.size());
  d->cx = shape.cx;
  d->cy = shape.cy;
  t.push_back(0);  // no menu
  PutTemplateString(t, shape.cls);
  PutTemplateString(t, shape.title);
  if (shape.face) {
    t.push_back(shape.points);
    PutTemplateString(t, shape.face);
  }
  for (const DialogItem& i : items) {
    if (t.size() % 2) t.push_back(0);  // DWORD alignment
    const size_t at = t.size();
    t.resize(at + sizeof(DLGITEMTEMPLATE) / 2, 0);
    auto* it = reinterpret_cast<DLGITEMTEMPLATE*>(&t[at]);
    it->style = i.style | WS_CHILD | WS_VISIBLE;
    it->x = i.x;
    it->y = i.y;
    it->cx = i.cx;
    it->cy = i.cy;
    it->id = i.id;
    PutTemplateString(t, i.cls);
    PutTemplateString(t, i.text);
    t.push_back(0);  // no creation data
  }
  return t;
}

}  // namespace tess_test
