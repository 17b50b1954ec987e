// Property pages and sheets. A page is a child dialog (its template is made a DS_CONTROL child
// whatever it says) created when first shown. The sheet is a dialog of ours that draws its own tab
// header above the pages (click a tab, or Ctrl+Tab / Ctrl+Shift+Tab / Ctrl+PageDown / PageUp), with
// OK, Cancel and Apply (and Help with PSH_HASHELP) when modal. Switching asks the page being left
// (OnKillActive: FALSE keeps it) and tells the new one (OnSetActive). OK ends with IDOK after every
// page made so far accepted OnApply; Cancel asks OnQueryCancel, then OnReset. A modeless sheet has
// no buttons. The sheet derives from CDialog here (the tab strip is our own drawing until the
// common controls' tab control exists).
#pragma once

#include <memory>
#include <vector>

#include "platform/mfc/Dialog.h"

// Command id of the Apply button.
#define ID_APPLY_NOW 0x3021

#ifndef PSP_USETITLE
#define PSP_DEFAULT 0x0000
#define PSP_DLGINDIRECT 0x0001
#define PSP_USEHICON 0x0002
#define PSP_USEICONID 0x0004
#define PSP_USETITLE 0x0008
#define PSP_HASHELP 0x0020

#define PSH_DEFAULT 0x0000
#define PSH_PROPTITLE 0x0001
#define PSH_USEHICON 0x0002
#define PSH_NOAPPLYNOW 0x0080
#define PSH_HASHELP 0x0200
#define PSH_MODELESS 0x0400
#define PSH_NOCONTEXTHELP 0x02000000

// Buttons of PressButton / PSM_PRESSBUTTON.
#define PSBTN_BACK 0
#define PSBTN_NEXT 1
#define PSBTN_FINISH 2
#define PSBTN_OK 3
#define PSBTN_APPLYNOW 4
#define PSBTN_CANCEL 5
#define PSBTN_HELP 6

// Messages of a sheet.
#define PSM_SETCURSEL (WM_USER + 101)
#define PSM_CHANGED (WM_USER + 104)
#define PSM_CANCELTOCLOSE (WM_USER + 107)
#define PSM_QUERYSIBLINGS (WM_USER + 108)
#define PSM_UNCHANGED (WM_USER + 109)
#define PSM_APPLY (WM_USER + 110)
#define PSM_SETTITLE (WM_USER + 111)
#define PSM_PRESSBUTTON (WM_USER + 113)
#define PSM_GETCURRENTPAGEHWND (WM_USER + 118)
#endif

class CPropertySheet;

// What a page asks of its sheet (the class library keeps the common controls' records).
struct AFX_PROPSHEETPAGE {
  DWORD dwSize;
  DWORD dwFlags;
  HINSTANCE hInstance;
  LPCTSTR pszTemplate;
  HICON hIcon;
  LPCTSTR pszTitle;  // with PSP_USETITLE
  LPARAM lParam;
};
struct AFX_PROPSHEETHEADER {
  DWORD dwSize;
  DWORD dwFlags;
  HWND hwndParent;
  HINSTANCE hInstance;
  HICON hIcon;
  LPCTSTR pszCaption;
  UINT nPages;
  UINT nStartPage;
};

class CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)

 public:
  CPropertyPage();
  explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
  explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);
  ~CPropertyPage() override;

  AFX_PROPSHEETPAGE m_psp{};

  // Enables the sheet's Apply button (or not, when no page is modified any more).
  void SetModified(BOOL bChanged = TRUE);
  void CancelToClose();
  LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);
  // The tab's text: PSP_USETITLE's title, the caption string, or the template's caption.
  CString GetTitle() const;

  // The page becomes the shown one; FALSE refuses. The first time the members are already in the
  // controls (OnInitDialog), later ones move them in again.
  virtual BOOL OnSetActive();
  // The page is left (another page, OK, Apply); FALSE keeps it. Moves the controls into the
  // members (UpdateData).
  virtual BOOL OnKillActive();
  // OK or Apply: calls OnOK; FALSE refuses.
  virtual BOOL OnApply();
  // Cancel: calls OnCancel.
  virtual void OnReset();
  // Cancel asked: FALSE refuses.
  virtual BOOL OnQueryCancel();
  void OnOK() override;
  void OnCancel() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  UINT m_nIDCaption = 0;
  CString m_strCaption;
  BOOL m_bFirstSetActive = TRUE;

 private:
  CPropertySheet* Sheet() const;
  friend class CPropertySheet;
};

class CPropertySheet : public CDialog {
  DECLARE_DYNAMIC(CPropertySheet)

 public:
  CPropertySheet();
  explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  ~CPropertySheet() override;

  AFX_PROPSHEETHEADER m_psh{};

  void AddPage(CPropertyPage* pPage);
  void RemovePage(CPropertyPage* pPage);
  void RemovePage(int nPage);
  int GetPageCount() const;
  CPropertyPage* GetPage(int nPage) const;
  int GetPageIndex(CPropertyPage* pPage);
  CPropertyPage* GetActivePage() const;
  int GetActiveIndex() const;
  BOOL SetActivePage(int nPage);
  BOOL SetActivePage(CPropertyPage* pPage);
  void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);
  void PressButton(int nButton);

  INT_PTR DoModal() override;
  // A modeless sheet; a dwStyle with WS_CHILD makes it a child of pParentWnd. (DWORD)-1: a pop-up
  // with a caption.
  virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1),
                      DWORD dwExStyle = 0);
  void EndDialog(int nEndID);

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnApplyNow();
  afx_msg void OnHelp();
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg LRESULT OnSetCurSel(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnUnchanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCancelToClose(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnQuerySiblings(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnApplyMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetTitle(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPressButton(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetCurrentPageHwnd(WPARAM wParam, LPARAM lParam);

  CString m_strCaption;
  std::vector<CPropertyPage*> m_pages;
  int m_nActive = -1;
  BOOL m_bModeless = FALSE;

 private:
  // Builds the sheet's own template (caption, font, buttons).
  void BuildTemplate(DWORD style, DWORD exStyle);
  // Creates (first time), places and shows page nPage.
  BOOL ShowPage(int nPage);
  // Every page made so far accepted OnApply.
  BOOL ApplyAll();
  std::vector<CRect> TabRects() const;
  CRect PageArea() const;
  void UpdateApplyButton();

  std::unique_ptr<pictavo::res::DialogTemplate> m_template;
  std::vector<CPropertyPage*> m_modified;
  CRect m_pageArea;
  int m_tabHeight = 0;

  DECLARE_MESSAGE_MAP()
};
