// CPlxKeyboardPage: the customize sheet's page of keyboard shortcuts. The user picks an
// accelerator table (the frame's or a document template's), a category and a command, sees the
// command's shortcuts, removes one or records a new one and assigns it. Every change goes to the
// keyboard manager at once. A key already used in the table is never added twice: the page
// names its owner and keeps Assign off, whatever changed last.
#pragma once

#include <vector>

#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/StdControls.h"
#include "toolkit/customize/PlxHotKeyEdit.h"

class CFrameWnd;
class CMultiDocTemplate;
class CPlxToolbarButton;
class CPlxToolbarCustomize;

class CPlxKeyboardPage : public CPropertyPage {
  DECLARE_DYNCREATE(CPlxKeyboardPage)

 public:
  enum {
    IDD = 16136,
    IDC_CATEGORY = 16601,
    IDC_COMMANDS = 16641,
    IDC_TABLE = 16642,
    IDC_CURRENT_KEYS = 16643,
    IDC_HOTKEY = 16644,
    IDC_ASSIGN = 16645,
    IDC_REMOVE = 16646,
    IDC_RESET_ALL = 16647,
    IDC_DESCRIPTION = 16514,
    IDC_TABLE_ICON = 16526,
    IDC_ASSIGNED_TO = 16527,
    IDC_ASSIGNED_TO_LABEL = 16528,
  };
  // Texts: the key is free, the frame's table, the reset question, and ours: the key could not be
  // installed.
  enum {
    IDS_KEY_FREE = 16009,
    IDS_FRAME_TABLE = 16114,
    IDS_RESET_KEYS = 16115,
    IDS_INSTALL_FAILED = 16400,
    IDS_KEY_IN_USE = 16401
  };

  CPlxKeyboardPage(CFrameWnd* pParentFrame = nullptr, BOOL bAutoSet = FALSE);
  ~CPlxKeyboardPage() override;

  void SetAllCommandsName(LPCTSTR lpszName) { m_strAllCommands = lpszName; }

  // The working copy of the chosen table.
  int GetAccelCount() const { return static_cast<int>(m_accels.size()); }
  const ACCEL* GetAccels() const { return m_accels.data(); }
  CMultiDocTemplate* GetSelectedTemplate() const { return m_pSelTemplate; }

  CStatic m_wndAssignedToTitle;
  CPlxHotKeyEdit m_wndNewKey;
  CComboBox m_wndViewTypeList;
  CStatic m_wndViewIcon;
  CButton m_wndRemoveButton;
  CListBox m_wndCurrentKeysList;
  CListBox m_wndCommandsList;
  CComboBox m_wndCategoryList;
  CButton m_wndAssignButton;
  CString m_strDescription;
  CString m_strAssignedTo;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  afx_msg void OnAssign();
  afx_msg void OnSelchangeCategory();
  afx_msg void OnSelchangeCommandsList();
  afx_msg void OnSelchangeCurrentKeysList();
  afx_msg void OnRemove();
  afx_msg void OnResetAll();
  afx_msg void OnSelchangeViewType();
  afx_msg void OnUpdateNewShortcutKey();
  DECLARE_MESSAGE_MAP()

  CPlxToolbarCustomize* GetSheet() const;
  // Hands the whole array to the keyboard manager; FALSE leaves the live table as it was.
  virtual BOOL InstallTable(const std::vector<ACCEL>& entries);
  // The entry of the working copy with the same key and modifiers, or -1.
  int FindKey(const ACCEL& key) const;
  void AddKeyRow(int entryIndex);

  std::vector<ACCEL> m_accels;  // the working copy
  HACCEL m_hAccelTable = nullptr;
  CMultiDocTemplate* m_pSelTemplate = nullptr;
  CPlxToolbarButton* m_pSelButton = nullptr;
  int m_nSelEntry = -1;  // index into the working copy, -1 when none
  CFrameWnd* m_pParentFrame;
  BOOL m_bAutoSet;
  CString m_strAllCommands;
  HICON m_hIcon = nullptr;
};
