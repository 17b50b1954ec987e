// The toolkit colour dialog: a colour grid hosted as a control above OK and Cancel.
#include "toolkit/customize/PlxColorDialog.h"

#include "platform/res/Templates.h"
#include "toolkit/core/PlxColorBar.h"

IMPLEMENT_DYNAMIC(CPlxColorDialog, CPlxDialog)

namespace {

// 156 x 130 dialog units: the grid on top, the buttons at the foot.
const pictavo::res::DialogTemplate& ColorDialogTemplate() {
  static const pictavo::res::DialogTemplate kTemplate = [] {
    pictavo::res::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    t.cx = 156;
    t.cy = 130;
    t.caption = "Colors";
    t.fontFace = "MS Shell Dlg";
    t.pointSize = 8;
    pictavo::res::DialogControl ok;
    ok.id = IDOK;
    ok.className = "Button";
    ok.text = "OK";
    ok.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
    ok.x = 46;
    ok.y = 110;
    ok.cx = 50;
    ok.cy = 14;
    pictavo::res::DialogControl cancel = ok;
    cancel.id = IDCANCEL;
    cancel.text = "Cancel";
    cancel.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    cancel.x = 100;
    t.controls = {ok, cancel};
    return t;
  }();
  return kTemplate;
}

}  // namespace

CPlxColorDialog::CPlxColorDialog(COLORREF clrInit, DWORD, CWnd* pParentWnd, HPALETTE)
    : m_CurrentColor(clrInit), m_NewColor(clrInit) {
  m_pParentWnd = pParentWnd;
}

CPlxColorDialog::~CPlxColorDialog() {
  delete m_pColorBar;
}

INT_PTR CPlxColorDialog::DoModal() {
  InitModalIndirect(&ColorDialogTemplate(), m_pParentWnd);
  return CPlxDialog::DoModal();
}

BOOL CPlxColorDialog::OnInitDialog() {
  CPlxDialog::OnInitDialog();
  CRect rect(6, 6, 150, 104);
  MapDialogRect(rect);
  delete m_pColorBar;
  m_pColorBar = new CPlxColorBar;
  if (m_pColorBar->CreateAsControl(this, rect, kBarId)) {
    m_pColorBar->SetHorzMargin(1);
    m_pColorBar->SetVertMargin(1);
    m_pColorBar->EnableOtherButton(nullptr, TRUE, FALSE);
    m_pColorBar->SetColor(m_CurrentColor);
  }
  return TRUE;
}

BOOL CPlxColorDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == kBarId && m_pColorBar != nullptr) {
    m_NewColor = m_pColorBar->GetColor();
    return TRUE;
  }
  return CPlxDialog::OnCommand(wParam, lParam);
}
