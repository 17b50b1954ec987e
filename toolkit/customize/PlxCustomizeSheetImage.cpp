// The sheet's way into the button image editor.
#include "toolkit/customize/PlxCustomizeSheet.h"
#include "toolkit/customize/PlxImageEditorDlg.h"

BOOL CPlxToolbarCustomize::EditButtonImage(CWnd* pParent, CBitmap* pImage, int nBitsPerPixel) {
  CPlxImageEditorDlg editor(pImage, pParent, nBitsPerPixel);
  return editor.DoModal() == IDOK;
}
