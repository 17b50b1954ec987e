#include "toolkit/core/PlxProp.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMaskEdit.h"
#include "toolkit/core/PlxPropList.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_DYNAMIC(CPlxProp, CObject)

namespace {

void CheckResult(HRESULT hr) {
  if (SUCCEEDED(hr)) return;
  if (hr == E_OUTOFMEMORY) AfxThrowMemoryException();
  AfxThrowInvalidArgException();
}

void CopyVariant(VARIANT* dest, const VARIANT& source) {
  CheckResult(VariantCopy(dest, const_cast<VARIANT*>(&source)));
}

// The number a text starts with, as the C runtime reads it; out when it fits in [lo, hi].
bool ParseWhole(const CString& text, long long lo, long long hi, long long* out) {
  errno = 0;
  const long long v = std::strtoll(text, nullptr, 10);
  if (errno == ERANGE || v < lo || v > hi) return false;
  *out = v;
  return true;
}

constexpr const char* kErrorText = "*** error ***";

}  // namespace

CPlxProp::CPlxProp(const CString& strName, const VARIANT& varValue, LPCTSTR lpszDescr, DWORD_PTR dwData,
                   LPCTSTR lpszEditMask, LPCTSTR lpszEditTemplate, LPCTSTR lpszValidChars)
    : m_strName(strName), m_dwData(dwData) {
  VariantInit(&m_varValue);
  VariantInit(&m_varValueOrig);
  CopyVariant(&m_varValue, varValue);
  CopyVariant(&m_varValueOrig, varValue);
  m_strDescr = lpszDescr ? lpszDescr : "";
  m_strEditMask = lpszEditMask ? lpszEditMask : "";
  m_strEditTempl = lpszEditTemplate ? lpszEditTemplate : "";
  m_strValidChars = lpszValidChars ? lpszValidChars : "";
  Init();
  m_dwFlags = m_varValue.vt == VT_BOOL ? kOptionList : 0;
  if (m_varValue.vt == VT_BOOL) m_bAllowEdit = FALSE;
}

CPlxProp::CPlxProp(const CString& strGroupName, DWORD_PTR dwData, BOOL bIsValueList)
    : m_strName(strGroupName), m_dwData(dwData) {
  VariantInit(&m_varValue);
  VariantInit(&m_varValueOrig);
  m_bGroup = TRUE;
  m_bIsValueList = bIsValueList;
  Init();
}

void CPlxProp::Init() {
  m_bExpanded = !m_bIsValueList;
  m_pWndList = nullptr;
  m_bEnabled = TRUE;
  m_pParent = nullptr;
  m_bInPlaceEdit = FALSE;
  m_pWndInPlace = nullptr;
  m_pWndCombo = nullptr;
  m_pWndSpin = nullptr;
  m_bButtonIsDown = FALSE;
  m_bAllowEdit = TRUE;
  m_bNameIsTrancated = m_bValueIsTrancated = FALSE;
  m_Rect.SetRectEmpty();
  m_rectButton.SetRectEmpty();
  m_nMinValue = m_nMaxValue = 0;
  m_bIsModified = FALSE;
}

CPlxProp::~CPlxProp() {
  while (!m_lstSubItems.IsEmpty()) delete m_lstSubItems.RemoveHead();
  DestroyEditors();
  CheckResult(VariantClear(&m_varValue));
  CheckResult(VariantClear(&m_varValueOrig));
}

BOOL CPlxProp::AddSubItem(CPlxProp* pProp) {
  if (!m_bGroup || !pProp) return FALSE;
  // A property enters one tree once: a parented child, this property or one of its ancestors
  // would be deleted twice or make the tree a loop.
  if (pProp->m_pParent || pProp == this || pProp->Contains(this)) return FALSE;
  if (pProp->m_pWndList) {
    for (POSITION pos = pProp->m_pWndList->m_lstProps.GetHeadPosition(); pos;) {
      CPlxProp* top = pProp->m_pWndList->m_lstProps.GetNext(pos);
      if (top == pProp || top->Contains(pProp)) return FALSE;
    }
  }
  pProp->m_pParent = this;
  m_lstSubItems.AddTail(pProp);
  pProp->SetOwnerList(m_pWndList);
  return TRUE;
}

