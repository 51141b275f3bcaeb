// Skin look-ups and border drawing shared by the button, label and edit
// families.
#include <windows.h>

#include "gui/gui_core.h"
#include "gui/widget_skin_reader.h"
#include "gui/win32/gui_widgets1.h"
#include "gui/win32/gui_win32.h"

namespace gui {

PackedDIB* GuiSkinImage(const GuiSkin* skin, uint32_t id) {
  if (!skin || !skin->imageSource || !id) return nullptr;
  return SkinRegistryFindIdDIB(skin->imageSource, id);
}

HPALETTE GuiRealizeSkinPalette(HDC dc) {
  GuiSkin* skin = GuiGetSkin();
  if (!dc || !skin || !skin->palette) return nullptr;
  return GuiSelectRealizePalette(dc, 0, static_cast<HPALETTE>(skin->palette));
}

namespace {

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour, int width) {
  HPEN pen = CreatePen(PS_SOLID, width, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace

void GuiDrawSkinBorder(HWND window, HDC dc, const RECT* r) {
  GuiSkin* skin = GuiGetSkin();
  if (!skin || !dc || !r || skin->borderWidth < 1) return;
  PackedDIB* piece[8];
  bool all = true;
  for (int i = 0; i < 8; ++i) {
    piece[i] = GuiSkinImage(skin, skin->editConfig.imageIds[kEcBorder + i]);
    all = all && piece[i];
  }
  if (all) {
    // Corners and sides from the pieces; sides are tiled along the edges.
    int w = r->right - r->left, h = r->bottom - r->top;
    RECT top{r->left, r->top, r->right, r->top + DIBHeight(piece[1])};
    RECT bottom{r->left, r->bottom - DIBHeight(piece[5]), r->right, r->bottom};
    DIBDrawThreePiece(dc, &top, piece[0], piece[1], piece[2], false);
    DIBDrawThreePiece(dc, &bottom, piece[4], piece[5], piece[6], false);
    RECT left{r->left, top.bottom, r->left + DIBWidth(piece[7]), bottom.top};
    RECT right{r->right - DIBWidth(piece[3]), top.bottom, r->right, bottom.top};
    if (h > 0 && w > 0) {
      DIBTileRect(dc, piece[7], &left);
      DIBTileRect(dc, piece[3], &right);
    }
    return;
  }
  if (skin->edgeProc) {
    DibRect d{r->left, r->top, r->right, r->bottom};
    skin->edgeProc(window, &d, skin, skin->editListColors[0], skin->editListColors[1],
                   skin->borderWidth);
    return;
  }
  int bw = skin->borderWidth;
  for (int i = 0; i < bw; ++i) {
    COLORREF tl = skin->editListColors[0], br = skin->editListColors[1];
    Line(dc, r->left + i, r->bottom - 1 - i, r->left + i, r->top + i, tl, 1);
    Line(dc, r->left + i, r->top + i, r->right - i, r->top + i, tl, 1);
    Line(dc, r->right - 1 - i, r->top + i, r->right - 1 - i, r->bottom - i, br, 1);
    Line(dc, r->left + i, r->bottom - 1 - i, r->right - i, r->bottom - 1 - i, br, 1);
  }
}

}  // namespace gui
