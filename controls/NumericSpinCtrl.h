// A spin control that steps a real number in its buddy edit, and the dialog data exchange of a
// real number checked against an interval written in the message text ("Pan X limit to
// [-100.00, 100.00]"). The arithmetic lives in NumericRange.h.
#pragma once

#include "platform/base/CString.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Afx.h"

class CDataExchange;

class CNumericSpinCtrl : public CSpinButtonCtrl {
 public:
  CNumericSpinCtrl();
  ~CNumericSpinCtrl() override;

  // Stores the range and step; with a step the up-down control gets as many positions as steps
  // fit (at most 32767) and its position follows the buddy's value.
  void SetRange(double minimum, double maximum, double step);
  // The buddy's number (0 without a buddy).
  double GetPos();
  // The buddy shows `value` and the up-down position follows it.
  void SetPos(double value);
  // Digits after the decimal point; -1 (or any negative number) for "%g". The buddy keeps its
  // text until the next SetPos.
  void SetDecimals(int nDecimals);
  // A printf format with one floating conversion for the buddy's text; null (or a format that
  // takes anything other than one double) goes back to the decimals.
  void SetFormatString(const char* lpszFormat);
  void SetValueForBuddy(double value);
  void SetIntPos(double value);
  void InitSpinControl();
  CString FormatValue(double value) const;

 protected:
  void PreSubclassWindow() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnDeltapos(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  double m_dMinimum = 0.0;
  double m_dMaximum = 100.0;
  double m_dStep = 1.0;
  int m_nPositions = 100;
  int m_nDecimals = -1;
  CString m_strFormat;
  BOOL m_bTrimZeros = TRUE;
  char m_chDecimalPoint;
};

// Exchanges a real number with an edit. Saving: text that is no number gets the standard
// message; with a range text, a value outside its interval gets the interval's message and the
// exchange fails (both only while the edit is visible and enabled). Loading shows three
// significant digits.
void DDX_DoubleRange(CDataExchange* pDX, int nIDC, double& value, const char* lpszRangeText);