BOOL CPlxProp::AddOption(LPCTSTR lpszOption, BOOL bNoDuplicates) {
  if (bNoDuplicates && m_lstOptions.Find(lpszOption)) return FALSE;
  m_lstOptions.AddTail(lpszOption);
  m_dwFlags = kOptionList;
  return TRUE;
}

void CPlxProp::RemoveAllOptions() {
  m_lstOptions.RemoveAll();
  m_dwFlags &= ~kOptionList;
}

CString CPlxProp::GetOption(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetOptionCount()) return CString();
  POSITION pos = m_lstOptions.FindIndex(nIndex);
  return pos ? CString(m_lstOptions.GetAt(pos)) : CString();
}

void CPlxProp::EnableBrowseButton(BOOL bEnable) {
  m_dwFlags = bEnable ? kBrowseButton : 0;
}

void CPlxProp::EnableSpinControl(BOOL bEnable, int nMin, int nMax) {
  if (bEnable)
    m_dwFlags |= kSpinControl;
  else
    m_dwFlags &= ~kSpinControl;
  m_nMinValue = nMin;
  m_nMaxValue = nMax;
}

CPlxProp* CPlxProp::GetSubItem(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetSubItemsCount()) return nullptr;
  return m_lstSubItems.GetAt(m_lstSubItems.FindIndex(nIndex));
}

void CPlxProp::Enable(BOOL bEnable) {
  if (m_bEnabled == bEnable) return;
  m_bEnabled = bEnable;
  if (m_pWndList && m_pWndList->GetSafeHwnd()) m_pWndList->InvalidateRect(m_Rect);
}

void CPlxProp::SetValue(const VARIANT& varValue) {
  if (m_varValue.vt != VT_EMPTY && m_varValue.vt != varValue.vt) return;
  const BOOL wasEditing = m_bInPlaceEdit;
  if (wasEditing) EndEdit();
  CopyVariant(&m_varValue, varValue);
  Redraw();
  if (wasEditing && m_pWndList) m_pWndList->BeginEditItem(this, nullptr);
}

void CPlxProp::Expand(BOOL bExpand) {
  if (m_bExpanded == bExpand || m_lstSubItems.IsEmpty()) return;
  m_bExpanded = bExpand;
  if (m_pWndList && m_pWndList->GetSafeHwnd()) {
    m_pWndList->RecalcLayout();
    CRect rect = m_pWndList->m_rectList;
    rect.top = m_Rect.top;
    m_pWndList->RedrawWindow(rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

void CPlxProp::Redraw() {
  if (!m_pWndList || !m_pWndList->GetSafeHwnd()) return;
  m_pWndList->InvalidateRect(m_Rect);
  if (m_pParent && m_pParent->m_bIsValueList) m_pWndList->InvalidateRect(m_pParent->m_Rect);
  if (m_bIsValueList)
    for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos;)
      m_pWndList->InvalidateRect(m_lstSubItems.GetNext(pos)->m_Rect);
  m_pWndList->UpdateWindow();
}

BOOL CPlxProp::IsSelected() const {
  return m_pWndList && m_pWndList->m_pSel == this;
}

CPlxProp* CPlxProp::HitTest(CPoint point, int* pnArea) {
  if (!m_Rect.PtInRect(point)) {
    for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos;) {
      CPlxProp* hit = m_lstSubItems.GetNext(pos)->HitTest(point, pnArea);
      if (hit) return hit;
    }
    return nullptr;
  }
  if (pnArea) {
    if (m_bGroup && point.x < m_Rect.left + m_Rect.Height())
      *pnArea = ClickExpandBox;
    else if (HasValueCell() && point.x > m_pWndList->m_rectList.left + m_pWndList->m_nLeftColumnWidth)
      *pnArea = ClickValue;
    else
      *pnArea = ClickName;
  }
  return this;
}

int CPlxProp::CountVisibleChildren() const {
  if (!m_bExpanded) return 0;
  int count = 0;
  for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos;)
    count += 1 + m_lstSubItems.GetNext(pos)->CountVisibleChildren();
  return count;
}

