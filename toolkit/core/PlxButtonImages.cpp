#include "toolkit/core/PlxButtonImages.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/comctl/ImageList.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/GlobalMemory.h"
#include "platform/kernel/Module.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"
#include "platform/res/Resources.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Window.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

HDC CPlxButtonImages::s_hdcImage = nullptr;
HDC CPlxButtonImages::s_hdcMask = nullptr;
BOOL CPlxButtonImages::s_bInitialized = FALSE;
BOOL CPlxButtonImages::s_bAlphaBlend = FALSE;
BOOL CPlxButtonImages::s_bMirrorMode = FALSE;
BOOL CPlxButtonImages::s_b24BitTable = TRUE;

namespace {

constexpr UINT kIdsClipboardFailed = 16010;
constexpr UINT kIdsClipboardException = 16008;
constexpr DWORD kRopPatternWhereBlack = 0x00B8074A;  // PSDPxax
constexpr DWORD kRopPatternWhereWhite = 0x00E20746;  // DSPDxax

struct StandardColour {
  COLORREF standard;
  int sysColor;
};
constexpr StandardColour kStandardColours[] = {
    {RGB(0, 0, 0), COLOR_BTNTEXT},
    {RGB(128, 128, 128), COLOR_BTNSHADOW},
    {RGB(192, 192, 192), COLOR_BTNFACE},
    {RGB(255, 255, 255), COLOR_BTNHIGHLIGHT},
};

COLORREF SwapRB(COLORREF c) {
  return RGB(GetBValue(c), GetGValue(c), GetRValue(c));
}
COLORREF PixelToColor(DWORD p) {
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}
DWORD ColorToPixel(COLORREF c, DWORD alpha) {
  return (alpha & 0xFF000000u) | (DWORD(GetRValue(c)) << 16) | (DWORD(GetGValue(c)) << 8) | GetBValue(c);
}

BOOL BitmapInfo(HBITMAP hbmp, BITMAP& bm) {
  return hbmp != nullptr && ::GetObject(hbmp, sizeof(BITMAP), &bm) != 0;
}

// A memory DC with one bitmap selected for the life of the object.
class MemDC {
 public:
  explicit MemDC(HBITMAP bitmap) : m_dc(CreateCompatibleDC(nullptr)) {
    if (m_dc != nullptr && bitmap != nullptr) m_old = SelectObject(m_dc, bitmap);
  }
  ~MemDC() {
    if (m_old != nullptr) SelectObject(m_dc, m_old);
    if (m_dc != nullptr) DeleteDC(m_dc);
  }
  MemDC(const MemDC&) = delete;
  MemDC& operator=(const MemDC&) = delete;
  bool Ok() const { return m_dc != nullptr && m_old != nullptr; }
  operator HDC() const { return m_dc; }  // NOLINT

 private:
  HDC m_dc;
  HGDIOBJ m_old = nullptr;
};

// A DIB section of 24 or 32 bits, rows from the top when `topDown`; null when it cannot be made.
HBITMAP CreateDib(int cx, int cy, WORD bitCount, bool topDown, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = cx;
  info.bmiHeader.biHeight = topDown ? -cy : cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bitCount;
  info.bmiHeader.biCompression = BI_RGB;
  void* p = nullptr;
  HBITMAP hbmp = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0);
  if (hbmp != nullptr && p == nullptr) {
    DeleteObject(hbmp);
    hbmp = nullptr;
  }
  if (bits != nullptr) *bits = p;
  return hbmp;
}

// A top-down 32-bit DIB section; pixels 0xAARRGGBB.
HBITMAP CreateDib32(int cx, int cy, DWORD** bits) {
  void* p = nullptr;
  HBITMAP hbmp = CreateDib(cx, cy, 32, true, &p);
  *bits = static_cast<DWORD*>(p);
  return hbmp;
}

// A 32-bit DIB copy of the whole bitmap, or null.
HBITMAP CopyToDib32(HBITMAP source, DWORD** bits, int* cx, int* cy) {
  BITMAP bm{};
  if (!BitmapInfo(source, bm)) return nullptr;
  HBITMAP copy = CreateDib32(bm.bmWidth, bm.bmHeight, bits);
  if (copy == nullptr) return nullptr;
  MemDC from(source), to(copy);
  if (!from.Ok() || !to.Ok() || !BitBlt(to, 0, 0, bm.bmWidth, bm.bmHeight, from, 0, 0, SRCCOPY)) {
    DeleteObject(copy);
    return nullptr;
  }
  GdiFlush();
  *cx = bm.bmWidth;
  *cy = bm.bmHeight;
  return copy;
}

// The pixels of a 32-bit DIB section and its row order, or null for any other bitmap.
DWORD* Dib32Bits(HBITMAP hbmp, int* cx, int* cy, bool* bottomUp) {
  DIBSECTION ds{};
  if (hbmp == nullptr || ::GetObject(hbmp, sizeof(DIBSECTION), &ds) != sizeof(DIBSECTION)) return nullptr;
  if (ds.dsBm.bmBitsPixel != 32 || ds.dsBm.bmBits == nullptr) return nullptr;
  GdiFlush();
  *cx = ds.dsBm.bmWidth;
  *cy = ds.dsBm.bmHeight;
  *bottomUp = ds.dsBmih.biHeight > 0;
  return static_cast<DWORD*>(ds.dsBm.bmBits);
}

// A 32-bit picture whose alpha bytes are all 0 carries no alpha (a plain 32-bit .bmp, or a
// screen bitmap): blending it would draw nothing, so it counts as an opaque 24-bit picture.
int PictureDepth(HBITMAP hbmp, int bitsPerPixel) {
  if (bitsPerPixel < 32) return bitsPerPixel;
  DWORD* bits = nullptr;
  int cx = 0, cy = 0;
  HBITMAP copy = CopyToDib32(hbmp, &bits, &cx, &cy);
  if (copy == nullptr) return bitsPerPixel;
  bool anyAlpha = false;
  for (size_t i = 0; i < size_t(cx) * size_t(cy) && !anyAlpha; ++i) anyAlpha = (bits[i] >> 24) != 0;
  DeleteObject(copy);
  return anyAlpha ? bitsPerPixel : 24;
}

// A 24-bit copy of a strip whose picture has no alpha, so a saved file keeps the depth it had.
HBITMAP CopyToDib24(HBITMAP source) {
  BITMAP bm{};
  if (!BitmapInfo(source, bm)) return nullptr;
  HBITMAP copy = CreateDib(bm.bmWidth, bm.bmHeight, 24, false, nullptr);
  if (copy == nullptr) return nullptr;
  MemDC from(source), to(copy);
  if (!from.Ok() || !to.Ok() || !BitBlt(to, 0, 0, bm.bmWidth, bm.bmHeight, from, 0, 0, SRCCOPY)) {
    DeleteObject(copy);
    return nullptr;
  }
  return copy;
}

