// CPlxToolbarCustomize: the modeless sheet through which a user rearranges the toolkit's user
// interface (commands onto toolbars and menus, toolbars, user tools, shortcuts, menus, mouse
// double-clicks, options). While its window exists the frame and every toolbar are in customize
// mode. Without a window the same object is the catalogue of the application's commands: every
// command of the menus sorted into named categories, one display name per command; the frame core
// builds one only to ask GetCommandName.
//
// The pages other than commands and toolbars are built on their own files; the sheet makes each
// one with these constructors when its header is present:
//   CPlxKeyboardPage(CFrameWnd*, BOOL autoMenus), SetAllCommandsName(LPCTSTR)
//   CPlxMenuPage(CFrameWnd*, BOOL autoMenus)
//   CPlxMousePage()
//   CPlxOptionsPage(BOOL menuBarPresent)
//   CPlxUserToolsPage()
#pragma once

#include "platform/base/List.h"
#include "platform/base/Map.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/StdControls.h"
#include "toolkit/core/PlxButton.h"

class CBitmap;
class CComboBox;
class CListBox;
class CMenu;
class CPlxToolBar;
class CPlxToolbarButton;
class CPlxUserTool;
class CPlxCustomizePage;
class CPlxToolbarsPage;
class CPlxKeyboardPage;
class CPlxMenuPage;
class CPlxMousePage;
class CPlxOptionsPage;
class CPlxUserToolsPage;
struct ACCEL;

// Option bits of the constructor.
#define CUSTOPT_MENU_SHADOWS 0x01
#define CUSTOPT_TEXT_LABELS 0x02
#define CUSTOPT_LOOK2000 0x04
#define CUSTOPT_MENU_ANIMATION 0x08
#define CUSTOPT_NO_HELP 0x10
#define CUSTOPT_CONTEXT_HELP 0x20
#define CUSTOPT_NO_LARGE_ICONS 0x80
#define CUSTOPT_KEEP_AMPERSANDS 0x100

class CPlxToolbarCustomize;
// The sheet whose window exists, null when none (UI thread only).
extern CPlxToolbarCustomize* g_pActiveCustomizeSheet;

class CPlxToolbarCustomize : public CPropertySheet {
  DECLARE_DYNAMIC(CPlxToolbarCustomize)

 public:
  // Resource ids the sheet and its pages share.
  static constexpr UINT kNewMenuCategory = 16014;  // the category holding the new-menu item
  static constexpr UINT kCaption = 16103;
  static constexpr UINT kCloseText = 16105;
  static constexpr UINT kAllCommandsName = 16110;
  static constexpr UINT kHelpBitmap = 16131;
  static constexpr UINT kHelpBitmapHiColor = 17040;
  static constexpr UINT kHelpIdBase = 0x41000;  // context help id = control id + this

  // Builds the catalogue and the pages; extraPages are runtime classes of further pages (each
  // must make a property page; others are left out).
  CPlxToolbarCustomize(CFrameWnd* pWndParentFrame, BOOL bAutoSetFromMenus = FALSE, UINT uiFlags = 0,
                       CList<CRuntimeClass*, CRuntimeClass*>* plistCustomPages = nullptr);
  ~CPlxToolbarCustomize() override;

  // ---- virtual operations, in slot order ----
  BOOL OnInitDialog() override;
  virtual void ListAllCommands(CListBox& wndListOfCommands) const;
  virtual void OnToolsPageInit() {}
  virtual void OnToolSelectionLeaving(CPlxUserTool*) {}
  virtual void OnToolSelectionEntered(CPlxUserTool*) {}
  virtual BOOL ValidateTools(const CObList&) { return TRUE; }
  virtual BOOL CanAssignShortcut(ACCEL*) { return TRUE; }
  // Creates the window and enters customize mode. FALSE when creation fails or another sheet is
  // already open (two open sheets would share the current-sheet pointer and customize mode).
  virtual BOOL ShowModeless();
  // Runs the button image editor on pImage (bitsPerPixel -1: the bitmap's own depth); TRUE on OK.
  virtual BOOL EditButtonImage(CWnd* pParent, CBitmap* pImage, int nBitsPerPixel = -1);

