// The About dialog (template 100), run by Help > About and the system menu's About item. It names
// the product and its version; the product picture, credits and legal notice come with its page.
#pragma once

#include "platform/mfc/Dialog.h"

#define IDD_ABOUTBOX 100

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();

 protected:
  BOOL OnInitDialog() override;
};
