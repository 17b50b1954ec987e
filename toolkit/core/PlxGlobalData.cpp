#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxKeyboardManager.h"

#include <algorithm>
#include <cstring>

#include "platform/base/ResourceException.h"
#include "platform/base/SysColors.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Region.h"
#include "platform/kernel/Library.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"
#include "platform/user/Cursor.h"
#include "platform/user/Metrics.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowClass.h"
#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxMenuTempStore.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"

PlxGlobalData g_plxGlobalData;

void PlxRecreateSolid(CBrush& brush, COLORREF color) {
  brush.DeleteObject();
  brush.CreateSolidBrush(color);
}

void PlxRecreateSolid(CPen& pen, COLORREF color) {
  pen.DeleteObject();
  pen.CreatePen(PS_SOLID, 1, color);
}

PlxGlobalData::PlxGlobalData() {
  UpdateSysColors();
  UpdateFonts();
  OnSettingChange();
  sizeSmallIcon = CSize(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));

  OSVERSIONINFO version{};
  version.dwOSVersionInfoSize = sizeof(version);
  GetVersionEx(&version);
  bIsWindowsNT4 = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion < 5;
  bIsWindows9x = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
  bLayeredWindowsSupported =
      (version.dwMajorVersion > 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion != 0)) &&
      !bIsWindowsNT4;
  bIsRemoteSession = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5
                         ? GetSystemMetrics(SM_REMOTESESSION)
                         : FALSE;

  // Both libraries are optional: without them the entry points stay null and callers test them.
  hinstUxTheme = LoadLibrary("UxTheme.dll");
  if (hinstUxTheme != nullptr)
    pfnDrawThemeParentBackground = reinterpret_cast<decltype(pfnDrawThemeParentBackground)>(
        GetProcAddress(hinstUxTheme, "DrawThemeParentBackground"));
  if (bLayeredWindowsSupported) {
    hinstUser32 = LoadLibrary("USER32.DLL");
    if (hinstUser32 != nullptr)
      pfnSetLayeredWindowAttributes = reinterpret_cast<decltype(pfnSetLayeredWindowAttributes)>(
          GetProcAddress(hinstUser32, "SetLayeredWindowAttributes"));
  }
}

PlxGlobalData::~PlxGlobalData() {
  CleanUp();
}

void PlxGlobalData::UpdateSysColors() {
  bIsBlackHighContrast = GetSysColor(COLOR_3DLIGHT) == RGB(255, 255, 255) && GetSysColor(COLOR_BTNFACE) == 0;
  bIsWhiteHighContrast =
      GetSysColor(COLOR_3DDKSHADOW) == 0 && GetSysColor(COLOR_BTNFACE) == RGB(255, 255, 255);

  if (HDC screen = GetDC(nullptr)) {
    nBitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
  }

  clrBtnFace = clrBarFace = GetSysColor(COLOR_BTNFACE);
  clrBtnShadow = clrBarShadow = GetSysColor(COLOR_BTNSHADOW);
  clrBtnHilite = clrBarHilite = GetSysColor(COLOR_BTNHIGHLIGHT);
  clrBtnText = clrBarText = GetSysColor(COLOR_BTNTEXT);
  clrBtnDkShadow = clrBarDkShadow = GetSysColor(COLOR_3DDKSHADOW);
  clrBtnLight = clrBarLight = GetSysColor(COLOR_3DLIGHT);
  clrWindowFrame = GetSysColor(COLOR_WINDOWFRAME);
  clrGrayedText = GetSysColor(COLOR_GRAYTEXT);
  clrHilite = GetSysColor(COLOR_HIGHLIGHT);
  clrTextHilite = GetSysColor(COLOR_HIGHLIGHTTEXT);
  clrWindow = clrBarWindow = GetSysColor(COLOR_WINDOW);
  clrWindowText = GetSysColor(COLOR_WINDOWTEXT);
  clrCaptionText = GetSysColor(COLOR_CAPTIONTEXT);
  clrMenuText = GetSysColor(COLOR_MENUTEXT);
  clrActiveCaption = GetSysColor(COLOR_ACTIVECAPTION);
  clrInactiveCaption = GetSysColor(COLOR_INACTIVECAPTION);
  clrInactiveCaptionText = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
  clrActiveBorder = GetSysColor(COLOR_ACTIVEBORDER);
  clrInactiveBorder = GetSysColor(COLOR_INACTIVEBORDER);
  // The desktop here has caption gradients and the newer link colours.
  clrActiveCaptionGradient = GetSysColor(COLOR_GRADIENTACTIVECAPTION);
  clrInactiveCaptionGradient = GetSysColor(COLOR_GRADIENTINACTIVECAPTION);
  if (bIsBlackHighContrast) {
    clrHotText = clrHotLinkText = clrWindowText;
  } else {
    clrHotText = GetSysColor(COLOR_HOTLIGHT);
    clrHotLinkText = RGB(0, 0, 255);
  }

  hbrBtnHilite = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
  hbrBtnShadow = GetSysColorBrush(COLOR_BTNSHADOW);
  hbrWindow = GetSysColorBrush(COLOR_WINDOW);

  PlxRecreateSolid(brBtnFace, clrBtnFace);
  PlxRecreateSolid(brBarFace, clrBarFace);
  PlxRecreateSolid(brActiveCaption, clrActiveCaption);
  PlxRecreateSolid(brInactiveCaption, clrInactiveCaption);
  PlxRecreateSolid(brHilite, clrHilite);
  PlxRecreateSolid(brBtnDkShadow, clrBtnDkShadow);
  PlxRecreateSolid(brWindow, clrWindow);
  PlxRecreateSolid(penHilite, clrHilite);
  PlxRecreateSolid(penBarFace, clrBarFace);
  PlxRecreateSolid(penBarShadow, clrBarShadow);

  brLight.DeleteObject();
  if (nBitsPerPixel > 8) {
    auto half = [](int face, int hilite) { return face + (hilite - face) / 2; };
    brLight.CreateSolidBrush(RGB(half(GetRValue(clrBtnFace), GetRValue(clrBtnHilite)),
                                 half(GetGValue(clrBtnFace), GetGValue(clrBtnHilite)),
                                 half(GetBValue(clrBtnFace), GetBValue(clrBtnHilite))));
  } else {
    // A checkerboard of face and highlight where the screen cannot show the blend.
    static const WORD kRows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    CBitmap pattern;
    if (pattern.CreateBitmap(8, 8, 1, 1, kRows)) brLight.CreatePatternBrush(&pattern);
  }
  // The glyphs are drawn in these colours: rebuilt on next use.
  CPlxMenuGlyphs::CleanUp();
}

