// CPlxButtonImages: equally sized images ("cells") side by side in one bitmap, drawn in the
// states toolbars and menus need (normal, faded, disabled, indeterminate, checked, shadow). Cells
// come from bitmap resources or a .bmp file; file-based strips can be edited and saved. The
// image and mask DCs are shared by every strip, so drawing series never nest.
#pragma once

#include "platform/base/List.h"
#include "platform/base/Map.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"

// What PrepareDrawImage selected and EndDrawImage puts back.
struct PlxImageDrawState {
  HBITMAP hbmMask = nullptr;
  HGDIOBJ hbmOldMask = nullptr;
  HGDIOBJ hbmOldImage = nullptr;
};

class CPlxButtonImages : public CObject {
 public:
  CPlxButtonImages();
  ~CPlxButtonImages() override;
  CPlxButtonImages(const CPlxButtonImages&) = delete;
  CPlxButtonImages& operator=(const CPlxButtonImages&) = delete;

  static void SetMirrorMode(BOOL bMirror) { s_bMirrorMode = bMirror; }
  static BOOL IsMirrorMode() { return s_bMirrorMode; }
  // Frees the shared DCs (at exit, and between uses); the next strip made or drawn makes them again.
  static void StaticCleanUp();

  // Loading. Without bAdd the strip becomes the resource's bitmap alone.
  BOOL Load(UINT uiResID, HINSTANCE hinstRes = nullptr, BOOL bAdd = FALSE);
  BOOL LoadFromFile(LPCTSTR lpszPath);
  void Reload();
  int AddImage(HBITMAP hbmp, BOOL bSetBitPerPixel = FALSE);
  int AddIcon(HICON hIcon, BOOL bAlpha = FALSE);
  BOOL UpdateImage(int iImage, HBITMAP hbmp);
  void Clear();

  BOOL CopyTo(CPlxButtonImages& imageList);
  void CopyTemplate(CPlxButtonImages& imageList);
  // Writes the strip as a .bmp file, replacing the target only once every byte is written.
  BOOL Save(LPCTSTR lpszBmpFileName = nullptr);
  BOOL CopyImageToClipboard(int iImage);
  HICON ExtractIcon(int nIndex);

  BOOL PrepareDrawImage(PlxImageDrawState& ds, CSize sizeImageDest = CSize(0, 0), BOOL bFadeInactive = FALSE);
  BOOL Draw(CDC* pDC, int x, int y, int iImageIndex, BOOL bHilite = FALSE, BOOL bDisabled = FALSE,
            BOOL bIndeterminate = FALSE, BOOL bShadow = FALSE, BOOL bInactive = FALSE);
  BOOL EndDrawImage(PlxImageDrawState& ds);

  BOOL CreateStateImage(BOOL bShadow);
  BOOL GrayImages(int nGrayPercentage);
  BOOL Mirror();
  BOOL MapTo3dColors(BOOL bUseRGBQUAD = FALSE, COLORREF clrSrc = (COLORREF)-1,
                     COLORREF clrDest = (COLORREF)-1);

  // Class operations.
  static void TransparentBlt(HDC hdcDest, int nXDest, int nYDest, int nWidth, int nHeight, CDC* pDcSrc,
                             int nXSrc, int nYSrc, COLORREF colorTransparent, int nWidthDest = -1,
                             int nHeightDest = -1);
  static BOOL MapBmpTo3dColors(HBITMAP& hBmp, BOOL bUseRGBQUAD = FALSE, COLORREF clrSrc = (COLORREF)-1,
                               COLORREF clrDest = (COLORREF)-1);
  // Standard greys to the current system colours (or back).
  static COLORREF MapToSysColor(COLORREF color, BOOL bUseRGBQUAD = FALSE);
  static COLORREF MapFromSysColor(COLORREF color, BOOL bUseRGBQUAD = FALSE);
  static COLORREF MapGrayToFaceColor(COLORREF color);
  static BOOL PreMultiplyAlpha(HBITMAP hbmp);
  static BOOL MirrorBitmap(HBITMAP& hbmp, int cxImage);