void DeleteBitmap(HBITMAP& hbmp) {
  if (hbmp != nullptr) DeleteObject(hbmp);
  hbmp = nullptr;
}

}  // namespace

CPlxButtonImages::CPlxButtonImages() {
  // Without its two DCs no strip can draw: the system is out of GDI resources.
  if (!MakeSharedDcs()) AfxThrowMemoryException();
  m_mapResFirstIndex.InitHashTable(17);
  Reload();
}

BOOL CPlxButtonImages::MakeSharedDcs() {
  if (s_bInitialized) return TRUE;
  if (s_hdcImage == nullptr) s_hdcImage = CreateCompatibleDC(nullptr);
  if (s_hdcMask == nullptr) s_hdcMask = CreateCompatibleDC(nullptr);
  if (s_hdcImage == nullptr || s_hdcMask == nullptr) return FALSE;
  // The platform blends with per-pixel alpha itself: there is no library to bind.
  s_bAlphaBlend = TRUE;
  s_bInitialized = TRUE;
  static const bool s_bCleanUpAtExit = (std::atexit(StaticCleanUp), true);
  (void)s_bCleanUpAtExit;
  return TRUE;
}

CPlxButtonImages::~CPlxButtonImages() {
  if (!m_bSharedCopy) {
    DeleteBitmap(m_hbmStrip);
    DeleteBitmap(m_hbmFaded);
    DeleteBitmap(m_hbmShadow);
  }
}

void CPlxButtonImages::StaticCleanUp() {
  if (s_hdcImage != nullptr) DeleteDC(s_hdcImage);
  if (s_hdcMask != nullptr) DeleteDC(s_hdcMask);
  s_hdcImage = s_hdcMask = nullptr;
  // Strips that live on (the toolbars' shared ones) make the DCs again at their next draw; the
  // blending the platform offers does not go with them.
  s_bInitialized = FALSE;
}

void CPlxButtonImages::UpdateCount() {
  BITMAP bm{};
  m_nCount = (m_sizeCell.cx > 0 && BitmapInfo(m_hbmStrip, bm)) ? bm.bmWidth / m_sizeCell.cx : 0;
}

void CPlxButtonImages::DeleteStateImages() {
  DeleteBitmap(m_hbmFaded);
  DeleteBitmap(m_hbmShadow);
}

UINT CPlxButtonImages::LoadFlags() const {
  const BOOL bHighContrast = g_plxGlobalData.bIsBlackHighContrast || g_plxGlobalData.bIsWhiteHighContrast;
  return (!m_bMapTo3dColors || bHighContrast) ? LR_CREATEDIBSECTION
                                              : LR_CREATEDIBSECTION | LR_LOADMAP3DCOLORS;
}

COLORREF CPlxButtonImages::EffectiveTransparent() const {
  return (m_nBitsPerPixel == 32 && s_bAlphaBlend) ? (COLORREF)-1 : m_clrTransparent;
}

int CPlxButtonImages::GetResourceOffset(UINT uiResId) const {
  int nOffset = -1;
  return m_mapResFirstIndex.Lookup(uiResId, nOffset) ? nOffset : -1;
}

COLORREF CPlxButtonImages::SetTransparentColor(COLORREF clrTransparent) {
  const COLORREF clrOld = m_clrTransparent;
  m_clrTransparent = clrTransparent;
  if (clrOld != clrTransparent) {
    if (m_hbmFaded != nullptr) CreateStateImage(FALSE);
    if (m_hbmShadow != nullptr) CreateStateImage(TRUE);
  }
  return clrOld;
}

BOOL CPlxButtonImages::Load(UINT uiResID, HINSTANCE hinstRes, BOOL bAdd) {
  if (m_bSharedCopy) return FALSE;
  if (bAdd && m_lstResIds.Find(uiResID) != nullptr) return TRUE;
  if (hinstRes == nullptr) hinstRes = AfxFindResourceHandle(MAKEINTRESOURCE(uiResID), RT_BITMAP);
  auto hbmp =
      static_cast<HBITMAP>(::LoadImage(hinstRes, MAKEINTRESOURCE(uiResID), IMAGE_BITMAP, 0, 0, LoadFlags()));
  BITMAP bm{};
  if (hbmp == nullptr || !BitmapInfo(hbmp, bm)) {
    // The strip stays as it was.
    DeleteBitmap(hbmp);
    return FALSE;
  }
  if (!bAdd) {
    DeleteBitmap(m_hbmStrip);
    m_lstResIds.RemoveAll();
    m_lstResModules.RemoveAll();
    m_mapResFirstIndex.RemoveAll();
  }
  const int nDepth = PictureDepth(hbmp, bm.bmBitsPixel);
  const BOOL bHighContrast = g_plxGlobalData.bIsBlackHighContrast || g_plxGlobalData.bIsWhiteHighContrast;
  if (nDepth >= 32)
    PreMultiplyAlpha(hbmp);
  else if ((nDepth > 8 && m_bMapTo3dColors) || bHighContrast)
    MapBmpTo3dColors(hbmp, FALSE);
  m_nBitsPerPixel = std::max<int>(m_nBitsPerPixel, nDepth);
  if (bAdd) {
    const int nFirst = m_nCount;
    const int nIndex = AddImage(hbmp, FALSE);
    DeleteObject(hbmp);
    if (nIndex < 0) return FALSE;
    m_mapResFirstIndex.SetAt(uiResID, nFirst);
  } else {
    m_hbmStrip = hbmp;
    m_mapResFirstIndex.SetAt(uiResID, 0);
  }
  m_lstResIds.AddTail(uiResID);
  m_lstResModules.AddTail(hinstRes);
  UpdateCount();
  DeleteStateImages();
  return TRUE;
}

BOOL CPlxButtonImages::LoadFromFile(LPCTSTR lpszPath) {
  if (m_bSharedCopy || lpszPath == nullptr) return FALSE;
  CString strPath = lpszPath;
  if (strPath.FindOneOf("\\/:") < 0) {
    // A bare name lives beside the program.
    char szModule[MAX_PATH] = {};
    ::GetModuleFileName(nullptr, szModule, MAX_PATH);
    CString strFolder = szModule;
    const int nSlash = std::max(strFolder.ReverseFind('/'), strFolder.ReverseFind('\\'));
    strPath = strFolder.Left(nSlash + 1) + strPath;
  }
  UINT uiFlags = LR_LOADFROMFILE | LR_CREATEDIBSECTION;
  if (m_bMapTo3dColors) uiFlags |= LR_LOADMAP3DCOLORS;
  auto hbmp = static_cast<HBITMAP>(::LoadImage(AfxGetInstanceHandle(), strPath, IMAGE_BITMAP, 0, 0, uiFlags));
  BITMAP bm{};
  if (hbmp == nullptr || !BitmapInfo(hbmp, bm)) {
    // The strip the caller had stays as it was.
    DeleteBitmap(hbmp);
    return FALSE;
  }
  DeleteBitmap(m_hbmStrip);
  m_hbmStrip = hbmp;
  m_bFromFile = TRUE;
  m_strFilePath = strPath;
  const DWORD dwAttributes = ::GetFileAttributes(strPath);
  m_bFileReadOnly = dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY) != 0;
  m_nBitsPerPixel = PictureDepth(m_hbmStrip, bm.bmBitsPixel);
  if (m_nBitsPerPixel > 8 && m_nBitsPerPixel < 32)
    MapTo3dColors(FALSE);
  else if (m_nBitsPerPixel >= 32)
    PreMultiplyAlpha(m_hbmStrip);
  m_bModified = FALSE;
  UpdateCount();
  DeleteStateImages();
  return TRUE;
}

