#pragma once
// Our small device framework: one Direct3D 9 device for one target window,
// a timer, the frame-needed flag and lost-device recovery.
//
// Under Wine, Direct3D output on a child window is not shown, so the device
// renders into a hidden top-level window of its own and each frame is copied
// into the target window through GDI (render-target data into a
// system-memory surface, then SetDIBitsToDevice). On Windows the device
// presents into the target window directly.
#include <windows.h>

#include <d3d9.h>

namespace scene {

struct DeviceCallbacks {
  // Whether a device with these formats is good enough.
  bool (*isAcceptable)(const D3DCAPS9& caps, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                       bool windowed) = nullptr;
  bool (*modifySettings)(D3DPRESENT_PARAMETERS& params) = nullptr;
  HRESULT (*created)(IDirect3DDevice9* device) = nullptr;
  HRESULT (*reset)(IDirect3DDevice9* device) = nullptr;
  void (*lost)() = nullptr;
  void (*destroyed)() = nullptr;
};

class D3DFramework {
 public:
  ~D3DFramework() { Destroy(); }

  void SetCallbacks(const DeviceCallbacks& callbacks) { callbacks_ = callbacks; }
  // The device for a target window (its client area's size unless given).
  bool Create(HWND target, int width, int height, bool fullScreen);
  void Destroy();
  IDirect3DDevice9* Device() const { return device_; }
  HWND Target() const { return target_; }
  bool CopiesThroughGdi() const { return copyThroughGdi_; }
  int Width() const { return static_cast<int>(params_.BackBufferWidth); }
  int Height() const { return static_cast<int>(params_.BackBufferHeight); }

  // A new back-buffer size (the device is reset).
  bool Resize(int width, int height);
  // Shows the frame drawn. False while the device is lost; one reset is
  // tried per call, so the caller's loop keeps running and draws again
  // once the device is back.
  bool Present();
  // Seconds since the device was created.
  double Time() const;

  // Frames are drawn only when something changed or an animation runs.
  void Invalidate() { dirty_ = true; }
  bool NeedsFrame() const { return dirty_; }
  void FrameShown() { dirty_ = false; }

  static bool RunningOnWine();

 private:
  bool CopyToTarget();
  bool ResetDevice();
  void ReleaseCopySurface();

  DeviceCallbacks callbacks_;
  IDirect3D9* d3d_ = nullptr;
  IDirect3DDevice9* device_ = nullptr;
  IDirect3DSurface9* copy_ = nullptr;
  HWND target_ = nullptr;
  HWND deviceWindow_ = nullptr;  // ours, under Wine
  bool copyThroughGdi_ = false;
  bool dirty_ = true;
  D3DPRESENT_PARAMETERS params_{};
  LARGE_INTEGER start_{}, frequency_{};
};

// The board view's framework.
D3DFramework& GetD3DFramework();

}  // namespace scene