  // ---- catalogue ----
  // The short name of a command as the all-commands category lists it; null when it has none.
  LPCTSTR GetCommandName(UINT uiCmd) const;
  void AddCommandToCategory(LPCTSTR lpszCategory, const CPlxToolbarButton& button, int iInsertAfter = -1);
  void ScanMenu(CMenu* pMenu, BOOL bNested, LPCTSTR lpszCategory, LPCTSTR lpszPathPrefix);
  void BuildCategoriesFromMenus();
  void AddUserToolCommands(LPCTSTR lpszCategory);
  void ListCategoriesInCombo(CComboBox& wndCategory, BOOL bAll) const;
  void ListCategoriesInListBox(CListBox& wndCategory, BOOL bAll) const;
  int CountCommandsNamed(LPCTSTR lpszText, const CObList& lstCommands) const;
  static BOOL StringListGetNext(CString& strOut, const CStringList& lst, POSITION& pos);
  // The category's list (the all-commands one too); null when there is none.
  const CObList* GetCategoryCommands(LPCTSTR lpszCategory) const;
  const CStringList& GetCategoryNames() const { return m_lstCategories; }
  const CString& GetAllCommandsName() const { return m_strAllCommands; }

  // ---- the open sheet ----
  void ShowToolBar(CPlxToolBar* pToolBar, BOOL bShow);
  void ApplyCustomizeMode(BOOL bOn);
  // Lets the toolbars page offer New, Rename and Delete; before the window exists.
  void EnableUserDefinedToolbars(BOOL bEnable = TRUE);

  CFrameWnd* GetParentFrame() const { return m_pParentFrame; }
  UINT GetFlags() const { return m_uiFlags; }

  CPlxCustomizePage* GetCommandsPage() const { return m_pCustomizePage; }
  CPlxToolbarsPage* GetToolbarsPage() const { return m_pToolbarsPage; }
  CPlxKeyboardPage* GetKeyboardPage() const { return m_pKeyboardPage; }
  CPlxMenuPage* GetMenuPage() const { return m_pMenuPage; }
  CPlxMousePage* GetMousePage() const { return m_pMousePage; }
  CPlxOptionsPage* GetOptionsPage() const { return m_pOptionsPage; }
  CPlxUserToolsPage* GetUserToolsPage() const { return m_pToolsPage; }
  const CObList& GetExtraPages() const { return m_listCustomPages; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;
  DECLARE_MESSAGE_MAP()

  // ---- fields, in the toolkit's order ----
  CMap<CString, LPCTSTR, CObList*, CObList*> m_ButtonsByCategory{10};
  CStringList m_lstCategories{10};
  CPlxCustomizePage* m_pCustomizePage = nullptr;
  CPlxToolbarsPage* m_pToolbarsPage = nullptr;
  CPlxKeyboardPage* m_pKeyboardPage = nullptr;
  CPlxMenuPage* m_pMenuPage = nullptr;
  CPlxMousePage* m_pMousePage = nullptr;
  CPlxOptionsPage* m_pOptionsPage = nullptr;
  CPlxUserToolsPage* m_pToolsPage = nullptr;
  CObList m_listCustomPages{10};
  CString m_strAllCommands;
  CFrameWnd* m_pParentFrame = nullptr;
  BOOL m_bAutoSetFromMenus = FALSE;
  UINT m_uiFlags = 0;
  BOOL m_bSaveMenuAmps = FALSE;
  CPlxButton m_btnHelp;

 private:
  CObList* CategoryList(LPCTSTR lpszCategory) const;
  void DeleteCatalogue();
  BOOL m_bOwnsCustomizeMode = FALSE;  // this sheet entered customize mode and must leave it
  CButton m_btnClose;
  BOOL m_bDeleting = FALSE;  // a modeless sheet has no Cancel of its own
};
