// The Options dialog (template 353), run by View > Options... without a parent; its result is not
// used. The category list on the left picks one of two pages, the banner above names it: the
// general page (temporary folder, DVD-menu and TV options) and the album defaults. OK has both
// pages store their values, general first; Cancel stores nothing.
#pragma once

#include "platform/base/Array.h"
#include "platform/mfc/Dialog.h"
#include "shell/AlbumDefaultOptionsPage.h"
#include "shell/GeneralOptionsPage.h"
#include "shell/OptionsDlgControls.h"

#define IDD_OPTIONS 353
#define IDC_OPTIONS_CATEGORIES 1190
#define IDC_OPTIONS_BANNER 1215
#define IDC_OPTIONS_PAGE_AREA 1216

class COptionsDlg : public CDialog {
 public:
  explicit COptionsDlg(CWnd* pParent = nullptr);

  // Shows page n (0 general, 1 album defaults) and names it in the banner; any other n hides both.
  void ShowPage(int n);
  int GetShownPage() const;

  COptionsTitleStatic m_banner;
  COptionsCategoryList m_categories;
  CAlbumDefaultOptionsPage m_albumPage;
  CGeneralOptionsPage m_generalPage;
  CStringArray m_arrTitles;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void CreatePages();

  afx_msg void OnSelChangeCategory();
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // The category names and page titles in the current language.
  void FillCategories();
};