BOOL CPlxProp::AreParentsExpanded() const {
  for (const CPlxProp* p = m_pParent; p; p = p->m_pParent)
    if (!p->m_bExpanded) return FALSE;
  return TRUE;
}

int CPlxProp::GetDepth() const {
  int depth = 0;
  for (const CPlxProp* p = m_pParent; p; p = p->m_pParent) ++depth;
  return depth;
}

void CPlxProp::SetOwnerList(CPlxPropList* pWndList) {
  m_pWndList = pWndList;
  for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos;)
    m_lstSubItems.GetNext(pos)->SetOwnerList(pWndList);
}

BOOL CPlxProp::Contains(const CPlxProp* pProp) const {
  for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos;) {
    const CPlxProp* child = m_lstSubItems.GetNext(pos);
    if (child == pProp || child->Contains(pProp)) return TRUE;
  }
  return FALSE;
}

void CPlxProp::LayoutRow(int& y) {
  CPlxPropList* list = m_pWndList;
  const CRect old = m_Rect;
  const int rowHeight = list->m_nRowHeight;
  BOOL shown = AreParentsExpanded() || list->m_bAlphabeticMode;
  if (list->m_bAlphabeticMode && m_pParent && m_pParent->m_bIsValueList) shown = AreParentsExpanded();
  if (shown) {
    int indent = list->m_bAlphabeticMode ? rowHeight : GetDepth() * rowHeight;
    if (list->m_bAlphabeticMode && m_bIsValueList) indent = 0;
    m_Rect = CRect(list->m_rectList.left + indent, y, list->m_rectList.right, y + rowHeight);
    if (!m_rectButton.IsRectEmpty()) {
      m_rectButton.top = m_Rect.top + 1;
      m_rectButton.bottom = m_Rect.bottom;
    }
    y += rowHeight;
    // One tool for the name cell and, for a value, one for the value cell: their tips come from
    // the property when the pointer rests there.
    if (list->m_ToolTip.GetSafeHwnd()) {
      CRect name = m_Rect;
      name.right = list->m_rectList.left + list->m_nLeftColumnWidth;
      list->m_ToolTip.AddTool(list, LPSTR_TEXTCALLBACK, name, ++list->m_nTooltipsCount);
      if (!m_bGroup) {
        CRect value = m_Rect;
        value.left = name.right + 1;
        list->m_ToolTip.AddTool(list, LPSTR_TEXTCALLBACK, value, ++list->m_nTooltipsCount);
      }
    }
  } else {
    m_Rect.SetRectEmpty();
    m_rectButton.SetRectEmpty();
  }
  for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos;) m_lstSubItems.GetNext(pos)->LayoutRow(y);
  OnRowMoved(old);
}

void CPlxProp::CollectLeaves(CList<CPlxProp*, CPlxProp*>& lstFlat) {
  if (m_bGroup && !m_bIsValueList) {
    m_Rect.SetRectEmpty();
    for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos;)
      m_lstSubItems.GetNext(pos)->CollectLeaves(lstFlat);
    return;
  }
  for (POSITION pos = lstFlat.GetHeadPosition(); pos;) {
    POSITION here = pos;
    if (m_pWndList->CompareProperties(lstFlat.GetNext(pos), this) > 0) {
      lstFlat.InsertBefore(here, this);
      return;
    }
  }
  lstFlat.AddTail(this);
}

// ---- values ---------------------------------------------------------------------------------

BOOL CPlxProp::IsEditableType() const {
  switch (m_varValue.vt) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_BSTR:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
      return TRUE;
    default:
      return FALSE;
  }
}

