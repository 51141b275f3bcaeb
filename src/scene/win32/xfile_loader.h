#pragma once
// Reads an X file into a frame tree through D3DX on the framework's device:
// frames, their transforms, and meshes with materials and textures (from
// the scene's texture cache). Negative on failure; what was read stays.
#include <windows.h>

#include <string>

#include "scene/mesh_frame.h"

struct IDirect3DDevice9;

namespace scene {

HRESULT LoadXFile(IDirect3DDevice9* device, MeshFrame* root, const std::string& path);

// Draws a frame and its visible subtree (the opaque subsets, or only the
// translucent ones).
void RenderFrame(IDirect3DDevice9* device, MeshFrame* frame, bool alphaPass);
// The whole tree: opaque subsets, then translucent ones blended.
void RenderTree(IDirect3DDevice9* device, MeshFrame* root);

// Creates a texture from a file (plain, volume or cube), null on failure.
std::shared_ptr<void> LoadTextureFile(const std::string& path);

}  // namespace scene
