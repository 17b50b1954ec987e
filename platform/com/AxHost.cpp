#include "platform/com/AxHost.h"

#include <mutex>

#include "platform/base/Messages.h"
#include "platform/com/ComObject.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"

namespace {

constexpr const char* kHostProperty = "pictavo.AxHost";

// The host of one window: holds the attached control.
class Host final : public pictavo::com::Object<IUnknown> {
 public:
  void SetControl(IUnknown* control) { m_control = pictavo::com::ComPtr<IUnknown>(control); }
  IUnknown* Control() const { return m_control.Get(); }

 private:
  pictavo::com::ComPtr<IUnknown> m_control;  // the host window's thread only
};

Host* HostOf(HWND hwnd) {
  return hwnd && IsWindow(hwnd) ? static_cast<Host*>(GetProp(hwnd, kHostProperty)) : nullptr;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      Host* host = new Host;  // the window's reference, released in WM_NCDESTROY
      SetProp(hwnd, kHostProperty, host);
      return 0;
    }
    case WM_DESTROY:
      if (Host* host = HostOf(hwnd)) host->SetControl(nullptr);
      break;
    case WM_NCDESTROY:
      if (auto* host = static_cast<Host*>(RemoveProp(hwnd, kHostProperty))) host->Release();
      break;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

BOOL AtlAxWinInit() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASS wc{};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = HostProc;
    wc.lpszClassName = pictavo::com::kAxHostClassName;
    RegisterClass(&wc);
  });
  WNDCLASS existing{};
  return GetClassInfo(nullptr, pictavo::com::kAxHostClassName, &existing) ? TRUE : FALSE;
}

HRESULT AtlAxAttachControl(IUnknown* control, HWND hwnd, IUnknown** container) {
  if (container) *container = nullptr;
  Host* host = HostOf(hwnd);
  if (!control || !host) return E_INVALIDARG;
  host->SetControl(control);
  if (container) {
    host->AddRef();
    *container = host;
  }
  return S_OK;
}

HRESULT AtlAxGetControl(HWND hwnd, IUnknown** control) {
  if (!control) return E_POINTER;
  *control = nullptr;
  Host* host = HostOf(hwnd);
  if (!host || !host->Control()) return E_FAIL;
  return host->Control()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(control));
}

HRESULT AtlAxGetHost(HWND hwnd, IUnknown** result) {
  if (!result) return E_POINTER;
  *result = nullptr;
  Host* host = HostOf(hwnd);
  if (!host) return E_FAIL;
  host->AddRef();
  *result = host;
  return S_OK;
}
