#include "controls/NumericSpinCtrl.h"

#include <clocale>
#include <string>

#include "controls/NumericRange.h"
#include "platform/comctl/UpDown.h"
#include "platform/mfc/AfxRes.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/WinApp.h"

BEGIN_MESSAGE_MAP(CNumericSpinCtrl, CSpinButtonCtrl)
ON_WM_CREATE()
ON_NOTIFY_REFLECT_EX(UDN_DELTAPOS, OnDeltapos)
END_MESSAGE_MAP()

CNumericSpinCtrl::CNumericSpinCtrl() {
  const lconv* conventions = std::localeconv();
  m_chDecimalPoint = conventions && conventions->decimal_point && conventions->decimal_point[0]
                         ? conventions->decimal_point[0]
                         : '.';
}

CNumericSpinCtrl::~CNumericSpinCtrl() = default;

void CNumericSpinCtrl::SetRange(double minimum, double maximum, double step) {
  m_dMinimum = minimum;
  m_dMaximum = maximum;
  m_dStep = step;
  if (step == 0.0) return;
  m_nPositions = numeric_range::PositionsFor(minimum, maximum, step);
  if (!GetSafeHwnd()) return;
  SendMessage(UDM_SETRANGE, 0, m_nPositions);
  SetIntPos(GetPos());
}

double CNumericSpinCtrl::GetPos() {
  if (!GetSafeHwnd()) return 0.0;
  const auto buddy = reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY, 0, 0));
  if (!buddy) return 0.0;
  CString text;
  CWnd::FromHandle(buddy)->GetWindowText(text);
  return std::atof(text);
}

void CNumericSpinCtrl::SetPos(double value) {
  SetValueForBuddy(value);
  SetIntPos(value);
}

void CNumericSpinCtrl::SetDecimals(int nDecimals) {
  m_nDecimals = nDecimals < 0 ? -1 : nDecimals;
}

void CNumericSpinCtrl::SetFormatString(const char* lpszFormat) {
  // The buddy's text is printed with this format and the value as its only argument: anything
  // that would read another argument is refused.
  if (lpszFormat && numeric_range::IsValueFormat(lpszFormat))
    m_strFormat = lpszFormat;
  else
    m_strFormat.Empty();
}

void CNumericSpinCtrl::SetValueForBuddy(double value) {
  if (!GetSafeHwnd()) return;
  const auto buddy = reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY, 0, 0));
  if (!buddy) return;
  CString text;
  if (!m_strFormat.IsEmpty())
    text.Format(m_strFormat, value);
  else
    text = FormatValue(value);
  ::SetWindowText(buddy, text);
}

void CNumericSpinCtrl::SetIntPos(double value) {
  if (m_dMaximum == m_dMinimum || !GetSafeHwnd()) return;
  const int pos = numeric_range::IntPosFor(m_dMinimum, m_dMaximum, m_nPositions, value);
  SendMessage(UDM_SETPOS, 0, static_cast<LPARAM>(LOWORD(pos)));
}

void CNumericSpinCtrl::InitSpinControl() {
  SetRange(m_dMinimum, m_dMaximum, m_dStep);
}

CString CNumericSpinCtrl::FormatValue(double value) const {
  return CString(numeric_range::FormatValue(value, m_nDecimals, m_bTrimZeros != FALSE, m_chDecimalPoint));
}

void CNumericSpinCtrl::PreSubclassWindow() {
  CSpinButtonCtrl::PreSubclassWindow();
  InitSpinControl();
}

int CNumericSpinCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CSpinButtonCtrl::OnCreate(lpCreateStruct) == -1) return -1;
  InitSpinControl();
  return 0;
}

BOOL CNumericSpinCtrl::OnDeltapos(NMHDR* pNMHDR, LRESULT* pResult) {
  const auto* updown = reinterpret_cast<const NMUPDOWN*>(pNMHDR);
  const double value = numeric_range::StepValue(m_dMinimum, m_dMaximum, m_dStep, GetPos(), updown->iDelta,
                                                (GetStyle() & UDS_WRAP) != 0);
  SetValueForBuddy(value);
  *pResult = 0;
  return FALSE;  // the up-down control still moves and the parent still hears of the step
}

void DDX_DoubleRange(CDataExchange* pDX, int nIDC, double& value, const char* lpszRangeText) {
  const HWND edit = pDX->PrepareEditCtrl(nIDC);
  const auto usable = [edit] { return ::IsWindowVisible(edit) && ::IsWindowEnabled(edit); };
  if (pDX->m_bSaveAndValidate) {
    // The whole text: a long number cut short would be read as another value.
    CString text;
    CWnd::FromHandle(edit)->GetWindowText(text);
    double parsed = 0.0;
    if (numeric_range::ParseDouble(text.View(), &parsed)) {
      value = parsed;
    } else if (usable()) {
      AfxMessageBox(AFX_IDP_PARSE_REAL, MB_OK);
      pDX->Fail();
    }
  } else {
    ::SetWindowText(edit, numeric_range::LoadText(value).c_str());
  }
  if (!lpszRangeText) return;
  std::string message;
  if (numeric_range::CheckRange(value, lpszRangeText, &message) || !pDX->m_bSaveAndValidate) return;
  if (usable()) {
    AfxMessageBox(message.c_str(), MB_ICONEXCLAMATION);
    pDX->Fail();
  }
}
