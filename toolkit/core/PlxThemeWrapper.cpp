#include "toolkit/core/PlxThemeWrapper.h"

#include "platform/kernel/Library.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"

LPCSTR CPlxThemeWrapper::s_lpszThemeLibrary = "UxTheme.dll";

namespace {

// The window classes, in the order of the handle fields.
const wchar_t* const kThemeClasses[16] = {L"TOOLBAR",   L"REBAR",       L"BUTTON",   L"STATUS",
                                          L"WINDOW",    L"COMBOBOX",    L"PROGRESS", L"HEADER",
                                          L"SCROLLBAR", L"EXPLORERBAR", L"TREEVIEW", L"STARTPANEL",
                                          L"TASKBAND",  L"TASKBAR",     L"SPIN",     L"TAB"};

template <typename T>
T Entry(HINSTANCE dll, const char* name) {
  return reinterpret_cast<T>(GetProcAddress(dll, name));
}

}  // namespace

CPlxThemeWrapper::CPlxThemeWrapper() {
  m_hThemeDll = LoadLibrary(s_lpszThemeLibrary);
  if (m_hThemeDll == nullptr) return;
  m_pfOpenThemeData = Entry<PfnOpenThemeData>(m_hThemeDll, "OpenThemeData");
  m_pfCloseThemeData = Entry<PfnCloseThemeData>(m_hThemeDll, "CloseThemeData");
  m_pfDrawThemeBackground = Entry<PfnDrawThemeBackground>(m_hThemeDll, "DrawThemeBackground");
  m_pfGetThemeColor = Entry<PfnGetThemeColor>(m_hThemeDll, "GetThemeColor");
  m_pfGetThemeSysColor = Entry<PfnGetThemeSysColor>(m_hThemeDll, "GetThemeSysColor");
  m_pfGetCurrentThemeName = Entry<PfnGetCurrentThemeName>(m_hThemeDll, "GetCurrentThemeName");
  m_pfGetWindowTheme = Entry<PfnGetWindowTheme>(m_hThemeDll, "GetWindowTheme");
  m_pfIsAppThemed = Entry<PfnIsAppThemed>(m_hThemeDll, "IsAppThemed");
  UpdateThemes();
}

CPlxThemeWrapper::~CPlxThemeWrapper() {
  CloseThemes();
  if (m_hThemeDll != nullptr) FreeLibrary(m_hThemeDll);
}

void CPlxThemeWrapper::UpdateThemes() {
  if (m_hThemeDll == nullptr) return;
  CloseThemes();
  if (m_pfOpenThemeData == nullptr || m_pfCloseThemeData == nullptr || m_pfDrawThemeBackground == nullptr)
    return;
  CWnd* main = AfxGetMainWnd();
  const HWND hwnd = main != nullptr ? main->GetSafeHwnd() : nullptr;
  for (int i = 0; i < 16; ++i) Handles()[i] = m_pfOpenThemeData(hwnd, kThemeClasses[i]);
}

void CPlxThemeWrapper::CloseThemes() {
  if (m_pfCloseThemeData == nullptr) return;
  // A closed handle is forgotten, so no later call can hand it to the service again.
  for (int i = 0; i < 16; ++i)
    if (Handles()[i] != nullptr) {
      m_pfCloseThemeData(Handles()[i]);
      Handles()[i] = nullptr;
    }
}

BOOL CPlxThemeWrapper::DrawThemed(HTHEME hTheme, CDC* pDC, int nPart, int nState, const RECT& rect) const {
  if (hTheme == nullptr || m_pfDrawThemeBackground == nullptr) return FALSE;
  return SUCCEEDED(m_pfDrawThemeBackground(hTheme, pDC->GetSafeHdc(), nPart, nState, &rect, nullptr));
}

BOOL CPlxThemeWrapper::ThemeColor(HTHEME hTheme, int nPart, int nState, int nProp, COLORREF& clr) const {
  if (hTheme == nullptr || m_pfGetThemeColor == nullptr) return FALSE;
  return m_pfGetThemeColor(hTheme, nPart, nState, nProp, &clr) == S_OK;
}
