// CPlxProp: one row of the property list. A value property holds one typed VARIANT with a name,
// a description, options and optional input restrictions; a group holds child properties and
// shows an expand box; a value-list group shows its children's values joined on one line. The
// property owns its children and its in-place editors, knows its row inside the list, draws its
// cells, turns its value into text and back, and runs the editors while the list edits it.
// UI thread only.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/List.h"
#include "platform/com/OleAuto.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Afx.h"

class CPlxPropList;
class CPlxSpinButtonCtrl;

class CPlxProp : public CObject {
  DECLARE_DYNAMIC(CPlxProp)
  friend class CPlxPropList;

 public:
  // Kind flags.
  static constexpr DWORD kOptionList = 0x1;    // drop-down arrow
  static constexpr DWORD kBrowseButton = 0x2;  // "..." button
  static constexpr DWORD kSpinControl = 0x4;
  // Hit areas.
  enum { ClickExpandBox = 0, ClickName = 1, ClickValue = 2, ClickDescription = 3 };
  // The in-place editors' control id.
  static constexpr UINT kEditorId = 3;

  // A value property. The value is copied; null texts are empty.
  CPlxProp(const CString& strName, const VARIANT& varValue, LPCTSTR lpszDescr = nullptr, DWORD_PTR dwData = 0,
           LPCTSTR lpszEditMask = nullptr, LPCTSTR lpszEditTemplate = nullptr,
           LPCTSTR lpszValidChars = nullptr);
  // A group; with bIsValueList its value line is its children's values.
  explicit CPlxProp(const CString& strGroupName, DWORD_PTR dwData = 0, BOOL bIsValueList = FALSE);
  ~CPlxProp() override;

  // Adds a child to a group. Refused (FALSE) for a value property, and for a child that already
  // has a parent, is this property or one of its ancestors, or is already in the list's tree.
  BOOL AddSubItem(CPlxProp* pProp);
  // Appends an option (refused when bNoDuplicates and it is there already); the property gets
  // a drop-down.
  BOOL AddOption(LPCTSTR lpszOption, BOOL bNoDuplicates = TRUE);
  void RemoveAllOptions();
  int GetOptionCount() const { return static_cast<int>(m_lstOptions.GetCount()); }
  CString GetOption(int nIndex) const;

  void Enable(BOOL bEnable = TRUE);
  BOOL IsEnabled() const { return m_bEnabled; }
  // Refused silently when the value has a type and the new one is of another type.
  virtual void SetValue(const VARIANT& varValue);
  const VARIANT& GetValue() const { return m_varValue; }
  const VARIANT& GetOriginalValue() const { return m_varValueOrig; }
  void Expand(BOOL bExpand = TRUE);
  BOOL IsExpanded() const { return m_bExpanded; }
  void Redraw();
  BOOL IsSelected() const;
  BOOL IsGroup() const { return m_bGroup; }
  BOOL IsValueList() const { return m_bIsValueList; }
  BOOL IsInPlaceEditing() const { return m_bInPlaceEdit; }
  BOOL IsModified() const { return m_bIsModified; }
  BOOL IsNameClipped() const { return m_bNameIsTrancated; }
  BOOL IsValueClipped() const { return m_bValueIsTrancated; }
  const CString& GetName() const { return m_strName; }
  const CString& GetDescription() const { return m_strDescr; }
  DWORD_PTR GetData() const { return m_dwData; }
  DWORD GetFlags() const { return m_dwFlags; }
  CPlxProp* GetParent() const { return m_pParent; }
  CPlxPropList* GetOwnerList() const { return m_pWndList; }
  int GetSubItemsCount() const { return static_cast<int>(m_lstSubItems.GetCount()); }
  CPlxProp* GetSubItem(int nIndex) const;
  const CRect& GetRect() const { return m_Rect; }
  const CRect& GetButtonRect() const { return m_rectButton; }
  CWnd* GetEditWindow() const { return m_pWndInPlace; }
  CComboBox* GetComboWindow() const { return m_pWndCombo; }
  // A browse button or a spin control; nothing in the program asks for them.
  void EnableBrowseButton(BOOL bEnable = TRUE);
  void EnableSpinControl(BOOL bEnable = TRUE, int nMin = 0, int nMax = 0);

  CPlxProp* HitTest(CPoint point, int* pnArea = nullptr);
  int CountVisibleChildren() const;
  BOOL AreParentsExpanded() const;
  int GetDepth() const;
  void SetOwnerList(CPlxPropList* pWndList);
  BOOL Contains(const CPlxProp* pProp) const;
  void LayoutRow(int& y);
  void CollectLeaves(CList<CPlxProp*, CPlxProp*>& lstFlat);
  void UpdateModifiedState();

