// The preview pages the album sheets hold: the photo album's preview container (template 178,
// the preview window with three skinned buttons: play from the beginning, play from the current
// item, stop), the photo configuration dialog's preview area (template 375) and the output-format
// container (template 386). The video album's preview lives in VideoPreviewContainer.h.
#pragma once

#include "controls/LayoutMgr.h"
#include "controls/SeekBar.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Dialog.h"

class AlbumPreviewDlg;
class CCoolButtonBar;
class CDVDAlbumBase;
class CDVDAlbumMovie;
class CDVDImage;

#define IDD_ALBUM_PREVIEW_CONTAINER 178
#define IDD_ALBUM_PREVIEW_CONTAINER2 375
#define IDD_ALBUM_VIDEO_PROFILE_CONTAINER 386
#define IDC_PREVIEW_PLAY_BEGIN_BAR 1445
#define IDC_PREVIEW_PLAY_CURRENT_BAR 1446
#define IDC_PREVIEW_STOP_BAR 1447
#define IDC_PREVIEW_AREA 1497
#define IDC_PREVIEW_BUTTON_COLUMN 1498

// A page of a sheet: the skin's page colour, Enter and Esc do not close it.
class CPreviewPageBase : public CDialog {
 public:
  explicit CPreviewPageBase(UINT nIDTemplate) : CDialog(nIDTemplate), m_nTemplate(nIDTemplate) {}

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  UINT m_nTemplate;
};

class AlbumPreviewContainer : public CPreviewPageBase {
 public:
  AlbumPreviewContainer();
  ~AlbumPreviewContainer() override;

  void PlayFromBeginning();
  void PlayFromCurrent();
  void StopPreview();
  void UpdatePlayButtons(BOOL bPlaying);
  void LayoutPreview();
  AlbumPreviewDlg* GetPreview() { return m_pPreview; }
  BOOL IsShownForPlay() const { return m_bShown; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg LRESULT OnPlayBegin(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPlayCurrent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStopButton(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPreviewEnded(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAlbumSelected(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPageShow(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStopPlayback(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnProjectReloaded(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTvAspectChanged(WPARAM wParam, LPARAM lParam);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  void AlbumSelectionChanged(int nIndex, BOOL bPlay);
  int SelectedAlbum() const;
  void StopAndRepaint();
  void PlaySelected(BOOL bFromBeginning);

  CPlaceholderStatic m_buttonColumn;  // 1498
  CPlaceholderStatic m_area;          // 1497
  CCoolButtonBar* m_pStopBar;         // the skin's
  CCoolButtonBar* m_pPlayCurrentBar;  // the skin's
  CCoolButtonBar* m_pPlayBeginBar;    // the skin's
  AlbumPreviewDlg* m_pPreview;        // owned
  BOOL m_bShown = FALSE;
  CLayoutMgr m_layout;
};

// The photo configuration dialog's preview: no buttons; its owner plays from a photo and stops.
class CAlbumPreviewContainer2Page : public CDialog {
 public:
  CAlbumPreviewContainer2Page();
  ~CAlbumPreviewContainer2Page() override;

  BOOL PreviewFromImage(CDVDAlbumBase* pAlbum, CDVDImage* pImage);
  BOOL StopPreview();
  // The slide the last run ended at.
  int GetPreviewState() const;
  void LayoutPreview(int cx, int cy);
  AlbumPreviewDlg* GetPreview() { return m_pPreview; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg LRESULT OnPreviewEnded(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTvAspectChanged(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()

 private:
  AlbumPreviewDlg* m_pPreview;  // owned
  CBrush m_brush;
};
