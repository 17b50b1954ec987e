// The tasks pane's navigation: the small toolbar above its groups (back, forward, home, the pages
// menu, close), its history drop-down buttons listing the pages behind and ahead, the pages-menu
// button of that toolbar, and the pages-menu button of the pane's own caption.
#pragma once

#include "platform/base/List.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/customize/PlxMenuButton.h"

class CPlxTasksPane;

// Back or Forward with a drop-down of the pages that lie that way in the history, the nearest
// first. Choosing the n-th entry goes n + 1 steps.
class CPlxTasksPaneHistoryButton : public CPlxToolbarMenuButton {
  DECLARE_SERIAL(CPlxTasksPaneHistoryButton)

 public:
  CPlxTasksPaneHistoryButton();
  CPlxTasksPaneHistoryButton(UINT uiID, int iImage, LPCTSTR lpszText);

  void OnChangeParentWnd(CWnd* pWndParent) override;
  void CopyFrom(const CPlxToolbarButton& src) override;
  BOOL OpenPopupMenu(CWnd* pWnd = nullptr) override;
  void OnCancelMode() override;

  // The list entry chosen from the drop-down since it last opened, -1 for none; taking it
  // forgets it, so a later plain click is one step again.
  int TakeChosenEntry();
  // Forgets a choice whose command has not arrived yet: the history it indexed has changed.
  void ForgetChoice() { m_nChosen = -1; }

  CStringList m_lstPages{10};
  CPlxTasksPane* m_pPane = nullptr;  // the owner of the history, null until set

 protected:
  BOOL m_bOpened = FALSE;  // the drop-down was opened and has not closed yet
  int m_nChosen = -1;
};

// The toolbar's pages-menu button: its drop-down is the pane's pages menu.
class CPlxTasksPaneToolbarMenuButton : public CPlxToolbarMenuButton {
  DECLARE_SERIAL(CPlxTasksPaneToolbarMenuButton)

 public:
  CPlxTasksPaneToolbarMenuButton() = default;
  CPlxTasksPaneToolbarMenuButton(HMENU hMenu, LPCTSTR lpszText);

  void OnChangeParentWnd(CWnd* pWndParent) override;
  void CopyFrom(const CPlxToolbarButton& src) override;
  BOOL OpenPopupMenu(CWnd* pWnd = nullptr) override;
  CPlxPopupMenu* CreatePopupMenu() override;
  // The pane's pages menu as it is now (the caller destroys it), null without a pane.
  HMENU GetMenu();

  CPlxTasksPane* m_pPane = nullptr;
};

class CPlxTasksPaneToolBar : public CPlxToolBar {
  DECLARE_SERIAL(CPlxTasksPaneToolBar)

 public:
  CPlxTasksPaneToolBar() = default;

  void AdjustLocations() override;
  BOOL GetFrameToolTipText(CPlxToolbarButton* pButton, CString& strTTText) const override;
  // Never stored with the frame's toolbars, never customized.
  BOOL AllowShowOnList() const override { return FALSE; }
  BOOL CanBeClosed() const override { return FALSE; }

  // Hidden or shown at the next idle update, without moving or activating.
  void DelayShow(BOOL bShow);
  // Drops the pane from every button, before the pane goes.
  void Detach();

  CPlxTasksPaneHistoryButton* m_pBtnBack = nullptr;     // null without history buttons
  CPlxTasksPaneHistoryButton* m_pBtnForward = nullptr;  // null without history buttons

 protected:
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  int m_nPendingShow = -1;  // -1 nothing pending, 0 hide, 1 show
};

// The pages-menu button of the pane's caption: a menu button that tells the pane which page was
// chosen (all items share one command, so the position decides).
class CPlxTasksPaneMenuButton : public CPlxMenuButton {
  DECLARE_DYNAMIC(CPlxTasksPaneMenuButton)

 public:
  CPlxTasksPaneMenuButton() = default;

  void ShowMenu() override;
  // The page chosen the last time the menu was shown, -1 for none (m_nMenuResult holds its
  // position + 1 while the numbered copy is shown).
  int GetChosenPage() const;
};