CString CPlxProp::FormatList() const {
  CString text;
  for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos;) {
    if (!text.IsEmpty()) {
      text += m_pWndList ? m_pWndList->m_cListDelimeter : ',';
      text += ' ';
    }
    text += m_lstSubItems.GetNext(pos)->FormatValue();
  }
  return text;
}

CString CPlxProp::FormatValue() {
  if (m_bIsValueList) return FormatList();
  CString text;
  const VARIANT& v = m_varValue;
  switch (v.vt) {
    case VT_I2:
      text.Format("%d", static_cast<int>(v.iVal));
      break;
    case VT_I4:
      text.Format("%ld", static_cast<long>(v.lVal));
      break;
    case VT_INT:
      text.Format("%ld", static_cast<long>(v.intVal));
      break;
    case VT_R4:
      text.Format("%f", static_cast<double>(v.fltVal));
      break;
    case VT_R8:
      text.Format("%lf", v.dblVal);
      break;
    case VT_BSTR:
      text = CString(pictavo::com::BstrToUtf8(v.bstrVal));
      break;
    case VT_BOOL:
      text = v.boolVal ? (m_pWndList ? m_pWndList->m_strTrue : CString("True"))
                       : (m_pWndList ? m_pWndList->m_strFalse : CString("False"));
      break;
    case VT_UI1:
      if (v.bVal) text = CString(static_cast<char>(v.bVal));
      break;
    case VT_UI2:
      text.Format("%u", static_cast<unsigned>(v.uiVal));
      break;
    case VT_UI4:
      text.Format("%u", static_cast<unsigned>(v.ulVal));
      break;
    case VT_UINT:
      text.Format("%u", static_cast<unsigned>(v.uintVal));
      break;
    default:
      text = kErrorText;
      break;
  }
  return text;
}

