// The "Photo Configuration" dialog (template 299): the slides of one photo album edited one photo
// at a time. The editing canvas of the current photo, a thumbnail list of the album's photos
// (or of the caller's subset), five operation pages under a skinned tab strip, a navigation bar
// and a play / stop bar that turns the canvas area into an album preview. Every edit reaches the
// data model at once; closing only finishes a pending text edit, stores the text style and
// remembers the tab. Opened by the timeline's photo items and by the photo list page.
//
// The canvas and the pages read what they share with the dialog through the accessors below
// (scale factor, text style record, current photo, album); the dialog hands them these pointers
// during OnInitDialog. UI thread only.
#pragma once

#include <memory>

#include "modules/data/TextRecords.h"
#include "platform/base/Array.h"
#include "platform/base/List.h"
#include "platform/mfc/Dialog.h"

#define IDD_PHOTO_CONFIG 299

// Controls of template 299.
#define IDC_PHOTO_CANVAS 1208
#define IDC_PHOTO_PAGE_FRAME 1209
#define IDC_PHOTO_CONFIG_LIST 1021
#define IDC_PHOTO_OPER_TABS 1304
#define IDC_PHOTO_NAV_BAR 1320
#define IDC_PHOTO_PLAY_BAR 1479
#define IDC_PHOTO_STOP_BAR 1480

// Operation tabs; a tab's index is also its page's index in the page set.
enum PhotoOperTab {
  kPhotoTabTransition = 0,
  kPhotoTabPanZoom = 1,
  kPhotoTabText = 2,
  kPhotoTabArtClip = 3,
  kPhotoTabProcess = 4,
  kPhotoTabCount = 5,
};

// Navigation bar buttons (wParam of WM_PHOTO_NAV_BUTTON).
enum PhotoNavButton {
  kNavFirst = 0,
  kNavPrevious = 1,
  kNavNext = 2,
  kNavLast = 3,
  kNavRotateRight = 4,  // +90 degrees
  kNavRotateLeft = 5,   // +270 degrees
  kNavSpare = 6,        // enabled with the rotations, no action
  kNavButtonCount = 7,
};

class CAlbumPreviewContainer2Page;
class CBufferedListCtrl;
class CCoolButtonBar;
class CDVDAlbumImage;
class CDVDImage;
class CImageLoadManager;
class CPageSet;
class CPhotoEditCanvas;
class CPhotoEditOperArtClipPage;
class CPhotoEditOperCustomPanZoomPage;
class CPhotoEditOperPanZoomPage;
class CPhotoEditOperProcessPage;
class CPhotoEditOperTextPage;
class CPhotoEditOperTransitionPage;
class CSkinTabStrip;

class CPhotoConfigDlg : public CDialog {
 public:
  // bStart non-zero opens on the Transition tab instead of the remembered one.
  explicit CPhotoConfigDlg(int bStart, CWnd* pParent = nullptr);
  ~CPhotoConfigDlg() override;

  void SetCurrentImage(CDVDImage* pImage) { m_pCurrentImage = pImage; }
  CDVDImage* GetCurrentImage() const { return m_pCurrentImage; }
  // The member itself: the custom pan-and-zoom page and its previews follow it.
  CDVDImage** GetCurrentImageAddress() { return &m_pCurrentImage; }

  // Album indexes of the photos the caller selected; two or more restrict the list to them.
  CUIntArray& GetSubset() { return m_arrSubset; }

  // The album being edited: the album editor's current photo album, re-read at every use.
  static CDVDAlbumImage* GetAlbum();

