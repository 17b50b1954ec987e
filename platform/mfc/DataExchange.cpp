// Dialog data exchange and validation.
#include "platform/mfc/DataExchange.h"

#include <cerrno>
#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/mfc/AfxRes.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"

IMPLEMENT_DYNAMIC(CUserException, CException)

void AfxThrowUserException() {
  throw new CUserException;
}

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND control = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
  if (!control) {
    std::fprintf(stderr, "pictavo: data exchange: the window has no control with id %d\n", nIDC);
    AfxThrowNotSupportedException();
  }
  m_idLastControl = static_cast<UINT>(nIDC);
  m_bEditLastControl = FALSE;
  return control;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND control = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return control;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_idLastControl != 0) {
    if (HWND control = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), static_cast<int>(m_idLastControl))) {
      ::SetFocus(control);
      if (m_bEditLastControl) ::SendMessage(control, EM_SETSEL, 0, -1);
    }
  }
  AfxThrowUserException();
}

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The text without the blanks around it; false when nothing is left.
bool Trimmed(const std::string& text, std::string& out) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  out = text.substr(begin, end - begin);
  return !out.empty();
}

// Writes an edit's text only when it differs: rewriting the same text would move the caret of an
// edit the user is typing in back to its start (a page that exchanges its data on every change).
void SetTextIfChanged(HWND control, const char* text) {
  if (pictavo::user::WindowText(control) != text) ::SetWindowText(control, text);
}

template <class T>
bool ParseSigned(const std::string& text, T& value) {
  std::string s;
  if (!Trimmed(text, s)) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(s.c_str(), &end, 10);
  if (end == s.c_str() || *end != '\0' || errno == ERANGE) return false;
  if (v < static_cast<long long>(std::numeric_limits<T>::min()) ||
      v > static_cast<long long>(std::numeric_limits<T>::max()))
    return false;
  value = static_cast<T>(v);
  return true;
}

template <class T>
bool ParseUnsigned(const std::string& text, T& value) {
  std::string s;
  if (!Trimmed(text, s) || s[0] == '-') return false;
  errno = 0;
  char* end = nullptr;
  const unsigned long long v = std::strtoull(s.c_str(), &end, 10);
  if (end == s.c_str() || *end != '\0' || errno == ERANGE) return false;
  if (v > static_cast<unsigned long long>(std::numeric_limits<T>::max())) return false;
  value = static_cast<T>(v);
  return true;
}

template <class T>
bool ParseReal(const std::string& text, T& value) {
  std::string s;
  if (!Trimmed(text, s)) return false;
  errno = 0;
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (end == s.c_str() || *end != '\0' || errno == ERANGE) return false;
  value = static_cast<T>(v);
  return true;
}

// Moves a number between a member and an edit: `format` shows it, `parse` reads it back, and
// `prompt` tells the user when the text is no such number.
template <class T, class Parse>
void ExchangeNumber(CDataExchange* pDX, int nIDC, T& value, const char* format, Parse parse, UINT prompt) {
  HWND control = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    T parsed{};
    if (!parse(pictavo::user::WindowText(control), parsed)) {
      AfxMessageBox(prompt);
      pDX->Fail();
    }
    value = parsed;
  } else {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    SetTextIfChanged(control, text);
  }
}

template <class T>
void FailRange(CDataExchange* pDX, UINT prompt, const char* format, T minVal, T maxVal) {
  char low[64];
  char high[64];
  std::snprintf(low, sizeof low, format, minVal);
  std::snprintf(high, sizeof high, format, maxVal);
  CString text;
  AfxFormatString2(text, prompt, low, high);
  AfxMessageBox(text, MB_ICONEXCLAMATION, prompt);
  pDX->Fail();
}

// Range checks speak only while saving: values put into the controls are not the user's.
template <class T>
void CheckRange(CDataExchange* pDX, T value, T minVal, T maxVal, UINT prompt, const char* format) {
  if (value >= minVal && value <= maxVal) return;
  if (!pDX->m_bSaveAndValidate) return;
  FailRange(pDX, prompt, format, minVal, maxVal);
}