void CPlxButtonImages::Reload() {
  if (m_bSharedCopy || m_hbmStrip == nullptr) {
    m_clrShadow = g_plxGlobalData.clrBtnShadow;
    return;
  }
  if (m_bFromFile) {
    // Reading the file again would throw away cells edited since the last save: those stay.
    if (m_bModified) return;
    const CString strPath = m_strFilePath;
    LoadFromFile(strPath);
  } else {
    if (m_lstResIds.IsEmpty()) return;
    DeleteBitmap(m_hbmStrip);
    const BOOL bHighContrast = g_plxGlobalData.bIsBlackHighContrast || g_plxGlobalData.bIsWhiteHighContrast;
    POSITION posModule = m_lstResModules.GetHeadPosition();
    for (POSITION pos = m_lstResIds.GetHeadPosition(); pos != nullptr && posModule != nullptr;) {
      const UINT uiResId = m_lstResIds.GetNext(pos);
      HINSTANCE hinstRes = m_lstResModules.GetNext(posModule);
      auto hbmp = static_cast<HBITMAP>(
          ::LoadImage(hinstRes, MAKEINTRESOURCE(uiResId), IMAGE_BITMAP, 0, 0, LoadFlags()));
      BITMAP bm{};
      if (hbmp == nullptr || !BitmapInfo(hbmp, bm)) {
        DeleteBitmap(hbmp);
        continue;
      }
      const int nDepth = PictureDepth(hbmp, bm.bmBitsPixel);
      if (nDepth >= 32)
        PreMultiplyAlpha(hbmp);
      else if (((nDepth > 8 && nDepth < 32) || bHighContrast) && m_bMapTo3dColors)
        MapBmpTo3dColors(hbmp, FALSE);
      const BOOL bMirror = s_bMirrorMode;
      s_bMirrorMode = FALSE;  // the whole strip is mirrored once below
      AddImage(hbmp, FALSE);
      s_bMirrorMode = bMirror;
      DeleteObject(hbmp);
    }
  }
  UpdateCount();
  if (s_bMirrorMode) MirrorBitmap(m_hbmStrip, m_sizeCell.cx);
  DeleteStateImages();
  if (m_bGrayed) GrayImages(m_nGrayPercent);
  m_clrShadow = g_plxGlobalData.clrBtnShadow;
}

