// CPlxHeaderCtrl as the visual managers read it: whether it sits in a dialog (button colours) or
// on a bar (bar colours).
#pragma once

#include "platform/comctl/AfxListCtrl.h"

class CPlxHeaderCtrl : public CHeaderCtrl {
 public:
  BOOL m_bIsDlgControl = FALSE;
};
