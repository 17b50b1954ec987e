// The progress popups of work done on the UI thread: a captioned popup with three lines of text,
// an optional bar and a Cancel button. While shown modally it disables its owner chain; the
// working code drives it by calls (range, position, text) and lets it pump pending messages
// between them. CLoadProgressWnd shows a project being read or written, CAddFilesProgressWnd
// folders of files being added.
#pragma once

#include "platform/base/CString.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/StdControls.h"

#define IDC_PROGRESS_CANCEL 10
#define IDC_PROGRESS_TEXT 11
#define IDC_PROGRESS_BAR 12

// The part both popups share; the two differ in when the window is made and where the bar and
// the button go.
class CProgressPopupWnd : public CWnd {
 public:
  ~CProgressPopupWnd() override;

  // Makes the window when needed (owner: the main window), disables the topmost enabled
  // ancestor and remembers it. FALSE when the window cannot be made.
  BOOL ShowModal(LPCTSTR lpszTitle, BOOL bSmooth = FALSE);
  void SetRange(int nLower, int nUpper, int nStep = 1);
  // The bar's previous position; the last position given when there is no window.
  int SetPos(int nPos);
  // Handles what is waiting, then returns; stops early once cancelled. With bCancelOnEscape an
  // Escape key cancels.
  void PumpMessages(BOOL bCancelOnEscape = FALSE);
  BOOL IsCancelled() const { return m_bCancelled; }
  void SetText(LPCTSTR lpszText);
  void Hide();
  void Show();

  // Integer percentage shown in the caption: 0 when lower >= upper.
  static int Percentage(int nPos, int nLower, int nUpper);

 protected:
  explicit CProgressPopupWnd(BOOL bShowBar);
  // Creates the popup and its children, lays them out, centres and shows it.
  BOOL CreatePopup(CWnd* pOwner, LPCTSTR lpszTitle, BOOL bSmooth);
  void Layout(int nLines, int nWidth);
  // Where the bar ends and whether the button shows: the two members' difference.
  virtual bool CancelButtonShown() const = 0;
  void Clear();

  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnCancel();
  DECLARE_MESSAGE_MAP()

  CWnd* m_pDisabledAncestor = nullptr;
  BOOL m_bCancelled = FALSE;
  BOOL m_bModal = FALSE;
  int m_nLastPos = 0;
  int m_nLastPercent = -1;
  int m_nStep = 1;
  int m_nUpper = 100;
  int m_nLower = 0;
  int m_nLines = 3;
  CStatic m_text;
  CProgressCtrl m_bar;
  CButton m_cancel;
  CString m_strTitle = "Progress";
  CString m_strCancelLabel = " Cancel ";
  CFont m_font;
  BOOL m_bShowBar;
};

// Shown while a project file is read or written: text and a full-width bar, no visible button.
class CLoadProgressWnd : public CProgressPopupWnd {
 public:
  // Creates the window at once.
  CLoadProgressWnd(CWnd* pOwner, LPCTSTR lpszTitle, BOOL bShowBar = TRUE, BOOL bSmooth = FALSE);
  ~CLoadProgressWnd() override;

 protected:
  bool CancelButtonShown() const override { return false; }
};

// Shown while folders of files are added: text and a Cancel button; made by ShowModal.
class CAddFilesProgressWnd : public CProgressPopupWnd {
 public:
  explicit CAddFilesProgressWnd(BOOL bShowBar = FALSE);
  ~CAddFilesProgressWnd() override;

 protected:
  bool CancelButtonShown() const override { return true; }
};

// Formats into the popup's text (callers keep it below 512 bytes); nothing without a window.
void ProgressWndSetText(CProgressPopupWnd* pWnd, LPCTSTR lpszFormat, ...);
