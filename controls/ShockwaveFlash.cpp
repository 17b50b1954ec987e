#include "controls/ShockwaveFlash.h"

#include "modules/data/ShockwaveFlash.h"

IMPLEMENT_DYNCREATE(CShockwaveFlash, CWnd)

BOOL CShockwaveFlash::Create(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                             UINT nID, CCreateContext*) {
  return CreateControl(CLSID_ShockwaveFlash, lpszWindowName, dwStyle, rect, pParentWnd, nID, nullptr, FALSE,
                       nullptr);
}

BEGIN_MESSAGE_MAP(CFlashPlayerWnd, CShockwaveFlash)
END_MESSAGE_MAP()
