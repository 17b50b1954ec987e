// The subtitle page (template 304): a slide's subtitle with text macros, one subtitle for every
// slide of the album or none, and the album's subtitle font (a TrueType file of the system font
// folder, a character set, a size of 16 to 36). The photo configuration dialog does not host it;
// a host gives it the slide and the album before creating it.
#pragma once

#include "platform/base/Array.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/StdControls.h"

#define IDD_PHOTO_EDIT_SUBTITLE 304

class CDVDImage;
class CDVDAlbumImage;

class CPhotoEditOperSubtitlePage : public CPropertyPage {
  DECLARE_DYNCREATE(CPhotoEditOperSubtitlePage)

 public:
  CPhotoEditOperSubtitlePage();
  ~CPhotoEditOperSubtitlePage() override;

  void SetImage(CDVDImage* pImage) { m_pImage = pImage; }
  void SetAlbum(CDVDAlbumImage* pAlbum) { m_pAlbum = pAlbum; }
  const CString& GetSubtitle() const { return m_strSubtitle; }

  // Appends the text of macro `nIndex` to the edit's text.
  void InsertMacro(int nIndex);
  // The page's font choices into the album's subtitle font and the settings' default.
  void SaveFont();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnAddMacro();
  afx_msg void OnModifyFont();
  afx_msg void OnApplyToAll();
  afx_msg void OnClearAll();
  afx_msg void OnMacro(UINT nID);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void EnableFontControls(BOOL bEnable);

  CComboBox m_comboFont;
  CSpinButtonCtrl m_spinSize;
  CComboBox m_comboCharset;
  CString m_strSubtitle;
  UINT m_nFontSize = 16;
  int m_nModifyFont = 0;
  CDVDImage* m_pImage = nullptr;
  CDVDAlbumImage* m_pAlbum = nullptr;
  BOOL m_bHold = TRUE;
  CBrush m_brushBackground;
  CStringArray m_arrFontFiles;  // full paths
};