COLORREF PlxGlobalData::GetColor(int nColor) const {
  switch (nColor) {
    case COLOR_ACTIVECAPTION:
      return clrActiveCaption;
    case COLOR_INACTIVECAPTION:
      return clrInactiveCaption;
    case COLOR_WINDOW:
      return clrWindow;
    case COLOR_WINDOWFRAME:
      return clrWindowFrame;
    case COLOR_MENUTEXT:
      return clrMenuText;
    case COLOR_WINDOWTEXT:
      return clrWindowText;
    case COLOR_CAPTIONTEXT:
      return clrCaptionText;
    case COLOR_ACTIVEBORDER:
      return clrActiveBorder;
    case COLOR_INACTIVEBORDER:
      return clrInactiveBorder;
    case COLOR_HIGHLIGHT:
      return clrHilite;
    case COLOR_HIGHLIGHTTEXT:
      return clrTextHilite;
    case COLOR_BTNFACE:
      return clrBtnFace;
    case COLOR_BTNSHADOW:
      return clrBtnShadow;
    case COLOR_GRAYTEXT:
      return clrGrayedText;
    case COLOR_BTNTEXT:
      return clrBtnText;
    case COLOR_INACTIVECAPTIONTEXT:
      return clrInactiveCaptionText;
    case COLOR_BTNHIGHLIGHT:
      return clrBtnHilite;
    case COLOR_3DDKSHADOW:
      return clrBtnDkShadow;
    case COLOR_3DLIGHT:
      return clrBtnLight;
    default:
      return GetSysColor(nColor);
  }
}

namespace {

// The height of a LOGFONT with its magnitude replaced, its sign kept.
LONG WithMagnitude(LONG height, LONG magnitude) {
  return height < 0 ? -magnitude : magnitude;
}

int CALLBACK FindFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<BOOL*>(found) = TRUE;
  return 0;
}

}  // namespace

BOOL PlxGlobalData::GetNonClientMetrics(NONCLIENTMETRICSA& info) {
  GetComCtlVersion();
  std::memset(&info, 0, 340);
  info.cbSize = 340;
  return SystemParametersInfo(SPI_GETNONCLIENTMETRICS, info.cbSize, &info, 0);
}

int PlxGlobalData::GetRebarBandInfoSize() {
  GetComCtlVersion();
  return 80;
}

