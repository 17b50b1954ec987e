#include "toolkit/customize/PlxCommandsPage.h"

#include <cstring>

#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/OleDragDrop.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/Cursor.h"
#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/bars/PlxToolbarDragDrop.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxCustomizeSheet.h"

// ---- CPlxCommandList ----

BEGIN_MESSAGE_MAP(CPlxCommandList, CListBox)
ON_WM_LBUTTONDOWN()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CPlxCommandList::PreSubclassWindow() {
  CListBox::PreSubclassWindow();
  const CSize image = CPlxToolBar::GetMenuImageSize();
  m_nItemWidth = image.cx + 6;
  m_nItemHeight = image.cy + 6;
  if (GetSafeHwnd() != nullptr && GetItemHeight(0) < m_nItemHeight)
    SetItemHeight(0, static_cast<UINT>(m_nItemHeight));
}

void CPlxCommandList::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) {
  if (static_cast<int>(lpMIS->itemHeight) < m_nItemHeight)
    lpMIS->itemHeight = static_cast<UINT>(m_nItemHeight);
}

void CPlxCommandList::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  const int index = static_cast<int>(lpDIS->itemID);
  if (index < 0 || index >= GetCount()) return;
  auto* item = reinterpret_cast<CPlxToolbarButton*>(GetItemData(index));
  if (item == nullptr) return;
  CDC* dc = CDC::FromHandle(lpDIS->hDC);
  const CRect rect(lpDIS->rcItem);
  // The row shows the full name where the list chose it: the item draws its own text.
  const CString shortText = item->m_strText;
  GetText(index, item->m_strText);
  CPlxVisualManager::GetInstance()->OnFillCommandsListBackground(dc, rect, FALSE);
  item->OnDrawOnCustomizeList(dc, rect, (lpDIS->itemState & ODS_SELECTED) != 0);
  item->m_strText = shortText;
}

BOOL CPlxCommandList::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  CPlxVisualManager::GetInstance()->OnFillCommandsListBackground(pDC, client, FALSE);
  return TRUE;
}

void CPlxCommandList::OnLButtonDown(UINT nFlags, CPoint point) {
  Default();
  const int selected = GetCurSel();
  if (selected < 0) return;
  CRect row;
  if (GetItemRect(selected, &row) == LB_ERR || !row.PtInRect(point)) return;
  SendMessage(WM_LBUTTONUP, nFlags, MAKELPARAM(point.x, point.y));

  auto* item = reinterpret_cast<CPlxToolbarButton*>(GetItemData(selected));
  if (item == nullptr) return;
  COleDataSource source;
  item->m_bDragCopy = TRUE;
  const BOOL prepared = item->PrepareDrag(source);
  item->m_bDragCopy = FALSE;
  if (!prepared) return;
  if (HCURSOR cursor =
          AfxGetApp() != nullptr ? AfxGetApp()->LoadCursor(CPlxCustomizePage::kDragCursor) : nullptr)
    ::SetCursor(cursor);
  CRect start(row);
  ClientToScreen(&start);
  source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, &start, &CPlxToolBar::m_dropSource);
}

// ---- CPlxCustomizePage ----

IMPLEMENT_DYNCREATE(CPlxCustomizePage, CPropertyPage)

BEGIN_MESSAGE_MAP(CPlxCustomizePage, CPropertyPage)
ON_LBN_SELCHANGE(CPlxCustomizePage::kCategoriesId, OnSelchangeCategory)
ON_LBN_SELCHANGE(CPlxCustomizePage::kCommandsId, OnSelchangeCommand)
END_MESSAGE_MAP()

CPlxCustomizePage::CPlxCustomizePage() : CPropertyPage(kTemplate) {}

CPlxCustomizePage::~CPlxCustomizePage() = default;

CPlxToolbarCustomize* CPlxCustomizePage::Sheet() const {
  return dynamic_cast<CPlxToolbarCustomize*>(GetParent());
}

void CPlxCustomizePage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, kCategoriesId, m_wndCategory);
  DDX_Control(pDX, kCommandsId, m_wndTools);
  DDX_Text(pDX, kDescriptionId, m_strButtonDescription);
}

BOOL CPlxCustomizePage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  if (CPlxToolbarCustomize* sheet = Sheet()) sheet->ListCategoriesInListBox(m_wndCategory, TRUE);
  m_wndCategory.SetCurSel(0);
  OnSelchangeCategory();
  return TRUE;
}

void CPlxCustomizePage::OnSelchangeCategory() {
  UpdateData();
  const int row = m_wndCategory.GetCurSel();
  if (row < 0) return;
  CWaitCursor wait;
  m_wndTools.SetRedraw(FALSE);
  m_wndTools.ResetContent();
  SetSelectedCommand(nullptr);

  auto* category = static_cast<CObList*>(m_wndCategory.GetItemDataPtr(row));
  CString name;
  m_wndCategory.GetText(row, name);
  const BOOL allCommands = name == m_strAllCommands;
  CPlxToolbarCustomize* sheet = Sheet();
  CPlxCommandManager* commands = GetCommandManager();
  if (category != nullptr) {
    for (POSITION pos = category->GetHeadPosition(); pos != nullptr;) {
      auto* item = static_cast<CPlxToolbarButton*>(category->GetNext(pos));
      item->m_bUserImage = item->m_nID != static_cast<UINT>(-1) && commands != nullptr &&
                           commands->GetCmdImage(item->m_nID, FALSE) == -1;
      CString text = item->m_strText;
      if (!item->m_strCommandName.IsEmpty() &&
          (allCommands || (sheet != nullptr && sheet->CountCommandsNamed(item->m_strText, *category) > 1)))
        text = item->m_strCommandName;
      // Sorted rows: the new one goes before the first row that compares greater.
      int at = -1;
      if (allCommands) {
        int low = 0, high = m_wndTools.GetCount();
        while (low < high) {
          const int middle = (low + high) / 2;
          CString existing;
          m_wndTools.GetText(middle, existing);
          if (std::strcmp(existing, text) > 0)
            high = middle;
          else
            low = middle + 1;
        }
        if (low < m_wndTools.GetCount()) at = low;
      }
      const int added = at >= 0 ? m_wndTools.InsertString(at, text) : m_wndTools.AddString(text);
      m_wndTools.SetItemDataPtr(added, item);
    }
  }
  m_wndTools.SetRedraw(TRUE);
  m_wndTools.Invalidate();
}

void CPlxCustomizePage::OnSelchangeCommand() {
  const int row = m_wndTools.GetCurSel();
  SetSelectedCommand(row >= 0 ? static_cast<CPlxToolbarButton*>(m_wndTools.GetItemDataPtr(row)) : nullptr);
}

void CPlxCustomizePage::SetSelectedCommand(CPlxToolbarButton* pButton) {
  m_strButtonDescription.Empty();
  if (pButton != nullptr) {
    if (pButton->m_nID == 0) {
      m_strButtonDescription = pButton->m_strText;
    } else if (pButton->m_nID != static_cast<UINT>(-1)) {
      // The frame's message string: the prompt before the tooltip part.
      CString prompt;
      if (prompt.LoadString(pButton->m_nID)) {
        const int newline = prompt.Find('\n');
        m_strButtonDescription = newline >= 0 ? prompt.Left(newline) : prompt;
      }
    }
  }
  m_pSelButton = pButton;
  if (GetSafeHwnd() != nullptr) UpdateData(FALSE);
}
