#pragma once
// The palette pack of resource slot 18: a skin image registry loaded from
// the description file the skin names, installed as the resource packs'
// module factory so that slot 18 opens through the toolkit.
namespace shell {

void InstallPalettePackFactory();

}  // namespace shell