int PlxGlobalData::GetComCtlVersion() {
  if (nComCtlVersion != -1) return nComCtlVersion;
  nComCtlVersion = 0x40000;
  // The common controls live in the platform itself, not in a module that reports its version.
  if (HMODULE comctl = GetModuleHandle("COMCTL32")) {
    struct DllVersionInfo {
      DWORD cbSize, dwMajorVersion, dwMinorVersion, dwBuildNumber, dwPlatformID;
    } info{};
    info.cbSize = sizeof(info);
    using PfnDllGetVersion = HRESULT (*)(DllVersionInfo*);
    if (auto get = reinterpret_cast<PfnDllGetVersion>(GetProcAddress(comctl, "DllGetVersion")))
      if (SUCCEEDED(get(&info)))
        nComCtlVersion = static_cast<int>((info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF));
  }
  return nComCtlVersion;
}

void PlxGlobalData::UpdateFonts() {
  for (CFont* font : {&fontRegular, &fontTooltip, &fontBold, &fontGuiBold, &fontUnderline, &fontGuiUnderline,
                      &fontVert, &fontVertCaption, &fontSmall, &fontMarlett})
    font->DeleteObject();

  NONCLIENTMETRICSA info;
  GetNonClientMetrics(info);
  const LOGFONTA& menu = info.lfMenuFont;
  LOGFONTA lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfWeight = menu.lfWeight;
  lf.lfItalic = menu.lfItalic;
  const LONG magnitude = std::abs(menu.lfHeight);
  lf.lfHeight = WithMagnitude(menu.lfHeight, magnitude <= 12 ? 11 : magnitude - 1);
  std::strncpy(lf.lfFaceName, menu.lfFaceName, LF_FACESIZE - 1);
  if (menu.lfCharSet <= SYMBOL_CHARSET) {
    BOOL tahoma = FALSE;
    if (HDC screen = GetDC(nullptr)) {
      EnumFontFamilies(screen, "Tahoma", FindFace, reinterpret_cast<LPARAM>(&tahoma));
      ReleaseDC(nullptr, screen);
    }
    std::strncpy(lf.lfFaceName, tahoma ? "Tahoma" : "MS Sans Serif", LF_FACESIZE - 1);
  }
  fontRegular.CreateFontIndirect(&lf);
  const LONG regular = lf.lfHeight;
  lf.lfHeight = WithMagnitude(regular, (std::abs(regular) + 1) * 2 / 3);
  fontSmall.CreateFontIndirect(&lf);
  lf.lfHeight = regular;

  NONCLIENTMETRICSA status;
  GetNonClientMetrics(status);
  lf.lfWeight = status.lfStatusFont.lfWeight;
  lf.lfItalic = status.lfStatusFont.lfItalic;
  fontTooltip.CreateFontIndirect(&lf);

  lf.lfWeight = menu.lfWeight;
  lf.lfItalic = menu.lfItalic;
  lf.lfUnderline = TRUE;
  fontUnderline.CreateFontIndirect(&lf);
  lf.lfUnderline = FALSE;
  lf.lfWeight = FW_BOLD;
  fontBold.CreateFontIndirect(&lf);

  const BYTE charset = lf.lfCharSet;
  lf.lfCharSet = SYMBOL_CHARSET;
  lf.lfWeight = FW_NORMAL;
  lf.lfHeight = GetSystemMetrics(SM_CYMENUCHECK) - 1;
  std::strncpy(lf.lfFaceName, "Marlett", LF_FACESIZE - 1);
  fontMarlett.CreateFontIndirect(&lf);
  lf.lfCharSet = charset;

  LOGFONTA gui{};
  if (GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui) != 0) {
    LOGFONTA vert = gui;
    vert.lfWeight = menu.lfWeight;
    vert.lfItalic = menu.lfItalic;
    vert.lfOrientation = 900;
    vert.lfEscapement = 2700;
    vert.lfHeight = menu.lfHeight;
    std::strncpy(vert.lfFaceName, "Arial", LF_FACESIZE - 1);
    fontVert.CreateFontIndirect(&vert);
    vert.lfEscapement = 900;
    fontVertCaption.CreateFontIndirect(&vert);

    gui.lfUnderline = TRUE;
    fontGuiUnderline.CreateFontIndirect(&gui);
    gui.lfUnderline = FALSE;
    gui.lfWeight = FW_BOLD;
    fontGuiBold.CreateFontIndirect(&gui);
  }
  UpdateTextMetrics();

  CObList& bars = CPlxToolBar::GetAllToolbars();
  for (POSITION pos = bars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CPlxToolBar*>(bars.GetNext(pos));
    if (bar->GetSafeHwnd() != nullptr) bar->OnGlobalFontsChanged();
  }
}