BOOL CPlxProp::ParseValue(const CString& strText) {
  VARIANT& v = m_varValue;
  long long n = 0;
  switch (v.vt) {
    case VT_I2:
      if (!ParseWhole(strText, std::numeric_limits<SHORT>::min(), std::numeric_limits<SHORT>::max(), &n))
        return FALSE;
      v.iVal = static_cast<SHORT>(n);
      return TRUE;
    case VT_UI2:
      if (!ParseWhole(strText, 0, std::numeric_limits<USHORT>::max(), &n)) return FALSE;
      v.uiVal = static_cast<USHORT>(n);
      return TRUE;
    case VT_I4:
      if (!ParseWhole(strText, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max(), &n))
        return FALSE;
      v.lVal = static_cast<LONG>(n);
      return TRUE;
    case VT_INT:
      // Stays VT_INT: a changed type would make the initial value unreachable for ResetToInitial.
      if (!ParseWhole(strText, std::numeric_limits<INT>::min(), std::numeric_limits<INT>::max(), &n))
        return FALSE;
      v.intVal = static_cast<INT>(n);
      return TRUE;
    case VT_UI4:
    case VT_UINT:
      if (!ParseWhole(strText, 0, std::numeric_limits<ULONG>::max(), &n)) return FALSE;
      v.ulVal = static_cast<ULONG>(n);
      return TRUE;
    case VT_R4:
    case VT_R8: {
      CString text = strText;
      text.Trim();
      double d = 0.0;
      if (!text.IsEmpty() && std::sscanf(text, "%lf", &d) != 1) d = 0.0;
      if (v.vt == VT_R4)
        v.fltVal = static_cast<FLOAT>(d);
      else
        v.dblVal = d;
      return TRUE;
    }
    case VT_BSTR: {
      BSTR bstr = pictavo::com::AllocBstr(strText.View());
      if (!bstr && !strText.IsEmpty()) AfxThrowMemoryException();
      SysFreeString(v.bstrVal);
      v.bstrVal = bstr;
      return TRUE;
    }
    case VT_BOOL: {
      CString text = strText;
      text.TrimRight();
      const CString& trueText = m_pWndList ? m_pWndList->m_strTrue : CString("True");
      v.boolVal = text.Compare(trueText) == 0 ? VARIANT_TRUE : VARIANT_FALSE;
      return TRUE;
    }
    case VT_UI1:
      v.bVal = strText.IsEmpty() ? 0 : static_cast<BYTE>(strText[0]);
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL CPlxProp::IsValueModified() const {
  const VARIANT& a = m_varValue;
  const VARIANT& b = m_varValueOrig;
  if (a.vt != b.vt) return FALSE;
  switch (a.vt) {
    case VT_I2:
    case VT_UI2:
      return a.iVal != b.iVal;
    case VT_I4:
    case VT_INT:
    case VT_UI4:
    case VT_UINT:
      return a.lVal != b.lVal;
    case VT_R4:
      return a.fltVal != b.fltVal;
    case VT_R8:
      return a.dblVal != b.dblVal;
    case VT_BSTR:
      return pictavo::com::BstrToUtf8(a.bstrVal) != pictavo::com::BstrToUtf8(b.bstrVal);
    case VT_BOOL:
      return (a.boolVal != 0) != (b.boolVal != 0);
    case VT_UI1:
      return a.bVal != b.bVal;
    default:
      return FALSE;
  }
}

void CPlxProp::ResetToInitial() {
  m_bIsModified = FALSE;
  SetValue(m_varValueOrig);
  for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos;) m_lstSubItems.GetNext(pos)->ResetToInitial();
}

void CPlxProp::UpdateModifiedState() {
  const BOOL m = IsValueModified();
  if (m == m_bIsModified && !m_bIsValueList) return;
  const BOOL was = m_bIsModified;
  m_bIsModified = m;
  if (m_pParent && m_pParent->m_bIsValueList) {
    BOOL any = m;
    for (POSITION pos = m_pParent->m_lstSubItems.GetHeadPosition(); pos && !any;)
      any = m_pParent->m_lstSubItems.GetNext(pos)->m_bIsModified;
    m_pParent->m_bIsModified = any;
  }
  for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos;)
    m_lstSubItems.GetNext(pos)->UpdateModifiedState();
  if (!m_pWndList || !m_pWndList->m_bMarkModifiedProperties) return;
  OnRowMoved(m_Rect);
  if (m_pWndInPlace && was != m_bIsModified) MoveEditSideways(m_bIsModified);
  Redraw();
}

void CPlxProp::MoveEditSideways(BOOL bBecameModified) {
  CPlxPropList* list = m_pWndList;
  m_pWndInPlace->SetFont(bBecameModified ? &list->m_fontBold
                                         : CFont::FromHandle(list->SelectListFont(nullptr)));
  const int d = list->m_nBoldEditLeftMargin - list->m_nEditLeftMargin;
  CRect rect;
  m_pWndInPlace->GetWindowRect(rect);
  list->ScreenToClient(rect);
  rect.left += bBecameModified ? -d : d;
  if (HasDropButton()) {
    PlaceDropButton();
    rect.right = m_rectButton.left;
  }
  m_pWndInPlace->MoveWindow(rect);
}

BOOL CPlxProp::CommitEdit() {
  if (!m_pWndInPlace) return FALSE;
  CString text;
  m_pWndInPlace->GetWindowText(text);
  const CString before = FormatValue();
  BOOL result = TRUE;
  if (m_bIsValueList) {
    CString rest = text;
    const char delimiter = m_pWndList ? m_pWndList->m_cListDelimeter : ',';
    for (POSITION pos = m_lstSubItems.GetHeadPosition(); pos && !rest.IsEmpty();) {
      CPlxProp* child = m_lstSubItems.GetNext(pos);
      const int at = rest.Find(delimiter);
      CString part = at >= 0 ? rest.Left(at) : rest;
      rest = at >= 0 ? rest.Mid(at + 1) : CString();
      part.Trim();
      child->ParseValue(part);
    }
  } else {
    result = ParseValue(text);
    if (!result) return FALSE;
  }
  if (text != before && m_pWndList) m_pWndList->NotifyPropertyChanged(this);
  return result;
}

