// The Options dialog (template 353), run by View > Options without a parent; its result is not
// used. Its category list and pages come with the options pages; OK and Cancel close it.
#pragma once

#include "platform/mfc/Dialog.h"

#define IDD_OPTIONS 353

class COptionsDlg : public CDialog {
 public:
  explicit COptionsDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
};