  // Accessors.
  void SetImageSize(SIZE sizeImage) { m_sizeCell = sizeImage; }
  // The source cell size, or with bDest the size a drawing series draws it at (the cell size
  // outside a series).
  CSize GetImageSize(BOOL bDest = FALSE) const {
    return bDest && m_sizeDraw.cx > 0 && m_sizeDraw.cy > 0 ? m_sizeDraw : m_sizeCell;
  }
  int GetCount() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }
  HBITMAP GetImageWell() const { return m_hbmStrip; }
  // Sets the transparent colour; a change rebuilds the faded and shadow copies that exist.
  COLORREF SetTransparentColor(COLORREF clrTransparent);
  COLORREF GetTransparentColor() const { return m_clrTransparent; }
  void SetFadePercent(int nPercent) { m_nFadePercent = nPercent; }
  int GetFadePercent() const { return m_nFadePercent; }
  BOOL IsModified() const { return m_bModified; }
  BOOL IsReadOnly() const { return m_bSharedCopy; }
  BOOL IsFromFile() const { return m_bFromFile; }
  BOOL IsFileReadOnly() const { return m_bFileReadOnly; }
  CString GetFilePath() const { return m_strFilePath; }
  int GetBitsPerPixel() const { return m_nBitsPerPixel; }
  void SetMapTo3dColors(BOOL bMap) { m_bMapTo3dColors = bMap; }
  void SetFadeHighColor(BOOL bFade) { m_bFadeHighColor = bFade; }
  BOOL HasFadedImage() const { return m_hbmFaded != nullptr; }
  BOOL HasShadowImage() const { return m_hbmShadow != nullptr; }
  HBITMAP GetFadedImage() const { return m_hbmFaded; }
  HBITMAP GetShadowImage() const { return m_hbmShadow; }
  // The index the resource's first cell got, or -1.
  int GetResourceOffset(UINT uiResId) const;
  CRect GetLastImageRect() const { return m_rectLastDraw; }

 protected:
  void UpdateCount();
  void DeleteStateImages();
  void CreateMask(int iImage, BOOL bHilight, BOOL bHilightShadow);
  UINT LoadFlags() const;
  COLORREF EffectiveTransparent() const;

  CSize m_sizeCell{16, 15};
  CSize m_sizeDraw{0, 0};
  HBITMAP m_hbmStrip = nullptr;
  HBITMAP m_hbmFaded = nullptr;
  HBITMAP m_hbmShadow = nullptr;
  BOOL m_bFromFile = FALSE;
  CString m_strFilePath;
  BOOL m_bModified = FALSE;
  int m_nCount = 0;
  CList<UINT, UINT> m_lstResIds{10};
  CList<HINSTANCE, HINSTANCE> m_lstResModules{10};
  CMap<UINT, UINT, int, int> m_mapResFirstIndex{10};
  BOOL m_bStretchDraw = FALSE;
  CDC m_dcStretch;
  CBitmap m_bmpStretch;
  CBitmap* m_pOldStretchBmp = nullptr;
  COLORREF m_clrTransparent = (COLORREF)-1;
  BOOL m_bFileReadOnly = FALSE;
  BOOL m_bSharedCopy = FALSE;
  COLORREF m_clrShadow = 0;
  BOOL m_bFadeDraw = FALSE;
  int m_nBitsPerPixel = 0;
  BOOL m_bGrayed = FALSE;
  int m_nGrayPercent = 0;
  int m_nFadePercent = 130;
  BOOL m_bMapTo3dColors = TRUE;
  BOOL m_bFadeHighColor = FALSE;
  CRect m_rectLastDraw;

  // The two shared DCs, made when missing; FALSE when the system has none left.
  static BOOL MakeSharedDcs();

  // Shared by every strip; UI thread only.
  static HDC s_hdcImage;
  static HDC s_hdcMask;
  static BOOL s_bInitialized;
  static BOOL s_bAlphaBlend;
  static BOOL s_bMirrorMode;
  static BOOL s_b24BitTable;
  static constexpr BYTE kDisabledAlpha = 127;
  static constexpr BYTE kFadedAlpha = 150;
};

// Packs a bitmap as a DIB (header, palette, rows) in a GlobalAlloc block the caller frees; the
// palette holds the standard greys again.
HANDLE PlxBitmapToDib(HBITMAP hBitmap, DWORD dwCompression = 0);
// The .bmp file of a packed DIB, written atomically.
BOOL PlxWriteDibFile(LPCTSTR lpszPath, HANDLE hDib);
