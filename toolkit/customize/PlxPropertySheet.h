// CPlxPropertySheet as its pages reach it: a toolkit page tells the sheet when it becomes active,
// and the sheet follows system colour and setting changes like the toolkit dialogs. The sheet's
// navigation tree and looks come with the customization work.
#pragma once

#include "platform/mfc/PropertySheet.h"

class CPlxPropertyPage;

class CPlxPropertySheet : public CPropertySheet {
  DECLARE_DYNAMIC(CPlxPropertySheet)

 public:
  using CPropertySheet::CPropertySheet;

  // A page of this sheet becomes the active one (its OnSetActive, before the framework's).
  virtual void OnActivatePage(CPlxPropertyPage* pPage);

  CPlxPropertyPage* m_pLastActivatedPage = nullptr;  // the page last reported, for callers that ask

 protected:
  afx_msg void OnSysColorChange();
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  DECLARE_MESSAGE_MAP()
};
