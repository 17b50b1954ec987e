// The two album sheets below the album editor's tab strips: AlbumPropSheet shows a photo album on
// five pages (photos, transition and music, theme, preview, video output), CVideoAlbumPropSheet a
// video album on two (clips, preview). A sheet is a plain child window; its pages are modeless
// child dialogs of which one is shown, chosen by the album editor's tab strips. UI thread only.
#pragma once

#include "albums/AlbumPhotoDlg.h"
#include "albums/AlbumThemeDlg.h"
#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"
#include "shell/PageSet.h"

class AlbumOptionsOneDlg;
class AlbumPreviewContainer;
class CAlbumVideoPorfileContainerPage;
class CDVDAlbumMovie;
class CVideoAlbumPage;
class CVideoPreviewContainer;

class AlbumPropSheet : public CWnd {
 public:
  static constexpr int kPageCount = 5;
  AlbumPropSheet();
  ~AlbumPropSheet() override;

  BOOL Create(CWnd* pParent, UINT nID);
  // Shows page nPage % 5 when the sheet holds it.
  void SelectPage(int nPage);
  int GetCurrentPage() const { return m_pages.GetCurrentPage(); }

  AlbumPhotoDlg& GetPhotoPage() { return m_photoPage; }
  AlbumOptionsOneDlg* GetOptionsPage() { return m_pOptionsPage; }
  CAlbumThemeDlg& GetThemePage() { return m_themePage; }
  AlbumPreviewContainer* GetPreviewContainer() { return m_pPreviewContainer; }
  CAlbumVideoPorfileContainerPage* GetOutputPage() { return m_pOutputPage; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnProjectReloaded(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CPageSet m_pages;
  CString m_strClassName;
  AlbumOptionsOneDlg* m_pOptionsPage;              // owned
  AlbumPreviewContainer* m_pPreviewContainer;      // owned
  CAlbumVideoPorfileContainerPage* m_pOutputPage;  // owned
  AlbumPhotoDlg m_photoPage;
  CAlbumThemeDlg m_themePage;
};

class CVideoAlbumPropSheet : public CWnd {
 public:
  CVideoAlbumPropSheet();
  ~CVideoAlbumPropSheet() override;

  BOOL Create(CWnd* pParent, UINT nID);
  // Page nPage % 2; a negative page selects nothing.
  void SelectPage(int nPage);
  int GetCurrentPage() const { return m_pages.GetCurrentPage(); }
  // The album the clip page shows; the preview stops when it changes. Null empties the page.
  void SetMovieAlbum(CDVDAlbumMovie* pAlbum);
  CDVDAlbumMovie* GetMovieAlbum() const { return m_pAlbum; }
  CVideoAlbumPage* GetClipPage() { return m_pClipPage; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  CPageSet m_pages;
  CString m_strClassName;
  CDVDAlbumMovie* m_pAlbum = nullptr;
  CVideoAlbumPage* m_pClipPage;                 // owned
  CVideoPreviewContainer* m_pPreviewContainer;  // owned
};
