// CPlxPropertySheet: the toolkit's property sheet. Besides the tab strip it can show its pages
// through a navigation tree of categories and pages (the page of a clicked category is its first
// page, the categories along the way open and the ones left close) or through an outlook bar of
// one shortcut per page, and it keeps a navigation bar's page buttons in step with the active
// page (an outlook bar also scrolls to it). Toolkit pages tell it when they become active;
// it follows system colour and setting changes like the toolkit dialogs.
#pragma once

#include <memory>
#include <vector>

#include "platform/comctl/AfxImageList.h"
#include "platform/comctl/AfxTreeCtrl.h"
#include "platform/mfc/PropertySheet.h"
#include "toolkit/customize/PlxOutlookBar.h"

class CPlxPropertyPage;
class CPlxToolBar;

// A group of pages (and of further categories) in the navigation tree.
class CPlxPropSheetCategory : public CObject {
  DECLARE_DYNAMIC(CPlxPropSheetCategory)

 public:
  CPlxPropSheetCategory(LPCTSTR lpszName, int nIcon, int nSelectedIcon, CPlxPropSheetCategory* pParent);
  ~CPlxPropSheetCategory() override;

  const CString m_strName;
  const int m_nIcon;
  const int m_nSelectedIcon;  // while expanded
  CPlxPropSheetCategory* const m_pParentCategory;
  HTREEITEM m_hTreeItem = nullptr;
  std::vector<CPlxPropSheetCategory*> m_lstSubCategories;  // owned
  std::vector<CPlxPropertyPage*> m_lstPages;               // not owned
};

class CPlxPropertySheet : public CPropertySheet {
  DECLARE_DYNAMIC(CPlxPropertySheet)

 public:
  enum PropSheetLook { PropSheetLook_Tabs = 0, PropSheetLook_Tree = 1, PropSheetLook_OutlookBar = 2 };
  static constexpr UINT kTreeId = 101;
  static constexpr UINT kOutlookBarId = 102;
  // The outlook look's shortcuts: one command per page, in page order.
  static constexpr UINT kFirstPageCommand = 16600;
  static constexpr int kMaxOutlookPages = 100;
  // Posted to the sheet after a page change so that the navigation bar shows the active page.
  static constexpr UINT kSyncNavigationBar = 0x07E9;

  using CPropertySheet::CPropertySheet;
  ~CPlxPropertySheet() override;

  // Before the window exists: tabs, or a tree or an outlook bar of nNavWidth pixels at the left.
  void SetLook(PropSheetLook look, int nNavWidth = 100);
  PropSheetLook GetLook() const { return m_look; }
  // Images of the tree's categories and pages (the list is not owned).
  void SetIconsList(CImageList* pImages) { m_pImages = pImages; }

  // Categories and pages of the tree; the sheet owns the categories.
  CPlxPropSheetCategory* AddTreeCategory(LPCTSTR lpszLabel, int nIconNum = -1, int nSelectedIconNum = -1,
                                         CPlxPropSheetCategory* pParentCategory = nullptr);
  void AddPageToTree(CPlxPropSheetCategory* pCategory, CPlxPropertyPage* pPage, int nIconNum = -1,
                     int nSelIconNum = -1);

  // A bar whose buttons stand for the pages in page order; not owned. The outlook look sets its
  // own.
  void SetNavigationBar(CPlxToolBar* pBar) { m_pNavigationBar = pBar; }
  CPlxOutlookBar* GetOutlookBar() const { return m_pOutlookBar.get(); }
  CPlxToolBar* GetNavigationBar() const { return m_pNavigationBar; }
  CTreeCtrl& GetNavigationTree() { return m_wndTree; }

  // A page of this sheet becomes the active one (its OnSetActive, before the framework's).
  virtual void OnActivatePage(CPlxPropertyPage* pPage);

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  CPlxPropertyPage* m_pLastActivatedPage = nullptr;  // the page last reported, for callers that ask

 protected:
  afx_msg void OnSysColorChange();
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  afx_msg LRESULT OnSyncNavigationBar(WPARAM wParam, LPARAM lParam);
  afx_msg void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnTreeGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  void CollapseWithAncestors(CPlxPropSheetCategory* pCategory, CPlxPropSheetCategory* pKeep);
  void ExpandWithAncestors(CPlxPropSheetCategory* pCategory);
  void InvalidatePageItem(CPlxPropertyPage* pPage);
  void SelectPageInTree(CPlxPropertyPage* pPage);
  // Makes room for a navigation pane left of the pages; its rectangle.
  CRect MakeNavigationRoom();
  void CreateTree(const CRect& rect);
  void CreateOutlookBar(const CRect& rect);
  BOOL HasNavigationPane() const { return m_look != PropSheetLook_Tabs; }

  PropSheetLook m_look = PropSheetLook_Tabs;
  int m_nNavWidth = 100;
  CTreeCtrl m_wndTree;
  BOOL m_bIgnoreTreeSelChange = FALSE;
  CImageList* m_pImages = nullptr;
  CPlxToolBar* m_pNavigationBar = nullptr;
  std::unique_ptr<CPlxOutlookBar> m_pOutlookBar;
  std::vector<CPlxPropSheetCategory*> m_lstTreeCategories;  // top level, owned
  CRect m_rectPages;                                        // where the pages go in the tree look
};