  virtual void ResetToInitial();
  virtual void DrawName(CDC* pDC, CRect rect);
  virtual void DrawValue(CDC* pDC, CRect rect);
  virtual void DrawExpandBox(CDC* pDC, CRect rect);
  virtual void DrawDropButton(CDC* pDC, CRect rect);
  virtual void DrawDescription(CDC* pDC, CRect rect);
  virtual CString FormatValue();
  virtual BOOL CommitEdit();
  virtual BOOL BeginEdit(const CPoint* pClick);
  virtual CWnd* CreateEditWindow(CRect rectEdit, BOOL& bFormatNow);
  virtual CSpinButtonCtrl* CreateSpinWindow(CRect rectSpin);
  virtual BOOL EndEdit();
  virtual void OnDropButton(const CPoint* pPoint);
  virtual BOOL ForwardMouseToEditor(UINT uiMsg, CPoint point);
  virtual BOOL OnValueDoubleClick(CPoint point);
  virtual void OnComboSelected();
  virtual void OnComboClosed();
  virtual BOOL SetEditCursor(CPoint point) const;
  virtual BOOL OnTypedChar(UINT nChar);
  virtual CString GetNameTipText() { return CString(); }
  virtual CString GetValueTipText() { return CString(); }
  virtual void OnNameClicked(CPoint) {}
  virtual void OnNameRightClicked(CPoint) {}
  virtual void OnValueRightClicked(CPoint, BOOL /*bSelChanged*/) {}
  virtual void OnRowMoved(CRect /*rectOld*/) {}
  virtual void OnSelected(CPlxProp* /*pOldSel*/) {}
  virtual void OnDeselected(CPlxProp* /*pNewSel*/) {}
  virtual void PlaceDropButton();
  virtual void PlaceEditors(CRect& rectEdit, CRect& rectSpin);
  virtual HBRUSH GetEditorBrush(CDC* pDC, UINT nCtlColor);
  virtual CComboBox* CreateComboWindow(CWnd* pWndParent, CRect rect);
  virtual void DestroyEditors();
  virtual BOOL AllowListFocusLoss(CWnd*) { return TRUE; }
  virtual BOOL AllowEditorFocusLoss() { return TRUE; }
  virtual BOOL HasDropButton() const { return (m_dwFlags & (kOptionList | kBrowseButton)) != 0; }
  virtual BOOL EditsOnFirstClick() const { return TRUE; }
  virtual BOOL HasValueCell() const { return TRUE; }
  // Text into the value. FALSE for a type it does not handle and for a number its type cannot
  // hold (a wrapped number would store another value than the one typed).
  virtual BOOL ParseValue(const CString& strText);
  virtual BOOL IsValueModified() const;

  // The owner may set it directly: an option property whose value may only be picked.
  BOOL m_bAllowEdit = TRUE;

 protected:
  void Init();
  // The value's type is one the editor, the cursor and the typing rules work on.
  BOOL IsEditableType() const;
  CString FormatList() const;
  void MoveEditSideways(BOOL bBecameModified);

  CString m_strName;
  VARIANT m_varValue;
  VARIANT m_varValueOrig;
  CPlxPropList* m_pWndList = nullptr;
  DWORD_PTR m_dwData = 0;
  CString m_strDescr;
  CString m_strEditMask;
  CString m_strEditTempl;
  CString m_strValidChars;
  CStringList m_lstOptions;
  BOOL m_bInPlaceEdit = FALSE;
  CWnd* m_pWndInPlace = nullptr;
  CComboBox* m_pWndCombo = nullptr;
  CSpinButtonCtrl* m_pWndSpin = nullptr;
  CRect m_Rect;
  CRect m_rectButton;
  BOOL m_bButtonIsDown = FALSE;
  BOOL m_bGroup = FALSE;
  BOOL m_bExpanded = TRUE;
  BOOL m_bEnabled = TRUE;
  BOOL m_bIsValueList = FALSE;
  DWORD m_dwFlags = 0;
  CPlxProp* m_pParent = nullptr;
  CList<CPlxProp*, CPlxProp*> m_lstSubItems;
  BOOL m_bNameIsTrancated = FALSE;
  BOOL m_bValueIsTrancated = FALSE;
  int m_nMinValue = 0;
  int m_nMaxValue = 0;
  BOOL m_bIsModified = FALSE;
};

// The up-down control of a property that asks for one.
class CPlxSpinButtonCtrl : public CSpinButtonCtrl {
 public:
  CPlxSpinButtonCtrl() = default;
};
