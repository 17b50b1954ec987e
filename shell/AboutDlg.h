// The About dialog (template 100): the product picture with "Legal Notice", "Credits" and
// "Close" in a row under it; it sizes itself to the picture. The Credits dialog (template 385)
// lists the translators of the installed language files. CDiskSpaceLogger writes the temporary
// folder's disk space to the log when a scope is entered and left.
#pragma once

#include "controls/LayoutMgr.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Dialog.h"

#define IDD_ABOUTBOX 100
#define IDD_CREDITS 385
#define IDB_PRODUCT_PICTURE 101
#define IDC_ABOUT_LEGAL_NOTICE 1502
#define IDC_ABOUT_CREDITS 1503
#define IDC_ABOUT_PICTURE 1504
#define IDC_CREDITS_TEXT 1085

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLegalNotice();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnCredits();
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void SetTitle();

  CBitmap m_bitmap;
  CLayoutMgr m_layout;
};

class CCreditsDlg : public CDialog {
 public:
  explicit CCreditsDlg(CWnd* pParent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CEdit m_edit;
};

class CDVDProject;

// One log line: "<prefix> Hard Disk Space: Total:<MB>MB, Free:<MB>MB in <temporary folder>".
void LogDiskSpace(CDVDProject* pProject, LPCTSTR lpszPrefix);

class CDiskSpaceLogger {
 public:
  CDiskSpaceLogger();
  ~CDiskSpaceLogger();
  CDiskSpaceLogger(const CDiskSpaceLogger&) = delete;
  CDiskSpaceLogger& operator=(const CDiskSpaceLogger&) = delete;
};
