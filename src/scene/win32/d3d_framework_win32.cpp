#include "d3d_framework.h"

namespace scene {

namespace {

const char kDeviceWindowClass[] = "TessarinDeviceWindow";

HWND MakeDeviceWindow(int width, int height) {
  static bool registered = false;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = kDeviceWindowClass;
    registered = RegisterClassA(&wc) != 0;
  }
  // Never shown: it only carries the device's swap chain.
  return CreateWindowExA(WS_EX_TOOLWINDOW, kDeviceWindowClass, "", WS_POPUP, 0, 0, width, height,
                         nullptr, nullptr, instance, nullptr);
}

}  // namespace

bool D3DFramework::RunningOnWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool D3DFramework::Create(HWND target, int width, int height, bool fullScreen) {
  Destroy();
  target_ = target;
  if (width <= 0 || height <= 0) {
    RECT r{};
    GetClientRect(target, &r);
    width = r.right - r.left, height = r.bottom - r.top;
  }
  width = width > 0 ? width : 1, height = height > 0 ? height : 1;
  d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
  if (!d3d_) return false;
  D3DDISPLAYMODE mode{};
  d3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
  D3DCAPS9 caps{};
  d3d_->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps);
  const D3DFORMAT backFormat = D3DFMT_X8R8G8B8;
  if (callbacks_.isAcceptable &&
      !callbacks_.isAcceptable(caps, mode.Format, backFormat, !fullScreen)) {
    Destroy();
    return false;
  }
  copyThroughGdi_ = RunningOnWine() && !fullScreen;
  if (copyThroughGdi_) deviceWindow_ = MakeDeviceWindow(width, height);
  params_ = D3DPRESENT_PARAMETERS{};
  params_.Windowed = fullScreen ? FALSE : TRUE;
  params_.SwapEffect = D3DSWAPEFFECT_DISCARD;
  params_.BackBufferFormat = backFormat;
  params_.BackBufferWidth = static_cast<UINT>(width);
  params_.BackBufferHeight = static_cast<UINT>(height);
  params_.BackBufferCount = 1;
  params_.EnableAutoDepthStencil = TRUE;
  params_.AutoDepthStencilFormat = D3DFMT_D24S8;
  params_.hDeviceWindow = copyThroughGdi_ ? deviceWindow_ : target;
  params_.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  if (callbacks_.modifySettings && !callbacks_.modifySettings(params_)) {
    Destroy();
    return false;
  }
  const DWORD behaviour = (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT)
                              ? D3DCREATE_HARDWARE_VERTEXPROCESSING
                              : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  if (FAILED(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, params_.hDeviceWindow,
                                behaviour | D3DCREATE_FPU_PRESERVE, &params_, &device_))) {
    Destroy();
    return false;
  }
  QueryPerformanceFrequency(&frequency_);
  QueryPerformanceCounter(&start_);
  dirty_ = true;
  if (callbacks_.created && FAILED(callbacks_.created(device_))) {
    Destroy();
    return false;
  }
  if (callbacks_.reset) callbacks_.reset(device_);
  return true;
}

void D3DFramework::ReleaseCopySurface() {
  if (copy_) copy_->Release();
  copy_ = nullptr;
}

void D3DFramework::Destroy() {
  ReleaseCopySurface();
  if (device_) {
    if (callbacks_.lost) callbacks_.lost();
    if (callbacks_.destroyed) callbacks_.destroyed();
    device_->Release();
    device_ = nullptr;
  }
  if (d3d_) d3d_->Release();
  d3d_ = nullptr;
  if (deviceWindow_) DestroyWindow(deviceWindow_);
  deviceWindow_ = nullptr;
  target_ = nullptr;
}

bool D3DFramework::ResetDevice() {
  ReleaseCopySurface();
  if (callbacks_.lost) callbacks_.lost();
  if (FAILED(device_->Reset(&params_))) return false;
  if (callbacks_.reset) callbacks_.reset(device_);
  dirty_ = true;
  return true;
}

bool D3DFramework::Resize(int width, int height) {
  if (!device_ || width <= 0 || height <= 0) return false;
  if (static_cast<UINT>(width) == params_.BackBufferWidth &&
      static_cast<UINT>(height) == params_.BackBufferHeight)
    return true;
  params_.BackBufferWidth = static_cast<UINT>(width);
  params_.BackBufferHeight = static_cast<UINT>(height);
  if (deviceWindow_) SetWindowPos(deviceWindow_, nullptr, 0, 0, width, height, SWP_NOZORDER);
  return ResetDevice();
}

bool D3DFramework::CopyToTarget() {
  IDirect3DSurface9* rt = nullptr;
  if (FAILED(device_->GetRenderTarget(0, &rt))) return false;
  D3DSURFACE_DESC desc{};
  rt->GetDesc(&desc);
  if (!copy_ && FAILED(device_->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                            D3DPOOL_SYSTEMMEM, &copy_, nullptr))) {
    rt->Release();
    return false;
  }
  const HRESULT got = device_->GetRenderTargetData(rt, copy_);
  rt->Release();
  if (FAILED(got)) return false;
  D3DLOCKED_RECT locked{};
  if (FAILED(copy_->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return false;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = locked.Pitch / 4;  // the row pitch, in pixels
  bi.bmiHeader.biHeight = -static_cast<LONG>(desc.Height);
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  HDC dc = GetDC(target_);
  const int lines = SetDIBitsToDevice(dc, 0, 0, desc.Width, desc.Height, 0, 0, 0, desc.Height,
                                      locked.pBits, &bi, DIB_RGB_COLORS);
  ReleaseDC(target_, dc);
  copy_->UnlockRect();
  return lines > 0;
}

bool D3DFramework::Present() {
  if (!device_) return false;
  const HRESULT level = device_->TestCooperativeLevel();
  if (level == D3DERR_DEVICELOST) return false;
  if (level == D3DERR_DEVICENOTRESET) return ResetDevice() && false;
  bool shown;
  if (copyThroughGdi_) {
    shown = CopyToTarget();
  } else {
    const HRESULT hr = device_->Present(nullptr, nullptr, target_, nullptr);
    if (hr == D3DERR_DEVICELOST) return false;
    shown = SUCCEEDED(hr);
  }
  if (shown) FrameShown();
  return shown;
}

double D3DFramework::Time() const {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return frequency_.QuadPart ? static_cast<double>(now.QuadPart - start_.QuadPart) /
                                   static_cast<double>(frequency_.QuadPart)
                             : 0.0;
}

D3DFramework& GetD3DFramework() {
  static D3DFramework framework;
  return framework;
}

}  // namespace scene
