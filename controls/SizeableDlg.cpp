#include "controls/SizeableDlg.h"

IMPLEMENT_DYNAMIC(CSizeableDlg, CDialog)

BEGIN_MESSAGE_MAP(CSizeableDlg, CDialog)
ON_WM_SIZE()
ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

CSizeableDlg::CSizeableDlg(UINT nIDTemplate, CWnd* pParentWnd, _tagLayoutRow* pLayoutTable)
    : CDialog(nIDTemplate, pParentWnd), m_layout(pLayoutTable) {}

CSizeableDlg::~CSizeableDlg() = default;

void CSizeableDlg::OnSize(UINT, int cx, int cy) {
  m_layout.LayoutRoot(RECT{0, 0, cx, cy}, this);
  m_layout.ApplyLayout(this);
}

void CSizeableDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  m_layout.FillMinMaxInfo(this, lpMMI);
}