// ---- editors --------------------------------------------------------------------------------

void CPlxProp::PlaceDropButton() {
  const int h = m_pWndList ? m_pWndList->m_nRowHeight : m_Rect.Height();
  m_rectButton = m_Rect;
  m_rectButton.left = m_rectButton.right - h + 3;
  m_rectButton.top = m_Rect.top + 1;
}

void CPlxProp::PlaceEditors(CRect& rectEdit, CRect& rectSpin) {
  CPlxPropList* list = m_pWndList;
  rectEdit = m_Rect;
  rectEdit.DeflateRect(0, 2);
  const int margin = list->m_bMarkModifiedProperties && m_bIsModified ? list->m_nBoldEditLeftMargin
                                                                      : list->m_nEditLeftMargin;
  rectEdit.left = list->m_rectList.left + list->m_nLeftColumnWidth - margin + 5;
  if (HasDropButton()) {
    PlaceDropButton();
    rectEdit.right = m_rectButton.left;
  }
  rectSpin.SetRectEmpty();
  if (m_dwFlags & kSpinControl) {
    rectSpin = CRect(rectEdit.right - list->m_nRowHeight, m_Rect.top + 1, rectEdit.right, m_Rect.bottom);
    rectEdit.right = rectSpin.left;
  }
}

CWnd* CPlxProp::CreateEditWindow(CRect rectEdit, BOOL& bFormatNow) {
  if (!m_bIsValueList && !IsEditableType() && m_varValue.vt != VT_BOOL) return nullptr;
  CEdit* edit = nullptr;
  if (!m_strEditMask.IsEmpty() || !m_strEditTempl.IsEmpty() || !m_strValidChars.IsEmpty()) {
    auto* mask = new CPlxMaskEdit;
    if (!m_strEditMask.IsEmpty() && !m_strEditTempl.IsEmpty())
      mask->EnableMask(m_strEditMask, m_strEditTempl, ' ');
    if (!m_strValidChars.IsEmpty()) mask->SetValidChars(m_strValidChars);
    edit = mask;
  } else {
    edit = new CEdit;
  }
  DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
  if (!m_bEnabled || !m_bAllowEdit) style |= ES_READONLY;
  if (!edit->Create(style, rectEdit, m_pWndList, kEditorId)) {
    delete edit;
    return nullptr;
  }
  bFormatNow = TRUE;
  return edit;
}

CSpinButtonCtrl* CPlxProp::CreateSpinWindow(CRect rectSpin) {
  auto* spin = new CPlxSpinButtonCtrl;
  if (!spin->Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, rectSpin,
                    m_pWndList, kEditorId)) {
    delete spin;
    return nullptr;
  }
  spin->SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(m_pWndInPlace->GetSafeHwnd()));
  if (m_nMinValue != 0 || m_nMaxValue != 0) spin->SendMessage(UDM_SETRANGE32, m_nMinValue, m_nMaxValue);
  return spin;
}

CComboBox* CPlxProp::CreateComboWindow(CWnd* pWndParent, CRect rect) {
  rect.bottom = rect.top + 400;
  auto* combo = new CComboBox;
  if (!combo->Create(WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT, rect, pWndParent,
                     kEditorId)) {
    delete combo;
    return nullptr;
  }
  return combo;
}

