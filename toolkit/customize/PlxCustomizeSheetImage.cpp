// The sheet's entry to the button image editor.
#include "toolkit/customize/PlxCustomizeSheet.h"

BOOL CPlxToolbarCustomize::EditButtonImage(CWnd*, CBitmap*, int) {
  return FALSE;  // no image editor in this build
}
