// CPlxWindowListDlg: the windows dialog of an MDI frame. It lists the visible MDI children and
// activates, saves, closes, minimises, cascades or tiles the selected ones. Windows whose Close is
// off stay open, read-only children are not saved, and with a child that has no system menu the
// arranging buttons stay off.
#pragma once

#include <vector>

#include "platform/mfc/Dialog.h"
#include "platform/mfc/StdControls.h"

class CMDIFrameWnd;
struct HELPINFO;

// Registered "WINDOW_HELP": the dialog's help goes to the main window through it (wParam 0,
// lParam the dialog object). Zero until registered.
extern UINT PLX_WM_WINDOW_HELP;
void PlxRegisterWindowHelpMessage();

class CPlxWindowListDlg : public CDialog {
 public:
  enum { IDD = 16200 };
  enum {
    IDC_ACTIVATE = 16920,
    IDC_SAVE = 16921,
    IDC_CLOSE = 16922,
    IDC_LIST = 16923,
    IDC_TILE_HORZ = 16924,
    IDC_MINIMIZE = 16925,
    IDC_CASCADE = 16926,
    IDC_TILE_VERT = 16928
  };

  explicit CPlxWindowListDlg(CMDIFrameWnd* pMDIFrame);
  BOOL OnInitDialog() override;

  CListBox m_wndList;
  CMDIFrameWnd* m_pMDIFrame;
  BOOL m_bMDIActions = TRUE;             // every listed window has a system menu
  std::vector<HWND> m_lstCloseDisabled;  // Close missing, disabled or greyed
  std::vector<HWND> m_lstSaveDisabled;   // read-only toolkit children

 protected:
  void FillWindowList();
  void SelActive();
  void UpdateButtons();
  // Cascade or tile: the selected windows restored, the others minimised, then the message.
  void MDIMessage(UINT uMsg, WPARAM flag);
  HWND ItemWindow(int index) const;
  std::vector<int> SelectedItems() const;
  HWND MDIClient() const;

  afx_msg void OnActivate();
  afx_msg void OnSave();
  afx_msg void OnCloseWindows();
  afx_msg void OnMinimize();
  afx_msg void OnCascade();
  afx_msg void OnTileHorz();
  afx_msg void OnTileVert();
  afx_msg void OnSelChange();
  afx_msg void OnHelp();
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
  DECLARE_MESSAGE_MAP()
};
