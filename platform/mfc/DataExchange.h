// Dialog data exchange: DoDataExchange moves values between members and controls with the DDX_
// functions (to the controls when m_bSaveAndValidate is FALSE, back when it is TRUE) and checks
// them with the DDV_ functions right after the DDX_ call of the same control. A value that does
// not parse or fails its check is reported with AfxMessageBox, the control gets the focus (an
// edit's text selected) and Fail() throws CUserException, which UpdateData catches.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Exceptions.h"
#include "platform/base/WinTypes.h"

class CWnd;

// The exception of a check the user was already told about.
class CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)

 public:
  CUserException() = default;
};
[[noreturn]] void AfxThrowUserException();

class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  UINT m_idLastControl = 0;  // the control the last DDX_ call exchanged
  BOOL m_bEditLastControl = FALSE;

  // The control with id nIDC (which becomes the last control); a missing control throws
  // CNotSupportedException, which UpdateData reports.
  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  // Focus to the last control and CUserException.
  [[noreturn]] void Fail();
};

// Text of a control: strings, and numbers that must parse whole (blanks around them allowed).
// DWORD is UINT and LONGLONG is long here, so their overloads are those.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, LPTSTR value, int nMaxLen);
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
void DDX_Text(CDataExchange* pDX, int nIDC, short& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, ULONGLONG& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);

// Buttons: the check state (0, 1, 2), and the index of the checked radio button of the group
// whose first button is nIDC (-1 for none).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// List and combo boxes: the selected index, or the selected text (a list box selects the first
// item starting with it; a combo box puts it in its edit when no item starts with it).
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
// Scroll bar control position.
void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value);
// Subclasses the control with the object (once: a control already attached stays as it is).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Checks; they act only while saving, except DDV_MaxChars, which also limits an edit's length.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal);
void DDV_MinMaxLongLong(CDataExchange* pDX, LONGLONG value, LONGLONG minVal, LONGLONG maxVal);
void DDV_MinMaxULongLong(CDataExchange* pDX, ULONGLONG value, ULONGLONG minVal, ULONGLONG maxVal);
void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal);
