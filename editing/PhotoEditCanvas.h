// The photo editor's canvas (static control 1208 of the photo configuration dialog): the current
// slide as a TV frame shows it, with the album's colour around the photo and the slide's and the
// album's texts and clip art on top, and the editing of those objects with the mouse, the keyboard,
// an in-place text edit and a context menu. Positions of objects are kept in reference units
// (a frame 768 wide); the canvas maps them through its frame origin and scale factor.
#pragma once

#include <memory>

#include "modules/data/PhotoParams.h"
#include "modules/data/TextRecords.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/Menu.h"

class CxImage;
class CDVDAlbumImage;
class CDVDImage;
class CDVDImageSprite;
class CDVDImageText;
class CPhotoEditOperCustomPanZoomPage;

#define IDC_PHOTO_EDIT_CANVAS 1208
#define IDC_AUTO_SIZE_EDIT 12345
#define IDR_SPRITE_EDIT_MENU 250
#define IDS_DOUBLE_CLICK_TO_EDIT 157

// Messages between the canvas, its dialog and its pages.
#ifndef WM_SPRITE_SELECTED
#define WM_SPRITE_SELECTED 0x0902
#endif
#ifndef WM_PHOTO_INTENSITY_CHANGED
#define WM_PHOTO_INTENSITY_CHANGED 0x0903
#endif
#ifndef WM_PHOTO_ROTATED
#define WM_PHOTO_ROTATED 0x0904
#endif
#ifndef WM_TEXT_FONT_CHANGED
#define WM_TEXT_FONT_CHANGED 0x06B4
#endif

// Context-menu and page commands the canvas carries out.
#define ID_SPRITE_COPY 32837
#define ID_SPRITE_PASTE 32838
#define ID_SPRITE_DELETE 32839
#define ID_SPRITE_BRING_FORWARD 32840
#define ID_SPRITE_SEND_BACKWARD 32841
#define ID_SPRITE_BRING_TO_FRONT 32842
#define ID_SPRITE_SEND_TO_BACK 32843
#define ID_SPRITE_APPLY_TO_ALL 33927
#define ID_CANVAS_ASPECT_4X3 33981
#define ID_CANVAS_ASPECT_16X9 33982
#define ID_CANVAS_ASPECT_NONE 33983
#define ID_CANVAS_SCALE_FIT 33997
#define ID_CANVAS_SCALE_FILL 33998

// The TV frame of a rectangle: its largest centred 16:9 rectangle, or 4:3 unless the project's
// aspect correction is 2. The pan-and-zoom preview uses the same rule.
void CalcFrameRect16x9(const RECT& rect, RECT* frame);
void CalcFrameRect4x3(const RECT& rect, RECT* frame);
void CalcFrameRect(const RECT& rect, RECT* frame);

// The transparent edit over a text being typed on the canvas: it grows with its text and the
// canvas draws a dotted frame round the text's logical rectangle.
class CAutoSizeEdit : public CEdit {
 public:
  explicit CAutoSizeEdit(CFont* pFont);
  ~CAutoSizeEdit() override;

  // The text's rectangle in the canvas's client coordinates (a commit places the text at its
  // top-left).
  const RECT& GetFrameRect() const { return m_rcFrame; }
  void SetFrameRect(const RECT& rect) { m_rcFrame = rect; }
  void SetTextColor(COLORREF colour) { m_clrText = colour; }
  COLORREF GetTextColor() const { return m_clrText; }
  // -1 keeps the edit transparent.
  void SetBkColor(COLORREF colour) { m_clrBackground = colour; }
  COLORREF GetBkColor() const { return m_clrBackground; }

  // Invalidates the canvas under the edit, 2 pixels round it.
  void InvalidateFrame();
  // The dotted yellow frame round the text, in the canvas's DC.
  void DrawFrame(CDC* pDC) const;
  // Grows or shrinks the edit's height and the frame to the text (at least one "A").
  void FitToText();

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  afx_msg void OnUpdate();
  afx_msg void OnKillFocus();
  afx_msg void OnChange();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();
  DECLARE_MESSAGE_MAP()

 private:
  RECT m_rcFrame{0, 0, 0, 0};
  COLORREF m_clrText = 0;
  COLORREF m_clrBackground = static_cast<COLORREF>(-1);
  CBrush m_brBackground;
  int m_nReserved = 0;
  CFont* m_pFont;
};

class CPhotoEditCanvas : public CStatic {
 public:
  CPhotoEditCanvas();
  ~CPhotoEditCanvas() override;

  // What the dialog gives the canvas.
  void SetScaleFactor(float* pScaleFactor) { m_pScaleFactor = pScaleFactor; }
  void SetTextFontData(_DVDImageTextFont* pTextFont) { m_pTextFont = pTextFont; }
  void SetTextPage(CWnd* pTextPage) { m_pTextPage = pTextPage; }
  void SetAlbum(CDVDAlbumImage* pAlbum) { m_pAlbum = pAlbum; }
  void SetSlideCount(int nCount) { m_nSlideCount = nCount; }
  void SetSlideIndex(int nIndex) { m_nSlideIndex = nIndex; }
  void SetPreviewWnd(CWnd* pPreview) { m_pPreviewWnd = pPreview; }
  void SetCustomPanZoomPage(CPhotoEditOperCustomPanZoomPage* pPage) { m_pCustomPanZoomPage = pPage; }

