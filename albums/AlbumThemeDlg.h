// The theme page (template 296): page 2 of the photo-album sheet. It lists the themes of the
// theme folder as thumbnails, gives the current photo album its theme, previews the theme with
// the album's first photo and hosts the title and credit pages below the preview, whose Preview
// buttons play their effect in the same area for the effect's duration before the theme returns.
// The preview is drawn from the page's 50 ms timer: through a Flash player control when one
// exists, else from the data model's own drawing (ThemePreview.h). UI thread only.
#pragma once

#include "albums/AlbumTitleCreditPage.h"
#include "albums/ThemePreview.h"
#include "controls/MemoryDC.h"
#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/StdControls.h"

class CDVDAlbumImage;
struct IShockwaveFlash;
struct IViewObjectEx;

#define IDD_ALBUM_THEME 296

#define IDC_THEME_LIST 1021
#define IDC_THEME_PREVIEW_LABEL 1119
#define IDC_THEME_CURRENT 1367
#define IDC_THEME_PREVIEW 1368
#define IDC_THEME_TITLE_PLACE 1374
#define IDC_THEME_CREDIT_PLACE 1376
#define IDC_THEME_TIME 1626

#define WM_TITLE_PREVIEW 0x13A5
#define WM_CREDIT_PREVIEW 0x13A7
#define WM_THEME_RELABEL 0x1F77

// The theme list: 180 x 140 items showing each theme's thumbnail; the item data is the theme
// record, the item text its name (the list sorts by it).
class CThemeListBox : public CListBox {
 public:
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
};

class CAlbumThemeDlg : public CPropertyPage {
 public:
  static constexpr UINT kPreviewTimer = 10235;

  CAlbumThemeDlg();
  ~CAlbumThemeDlg() override;

  // The album the page shows (null for none). The title and credit pages write what they hold
  // into the album shown before, while it is still in the project, and then follow this one.
  void SetAlbum(CDVDAlbumImage* pAlbum);
  CDVDAlbumImage* GetAlbum() const { return m_pAlbum; }

  CAlbumTitleCreditPage& GetTitlePage() { return m_titlePage; }
  CAlbumTitleCreditPage& GetCreditPage() { return m_creditPage; }
  CThemeListBox& GetThemeList() { return m_listThemes; }
  // What the preview shows now; the title and credit flags (at most one is set).
  CThemePreviewFrames::Kind GetPreviewKind() const { return m_frames.GetKind(); }
  BOOL IsTitlePreviewRunning() const { return m_bTitlePreview; }
  BOOL IsCreditPreviewRunning() const { return m_bCreditPreview; }
  BOOL IsPreviewTimerRunning() const { return m_nTimer != 0; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnThemeSelChange();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg LRESULT OnPageShow(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAppActiveChanged(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg LRESULT OnTitlePreview(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCreditPreview(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPrepareProjectSave(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnProjectReloaded(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnThemeRelabel(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void LoadThemes();
  void CreateTitleCreditPages();
  int CreateFlashWnd();
  void PlayEffectMovie(LPCTSTR lpszMovie, const _ALBUM_TEXT_SETTINGS* pText, CThemePreviewFrames::Kind kind);
  void StopPreview();
  void ApplyAlbumEffects(CDVDAlbumImage* pAlbum);
  void StartPreview(BOOL bOn);
  void StartTextPreview(CAlbumTitleCreditPage& page, bool credits);
  // The album the editor shows, or the page's own when there is no editor.
  CDVDAlbumImage* CurrentAlbum();
  void ShowThemeName(const _ALBUM_THEME* pTheme);
  void SelectTheme(const _ALBUM_THEME* pTheme);
  void CommitPages();
  void DrawPreviewFrame();
  void LayOut(int cx, int cy);
  void PaintPreview(CDC* pDC, const CRect& area);

  IShockwaveFlash* m_pFlash = nullptr;  // null without a Flash player
  HWND m_hFlashHost = nullptr;
  IViewObjectEx* m_pView = nullptr;
  CAlbumTitleCreditPage m_titlePage;
  CAlbumTitleCreditPage m_creditPage;
  CThemeListBox m_listThemes;
  CString m_strTime;
  CBrush m_brushPage;
  CCompatibleBitmapBuffer m_buffer;
  CThemePreviewFrames m_frames;
  BOOL m_bInitialized = FALSE;
  BOOL m_bVisible = FALSE;
  BOOL m_bPageShow = TRUE;
  BOOL m_bThemesLoaded = FALSE;
  BOOL m_bStopLoading = FALSE;
  BOOL m_bTitlePreview = FALSE;
  BOOL m_bCreditPreview = FALSE;
  UINT_PTR m_nTimer = 0;
  DWORD m_dwStartTick = 0;
  DWORD m_dwLastElapsed = 0;
  CDVDAlbumImage* m_pAlbum = nullptr;  // the album the title and credit pages edit
};
