#include "editing/PhotoEditPagePaint.h"

#include "shell/UIHelpers.h"

BOOL PhotoEditPageEraseBkgnd(CWnd& page, CDC* pDC) {
  CRect client;
  page.GetClientRect(&client);
  pDC->FillSolidRect(&client, GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  return TRUE;
}

HBRUSH PhotoEditPageCtlColor(CBrush& brush, CDC* pDC, CWnd* pWnd, UINT nCtlColor, BOOL always) {
  if (pWnd == nullptr || brush.GetSafeHandle() == nullptr) return nullptr;
  if (!always) {
    if (nCtlColor != CTLCOLOR_STATIC) return nullptr;
    char className[16] = {};
    ::GetClassName(pWnd->GetSafeHwnd(), className, sizeof(className));
    const CString name(className);
    if (name.CompareNoCase("Static") != 0 && name.CompareNoCase("Button") != 0) return nullptr;
  }
  pDC->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(brush.GetSafeHandle());
}
