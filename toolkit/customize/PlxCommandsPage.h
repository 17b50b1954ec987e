// The commands page of the customize sheet: the catalogue's categories on the left, the commands
// of the chosen one on the right (CPlxCommandList, each row drawn as the toolbar button it stands
// for), the chosen command's description below. A user drags a command from the list onto any
// toolbar or menu bar, all of which are in customize mode while the sheet is open.
#pragma once

#include "platform/mfc/PropertySheet.h"
#include "platform/mfc/StdControls.h"

class CPlxToolbarButton;
class CPlxToolbarCustomize;

class CPlxCommandList : public CListBox {
 public:
  CPlxCommandList() = default;

  void PreSubclassWindow() override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

  CSize GetItemSize() const { return CSize(m_nItemWidth, m_nItemHeight); }

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

  int m_nItemWidth = 0;
  int m_nItemHeight = 0;
};

class CPlxCustomizePage : public CPropertyPage {
  DECLARE_DYNCREATE(CPlxCustomizePage)

 public:
  static constexpr UINT kTemplate = 16104;
  static constexpr UINT kCategoriesId = 16601;
  static constexpr UINT kCommandsId = 16602;
  static constexpr UINT kDescriptionId = 16603;
  static constexpr UINT kDragCursor = 16133;

  CPlxCustomizePage();
  ~CPlxCustomizePage() override;

  void SetAllCommandsName(LPCTSTR lpszName) { m_strAllCommands = lpszName; }
  void SetSelectedCommand(CPlxToolbarButton* pButton);
  CPlxToolbarButton* GetSelectedCommand() const { return m_pSelButton; }

  CListBox& GetCategories() { return m_wndCategory; }
  CPlxCommandList& GetCommands() { return m_wndTools; }
  const CString& GetDescription() const { return m_strButtonDescription; }

  BOOL OnInitDialog() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnSelchangeCategory();
  afx_msg void OnSelchangeCommand();
  DECLARE_MESSAGE_MAP()

  CPlxToolbarCustomize* Sheet() const;

  // ---- fields, in the toolkit's order ----
  CListBox m_wndCategory;
  CPlxCommandList m_wndTools;
  CString m_strButtonDescription;
  CPlxToolbarButton* m_pSelButton = nullptr;  // in the sheet's catalogue
  CString m_strAllCommands;
};
