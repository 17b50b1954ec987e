// CPlxMousePage: the customize sheet's page that gives each registered kind of view the command
// a double-click in it runs. Views and assignments belong to the mouse manager; the page shows
// them sorted by name and edits them at once.
#pragma once

#include "platform/comctl/AfxImageList.h"
#include "platform/comctl/AfxListCtrl.h"
#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/StdControls.h"

class CPlxMousePage : public CPropertyPage {
  DECLARE_DYNCREATE(CPlxMousePage)

 public:
  enum {
    IDD = 16135,
    IDC_VIEWS = 16631,
    IDC_NO_COMMAND = 16632,
    IDC_USE_COMMAND = 16633,
    IDC_COMMANDS = 16634,
    IDC_DESCRIPTION = 16514,
  };

  CPlxMousePage();
  ~CPlxMousePage() override;

  int GetCurrentView() const { return m_iCurrViewId; }

  int m_iCurrViewId = -1;
  CImageList m_ViewsImages;
  CListCtrl m_wndListOfViews;
  CListBox m_wndListOfCommands;
  CStatic m_wndCommandDescription;
  CString m_strCommandDescription;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  afx_msg void OnNoDblcliick();
  afx_msg void OnUseDblcliick();
  afx_msg void OnSelchangeListOfCommands();
  void OnItemchangedListViews(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

  void EnableDblClickControls(BOOL bEnable = TRUE);
  CString CommandDescription(UINT uiCmd) const;
};
