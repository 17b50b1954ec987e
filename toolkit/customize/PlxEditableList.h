// CPlxEditableList: an ordered list of named entries edited in place, under a caption bar with the
// control's text and small buttons (new, delete, move up, move down) at its right end. The base
// owns the caption, the buttons, their keys and the editing workflow and reaches the list only
// through virtuals; CPlxEditableListView supplies them with a one-column report list view. A
// derived class follows the workflow through the notification virtuals. CPlxInplaceBrowseEdit is
// the list's label editor, able to show a small browse button at its right end.
#pragma once

#include <vector>

#include "platform/comctl/AfxListCtrl.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/StdControls.h"

class CPlxButton;
class CPlxEditableList;

class CPlxInplaceBrowseEdit : public CEdit {
 public:
  static constexpr int kBrowseWidth = 20;

  CPlxEditableList* m_pOwner = nullptr;  // not owned
  BOOL m_bSizeLocked = FALSE;
  BOOL m_bBrowse = FALSE;
  CRect m_rectBrowse;  // screen coordinates; empty without the browse button
  BOOL m_bPressed = FALSE;
  BOOL m_bTracking = FALSE;

 protected:
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcPaint();
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg UINT OnGetDlgCode();
  DECLARE_MESSAGE_MAP()

 private:
  void RedrawBrowse();
};

class CPlxEditableList : public CStatic {
 public:
  // Built-in actions of the caption buttons.
  enum { kActionNew = -11, kActionDelete = -12, kActionUp = -13, kActionDown = -14 };
  // Standard buttons.
  enum { BUTTON_NEW = 1, BUTTON_DELETE = 2, BUTTON_UP = 4, BUTTON_DOWN = 8 };
  // Caption-button ids: button i is child i + 2 (the list is child 1).
  static constexpr UINT kFirstButtonId = 2;

  CPlxEditableList() = default;
  ~CPlxEditableList() override;

  BOOL CreateStandardButtons(UINT uiMask);
  // nKey is a virtual key (0 for none) and nModifiers FSHIFT, FCONTROL and FALT bits.
  BOOL AddCaptionButton(UINT uiBmpResId, LPCTSTR lpszTooltip, WORD nKey = 0, BYTE nModifiers = 0,
                        int nAction = 0);

  // The list operations.
  virtual int InsertEntry(const CString& strText, DWORD_PTR dwData = 0, int iIndex = -1) = 0;
  virtual BOOL DeleteEntry(int iIndex) = 0;
  virtual int EntryCount() const = 0;
  virtual int SelectedEntry() const = 0;
  virtual BOOL ChooseEntry(int iIndex) = 0;
  virtual CString EntryText(int iIndex) const = 0;
  virtual void SetEntryText(int iIndex, const CString& strText) = 0;
  virtual DWORD_PTR EntryData(int iIndex) const = 0;
  virtual void SetEntryData(int iIndex, DWORD_PTR dwData) = 0;
  virtual BOOL BeginEntryEdit(int iIndex) = 0;

  // The workflow.
  virtual void HandleButton(int iButton);
  virtual void HandleKey(UINT nKey, BYTE nModifiers);
  virtual void FinishEntryEdit(const CString& strText);
  virtual int EntryImage(int iItem) const { return -1; }

  // What a derived class hears.
  virtual void SelectionMoved() {}
  virtual BOOL MayDeleteEntry(int iIndex) { return TRUE; }
  virtual void EntryAdded(int iIndex) {}
  virtual void EntryRenamed(int iIndex) {}
  virtual void EntryMovedUp(int iNewIndex) {}
  virtual void EntryMovedDown(int iNewIndex) {}
  virtual void DrawBrowseGlyph(CDC* pDC, CRect rect, BOOL bPressed);
  virtual void BrowseClicked() {}
  virtual void StartNewEntry();

  virtual HWND ListWindow() const = 0;
  virtual CWnd* MakeList() = 0;
  virtual void FitList() = 0;

  int ButtonCount() const { return static_cast<int>(m_buttons.size()); }
  CPlxButton* Button(int i) const;
  CRect CaptionRect() const { return m_rectCaption; }
  BOOL IsNewEntry() const { return m_bNewEntry; }
  // The entry whose label is being edited, -1 when none.
  int EditedEntry() const { return m_nEditedEntry; }
  // In-place editors get a browse button ("..."); off unless asked for.
  void EnableBrowseButton(BOOL bEnable = TRUE) { m_bBrowseButton = bEnable; }

 protected:
  // The index of the button whose shortcut is exactly this key with these modifiers, or -1.
  int ButtonForKey(UINT nKey, BYTE nModifiers) const;
  static BYTE CurrentModifiers();
  void LayoutControl();
  void EnableButtons(BOOL bEnable);
  CFont* ControlFont();

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void PreSubclassWindow() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  std::vector<CPlxButton*> m_buttons;  // owned, in creation order
  std::vector<DWORD> m_shortcuts;      // key in the low word, modifiers in bits 16 to 23
  std::vector<int> m_actions;          // per button, 0 for none
  CSize m_sizeButton{0, 0};
  CRect m_rectCaption;
  UINT m_uiStandardButtons = 0;
  BOOL m_bNewEntry = FALSE;
  int m_nEditedEntry = -1;
  CFont m_font;
  BOOL m_bBrowseButton = FALSE;

 private:
  void SetUpWindow();
  BOOL m_bInCreate = FALSE;
};

class CPlxEditableListView : public CPlxEditableList {
 public:
  static constexpr UINT kListId = 1;

  CPlxEditableListView() = default;
  ~CPlxEditableListView() override;

  int InsertEntry(const CString& strText, DWORD_PTR dwData = 0, int iIndex = -1) override;
  BOOL DeleteEntry(int iIndex) override;
  int EntryCount() const override;
  int SelectedEntry() const override;
  BOOL ChooseEntry(int iIndex) override;
  CString EntryText(int iIndex) const override;
  void SetEntryText(int iIndex, const CString& strText) override;
  DWORD_PTR EntryData(int iIndex) const override;
  void SetEntryData(int iIndex, DWORD_PTR dwData) override;
  BOOL BeginEntryEdit(int iIndex) override;
  HWND ListWindow() const override;
  CWnd* MakeList() override;
  void FitList() override;

  CListCtrl* ListCtrl() const { return m_pList; }
  CPlxInplaceBrowseEdit& Editor() { return m_editor; }
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg void OnListKeyDown(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnListDblClk(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnListGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnListEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnListItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

  CListCtrl* m_pList = nullptr;  // owned
  CPoint m_ptClick{-1, -1};
  CPlxInplaceBrowseEdit m_editor;
};
