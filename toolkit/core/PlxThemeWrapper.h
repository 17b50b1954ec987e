// CPlxThemeWrapper: the visual-styles service ("UxTheme.dll"), bound at run time, and the theme
// handles of the sixteen window classes the managers draw with. Without the library, or without
// one of the entry points, no theme is open and every themed drawing answers FALSE so that the
// caller draws the classic look.
#pragma once

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

using HTHEME = HANDLE;

class CDC;

class CPlxThemeWrapper : public CObject {
 public:
  CPlxThemeWrapper();
  ~CPlxThemeWrapper() override;

  // Closes and reopens every theme handle for the application's main window.
  void UpdateThemes();
  void CloseThemes();

  // Where the visual-styles service is looked for; tests point it at a recording module.
  static LPCSTR s_lpszThemeLibrary;

  using PfnOpenThemeData = HTHEME (*)(HWND, LPCWSTR);
  using PfnCloseThemeData = HRESULT (*)(HTHEME);
  using PfnDrawThemeBackground = HRESULT (*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
  using PfnGetThemeColor = HRESULT (*)(HTHEME, int, int, int, COLORREF*);
  using PfnGetThemeSysColor = COLORREF (*)(HTHEME, int);
  using PfnGetCurrentThemeName = HRESULT (*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
  using PfnGetWindowTheme = HTHEME (*)(HWND);
  using PfnIsAppThemed = BOOL (*)();

 protected:
  // DrawThemeBackground of one handle over the rectangle, no clip; TRUE when it drew.
  BOOL DrawThemed(HTHEME hTheme, CDC* pDC, int nPart, int nState, const RECT& rect) const;
  // A theme colour property, FALSE when there is none.
  BOOL ThemeColor(HTHEME hTheme, int nPart, int nState, int nProp, COLORREF& clr) const;

  HTHEME m_hThemeToolBar = nullptr;
  HTHEME m_hThemeRebar = nullptr;
  HTHEME m_hThemeButton = nullptr;
  HTHEME m_hThemeStatusBar = nullptr;
  HTHEME m_hThemeWindow = nullptr;
  HTHEME m_hThemeComboBox = nullptr;
  HTHEME m_hThemeProgress = nullptr;
  HTHEME m_hThemeHeader = nullptr;
  HTHEME m_hThemeScrollBar = nullptr;
  HTHEME m_hThemeExplorerBar = nullptr;
  HTHEME m_hThemeTree = nullptr;
  HTHEME m_hThemeStartPanel = nullptr;
  HTHEME m_hThemeTaskBand = nullptr;
  HTHEME m_hThemeTaskBar = nullptr;
  HTHEME m_hThemeSpin = nullptr;
  HTHEME m_hThemeTab = nullptr;

  HINSTANCE m_hThemeDll = nullptr;
  PfnOpenThemeData m_pfOpenThemeData = nullptr;
  PfnCloseThemeData m_pfCloseThemeData = nullptr;
  PfnDrawThemeBackground m_pfDrawThemeBackground = nullptr;
  PfnGetThemeColor m_pfGetThemeColor = nullptr;
  PfnGetThemeSysColor m_pfGetThemeSysColor = nullptr;
  PfnGetCurrentThemeName m_pfGetCurrentThemeName = nullptr;
  PfnGetWindowTheme m_pfGetWindowTheme = nullptr;
  PfnIsAppThemed m_pfIsAppThemed = nullptr;

 private:
  HTHEME* Handles() { return &m_hThemeToolBar; }
};