void CheckRangeReal(CDataExchange* pDX, double value, double minVal, double maxVal, int digits) {
  if (value >= minVal && value <= maxVal) return;
  if (!pDX->m_bSaveAndValidate) return;
  char low[64];
  char high[64];
  std::snprintf(low, sizeof low, "%.*g", digits, minVal);
  std::snprintf(high, sizeof high, "%.*g", digits, maxVal);
  CString text;
  AfxFormatString2(text, AFX_IDP_PARSE_REAL_RANGE, low, high);
  AfxMessageBox(text, MB_ICONEXCLAMATION, AFX_IDP_PARSE_REAL_RANGE);
  pDX->Fail();
}

std::string ItemText(HWND control, UINT lenMessage, UINT textMessage, int index) {
  const LRESULT length = ::SendMessage(control, lenMessage, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT got =
      ::SendMessage(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND control = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = pictavo::user::WindowText(control);
  else
    SetTextIfChanged(control, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, LPTSTR value, int nMaxLen) {
  HWND control = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    ::GetWindowText(control, value, nMaxLen);
  else
    SetTextIfChanged(control, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) {
  unsigned wide = value;
  auto parse = [](const std::string& text, unsigned& out) {
    BYTE b = 0;
    if (!ParseUnsigned<BYTE>(text, b)) return false;
    out = b;
    return true;
  };
  ExchangeNumber(pDX, nIDC, wide, "%u", parse, AFX_IDP_PARSE_BYTE);
  value = static_cast<BYTE>(wide);
}

void DDX_Text(CDataExchange* pDX, int nIDC, short& value) {
  ExchangeNumber(pDX, nIDC, value, "%hd", ParseSigned<short>, AFX_IDP_PARSE_INT);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  ExchangeNumber(pDX, nIDC, value, "%d", ParseSigned<int>, AFX_IDP_PARSE_INT);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
  ExchangeNumber(pDX, nIDC, value, "%u", ParseUnsigned<UINT>, AFX_IDP_PARSE_UINT);
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
  ExchangeNumber(pDX, nIDC, value, "%ld", ParseSigned<long>, AFX_IDP_PARSE_INT);
}

void DDX_Text(CDataExchange* pDX, int nIDC, ULONGLONG& value) {
  ExchangeNumber(pDX, nIDC, value, "%lu", ParseUnsigned<ULONGLONG>, AFX_IDP_PARSE_UINT);
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value) {
  double wide = value;
  ExchangeNumber(pDX, nIDC, wide, "%.6g", ParseReal<double>, AFX_IDP_PARSE_REAL);
  value = static_cast<float>(wide);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
  ExchangeNumber(pDX, nIDC, value, "%.15g", ParseReal<double>, AFX_IDP_PARSE_REAL);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessage(control, BM_GETCHECK, 0, 0));
  } else {
    if (value < 0 || value > 2) value = 0;
    ::SendMessage(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = -1;
  int button = 0;
  do {
    if (::SendMessage(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      if (pDX->m_bSaveAndValidate) {
        if (::SendMessage(control, BM_GETCHECK, 0, 0) != 0) value = button;
      } else {
        ::SendMessage(control, BM_SETCHECK, button == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      ++button;
    }
    control = ::GetWindow(control, GW_HWNDNEXT);
  } while (control && !(::GetWindowLong(control, GWL_STYLE) & WS_GROUP));
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessage(control, LB_GETCURSEL, 0, 0));
  else
    ::SendMessage(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    const int selection = static_cast<int>(::SendMessage(control, LB_GETCURSEL, 0, 0));
    value = selection >= 0 ? CString(ItemText(control, LB_GETTEXTLEN, LB_GETTEXT, selection)) : CString();
  } else {
    ::SendMessage(control, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                  reinterpret_cast<LPARAM>(value.GetString()));
  }
}

void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
  if (pDX->m_bSaveAndValidate) {
    DDX_LBString(pDX, nIDC, value);
    return;
  }
  HWND control = pDX->PrepareCtrl(nIDC);
  const LRESULT index = ::SendMessage(control, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(value.GetString()));
  if (index >= 0) ::SendMessage(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessage(control, CB_GETCURSEL, 0, 0));
  else
    ::SendMessage(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND control = pDX->PrepareCtrl(nIDC);
  const bool dropList = (::GetWindowLong(control, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST;
  if (pDX->m_bSaveAndValidate) {
    if (dropList) {
      const int selection = static_cast<int>(::SendMessage(control, CB_GETCURSEL, 0, 0));
      value =
          selection >= 0 ? CString(ItemText(control, CB_GETLBTEXTLEN, CB_GETLBTEXT, selection)) : CString();
    } else {
      value = pictavo::user::WindowText(control);
    }
  } else if (::SendMessage(control, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(value.GetString())) == CB_ERR &&
             !dropList) {
    ::SetWindowText(control, value);
  }
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
  if (pDX->m_bSaveAndValidate) {
    DDX_CBString(pDX, nIDC, value);
    return;
  }
  HWND control = pDX->PrepareCtrl(nIDC);
  const LRESULT index = ::SendMessage(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(value.GetString()));
  if (index >= 0)
    ::SendMessage(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  else
    ::SetWindowText(control, value);
}

void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = ::GetScrollPos(control, SB_CTL);
  else
    ::SetScrollPos(control, SB_CTL, value, TRUE);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd) return;
  HWND control = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(control)) {
    std::fprintf(stderr, "pictavo: data exchange: control %d already has an object\n", nIDC);
    AfxThrowNotSupportedException();
  }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
  if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
    char limit[16];
    std::snprintf(limit, sizeof limit, "%d", nChars);
    CString text;
    AfxFormatString1(text, AFX_IDP_PARSE_STRING_SIZE, limit);
    AfxMessageBox(text, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
    pDX->Fail();
  } else if (!pDX->m_bSaveAndValidate && pDX->m_idLastControl != 0 && pDX->m_bEditLastControl) {
    ::SendDlgItemMessage(pDX->m_pDlgWnd->GetSafeHwnd(), static_cast<int>(pDX->m_idLastControl), EM_LIMITTEXT,
                         static_cast<WPARAM>(nChars), 0);
  }
}

void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal) {
  CheckRange<unsigned>(pDX, value, minVal, maxVal, AFX_IDP_PARSE_INT_RANGE, "%u");
}
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal) {
  CheckRange<int>(pDX, value, minVal, maxVal, AFX_IDP_PARSE_INT_RANGE, "%d");
}
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  CheckRange<int>(pDX, value, minVal, maxVal, AFX_IDP_PARSE_INT_RANGE, "%d");
}
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal) {
  CheckRange<long>(pDX, value, minVal, maxVal, AFX_IDP_PARSE_INT_RANGE, "%ld");
}
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
  CheckRange<UINT>(pDX, value, minVal, maxVal, AFX_IDP_PARSE_INT_RANGE, "%u");
}
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal) {
  CheckRange<DWORD>(pDX, value, minVal, maxVal, AFX_IDP_PARSE_INT_RANGE, "%u");
}
void DDV_MinMaxLongLong(CDataExchange* pDX, LONGLONG value, LONGLONG minVal, LONGLONG maxVal) {
  CheckRange<long>(pDX, value, minVal, maxVal, AFX_IDP_PARSE_INT_RANGE, "%ld");
}
void DDV_MinMaxULongLong(CDataExchange* pDX, ULONGLONG value, ULONGLONG minVal, ULONGLONG maxVal) {
  CheckRange<unsigned long>(pDX, value, minVal, maxVal, AFX_IDP_PARSE_INT_RANGE, "%lu");
}
void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal) {
  CheckRangeReal(pDX, value, minVal, maxVal, FLT_DIG);
}
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal) {
  CheckRangeReal(pDX, value, minVal, maxVal, DBL_DIG);
}
