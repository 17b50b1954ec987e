// PlxGlobalData: the process-wide record toolkit classes read when they draw or lay themselves
// out: the system colours (a plain set and a bar set that visual managers may recolour), the
// brushes and pens made from them, the ten toolkit fonts and their text metrics, the screen's
// colour depth and work area, and the optional entry points bound at run time. One instance,
// g_plxGlobalData; PlxCleanUp empties it at exit. UI thread only.
#pragma once

#include "platform/base/CString.h"
#include "platform/mfc/GdiObjects.h"

class CWnd;
class CDC;
struct NONCLIENTMETRICSA;

struct PlxGlobalData {
  PlxGlobalData();
  ~PlxGlobalData();

  // Re-reads the colours, the colour depth, the brushes and the pens.
  void UpdateSysColors();
  // Rebuilds the ten fonts and the text metrics and tells every toolbar.
  void UpdateFonts();
  // Recomputes the work-area union and the menu animation flags.
  void OnSettingChange();
  void UpdateTextMetrics();
  // The cached colour for the indices the record holds, else the live system colour.
  COLORREF GetColor(int nColor) const;
  // Paints the window's area (or the rectangle) with its parent's background.
  BOOL DrawParentBackground(CWnd* pWnd, CDC* pDC, LPRECT lpRect = nullptr);
  // 0 and nothing while no hook is installed (nothing installs one in this program).
  LRESULT GetAccessibleObjectResult(DWORD dw1, DWORD dw2);
  void NotifyAccessibleEvent(DWORD event, HWND hwnd, LONG idObject, LONG idChild);
  // A window class of the prefix with a double-click style, registered on first use.
  CString RegisterWindowClass(LPCTSTR lpszClassNamePrefix);
  // (major << 16) | minor of the common controls; 4.0 when they cannot tell.
  int GetComCtlVersion();
  BOOL GetNonClientMetrics(NONCLIENTMETRICSA& info);
  int GetRebarBandInfoSize();
  void CleanUp();

  HBRUSH hbrBtnHilite = nullptr;
  HBRUSH hbrBtnShadow = nullptr;
  HBRUSH hbrWindow = nullptr;

  COLORREF clrBtnFace = 0, clrBtnShadow = 0, clrBtnHilite = 0, clrBtnText = 0, clrWindowFrame = 0,
           clrBtnDkShadow = 0, clrBtnLight = 0, clrGrayedText = 0, clrHilite = 0, clrTextHilite = 0;
  COLORREF clrHotText = 0, clrHotLinkText = 0;
  COLORREF clrBarWindow = 0, clrBarFace = 0, clrBarShadow = 0, clrBarHilite = 0, clrBarDkShadow = 0,
           clrBarLight = 0, clrBarText = 0;
  COLORREF clrWindow = 0, clrWindowText = 0, clrCaptionText = 0, clrMenuText = 0, clrActiveCaption = 0,
           clrInactiveCaption = 0, clrActiveCaptionGradient = 0, clrInactiveCaptionGradient = 0,
           clrInactiveCaptionText = 0, clrActiveBorder = 0, clrInactiveBorder = 0;

  CBrush brBtnFace, brHilite, brLight, brBtnDkShadow, brActiveCaption, brInactiveCaption, brWindow, brBarFace;
  CPen penHilite, penBarFace, penBarShadow;

  HCURSOR hcurStretch = nullptr;
  HCURSOR hcurStretchVert = nullptr;
  HCURSOR hcurHand = nullptr;
  HCURSOR hcurSplitHorz = nullptr;  // loaded by the first sizing bar created
  HCURSOR hcurSplitVert = nullptr;
  HANDLE hiconTool = nullptr;
  CSize sizeSmallIcon;

  CFont fontRegular, fontTooltip, fontBold, fontGuiBold, fontUnderline, fontGuiUnderline, fontVert,
      fontVertCaption, fontSmall, fontMarlett;

  BOOL bIsWindowsNT4 = FALSE;
  BOOL bIsWindows9x = FALSE;
  int nBitsPerPixel = 32;
  BOOL bIsRemoteSession = FALSE;
  BOOL bLayeredWindowsSupported = FALSE;
  int nMaxToolTipWidth = -1;
  BOOL bIsBlackHighContrast = FALSE;
  BOOL bIsWhiteHighContrast = FALSE;
  BOOL bAllowRichColors = TRUE;
  CRect rectVirtual;
  BOOL bMenuAnimation = FALSE;
  BOOL bMenuFadeEffect = FALSE;
  int nTextHeightHorz = 0, nTextHeightVert = 0, nTextWidthHorz = 0, nTextWidthVert = 0;

  HINSTANCE hinstUxTheme = nullptr;
  HINSTANCE hinstUser32 = nullptr;
  HINSTANCE hinstAccessibility = nullptr;
  BOOL (*pfnSetLayeredWindowAttributes)(HWND, COLORREF, BYTE, DWORD) = nullptr;
  LRESULT (*pfnGetAccessibleObjectResult)(DWORD, DWORD) = nullptr;
  void (*pfnNotifyAccessibleEvent)(DWORD, HWND, LONG, LONG) = nullptr;
  HRESULT (*pfnDrawThemeParentBackground)(HWND, HDC, const RECT*) = nullptr;
  int nComCtlVersion = -1;
};

extern PlxGlobalData g_plxGlobalData;

// Replaces the object's handle with a solid brush, or a one-pixel solid pen, of the colour.
void PlxRecreateSolid(CBrush& brush, COLORREF color);
void PlxRecreateSolid(CPen& pen, COLORREF color);

// The toolkit's clean-up at exit: global data, glyphs, command manager, the visual manager.
void PlxCleanUp();
