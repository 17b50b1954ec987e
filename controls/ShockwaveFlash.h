// The window that hosts the Flash player control: CShockwaveFlash makes the control by its class
// id, CFlashPlayerWnd is the member type a dialog binds to such a control. There is no Flash
// player on this platform, so Create fails with REGDB_E_CLASSNOTREG (in the last error) and the
// theme page draws its previews without it. UI thread only.
#pragma once

#include "platform/mfc/Afx.h"

class CShockwaveFlash : public CWnd {
  DECLARE_DYNCREATE(CShockwaveFlash)

 public:
  CShockwaveFlash() = default;
  // The class name and the context are ignored: the control's own class id decides.
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, CCreateContext* pContext = nullptr) override;
};

class CFlashPlayerWnd : public CShockwaveFlash {
 protected:
  DECLARE_MESSAGE_MAP()
};
