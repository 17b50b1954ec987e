// The toolbars page of the customize sheet: the frame's toolbars with a check box each (checked
// shows the bar, unchecked hides it); for the chosen bar Reset, text labels and, for user-defined
// bars, Rename and Delete; New makes a user-defined bar. Bars that may not be hidden have their
// box disabled (CPlxBarCheckList): every way of unchecking them beeps instead.
#pragma once

#include <vector>

#include "platform/mfc/CheckListBox.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/StdControls.h"

class CPlxToolBar;
class CPlxToolbarCustomize;

class CPlxBarCheckList : public CCheckListBox {
 public:
  CPlxBarCheckList() = default;

  void EnableCheck(int nIndex, BOOL bEnable = TRUE);
  BOOL IsCheckEnabled(int nIndex) const;

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg LRESULT OnLBAddString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLBInsertString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLBDeleteString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLBResetContent(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  std::vector<BOOL> m_arCheckEnabled;
};

class CPlxToolbarNameDlg : public CDialog {
 public:
  static constexpr UINT kTemplate = 16130;
  static constexpr UINT kNameId = 16516;

  explicit CPlxToolbarNameDlg(CWnd* pParent);

  CString m_strToolbarName;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnUpdateName();
  DECLARE_MESSAGE_MAP()

  CButton m_btnOk;
};

class CPlxToolbarsPage : public CPropertyPage {
  DECLARE_DYNCREATE(CPlxToolbarsPage)

 public:
  static constexpr UINT kTemplate = 16105;
  static constexpr UINT kToolbarListId = 16611;
  static constexpr UINT kTextLabelsId = 16612;
  static constexpr UINT kResetId = 16613;
  static constexpr UINT kResetAllId = 16614;
  static constexpr UINT kNewId = 16615;
  static constexpr UINT kRenameId = 16616;
  static constexpr UINT kDeleteId = 16617;
  static constexpr UINT kUntitledText = 16104;
  static constexpr UINT kDeletePrompt = 16109;
  static constexpr UINT kResetPrompt = 16111;
  static constexpr UINT kResetAllPrompt = 16112;

  explicit CPlxToolbarsPage(CFrameWnd* pParentFrame = nullptr);
  ~CPlxToolbarsPage() override;

  void ShowToolBar(CPlxToolBar* pBar, BOOL bShow);
  void EnableUserDefinedToolbars(BOOL bEnable) { m_bUserDefinedToolbars = bEnable; }
  CPlxToolBar* GetSelectedToolbar() const { return m_pSelectedToolbar; }
  CPlxBarCheckList& GetToolbarList() { return m_wndToolbarList; }
  // The row listing pBar, -1 when it is not listed.
  int FindRow(const CPlxToolBar* pBar) const;

  BOOL OnInitDialog() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnSelchangeToolbar();
  afx_msg void OnDblclkToolbar();
  afx_msg void OnResetToolbar();
  afx_msg void OnResetAllToolbars();
  afx_msg void OnDeleteToolbar();
  afx_msg void OnNewToolbar();
  afx_msg void OnRenameToolbar();
  afx_msg void OnTextLabels();
  DECLARE_MESSAGE_MAP()

  // Shows or hides the bar of a row after its box changed; a bar that may not be hidden gets its
  // check back and a beep.
  void ApplyRowCheck(int nRow);
  CPlxToolbarCustomize* Sheet() const;

  // ---- fields, in the toolkit's order ----
  CButton m_wndTextLabels;
  CButton m_bntRenameToolbar;
  CButton m_btnNewToolbar;
  CButton m_btnDelete;
  CButton m_btnReset;
  CPlxBarCheckList m_wndToolbarList;
  BOOL m_bTextLabels = FALSE;
  CPlxToolBar* m_pSelectedToolbar = nullptr;
  BOOL m_bUserDefinedToolbars = FALSE;
  CFrameWnd* m_pParentFrame = nullptr;
};