int CPlxButtonImages::AddImage(HBITMAP hbmp, BOOL bSetBitPerPixel) {
  if (m_bSharedCopy || hbmp == nullptr) return -1;
  HBITMAP hbmpMirrored = nullptr;
  if (s_bMirrorMode) {
    hbmpMirrored = static_cast<HBITMAP>(::CopyImage(hbmp, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (hbmpMirrored == nullptr || !MirrorBitmap(hbmpMirrored, m_sizeCell.cx)) {
      DeleteBitmap(hbmpMirrored);
      return -1;
    }
    hbmp = hbmpMirrored;
  }
  BITMAP bmNew{}, bmOld{};
  if (!BitmapInfo(hbmp, bmNew)) {
    DeleteBitmap(hbmpMirrored);
    return -1;
  }
  const int nNewDepth = bSetBitPerPixel ? PictureDepth(hbmp, bmNew.bmBitsPixel) : 0;
  const BOOL bHaveStrip = BitmapInfo(m_hbmStrip, bmOld);
  const int cxOld = bHaveStrip ? bmOld.bmWidth : 0;
  const int cy = bHaveStrip ? bmOld.bmHeight : bmNew.bmHeight;
  HBITMAP hbmpNew = CreateCompatibleBitmap(nullptr, cxOld + bmNew.bmWidth, cy);
  BOOL bOk = hbmpNew != nullptr;
  if (bOk) {
    MemDC to(hbmpNew);
    bOk = to.Ok();
    if (bOk && bHaveStrip) {
      MemDC from(m_hbmStrip);
      bOk = from.Ok() && BitBlt(to, 0, 0, cxOld, cy, from, 0, 0, SRCCOPY);
    }
    if (bOk) {
      MemDC from(hbmp);
      bOk = from.Ok() &&
            BitBlt(to, cxOld, 0, bmNew.bmWidth, std::min<int>(cy, bmNew.bmHeight), from, 0, 0, SRCCOPY);
    }
  }
  DeleteBitmap(hbmpMirrored);
  if (!bOk) {
    DeleteBitmap(hbmpNew);
    return -1;
  }
  if (bSetBitPerPixel) m_nBitsPerPixel = nNewDepth;
  DeleteBitmap(m_hbmStrip);
  m_hbmStrip = hbmpNew;
  m_bModified = TRUE;
  UpdateCount();
  DeleteStateImages();
  return m_nCount - 1;
}

int CPlxButtonImages::AddIcon(HICON hIcon, BOOL bAlpha) {
  if (m_bSharedCopy || hIcon == nullptr) return -1;
  HBITMAP hbmp = nullptr;
  if (bAlpha) {
    hbmp = CreateDib(m_sizeCell.cx, m_sizeCell.cy, 32, false, nullptr);
    if (hbmp == nullptr) return -1;
  } else {
    hbmp = CreateCompatibleBitmap(nullptr, m_sizeCell.cx, m_sizeCell.cy);
    if (hbmp == nullptr) return -1;
  }
  {
    MemDC dc(hbmp);
    if (!bAlpha) {
      RECT rect{0, 0, m_sizeCell.cx, m_sizeCell.cy};
      FillRect(dc, &rect, g_plxGlobalData.brBtnFace);
    }
    ::DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, 0, 0, m_sizeCell.cx, m_sizeCell.cy,
                DST_ICON);
  }
  if (bAlpha) {
    m_nBitsPerPixel = 32;
    PreMultiplyAlpha(hbmp);
  }
  const int nIndex = AddImage(hbmp, FALSE);
  DeleteObject(hbmp);
  return nIndex;
}

BOOL CPlxButtonImages::UpdateImage(int iImage, HBITMAP hbmp) {
  if (m_bSharedCopy || !m_bFromFile || hbmp == nullptr || iImage < 0 || iImage >= m_nCount) return FALSE;
  MemDC to(m_hbmStrip), from(hbmp);
  if (!to.Ok() || !from.Ok() ||
      !BitBlt(to, iImage * m_sizeCell.cx, 0, m_sizeCell.cx, m_sizeCell.cy, from, 0, 0, SRCCOPY))
    return FALSE;
  m_bModified = TRUE;
  DeleteStateImages();
  return TRUE;
}

void CPlxButtonImages::Clear() {
  if (m_bSharedCopy) return;
  DeleteBitmap(m_hbmStrip);
  DeleteStateImages();
  m_lstResIds.RemoveAll();
  m_lstResModules.RemoveAll();
  m_mapResFirstIndex.RemoveAll();
  m_strFilePath.Empty();
  m_bFromFile = FALSE;
  m_nCount = 0;
  m_bModified = FALSE;
  m_bGrayed = FALSE;
  m_nGrayPercent = 0;
  m_nBitsPerPixel = 0;
}

BOOL CPlxButtonImages::CopyTo(CPlxButtonImages& target) {
  if (target.m_bSharedCopy) return FALSE;
  if (target.m_hbmStrip != nullptr) target.Clear();
  target.m_sizeCell = m_sizeCell;
  target.m_sizeDraw = m_sizeDraw;
  target.m_bFromFile = m_bFromFile;
  target.m_strFilePath = m_strFilePath;
  target.m_bModified = m_bModified;
  target.m_nCount = m_nCount;
  target.m_clrTransparent = m_clrTransparent;
  target.m_bFileReadOnly = m_bFileReadOnly;
  target.m_clrShadow = m_clrShadow;
  target.m_bFadeDraw = m_bFadeDraw;
  target.m_nBitsPerPixel = m_nBitsPerPixel;
  auto copy = [](HBITMAP h) {
    return h ? static_cast<HBITMAP>(::CopyImage(h, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)) : nullptr;
  };
  target.m_hbmStrip = copy(m_hbmStrip);
  target.m_hbmFaded = copy(m_hbmFaded);
  target.m_hbmShadow = copy(m_hbmShadow);
  for (POSITION pos = m_lstResIds.GetHeadPosition(); pos != nullptr;) {
    const UINT uiResId = m_lstResIds.GetNext(pos);
    target.m_lstResIds.AddTail(uiResId);
    target.m_mapResFirstIndex.SetAt(uiResId, GetResourceOffset(uiResId));
  }
  target.m_lstResModules.AddTail(&m_lstResModules);
  return TRUE;
}

void CPlxButtonImages::CopyTemplate(CPlxButtonImages& target) {
  target.Clear();
  target.m_bSharedCopy = TRUE;
  target.m_sizeCell = m_sizeCell;
  target.m_sizeDraw = m_sizeDraw;
  target.m_hbmStrip = m_hbmStrip;
  target.m_bFromFile = m_bFromFile;
  target.m_nCount = m_nCount;
  target.m_nBitsPerPixel = m_nBitsPerPixel;
  target.m_bFileReadOnly = TRUE;
}

BOOL CPlxButtonImages::Save(LPCTSTR lpszBmpFileName) {
  if (!m_bFromFile || m_hbmStrip == nullptr || m_bFileReadOnly) return FALSE;
  const CString strTarget = lpszBmpFileName != nullptr ? CString(lpszBmpFileName) : m_strFilePath;
  if (!m_bModified && strTarget == m_strFilePath) return TRUE;
  BITMAP bm{};
  HBITMAP hbmp24 = nullptr;
  if (BitmapInfo(m_hbmStrip, bm) && bm.bmBitsPixel == 32 && m_nBitsPerPixel > 8 && m_nBitsPerPixel < 32)
    hbmp24 = CopyToDib24(m_hbmStrip);
  HANDLE hDib = PlxBitmapToDib(hbmp24 != nullptr ? hbmp24 : m_hbmStrip, BI_RGB);
  DeleteBitmap(hbmp24);
  if (hDib == nullptr) return FALSE;
  const BOOL bOk = PlxWriteDibFile(strTarget, hDib);
  ::GlobalFree(hDib);
  if (bOk) m_bModified = FALSE;
  return bOk;
}

BOOL CPlxButtonImages::CopyImageToClipboard(int iImage) {
  if (iImage < 0 || iImage >= m_nCount) return FALSE;
  try {
    HBITMAP hbmp = CreateCompatibleBitmap(nullptr, m_sizeCell.cx, m_sizeCell.cy);
    if (hbmp == nullptr) {
      AfxMessageBox(kIdsClipboardFailed);
      return FALSE;
    }
    {
      MemDC mem(hbmp);
      RECT rect{0, 0, m_sizeCell.cx, m_sizeCell.cy};
      FillRect(mem, &rect, g_plxGlobalData.brBtnFace);
      CDC dc;
      dc.Attach(mem);
      PlxImageDrawState ds;
      if (PrepareDrawImage(ds)) {
        Draw(&dc, 0, 0, iImage);
        EndDrawImage(ds);
      }
      dc.Detach();
    }
    CWnd* pMainWnd = AfxGetMainWnd();
    if (!::OpenClipboard(pMainWnd != nullptr ? pMainWnd->GetSafeHwnd() : nullptr)) {
      DeleteObject(hbmp);
      AfxMessageBox(kIdsClipboardFailed);
      return FALSE;
    }
    BOOL bOk = ::EmptyClipboard() && ::SetClipboardData(CF_BITMAP, hbmp) != nullptr;
    ::CloseClipboard();
    if (!bOk) {
      DeleteObject(hbmp);
      AfxMessageBox(kIdsClipboardFailed);
    }
    return bOk;
  } catch (...) {
    AfxMessageBox(kIdsClipboardException);
    return FALSE;
  }
}

HICON CPlxButtonImages::ExtractIcon(int nIndex) {
  if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
  UINT uiFlags = ILC_COLOR4 | ILC_MASK;
  switch (m_nBitsPerPixel) {
    case 32:
      uiFlags = ILC_COLOR32;
      break;
    case 8:
      uiFlags = ILC_COLOR8 | ILC_MASK;
      break;
    case 16:
      uiFlags = ILC_COLOR16 | ILC_MASK;
      break;
    case 24:
      uiFlags = ILC_COLOR24 | ILC_MASK;
      break;
    default:
      break;
  }
  HIMAGELIST hList = ImageList_Create(m_sizeCell.cx, m_sizeCell.cy, uiFlags, 0, 0);
  if (hList == nullptr) return nullptr;
  HICON hIcon = nullptr;
  auto hCopy = static_cast<HBITMAP>(::CopyImage(m_hbmStrip, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (hCopy != nullptr) {
    const COLORREF clrMask = m_clrTransparent == (COLORREF)-1 ? g_plxGlobalData.clrBtnFace : m_clrTransparent;
    if (ImageList_AddMasked(hList, hCopy, clrMask) >= 0) hIcon = ImageList_GetIcon(hList, nIndex, ILD_NORMAL);
    DeleteObject(hCopy);
  }
  ImageList_Destroy(hList);
  return hIcon;
}

BOOL CPlxButtonImages::PrepareDrawImage(PlxImageDrawState& ds, CSize sizeImageDest, BOOL bFadeInactive) {
  // Made first: a new manager re-reads the system colours, which drops the menu glyphs.
  CPlxVisualManager* pManager = CPlxVisualManager::GetInstance();
  if (m_hbmStrip == nullptr || !MakeSharedDcs()) return FALSE;
  if (bFadeInactive && m_nBitsPerPixel < 32 && m_hbmFaded == nullptr) CreateStateImage(FALSE);
  if (m_nBitsPerPixel < 32 && m_hbmShadow == nullptr && pManager->m_bShadowHighlightedImage &&
      !g_plxGlobalData.bIsBlackHighContrast && !g_plxGlobalData.bIsWhiteHighContrast)
    CreateStateImage(TRUE);
  m_bStretchDraw = FALSE;
  m_bFadeDraw = bFadeInactive && m_hbmFaded != nullptr && m_nBitsPerPixel != 0 &&
                (m_nBitsPerPixel <= 4 || m_bFadeHighColor);

  ds.hbmOldImage = SelectObject(s_hdcImage, (m_bFadeDraw && m_nBitsPerPixel < 32) ? m_hbmFaded : m_hbmStrip);
  ds.hbmMask = CreateBitmap(m_sizeCell.cx + 2, m_sizeCell.cy + 2, 1, 1, nullptr);
  ds.hbmOldMask = ds.hbmMask != nullptr ? SelectObject(s_hdcMask, ds.hbmMask) : nullptr;
  if (ds.hbmOldImage == nullptr || ds.hbmOldMask == nullptr) {
    if (ds.hbmOldImage != nullptr) SelectObject(s_hdcImage, ds.hbmOldImage);
    DeleteBitmap(ds.hbmMask);
    ds = PlxImageDrawState{};
    return FALSE;
  }

  m_sizeDraw = (sizeImageDest.cx > 0 && sizeImageDest.cy > 0) ? sizeImageDest : m_sizeCell;
  if (m_sizeDraw == m_sizeCell && EffectiveTransparent() == (COLORREF)-1) return TRUE;

  m_bStretchDraw = m_sizeDraw != m_sizeCell;
  HDC hdcStretch = CreateCompatibleDC(nullptr);
  HBITMAP hbmStretch = CreateCompatibleBitmap(nullptr, m_sizeCell.cx + 2, m_sizeCell.cy + 2);
  if (hdcStretch == nullptr || hbmStretch == nullptr) {
    if (hdcStretch != nullptr) DeleteDC(hdcStretch);
    DeleteBitmap(hbmStretch);
    EndDrawImage(ds);
    return FALSE;
  }
  m_dcStretch.Attach(hdcStretch);
  m_bmpStretch.Attach(hbmStretch);
  m_pOldStretchBmp = m_dcStretch.SelectObject(&m_bmpStretch);
  return TRUE;
}

BOOL CPlxButtonImages::EndDrawImage(PlxImageDrawState& ds) {
  if (ds.hbmOldMask != nullptr) SelectObject(s_hdcMask, ds.hbmOldMask);
  DeleteBitmap(ds.hbmMask);
  if (ds.hbmOldImage != nullptr) SelectObject(s_hdcImage, ds.hbmOldImage);
  ds = PlxImageDrawState{};
  m_rectLastDraw.SetRectEmpty();
  m_sizeDraw = CSize(0, 0);
  if (m_dcStretch.GetSafeHdc() != nullptr) {
    if (m_pOldStretchBmp != nullptr) m_dcStretch.SelectObject(m_pOldStretchBmp);
    m_pOldStretchBmp = nullptr;
    m_bmpStretch.DeleteObject();
    m_dcStretch.DeleteDC();
  }
  m_bStretchDraw = FALSE;
  m_bFadeDraw = FALSE;
  return TRUE;
}

void CPlxButtonImages::CreateMask(int iImage, BOOL bHilight, BOOL bHilightShadow) {
  const int cx = m_sizeCell.cx, cy = m_sizeCell.cy;
  PatBlt(s_hdcMask, 0, 0, cx + 2, cy + 2, WHITENESS);
  const COLORREF clrTransparent = EffectiveTransparent();
  SetBkColor(s_hdcImage, clrTransparent == (COLORREF)-1 ? g_plxGlobalData.clrBtnFace : clrTransparent);
  BitBlt(s_hdcMask, 0, 0, cx, cy, s_hdcImage, iImage * cx, 0, SRCCOPY);
  if (bHilight) {
    SetBkColor(s_hdcImage, g_plxGlobalData.clrBtnHilite);
    BitBlt(s_hdcMask, 0, 0, cx, cy, s_hdcImage, iImage * cx, 0, SRCPAINT);
  }
  if (bHilightShadow) BitBlt(s_hdcMask, 1, 1, cx + 1, cy + 1, s_hdcMask, 0, 0, SRCAND);
}

BOOL CPlxButtonImages::Draw(CDC* pDC, int x, int y, int iImage, BOOL bHilite, BOOL bDisabled,
                            BOOL bIndeterminate, BOOL bShadow, BOOL bInactive) {
  if (iImage < 0 || iImage >= m_nCount || pDC == nullptr) return FALSE;
  if (bShadow && g_plxGlobalData.nBitsPerPixel <= 8) return TRUE;
  const int cx = m_sizeCell.cx, cy = m_sizeCell.cy;
  const CSize sizeDraw = (m_sizeDraw.cx > 0 && m_sizeDraw.cy > 0) ? m_sizeDraw : m_sizeCell;
  m_rectLastDraw.SetRect(x, y, x + sizeDraw.cx, y + sizeDraw.cy);

  BOOL bStretch = m_bStretchDraw;
  if (bStretch) bHilite = bIndeterminate = FALSE;
  HGDIOBJ hbmRestore = nullptr;
  if (!bInactive && m_bFadeDraw && m_nBitsPerPixel < 32) hbmRestore = SelectObject(s_hdcImage, m_hbmStrip);

  const BOOL bAlpha = m_nBitsPerPixel == 32 && s_bAlphaBlend;
  COLORREF clrTransparent = bAlpha ? (COLORREF)-1 : m_clrTransparent;
  if (bAlpha) {
    bStretch = FALSE;  // the blend scales by itself
    bShadow = FALSE;
  }

  const BOOL bIntoStretch =
      (bStretch || clrTransparent != (COLORREF)-1) && m_dcStretch.GetSafeHdc() != nullptr;
  HDC hdcTarget = bIntoStretch ? m_dcStretch.GetSafeHdc() : pDC->GetSafeHdc();
  const int xTarget = bIntoStretch ? 0 : x, yTarget = bIntoStretch ? 0 : y;
  COLORREF clrBack = clrTransparent;
  if (bIntoStretch) {
    RECT rect{0, 0, cx, cy};
    if (clrTransparent == (COLORREF)-1 || clrTransparent == g_plxGlobalData.clrBtnFace) {
      FillRect(hdcTarget, &rect, g_plxGlobalData.brBtnFace);
    } else {
      pictavo::gdi::FillSolidRect(hdcTarget, rect, clrTransparent);
    }
    if (bDisabled && g_plxGlobalData.nBitsPerPixel == 16) clrBack = GetPixel(hdcTarget, 0, 0);
  }

  const BOOL bGrayPass = bDisabled && m_nBitsPerPixel >= 24;
  if (bGrayPass) bDisabled = FALSE;

  BOOL bDone = FALSE;
  if (!bHilite && !bDisabled && !bShadow) {
    if (bAlpha) {
      BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      if (bGrayPass)
        bf.SourceConstantAlpha = kDisabledAlpha;
      else if (bInactive && m_bFadeDraw)
        bf.SourceConstantAlpha = kFadedAlpha;
      bDone = ::AlphaBlend(hdcTarget, xTarget, yTarget, sizeDraw.cx, sizeDraw.cy, s_hdcImage, iImage * cx, 0,
                           cx, cy, bf);
    }
    if (!bDone) {
      BitBlt(hdcTarget, xTarget, yTarget, cx, cy, s_hdcImage, iImage * cx, 0, SRCCOPY);
      if (bGrayPass) {
        // Limited to the cell: the neighbours of a cell drawn straight on the DC keep their colours.
        CDC dcTarget;
        dcTarget.Attach(hdcTarget);
        CPlxDrawHelper helper(&dcTarget);
        helper.GrayRect(CRect(xTarget, yTarget, xTarget + cx, yTarget + cy), -1,
                        clrBack == (COLORREF)-1 ? g_plxGlobalData.clrBtnFace : clrBack,
                        CPlxVisualManager::GetInstance()->GetDisabledImageColor());
        dcTarget.Detach();
      }
    }
  } else if (bShadow && m_hbmShadow != nullptr) {
    MemDC shadow(m_hbmShadow);
    BitBlt(hdcTarget, xTarget, yTarget, cx, cy, shadow, iImage * cx, 0, SRCCOPY);
  } else {
    if (bDisabled || bIndeterminate || bShadow) {
      CreateMask(iImage, TRUE, FALSE);
      const COLORREF clrOldText = SetTextColor(hdcTarget, bShadow ? m_clrShadow : RGB(0, 0, 0));
      const COLORREF clrOldBk = SetBkColor(hdcTarget, RGB(255, 255, 255));
      HGDIOBJ hbrOld = nullptr;
      if (bDisabled && CPlxVisualManager::GetInstance()->m_bEmbossDisabledImage) {
        hbrOld = SelectObject(hdcTarget, g_plxGlobalData.hbrBtnHilite);
        BitBlt(hdcTarget, xTarget + 1, yTarget + 1, cx + 2, cy + 2, s_hdcMask, 0, 0, kRopPatternWhereBlack);
      }
      HGDIOBJ hbrPrev = SelectObject(hdcTarget, g_plxGlobalData.hbrBtnShadow);
      if (hbrOld == nullptr) hbrOld = hbrPrev;
      BitBlt(hdcTarget, xTarget, yTarget, cx + 2, cy + 2, s_hdcMask, 0, 0, kRopPatternWhereBlack);
      SelectObject(hdcTarget, hbrOld);
      SetTextColor(hdcTarget, clrOldText);
      SetBkColor(hdcTarget, clrOldBk);
    }
    if (bHilite || bIndeterminate) {
      HGDIOBJ hbrOld = SelectObject(hdcTarget, g_plxGlobalData.brLight.GetSafeHandle());
      CreateMask(iImage, !bIndeterminate, bDisabled);
      const COLORREF clrOldText = SetTextColor(hdcTarget, RGB(0, 0, 0));
      const COLORREF clrOldBk = SetBkColor(hdcTarget, RGB(255, 255, 255));
      BitBlt(hdcTarget, xTarget, yTarget, cx, cy, s_hdcMask, 0, 0, kRopPatternWhereWhite);
      SelectObject(hdcTarget, hbrOld);
      SetTextColor(hdcTarget, clrOldText);
      SetBkColor(hdcTarget, clrOldBk);
    }
  }

  if (bIntoStretch) {
    const COLORREF clrKey = clrBack == (COLORREF)-1 ? g_plxGlobalData.clrBtnFace : clrBack;
    if (bStretch)
      TransparentBlt(pDC->GetSafeHdc(), x, y, cx, cy, &m_dcStretch, 0, 0, clrKey, sizeDraw.cx, sizeDraw.cy);
    else
      TransparentBlt(pDC->GetSafeHdc(), x, y, cx, cy, &m_dcStretch, 0, 0, clrKey);
  }
  if (hbmRestore != nullptr) SelectObject(s_hdcImage, hbmRestore);
  return TRUE;
}

BOOL CPlxButtonImages::CreateStateImage(BOOL bShadow) {
  HBITMAP& target = bShadow ? m_hbmShadow : m_hbmFaded;
  if (!bShadow && (m_nBitsPerPixel == 0 || (m_nBitsPerPixel > 4 && !m_bFadeHighColor))) return FALSE;
  DeleteBitmap(target);
  if (m_hbmStrip == nullptr || g_plxGlobalData.nBitsPerPixel <= 8) return TRUE;
  DWORD* bits = nullptr;
  int cx = 0, cy = 0;
  HBITMAP hbmp = CopyToDib32(m_hbmStrip, &bits, &cx, &cy);
  if (hbmp == nullptr) return FALSE;
  const COLORREF clrTransparent = EffectiveTransparent();
  const COLORREF clrBack = clrTransparent == (COLORREF)-1 ? g_plxGlobalData.clrBtnFace : clrTransparent;
  if (bShadow) {
    const COLORREF clrShadow =
        CPlxDrawHelper::ScaleColor(CPlxVisualManager::GetInstance()->GetImageShadowBaseColor(), 67);
    for (size_t i = 0; i < size_t(cx) * size_t(cy); ++i)
      if (PixelToColor(bits[i]) != clrBack) bits[i] = ColorToPixel(clrShadow, bits[i]);
  } else {
    MemDC dc(hbmp);
    CDC cdc;
    cdc.Attach(dc);
    CPlxDrawHelper helper(&cdc);
    const BOOL bOk =
        helper.HighlightRect(CRect(0, 0, cx, cy), m_nFadePercent, clrTransparent, 0, (COLORREF)-1);
    cdc.Detach();
    if (!bOk) {
      DeleteObject(hbmp);
      return FALSE;
    }
  }
  target = hbmp;
  return TRUE;
}

BOOL CPlxButtonImages::GrayImages(int nGrayPercentage) {
  m_nGrayPercent = nGrayPercentage;
  m_bGrayed = TRUE;
  if (m_hbmStrip == nullptr || g_plxGlobalData.nBitsPerPixel <= 8) return TRUE;
  DWORD* bits = nullptr;
  int cx = 0, cy = 0;
  HBITMAP hbmp = CopyToDib32(m_hbmStrip, &bits, &cx, &cy);
  if (hbmp == nullptr) return FALSE;
  const int nPercent = nGrayPercentage > 0 ? nGrayPercentage : 130;
  if (m_nBitsPerPixel == 32 && s_bAlphaBlend) {
    for (size_t i = 0; i < size_t(cx) * size_t(cy); ++i) {
      const DWORD a = bits[i] >> 24;
      double h = 0, s = 0, l = 0;
      CPlxDrawHelper::RGBtoHSL(PixelToColor(bits[i]), &h, &s, &l);
      COLORREF grey = CPlxDrawHelper::ScaleColorChannels(CPlxDrawHelper::HLStoRGB(h, l, 0), nPercent / 100.0,
                                                         nPercent / 100.0, nPercent / 100.0);
      grey = RGB(GetRValue(grey) * a / 255, GetGValue(grey) * a / 255, GetBValue(grey) * a / 255);
      bits[i] = ColorToPixel(grey, bits[i]);
    }
  } else {
    MemDC dc(hbmp);
    CDC cdc;
    cdc.Attach(dc);
    CPlxDrawHelper helper(&cdc);
    const COLORREF clrTransparent =
        m_clrTransparent == (COLORREF)-1 ? g_plxGlobalData.clrBtnFace : m_clrTransparent;
    helper.GrayRect(CRect(0, 0, cx, cy), nPercent, clrTransparent, (COLORREF)-1);
    cdc.Detach();
  }
  DeleteBitmap(m_hbmStrip);
  m_hbmStrip = hbmp;
  return TRUE;
}

BOOL CPlxButtonImages::Mirror() {
  if (m_hbmStrip == nullptr || !MirrorBitmap(m_hbmStrip, m_sizeCell.cx)) return FALSE;
  if (m_hbmFaded != nullptr) MirrorBitmap(m_hbmFaded, m_sizeCell.cx);
  if (m_hbmShadow != nullptr) MirrorBitmap(m_hbmShadow, m_sizeCell.cx);
  return TRUE;
}

BOOL CPlxButtonImages::MapTo3dColors(BOOL bUseRGBQUAD, COLORREF clrSrc, COLORREF clrDest) {
  return MapBmpTo3dColors(m_hbmStrip, bUseRGBQUAD, clrSrc, clrDest);
}

void CPlxButtonImages::TransparentBlt(HDC hdcDest, int nXDest, int nYDest, int nWidth, int nHeight,
                                      CDC* pDcSrc, int nXSrc, int nYSrc, COLORREF colorTransparent,
                                      int nWidthDest, int nHeightDest) {
  if (pDcSrc == nullptr) return;
  const int cx = nWidthDest < 0 ? nWidth : nWidthDest;
  const int cy = nHeightDest < 0 ? nHeight : nHeightDest;
  HBITMAP hbmImage = CreateCompatibleBitmap(nullptr, cx, cy);
  HBITMAP hbmMask = CreateBitmap(cx, cy, 1, 1, nullptr);
  if (hbmImage == nullptr || hbmMask == nullptr) {
    DeleteBitmap(hbmImage);
    DeleteBitmap(hbmMask);
    return;
  }
  {
    MemDC image(hbmImage), mask(hbmMask);
    if (cx == nWidth && cy == nHeight)
      BitBlt(image, 0, 0, cx, cy, *pDcSrc, nXSrc, nYSrc, SRCCOPY);
    else
      StretchBlt(image, 0, 0, cx, cy, *pDcSrc, nXSrc, nYSrc, nWidth, nHeight, SRCCOPY);
    // Transparent pixels white in the mask.
    const COLORREF clrOldBk = SetBkColor(image, colorTransparent);
    BitBlt(mask, 0, 0, cx, cy, image, 0, 0, SRCCOPY);
    SetBkColor(image, clrOldBk);
    // Transparent pixels of the copy black...
    SetBkColor(image, RGB(0, 0, 0));
    SetTextColor(image, RGB(255, 255, 255));
    BitBlt(image, 0, 0, cx, cy, mask, 0, 0, SRCAND);
    // ...the opaque ones cleared in the destination, then the two joined.
    const COLORREF clrDestBk = SetBkColor(hdcDest, RGB(255, 255, 255));
    const COLORREF clrDestText = SetTextColor(hdcDest, RGB(0, 0, 0));
    BitBlt(hdcDest, nXDest, nYDest, cx, cy, mask, 0, 0, SRCAND);
    BitBlt(hdcDest, nXDest, nYDest, cx, cy, image, 0, 0, SRCPAINT);
    SetBkColor(hdcDest, clrDestBk);
    SetTextColor(hdcDest, clrDestText);
  }
  DeleteObject(hbmImage);
  DeleteObject(hbmMask);
}

COLORREF CPlxButtonImages::MapToSysColor(COLORREF color, BOOL bUseRGBQUAD) {
  for (const StandardColour& row : kStandardColours)
    if (row.standard == color) {
      const COLORREF sys = g_plxGlobalData.GetColor(row.sysColor);
      return bUseRGBQUAD ? SwapRB(sys) : sys;
    }
  return color;
}

COLORREF CPlxButtonImages::MapFromSysColor(COLORREF color, BOOL bUseRGBQUAD) {
  for (const StandardColour& row : kStandardColours) {
    COLORREF sys = g_plxGlobalData.GetColor(row.sysColor);
    if (bUseRGBQUAD) sys = SwapRB(sys);
    if (sys == color) return bUseRGBQUAD ? SwapRB(row.standard) : row.standard;
  }
  return color;
}

COLORREF CPlxButtonImages::MapGrayToFaceColor(COLORREF color) {
  const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  if (std::abs(r - g) > 10 || std::abs(g - b) > 10 || std::abs(r - b) > 10) return color;
  return CPlxDrawHelper::ScaleColorChannels(g_plxGlobalData.clrBarFace, (r - 192) / 255.0 + 1,
                                            (g - 192) / 255.0 + 1, (b - 192) / 255.0 + 1);
}

BOOL CPlxButtonImages::MapBmpTo3dColors(HBITMAP& hBmp, BOOL bUseRGBQUAD, COLORREF clrSrc, COLORREF clrDest) {
  if (hBmp == nullptr || (clrSrc != (COLORREF)-1 && clrDest == (COLORREF)-1)) return FALSE;
  BITMAP bm{};
  if (!BitmapInfo(hBmp, bm)) return FALSE;
  DWORD* bits = nullptr;
  int cx = 0, cy = 0;
  HBITMAP hbmpCopy = CopyToDib32(hBmp, &bits, &cx, &cy);
  if (hbmpCopy == nullptr) return FALSE;
  const bool bFaceTable = bm.bmBitsPixel == 24 && !s_b24BitTable;
  for (size_t i = 0; i < size_t(cx) * size_t(cy); ++i) {
    const COLORREF pixel = PixelToColor(bits[i]);
    COLORREF mapped = pixel;
    if (clrSrc == (COLORREF)-1)
      mapped = bFaceTable ? MapGrayToFaceColor(pixel) : MapToSysColor(pixel, bUseRGBQUAD);
    else if (pixel == clrSrc)
      mapped = clrDest;
    if (mapped != pixel) bits[i] = ColorToPixel(mapped, bits[i]);
  }
  DeleteObject(hBmp);
  hBmp = hbmpCopy;
  return TRUE;
}

BOOL CPlxButtonImages::PreMultiplyAlpha(HBITMAP hbmp) {
  int cx = 0, cy = 0;
  bool bottomUp = false;
  DWORD* bits = Dib32Bits(hbmp, &cx, &cy, &bottomUp);
  if (bits == nullptr) return FALSE;
  for (size_t i = 0; i < size_t(cx) * size_t(cy); ++i) {
    const DWORD p = bits[i], a = p >> 24;
    bits[i] = (p & 0xFF000000u) | ((((p >> 16) & 0xFF) * a / 255) << 16) |
              ((((p >> 8) & 0xFF) * a / 255) << 8) | ((p & 0xFF) * a / 255);
  }
  return TRUE;
}

BOOL CPlxButtonImages::MirrorBitmap(HBITMAP& hbmp, int cxImage) {
  if (hbmp == nullptr || cxImage <= 0) return FALSE;
  int cx = 0, cy = 0;
  bool bottomUp = false;
  DWORD* bits = Dib32Bits(hbmp, &cx, &cy, &bottomUp);
  HBITMAP hbmpCopy = nullptr;
  if (bits == nullptr) {
    hbmpCopy = CopyToDib32(hbmp, &bits, &cx, &cy);
    if (hbmpCopy == nullptr) return FALSE;
  }
  for (int y = 0; y < cy; ++y) {
    DWORD* row = bits + size_t(y) * size_t(cx);
    for (int left = 0; left + cxImage <= cx; left += cxImage) std::reverse(row + left, row + left + cxImage);
  }
  if (hbmpCopy != nullptr) {
    DeleteObject(hbmp);
    hbmp = hbmpCopy;
  }
  return TRUE;
}

HANDLE PlxBitmapToDib(HBITMAP hBitmap, DWORD dwCompression) {
  BITMAP bm{};
  if (dwCompression == BI_BITFIELDS || !BitmapInfo(hBitmap, bm)) return nullptr;
  const WORD wBits = static_cast<WORD>(bm.bmPlanes * bm.bmBitsPixel);
  const DWORD nColors = wBits <= 8 ? (1u << wBits) : 0;
  BITMAPINFOHEADER bi{};
  bi.biSize = sizeof(BITMAPINFOHEADER);
  bi.biWidth = bm.bmWidth;
  bi.biHeight = bm.bmHeight;
  bi.biPlanes = 1;
  bi.biBitCount = wBits;
  bi.biCompression = dwCompression;

  HDC hdc = CreateCompatibleDC(nullptr);
  if (hdc == nullptr) return nullptr;
  HGDIOBJ hOldPal = SelectObject(hdc, GetStockObject(DEFAULT_PALETTE));
  const size_t cbHeader = sizeof(BITMAPINFOHEADER) + nColors * sizeof(RGBQUAD);
  HGLOBAL hDib = ::GlobalAlloc(GMEM_FIXED, cbHeader);
  auto finish = [&](HGLOBAL result) {
    if (hOldPal != nullptr) SelectObject(hdc, hOldPal);
    DeleteDC(hdc);
    return result;
  };
  if (hDib == nullptr) return finish(nullptr);
  auto* pInfo = static_cast<BITMAPINFO*>(::GlobalLock(hDib));
  pInfo->bmiHeader = bi;
  ::GetDIBits(hdc, hBitmap, 0, static_cast<UINT>(bm.bmHeight), nullptr, pInfo, DIB_RGB_COLORS);
  bi = pInfo->bmiHeader;
  ::GlobalUnlock(hDib);
  if (bi.biSizeImage == 0) {
    bi.biSizeImage = ((static_cast<DWORD>(wBits) * bi.biWidth + 31) / 32) * 4 * std::abs(bi.biHeight);
    if (dwCompression != BI_RGB) bi.biSizeImage = bi.biSizeImage * 3 / 2;
  }
  HGLOBAL hGrown = ::GlobalReAlloc(hDib, cbHeader + bi.biSizeImage, GMEM_MOVEABLE);
  if (hGrown == nullptr) {
    ::GlobalFree(hDib);
    return finish(nullptr);
  }
  hDib = hGrown;
  pInfo = static_cast<BITMAPINFO*>(::GlobalLock(hDib));
  pInfo->bmiHeader = bi;
  const int nLines = ::GetDIBits(hdc, hBitmap, 0, static_cast<UINT>(bm.bmHeight),
                                 reinterpret_cast<BYTE*>(pInfo) + cbHeader, pInfo, DIB_RGB_COLORS);
  if (nLines == 0) {
    ::GlobalUnlock(hDib);
    ::GlobalFree(hDib);
    return finish(nullptr);
  }
  // Saved files hold the standard greys, whatever the system colours are now.
  for (DWORD i = 0; i < nColors; ++i) {
    RGBQUAD& q = pInfo->bmiColors[i];
    const COLORREF standard =
        CPlxButtonImages::MapFromSysColor(RGB(q.rgbBlue, q.rgbGreen, q.rgbRed), TRUE);  // RGBQUAD order
    q.rgbBlue = GetRValue(standard);
    q.rgbGreen = GetGValue(standard);
    q.rgbRed = GetBValue(standard);
  }
  ::GlobalUnlock(hDib);
  return finish(hDib);
}

BOOL PlxWriteDibFile(LPCTSTR lpszPath, HANDLE hDib) {
  if (lpszPath == nullptr || hDib == nullptr) return FALSE;
  const SIZE_T cbDib = ::GlobalSize(hDib);
  if (cbDib < sizeof(BITMAPINFOHEADER)) return FALSE;
  const auto* pDib = static_cast<const BYTE*>(::GlobalLock(hDib));
  if (pDib == nullptr) return FALSE;
  BITMAPINFOHEADER bi{};
  std::memcpy(&bi, pDib, sizeof(bi));
  const DWORD nColors = (bi.biBitCount <= 8) ? (1u << bi.biBitCount) : 0;
  std::vector<uint8_t> file(14 + cbDib);
  auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&file[at], &v, 2); };
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
  put16(0, 0x4D42);  // "BM"
  put32(2, static_cast<uint32_t>(cbDib + 14));
  put32(6, 0);
  put32(10, static_cast<uint32_t>(bi.biSize + nColors * sizeof(RGBQUAD) + 14));
  std::memcpy(&file[14], pDib, cbDib);
  ::GlobalUnlock(hDib);
  // The old file stays whole until the new one is complete.
  return pictavo::WriteFileAtomically(lpszPath, std::span<const uint8_t>(file)) == 0;
}
