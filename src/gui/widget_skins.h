#pragma once
// Skin loaders of the scroll-bar and tab families: the image ids of their
// groups become the registry's images (borrowed, never freed by the skin).
// GuiApplySkin calls them in the family order.
#include "gui/gui_skin.h"

namespace gui {

// 1 when the group is loaded (at once when it already was), 0 when the
// group is not marked for loading. Also stores the bar sizes the combo box
// and the widgets read.
int CGUIScrollBarApplySkin(SkinRegistry* source, GuiSkin* skin);
// Resolves the tab pieces, the page texture and the strip; 1.
int CGUITabWndApplySkin(SkinRegistry* source, GuiSkin* skin);

}  // namespace gui