void PlxGlobalData::UpdateTextMetrics() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return;
  auto measure = [screen](CFont& font, int& height, int& width) {
    if (font.GetSafeHandle() == nullptr) return;
    HGDIOBJ old = SelectObject(screen, font.GetSafeHandle());
    TEXTMETRICA tm{};
    GetTextMetrics(screen, &tm);
    const int extra = tm.tmHeight < 15 ? 2 : 5;
    height = tm.tmHeight + extra;
    width = tm.tmMaxCharWidth + extra;
    SelectObject(screen, old);
  };
  measure(fontRegular, nTextHeightHorz, nTextWidthHorz);
  measure(fontVert, nTextHeightVert, nTextWidthVert);
  ReleaseDC(nullptr, screen);
}

void PlxGlobalData::OnSettingChange() {
  // One desktop: the monitors' work areas are the one work area.
  rectVirtual.SetRectEmpty();
  SystemParametersInfo(SPI_GETWORKAREA, 0, &rectVirtual, 0);
  bMenuAnimation = bMenuFadeEffect = FALSE;
  OSVERSIONINFO version{};
  version.dwOSVersionInfoSize = sizeof(version);
  GetVersionEx(&version);
  if (!bIsRemoteSession && !bIsWindows9x && version.dwMajorVersion >= 5) {
    SystemParametersInfo(SPI_GETMENUANIMATION, 0, &bMenuAnimation, 0);
    if (bMenuAnimation) SystemParametersInfo(SPI_GETMENUFADE, 0, &bMenuFadeEffect, 0);
  }
}

BOOL PlxGlobalData::DrawParentBackground(CWnd* pWnd, CDC* pDC, LPRECT lpRect) {
  CRgn clip;
  if (lpRect != nullptr) {
    clip.CreateRectRgnIndirect(lpRect);
    pDC->SelectClipRgn(&clip);
  }
  BOOL result = FALSE;
  if (pfnDrawThemeParentBackground != nullptr)
    result = pfnDrawThemeParentBackground(pWnd->GetSafeHwnd(), pDC->GetSafeHdc(), lpRect) == S_OK;
  CWnd* parent = pWnd->GetParent();
  if (!result && parent != nullptr) {
    CPoint origin(0, 0);
    pWnd->MapWindowPoints(parent, &origin, 1);
    const CPoint old = pDC->OffsetWindowOrg(origin.x, origin.y);
    result =
        static_cast<BOOL>(parent->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(pDC->GetSafeHdc())));
    pDC->SetWindowOrg(old);
  }
  pDC->SelectClipRgn(nullptr);
  return result;
}

LRESULT PlxGlobalData::GetAccessibleObjectResult(DWORD dw1, DWORD dw2) {
  return pfnGetAccessibleObjectResult != nullptr ? pfnGetAccessibleObjectResult(dw1, dw2) : 0;
}

void PlxGlobalData::NotifyAccessibleEvent(DWORD event, HWND hwnd, LONG idObject, LONG idChild) {
  if (pfnNotifyAccessibleEvent != nullptr) pfnNotifyAccessibleEvent(event, hwnd, idObject, idChild);
}

CString PlxGlobalData::RegisterWindowClass(LPCTSTR lpszClassNamePrefix) {
  HINSTANCE instance = AfxGetInstanceHandle();
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  CString name;
  name.Format("%s:%x:%x:%x:%x", lpszClassNamePrefix,
              static_cast<unsigned>(reinterpret_cast<uintptr_t>(instance)), 8u,
              static_cast<unsigned>(reinterpret_cast<uintptr_t>(arrow)), 16u);
  WNDCLASS wc{};
  if (!GetClassInfo(instance, name, &wc)) {
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProc;
    wc.hInstance = instance;
    wc.hCursor = arrow;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = name;
    if (!RegisterClass(&wc)) AfxThrowResourceException();
  }
  return name;
}

void PlxGlobalData::CleanUp() {
  if (brLight.GetSafeHandle() != nullptr) brLight.DeleteObject();
  for (CFont* font : {&fontRegular, &fontBold, &fontUnderline, &fontVert, &fontVertCaption, &fontTooltip})
    font->DeleteObject();
  for (HINSTANCE* library : {&hinstUxTheme, &hinstUser32, &hinstAccessibility})
    if (*library != nullptr) {
      FreeLibrary(*library);
      *library = nullptr;
    }
  pfnSetLayeredWindowAttributes = nullptr;
  pfnGetAccessibleObjectResult = nullptr;
  pfnNotifyAccessibleEvent = nullptr;
  pfnDrawThemeParentBackground = nullptr;
}

void PlxCleanUp() {
  g_plxGlobalData.CleanUp();
  CPlxMenuGlyphs::CleanUp();
  CPlxKeyboardManager::CleanUp();
  if (CPlxCommandManager* commands = GetCommandManager()) commands->CleanUp();
  CPlxVisualManager::DestroyInstance(TRUE);
  g_menuTempStore.CleanUp();
  PlayMenuSound(-1);
}