  // Shared with the canvas and the pages.
  float* GetScaleFactorAddress() { return &m_fScaleFactor; }  // frame width / 768, the canvas writes it
  float GetScaleFactor() const { return m_fScaleFactor; }
  _DVDImageTextFont* GetTextStyle() { return &m_textStyle; }  // the working TextFont record
  CPhotoEditCanvas* GetCanvas() { return m_pCanvas; }
  CPhotoEditOperTextPage* GetTextPage() { return m_pTextPage; }
  CPhotoEditOperArtClipPage* GetArtClipPage() { return m_pArtClipPage; }
  CPhotoEditOperTransitionPage* GetTransitionPage() { return m_pTransitionPage; }
  CPhotoEditOperPanZoomPage* GetPanZoomPage() { return m_pPanZoomPage; }
  CPhotoEditOperProcessPage* GetProcessPage() { return m_pProcessPage; }
  CPhotoEditOperCustomPanZoomPage* GetCustomPanZoomPage() { return m_pCustomPanZoomPage; }
  CAlbumPreviewContainer2Page* GetPreviewPage() { return m_pPreviewPage; }
  CBufferedListCtrl* GetPhotoList() { return m_pList; }
  CSkinTabStrip* GetTabStrip() { return m_pTabStrip; }
  // The page shown, -1 before the page set has one.
  int GetCurrentTab() const;

  // Makes pImage current (nothing for null or the current one unless forced): finishes a text
  // edit, hands the photo to the canvas and the pages, updates the navigation bar.
  void SwitchToImage(CDVDImage* pImage, BOOL bForce);
  // The current photo handed again to the canvas and the pages (before a preview starts).
  void ReloadCurrentImage();
  void UpdateNavButtons();
  // Running: the editing windows are disabled and the stop bar replaces the play bar.
  void SetPreviewMode(BOOL bRunning);
  BOOL IsPreviewMode() const { return m_bPreviewMode; }

  // Escape goes to the canvas and its text edit instead of cancelling the dialog.
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // The number of objects of the photo last made current (-1 at start); a change repaints its cell.
  static int s_nLastObjectCount;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnFillPhotoList(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPhotoOperTab(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSpriteSelected(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRedrawPhotoRows(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNavButton(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPreviewPlay(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPreviewStop(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPreviewEnded(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void Close(int nResult);
  void ShowTab(int nTab);
  // The canvas shows except under the Pan&Zoom tab, where the custom page takes its place.
  void ApplyCanvasVisibility();
  void RefreshCustomPanZoomPage();
  void SetImageOnPages(CDVDImage* pImage);
  void RedrawSelectedRows();
  void CommitPendingTextEdit();
  void Navigate(int nButton);
  void Rotate(int nDegrees);
  void StopPreview();
  LRESULT DrawCell(LPARAM lParam);  // an NMLVCUSTOMDRAW of the list
  int FirstSelectedRow() const;
  int ObjectCount(const CDVDImage* pImage) const;

  // In declaration order of the design; the windows are owned.
  CPhotoEditCanvas* m_pCanvas;           // 1208
  CBufferedListCtrl* m_pList;            // 1021
  CSkinTabStrip* m_pTabStrip;            // 1304
  CSkinTabStrip* m_pTabs;                // the same strip
  CCoolButtonBar* m_pNavBar = nullptr;   // the skin's, on 1320
  CCoolButtonBar* m_pPlayBar = nullptr;  // the skin's, on 1479
  CCoolButtonBar* m_pStopBar = nullptr;  // the skin's, on 1480
  int m_bStart;
  CUIntArray m_arrSubset;
  HIMAGELIST m_hThumbFrames = nullptr;  // the skin's
  CDVDImage* m_pCurrentImage = nullptr;
  CList<int, int> m_listPending;  // newest selection at the head
  float m_fScaleFactor = 1.0f;
  _DVDImageTextFont m_textStyle{};
  CPageSet* m_pPageSet;
  CPhotoEditOperTextPage* m_pTextPage;
  CPhotoEditOperArtClipPage* m_pArtClipPage;
  CPhotoEditOperTransitionPage* m_pTransitionPage;
  CPhotoEditOperPanZoomPage* m_pPanZoomPage;
  CPhotoEditOperProcessPage* m_pProcessPage;
  CPhotoEditOperCustomPanZoomPage* m_pCustomPanZoomPage;
  CAlbumPreviewContainer2Page* m_pPreviewPage;
  BOOL m_bPreviewMode = FALSE;
  // Makes the cells' thumbnails off the UI thread (new rows, and a photo whose look changed).
  std::unique_ptr<CImageLoadManager> m_pLoader;
};
