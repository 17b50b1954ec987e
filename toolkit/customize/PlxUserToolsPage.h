// CPlxUserToolsPage: the customize sheet's page of user tools. The tools are listed in an
// editable list (new, rename, move, delete); the selected tool's command, arguments and initial
// folder are edited below it, with a browse button and two menus of macros. Every edit goes
// straight into the user tools manager's tools.
#pragma once

#include "platform/mfc/Menu.h"
#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/StdControls.h"
#include "toolkit/customize/PlxEditableList.h"
#include "toolkit/customize/PlxMenuButton.h"

class CPlxToolbarCustomize;
class CPlxUserTool;
class CPlxUserToolsPage;

class CPlxUserToolList : public CPlxEditableListView {
 public:
  CPlxUserToolsPage* m_pParent = nullptr;

  void SelectionMoved() override;
  BOOL MayDeleteEntry(int iIndex) override;
  void EntryAdded(int iIndex) override;
  void EntryRenamed(int iIndex) override;
  void EntryMovedUp(int iIndex) override;
  void EntryMovedDown(int iIndex) override;
};

class CPlxUserToolsPage : public CPropertyPage {
 public:
  enum { IDD = 16928 };
  static constexpr UINT kTooManyTools = 16024;

  CPlxUserToolsPage();
  ~CPlxUserToolsPage() override;

  // Reads the three fields into the selected tool (or empties them without one).
  void ApplyToolFields();
  void OnBrowseCommand();
  void OnArgumentsMacro();
  void OnDirectoryMacro();
  // The fields and buttons are enabled exactly when an entry is selected.
  void EnableControls();

  CPlxUserToolList& ToolList() { return m_wndToolsList; }
  CPlxUserTool* GetSelectedTool() const { return m_pSelTool; }
  CPlxMenuButton& ArgumentsMenuButton() { return m_wndArgumentsMenuBtn; }
  CPlxMenuButton& DirectoryMenuButton() { return m_wndInitialDirBtn; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  BOOL OnKillActive() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // Shows a message box; the tests hear it instead.
  virtual void ShowMessage(const CString& text);
  // The open-file dialog of the browse button: the chosen path, empty on cancel.
  virtual CString ChooseCommandFile();
  void SendMacro(CPlxMenuButton& button, CEdit& edit);

  CPlxMenuButton m_wndInitialDirBtn;
  CPlxMenuButton m_wndArgumentsMenuBtn;
  CEdit m_wndArgumentsEdit;
  CEdit m_wndInitialDirEdit;
  CEdit m_wndCommandEdit;
  CButton m_wndBrowseBtn;
  CPlxUserToolList m_wndToolsList;
  CString m_strCommand;
  CString m_strArguments;
  CString m_strInitialDirectory;
  CPlxUserTool* m_pSelTool = nullptr;  // the manager's
  CPlxToolbarCustomize* m_pParentSheet = nullptr;
  CMenu m_menuInitialDir;
  CMenu m_menuArguments;
  // Set while the page fills the fields itself: their updates are not the user's edits, and
  // reading half-filled fields would give one tool another's arguments.
  BOOL m_bFilling = FALSE;

  friend class CPlxUserToolList;
};
