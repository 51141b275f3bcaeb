#pragma once
// The board scene on the window side: the device for the board window, the
// model loaded through D3DX, the background picture and one frame drawn and
// shown. The portable scene (frame table, camera, grids) is in board_scene.h.
#include <windows.h>

#include <string>

namespace scene {

// Once per board window: the device (the texture cache and device
// callbacks), the camera for the window's size, the X-file loader. False
// when no device could be made.
bool InitBoardView(HWND window);
// Releases the textures, the scene, the camera and the device.
void ReleaseBoardScene3D();
bool HasD3DDevice();
HWND GetBoardWindow();

// name + ".tga", from the texture cache; with load false only the name is
// kept for later.
void SetSceneBackground(const std::string& name, bool load);
// The view follows the board window's new size.
void SetBoardViewSize(int width, int height);

void ClearDepthBuffer();
// One frame of the scene; nothing without a device or when BeginScene fails.
void RenderBoardScene();
// Shows the frame; false while the device is lost (drawn again later).
bool PresentFrame();
// True when the scene changed or a tile is sliding: an idle board draws
// nothing.
bool BoardFrameDue();
void InvalidateBoardView();

}  // namespace scene