BOOL CPlxProp::BeginEdit(const CPoint*) {
  if (!HasValueCell()) return FALSE;
  CPlxPropList* list = m_pWndList;
  CRect rectEdit, rectSpin;
  PlaceEditors(rectEdit, rectSpin);
  BOOL formatNow = FALSE;
  m_pWndInPlace = CreateEditWindow(rectEdit, formatNow);
  if (!m_pWndInPlace) return FALSE;
  if (formatNow) m_pWndInPlace->SetWindowText(FormatValue());
  if (m_dwFlags & kOptionList) {
    if (m_varValue.vt == VT_BOOL) {
      m_lstOptions.AddTail(list->m_strTrue);
      m_lstOptions.AddTail(list->m_strFalse);
    }
    m_pWndCombo = CreateComboWindow(list, CRect(rectEdit.left - 4, m_Rect.top, m_Rect.right, m_Rect.bottom));
    if (m_pWndCombo) {
      m_pWndCombo->SetFont(CFont::FromHandle(list->SelectListFont(nullptr)));
      // The closed box ends one pixel below the row, so its list opens right under the row.
      CRect closed;
      m_pWndCombo->GetWindowRect(closed);
      list->ScreenToClient(closed);
      const int height = m_pWndCombo->SendMessage(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)) + 6;
      m_pWndCombo->SetWindowPos(nullptr, closed.left, m_Rect.bottom + 1 - height, 0, 0,
                                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      for (POSITION pos = m_lstOptions.GetHeadPosition(); pos;)
        m_pWndCombo->AddString(m_lstOptions.GetNext(pos));
    }
  }
  if (m_dwFlags & kSpinControl) m_pWndSpin = CreateSpinWindow(rectSpin);
  m_pWndInPlace->SetFont(list->m_bMarkModifiedProperties && m_bIsModified
                             ? &list->m_fontBold
                             : CFont::FromHandle(list->SelectListFont(nullptr)));
  m_pWndInPlace->SetFocus();
  if (!m_bAllowEdit) ::HideCaret(m_pWndInPlace->GetSafeHwnd());
  m_bInPlaceEdit = TRUE;
  return TRUE;
}

BOOL CPlxProp::EndEdit() {
  m_bInPlaceEdit = FALSE;
  DestroyEditors();
  return TRUE;
}

void CPlxProp::DestroyEditors() {
  if (m_pWndCombo) {
    m_pWndCombo->DestroyWindow();
    delete m_pWndCombo;
    m_pWndCombo = nullptr;
  }
  if (m_pWndInPlace) {
    m_pWndInPlace->DestroyWindow();
    delete m_pWndInPlace;
    m_pWndInPlace = nullptr;
  }
  if (m_pWndSpin) {
    m_pWndSpin->DestroyWindow();
    delete m_pWndSpin;
    m_pWndSpin = nullptr;
  }
  if (m_varValue.vt == VT_BOOL) m_lstOptions.RemoveAll();
}

void CPlxProp::OnDropButton(const CPoint*) {
  if (!m_pWndCombo) return;
  m_bButtonIsDown = TRUE;
  Redraw();
  CString text;
  if (m_pWndInPlace) m_pWndInPlace->GetWindowText(text);
  m_pWndCombo->SetCurSel(m_pWndCombo->FindStringExact(-1, text));
  m_pWndCombo->SetFocus();
  m_pWndCombo->ShowDropDown(TRUE);
}

BOOL CPlxProp::ForwardMouseToEditor(UINT uiMsg, CPoint point) {
  if (!m_pWndInPlace) return FALSE;
  if (m_pWndSpin) {
    CRect spin;
    m_pWndSpin->GetClientRect(spin);
    m_pWndSpin->MapWindowPoints(m_pWndList, spin);
    if (spin.PtInRect(point)) {
      m_pWndList->MapWindowPoints(m_pWndSpin, &point, 1);
      m_pWndSpin->SendMessage(uiMsg, 0, MAKELPARAM(point.x, point.y));
      return TRUE;
    }
  }
  m_pWndList->MapWindowPoints(m_pWndInPlace, &point, 1);
  m_pWndInPlace->SendMessage(uiMsg, 0, MAKELPARAM(point.x, point.y));
  return TRUE;
}

