// The photo editor's "ArtClips" tab (template 301): clip art by style from the clip-art folder
// beside the executable ("ArtClip\artclip.ini"), shown as thumbnails; a double-click or a drag
// onto the canvas puts one on the current slide, "More..." any picture file.
#pragma once

#include "platform/base/Array.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/StdControls.h"

#define IDD_PHOTO_EDIT_ARTCLIP 301

#ifndef WM_ARTCLIP_BUTTONDOWN
#define WM_ARTCLIP_BUTTONDOWN 0x0A3D  // clip-art list -> page: wParam mouse flags, lParam screen point
#endif

class CListBoxDragHelper;

// A style of the style file: the name the combo shows and its folder inside the clip-art folder.
struct ClipArtStyle {
  char name[260];
  char path[260];
};

// The clip art of one style: owner-drawn 86-pixel cells in columns, each item a clip-art path.
class CArtClipListBox : public CListBox {
 public:
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
  int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) override;

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()
};

class CPhotoEditOperArtClipPage : public CPropertyPage {
 public:
  CPhotoEditOperArtClipPage();
  ~CPhotoEditOperArtClipPage() override;

  void SetCanvas(CWnd* pCanvas) { m_pCanvas = pCanvas; }

  // The style file's styles into the combo (entry 0 selected, its clip art listed).
  void LoadStyles();
  // The clip-art files of a style's folder ("EMF" or "WMF" endings), in search order.
  static void ListStyleFiles(const CString& folder, CStringArray& paths);
  // The size a picture of `picture` size gets on the canvas: fitted into 120 x 120.
  static CSize FitClipArt(CSize picture, CRect* fitted = nullptr);
  // The cascade position after one addition, against the canvas's client size.
  static CPoint NextCascade(CPoint position, CSize canvas);
  // The clip-art folder: the executable's folder and "ArtClip".
  static CString GetArtClipFolder();
  // Reads the styles from another clip-art folder (set before the page is created).
  void SetArtClipFolder(const CString& folder) { m_strFolder = folder; }
  // What "More..." does with the chosen file: a picture ending (case ignored) is added at the
  // cascade position; any other file adds nothing. FALSE when nothing was added.
  BOOL AddPictureFile(const CString& path);
  CPoint GetCascade() const { return m_cascade; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnStyleChange();
  afx_msg void OnClipArtDblClk();
  afx_msg void OnMore();
  afx_msg void OnAddSelectedToAll();
  afx_msg LRESULT OnArtClipButtonDown(WPARAM wParam, LPARAM lParam);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  void OnOK() override;
  DECLARE_MESSAGE_MAP()

 private:
  // Adds a picture file (vector or raster by `bRaster`) at the cascade position, then advances it.
  BOOL AddAtCascade(const CString& path, BOOL bRaster);
  BOOL AddToCanvas(const CString& path, int x, int y, int cx, int cy);
  BOOL CanvasHasSelection() const;
  void AdvanceCascade();
  CWnd* CanvasWindow() const;

  CComboBox m_comboStyle;
  CArtClipListBox m_listClipArt;
  int m_nStyle = -1;
  CWnd* m_pCanvas = nullptr;  // the editing canvas, given by the dialog
  CBrush m_brushBackground;
  CListBoxDragHelper* m_pDrag = nullptr;
  CPoint m_grabOffset{0, 0};
  CPoint m_cascade{40, 40};
  CString m_strFolder;  // empty: GetArtClipFolder()
};