  CDVDAlbumImage* GetAlbum() const { return m_pAlbum; }
  CDVDImage* GetImage() const { return m_pImage; }
  // The photo as drawn (the custom pan-and-zoom page reads it).
  CxImage* GetDisplayImage() const { return m_pDisplayImage.get(); }
  CDVDImageSprite* GetSelectedSprite() const { return m_pSelected; }
  CDVDImageSprite* GetCopiedSprite() const { return m_pCopyBuffer; }
  // The given slide count when non-zero, else the album's photo count, else 0.
  int GetSlideCount() const;
  int GetSlideIndex() const { return m_nSlideIndex; }
  POINT GetFrameOrigin() const { return {m_nFrameX, m_nFrameY}; }
  const CRect& GetImageRect() const { return m_rcImage; }
  POINT GetCascadePosition() const { return {m_nCascadeX, m_nCascadeY}; }
  // The TV frame of the client area (shrunk by a pixel on each side).
  CRect GetFrameRect() const;

  // The slide shown (null for none); rebuilds the pictures for a new one.
  void SetImage(CDVDImage* pImage);
  // Rebuilds the pictures of the shown slide (after aspect or scale changes); FALSE without one.
  BOOL ReloadImage();

  // Texts and clip art.
  BOOL AddText();
  BOOL InsertMacro(int nMacro);
  BOOL InsertText(LPCTSTR lpszText);
  // x, y in client coordinates, width and height in pixels; FALSE for a missing file.
  BOOL AddClipArt(LPCTSTR lpszPath, int x, int y, int cx, int cy);
  void ToggleAutoExposure();
  BOOL IsTextSelected() const;
  void UpdateConvertedText(CDVDImageText* pText);
  void ApplyToAllPhotos();
  void SetTvAspect(int nAspect);
  void SetPhotoScaleMode(int nMode);

  // The in-place text edit.
  BOOL IsEditingText() const;
  BOOL BeginTextEdit(const RECT& rect);
  BOOL CommitTextEdit();
  BOOL EndTextEdit();
  CAutoSizeEdit* GetTextEdit() const { return m_pEdit; }
  void ApplyTextFont(const _DVDImageTextFont* pFont);
  // Delete, Escape and Enter.
  void OnKey(UINT nChar);

  // Resize steps of the grabbed object for a mouse point in client coordinates.
  void ResizeText(CDVDImageText* pText, int nHit, CPoint point);
  void ResizeClipArt(CDVDImageSprite* pSprite, int nHit, CPoint point);

  // Client pixels to reference units and back, with the current frame origin and scale factor.
  CPoint ClientToReference(CPoint point) const;
  int SizeToReference(int pixels) const;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg LRESULT OnPhotoIntensityChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPhotoRotated(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTextFontChanged(WPARAM wParam, LPARAM lParam);
  afx_msg void OnCopy();
  afx_msg void OnPaste();
  afx_msg void OnDelete();
  afx_msg void OnBringForward();
  afx_msg void OnSendBackward();
  afx_msg void OnBringToFront();
  afx_msg void OnSendToBack();
  afx_msg void OnApplyToAll();
  afx_msg void OnAspect4x3();
  afx_msg void OnAspect16x9();
  afx_msg void OnAspectNone();
  afx_msg void OnScaleFit();
  afx_msg void OnScaleFill();
  DECLARE_MESSAGE_MAP()

 private:
  struct Impl;

  void RebuildImages();
  // The shown photo again from the unadjusted one, with the slide's adjustments.
  void ApplyAdjustments();
  void DrawInto(CDC* pDC, const CRect& client);
  void PrepareCustomPanZoom();
  float Factor() const;
  void MarkEdited(CDVDImageSprite* pSprite);
  void SelectSprite(CDVDImageSprite* pSprite);
  void ForgetSprite(CDVDImageSprite* pSprite);
  BOOL DeleteSprite(CDVDImageSprite* pSprite);
  BOOL AddTextAt(LPCTSTR lpszText);
  CDVDImageSprite* HitTestClick(CPoint point, int* pHit) const;
  CDVDImageSprite* HitTestDoubleClick(CPoint point) const;
  // The hit code of the first object under a hovering mouse, the slide's own first.
  int HoverHitTest(CPoint point) const;
  void PostTextFontChanged();
  void PostSpriteSelected();
  void CopyStyleToDialog(const CDVDImageText* pText, BOOL bPost);
  void MoveStacking(UINT nCommand);
  CSize TextExtentA();

  std::unique_ptr<CxImage> m_pDisplayImage;
  std::unique_ptr<CxImage> m_pBaseImage;
  std::unique_ptr<CxImage> m_pDrawnImage;  // the display image at its placement size, when they differ
  CDVDAlbumImage* m_pAlbum = nullptr;
  CDVDImage* m_pImage = nullptr;
  CWnd* m_pTextPage = nullptr;
  _DVDImageTextFont* m_pTextFont = nullptr;
  float* m_pScaleFactor = nullptr;
  CFont m_font;
  int m_nFrameX = 0;
  int m_nFrameY = 0;
  BOOL m_bDragging = FALSE;
  CDVDImageSprite* m_pSelected = nullptr;
  CDVDImageSprite* m_pCopyBuffer = nullptr;
  int m_nDownX = -1;
  int m_nDownY = -1;
  int m_nGrabX = 0;
  int m_nGrabY = 0;
  CAutoSizeEdit* m_pEdit = nullptr;
  int m_nCascadeX = 50;
  int m_nCascadeY = 50;
  int m_nSlideCount = 0;
  int m_nSlideIndex = 0;
  int m_nHitCode = 0;
  float m_fWidthHeight = 1.0f;
  float m_fHeightWidth = 1.0f;
  CRect m_rcImage;
  CMenu m_menu;
  _tagPhotoIntensityParam m_intensity;
  CWnd* m_pPreviewWnd = nullptr;
  CPhotoEditOperCustomPanZoomPage* m_pCustomPanZoomPage = nullptr;
};
