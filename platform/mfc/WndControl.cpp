#include "platform/base/LastError.h"
#include "platform/com/AxHost.h"
#include "platform/com/Com.h"
#include "platform/mfc/Wnd.h"

BOOL CWnd::CreateControl(const GUID& clsid, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                         CWnd* pParentWnd, UINT nID, CFile*, BOOL, wchar_t*) {
  IUnknown* control = nullptr;
  const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                      reinterpret_cast<void**>(&control));
  if (FAILED(hr)) {
    SetLastError(static_cast<DWORD>(hr));
    return FALSE;
  }
  AtlAxWinInit();
  const BOOL created = CreateEx(0, pictavo::com::kAxHostClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID);
  if (created) AtlAxAttachControl(control, m_hWnd, nullptr);
  control->Release();
  return created;
}
