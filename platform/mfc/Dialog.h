// CDialog: a dialog from a template, modal (DoModal) or modeless (Create). The dialog's keys go
// through the dialog manager's navigation in PreTranslateMessage; OnInitDialog moves the members
// into the controls (UpdateData(FALSE)), OnOK moves them back and ends the dialog with IDOK when
// they pass their checks, OnCancel ends it with IDCANCEL. Commands the dialog does not handle go
// on to the thread's object (the application).
#pragma once

#include "platform/mfc/Wnd.h"

namespace pictavo::res {
struct DialogTemplate;
}

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  CDialog();
  explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // Modeless.
  virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr,
                              void* lpDialogInit = nullptr);
  // Modal: the result of EndDialog, or -1 when the dialog could not be made.
  BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr,
                         void* lpDialogInit = nullptr);
  virtual INT_PTR DoModal();
  void EndDialog(int nResult);

  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void GotoDlgCtrl(CWnd* pWndCtrl);
  void SetDefID(UINT nID);
  DWORD GetDefID() const;
  void MapDialogRect(LPRECT lpRect) const;

  virtual BOOL OnInitDialog();
  virtual void OnSetFont(CFont* pFont);
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL CheckAutoCenter() override;

 protected:
  virtual void OnOK();
  virtual void OnCancel();
  virtual void PreInitDialog();
  // The owner of a modal dialog: the parent's top-level window, else the main window's
  // active pop-up.
  HWND PreModal();
  void PostModal();

  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT HandleSetFont(WPARAM wParam, LPARAM lParam);

  LPCTSTR m_lpszTemplateName = nullptr;
  UINT m_nIDHelp = 0;
  LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
  CWnd* m_pParentWnd = nullptr;
  HWND m_hWndTop = nullptr;

  // Creates the window of a template (modal or not) with the dialog procedure of the framework.
  BOOL CreateFromTemplate(const pictavo::res::DialogTemplate* dialogTemplate, CWnd* pParentWnd,
                          HINSTANCE hInst);
  const pictavo::res::DialogTemplate* FindTemplate(HINSTANCE* hInst) const;

  DECLARE_MESSAGE_MAP()
};

// The dialog procedure of the framework's dialogs: WM_INITDIALOG calls OnInitDialog.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
