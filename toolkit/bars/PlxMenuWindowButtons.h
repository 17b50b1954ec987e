// The maximized MDI child's buttons on the menu bar: CPlxToolbarMenuButtonsButton is one of its
// minimize, restore and close buttons at the bar's right end (the menu bar turns a click into the
// system command), CPlxToolbarSystemMenuButton its icon at the left end, which opens the child's
// system menu with its live states and closes the child on a double click.
#pragma once

#include "toolkit/bars/PlxToolbarButton.h"

class CPlxToolbarMenuButtonsButton : public CPlxToolbarButton {
  DECLARE_DYNCREATE(CPlxToolbarMenuButtonsButton)

 public:
  CPlxToolbarMenuButtonsButton() = default;
  explicit CPlxToolbarMenuButtonsButton(UINT uiCmdId);

  void CopyFrom(const CPlxToolbarButton& src) override;
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  CSize OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
  void Serialize(CArchive&) override {}
  BOOL CanBeStored() const override { return FALSE; }
  BOOL HaveHotBorder() const override { return FALSE; }

  UINT m_uiSystemCommand = 0;  // SC_MINIMIZE, SC_RESTORE or SC_CLOSE
};

class CPlxToolbarSystemMenuButton : public CPlxToolbarMenuButton {
  DECLARE_SERIAL(CPlxToolbarSystemMenuButton)

 public:
  CPlxToolbarSystemMenuButton() = default;
  // The items come from the child's system menu; the menu stays the child's (not owned).
  CPlxToolbarSystemMenuButton(HMENU hSystemMenu, HICON hSystemIcon);

  void CopyFrom(const CPlxToolbarButton& src) override;
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  CSize OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
  void OnDblClick(CWnd* pWnd) override;
  void OnCancelMode() override;
  void CreateFromMenu(HMENU hMenu) override;
  HMENU ExportToMenu() const override;
  void Serialize(CArchive&) override {}
  BOOL CanBeStored() const override { return FALSE; }
  BOOL HaveHotBorder() const override { return FALSE; }
  BOOL ReservedMenuHook1() override { return FALSE; }

  // The icon's size: the small icon metrics, or 16 x 16 when the small icon is taller than the
  // small caption buttons.
  static CSize GetIconSize();

  HICON m_hSysMenuIcon = nullptr;
  HMENU m_hSystemMenu = nullptr;  // the child's, not owned
};
