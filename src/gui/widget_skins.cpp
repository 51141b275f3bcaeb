#include "gui/widget_skins.h"

namespace gui {

namespace {

template <size_t N>
void Resolve(SkinRegistry* source, const uint32_t (&ids)[N], PackedDIB* (&images)[N],
             bool identity) {
  for (size_t i = 0; i < N; ++i) {
    images[i] = ids[i] ? SkinRegistryFindIdDIB(source, ids[i]) : nullptr;
    if (identity && images[i] && images[i]->biBitCount == 8) DIBSetIdentityColorTable(images[i]);
  }
}

}  // namespace

int CGUIScrollBarApplySkin(SkinRegistry* source, GuiSkin* skin) {
  if (!skin) return 0;
  auto& g = skin->scroll;
  if (g.loaded) return 1;
  if (!g.present || !source) return 0;
  Resolve(source, g.imageIds, g.images, skin->identity != 0);
  // A track drawn from images needs one for each orientation's normal look.
  g.trackIsImage[0] = g.images[kSbHorizontal + kSbTrack] != nullptr;
  g.trackIsImage[1] = g.images[kSbVertical + kSbTrack] != nullptr;
  const PackedDIB* v = g.images[kSbVertical + kSbFirstArrow];
  const PackedDIB* h = g.images[kSbHorizontal + kSbFirstArrow];
  skin->scrollMetrics.size1 = DIBWidthOf(v);
  skin->scrollMetrics.size2 = DIBHeightOf(v);
  if (h) {
    skin->scrollMetrics.len1 = DIBWidthOf(h);
    skin->scrollMetrics.len2 = DIBHeightOf(h);
  }
  g.loaded = 1;
  g.present = 0;
  return 1;
}

int CGUITabWndApplySkin(SkinRegistry* source, GuiSkin* skin) {
  if (!skin || !source) return 1;
  auto& g = skin->tab;
  if (!g.present || g.loaded) return 1;
  Resolve(source, g.imageIds, g.images, skin->identity != 0);
  g.loaded = 1;
  return 1;
}

}  // namespace gui