BOOL CPlxProp::OnValueDoubleClick(CPoint) {
  if (!m_pWndInPlace) return FALSE;
  if (m_lstOptions.GetCount() > 1) {
    CString text;
    m_pWndInPlace->GetWindowText(text);
    POSITION pos = m_lstOptions.Find(text);
    if (!pos) return FALSE;
    m_lstOptions.GetNext(pos);
    if (!pos) pos = m_lstOptions.GetHeadPosition();
    m_pWndInPlace->SetWindowText(m_lstOptions.GetAt(pos));
    CommitEdit();
    return TRUE;
  }
  if (m_dwFlags & kBrowseButton) {
    CWaitCursor wait;
    const CString before = FormatValue();
    OnDropButton(nullptr);
    if (FormatValue() != before && m_pWndList) m_pWndList->NotifyPropertyChanged(this);
    return TRUE;
  }
  return FALSE;
}

void CPlxProp::OnComboSelected() {
  if (!m_pWndCombo || !m_pWndInPlace) return;
  const int sel = m_pWndCombo->GetCurSel();
  if (sel < 0) return;
  CString text;
  m_pWndCombo->GetLBText(sel, text);
  m_pWndInPlace->SetWindowText(text);
  CommitEdit();
}

void CPlxProp::OnComboClosed() {
  m_bButtonIsDown = FALSE;
  Redraw();
  if (m_pWndInPlace) m_pWndInPlace->SetFocus();
}

BOOL CPlxProp::SetEditCursor(CPoint) const {
  if (m_bInPlaceEdit) return FALSE;
  if (!m_bIsValueList && !IsEditableType()) return FALSE;
  SetCursor(LoadCursor(nullptr, IDC_IBEAM));
  return TRUE;
}

BOOL CPlxProp::OnTypedChar(UINT nChar) {
  const bool typable =
      (m_bIsValueList && nChar != '+' && nChar != '-') || (!m_bIsValueList && IsEditableType());
  if (m_bEnabled && m_bAllowEdit && typable && m_pWndInPlace) {
    m_pWndInPlace->SetWindowText("");
    m_pWndInPlace->SendMessage(WM_CHAR, nChar);
    return TRUE;
  }
  if (!m_bAllowEdit && m_pWndInPlace) {
    if (nChar == ' ') return OnValueDoubleClick(CPoint());
    if (m_lstOptions.GetCount() > 1) {
      CString text;
      m_pWndInPlace->GetWindowText(text);
      POSITION current = m_lstOptions.Find(text);
      if (current) {
        const int typed = std::toupper(static_cast<unsigned char>(nChar));
        POSITION pos = current;
        m_lstOptions.GetNext(pos);
        for (;;) {
          if (!pos) pos = m_lstOptions.GetHeadPosition();
          if (pos == current) break;
          const CString option = m_lstOptions.GetAt(pos);
          if (!option.IsEmpty() && std::toupper(static_cast<unsigned char>(option[0])) == typed) {
            m_pWndInPlace->SetWindowText(option);
            CommitEdit();
            return TRUE;
          }
          m_lstOptions.GetNext(pos);
        }
        return TRUE;
      }
    }
  }
  EndEdit();
  if (m_pWndList && CWnd::GetCapture() == m_pWndList) ReleaseCapture();
  return FALSE;
}

HBRUSH CPlxProp::GetEditorBrush(CDC* pDC, UINT) {
  CPlxPropList* list = m_pWndList;
  if (list->m_clrText != (COLORREF)-1) pDC->SetTextColor(list->m_clrText);
  if (list->m_brBackground.GetSafeHandle()) {
    if (list->m_clrBackground != (COLORREF)-1) pDC->SetBkColor(list->m_clrBackground);
    return static_cast<HBRUSH>(list->m_brBackground.GetSafeHandle());
  }
  if ((IsEditableType() || m_varValue.vt == VT_BOOL) && (!m_bEnabled || !m_bAllowEdit)) {
    pDC->SetBkColor(g_plxGlobalData.clrWindow);
    return static_cast<HBRUSH>(g_plxGlobalData.brWindow.GetSafeHandle());
  }
  return nullptr;
}
