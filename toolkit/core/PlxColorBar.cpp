// The colour bar's model and look: its cells and how they draw, the grid arithmetic, the layout
// of rows and cells, fitting the cells to a given window, the archive form and the palette that
// 8-bit displays need.
#include "toolkit/core/PlxColorBar.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/comctl/Tooltip.h"
#include "platform/gdi/Gdi.h"
#include "platform/mfc/Dc.h"
#include "toolkit/core/PlxColorButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_SERIAL(CPlxToolBarColorButton, CPlxToolbarButton, 1)
IMPLEMENT_SERIAL(CPlxColorBar, CPlxPopupMenuBar, 1)

CMap<COLORREF, COLORREF, CString, LPCTSTR> CPlxColorBar::s_mapNamedColors(10);

namespace {

constexpr COLORREF kNone = (COLORREF)-1;
// The framework's doubled border (cxBorder2, cyBorder2).
constexpr int kBorder2 = 2;
// A colour count past this is no palette anyone draws; it only sizes the archive check.
constexpr int kColorSize = 4;

int DivUp(int n, int d) {
  return d <= 0 ? 0 : (n + d - 1) / d;
}

void EngravedFrame(CDC* pDC, CRect rect) {
  pDC->Draw3dRect(rect, g_plxGlobalData.clrBtnHilite, g_plxGlobalData.clrBtnShadow);
  rect.OffsetRect(1, 1);
  pDC->Draw3dRect(rect, g_plxGlobalData.clrBtnShadow, g_plxGlobalData.clrBtnHilite);
}

// A filled square of the colour with a one-pixel shadow outline, from left/top to right-1/bottom-1.
void ColorBox(CDC* pDC, const CRect& rect, COLORREF color) {
  CBrush brush;
  brush.CreateSolidBrush(PALETTERGB(GetRValue(color), GetGValue(color), GetBValue(color)));
  CPen pen;
  pen.CreatePen(PS_SOLID, 1, g_plxGlobalData.clrBtnShadow);
  CBrush* oldBrush = pDC->SelectObject(&brush);
  CPen* oldPen = pDC->SelectObject(&pen);
  pDC->Rectangle(rect.left, rect.top, rect.right - 1, rect.bottom - 1);
  pDC->SelectObject(oldPen);
  pDC->SelectObject(oldBrush);
}

}  // namespace

// ---- cells ----

CPlxToolBarColorButton::CPlxToolBarColorButton() : CPlxToolBarColorButton(kNone) {}

CPlxToolBarColorButton::CPlxToolBarColorButton(COLORREF clrCell, BOOL bAutomatic, BOOL bMoreColors,
                                               LPCTSTR lpszText, BOOL bCaption, BOOL bDocument,
                                               BOOL bCurrentColorBox)
    : m_clrCell(clrCell),
      m_bSelectedCell(FALSE),
      m_bAutomaticRow(bAutomatic),
      m_bMoreColorsRow(bMoreColors),
      m_bCaptionRow(bCaption),
      m_bDocumentCell(bDocument),
      m_bCurrentColorBox(bCurrentColorBox),
      m_pColorBar(nullptr) {
  m_bLocked = !bCaption;
  if (lpszText != nullptr) m_strText = lpszText;
}

CPlxToolBarColorButton::~CPlxToolBarColorButton() = default;

void CPlxToolBarColorButton::OnChangeParentWnd(CWnd* pWndParent) {
  CPlxToolbarButton::OnChangeParentWnd(pWndParent);
  m_pColorBar = dynamic_cast<CPlxColorBar*>(pWndParent);
}

CString CPlxToolBarColorButton::GetTipText() const {
  if (!IsColorCell()) return m_strText;
  CString name;
  if (CPlxColorBar::s_mapNamedColors.Lookup(m_clrCell, name)) return name;
  name.Format("Hex={%02X,%02X,%02X}", GetRValue(m_clrCell), GetGValue(m_clrCell), GetBValue(m_clrCell));
  return name;
}

BOOL CPlxToolBarColorButton::OnToolHitTest(const CWnd*, TOOLINFOA* pTI) {
  if ((m_nStyle & TBBS_DISABLED) || !CPlxToolBar::m_bShowTooltips || pTI == nullptr) return FALSE;
  const CString text = GetTipText();
  const size_t length = static_cast<size_t>(text.GetLength());
  char* copy = static_cast<char*>(calloc(length + 1, 1));
  if (copy == nullptr) return FALSE;
  std::memcpy(copy, static_cast<LPCTSTR>(text), length);
  pTI->lpszText = copy;
  return TRUE;
}

void CPlxToolBarColorButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages*, BOOL bHorz,
                                    BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder, BOOL) {
  CPalette* oldPalette = m_pColorBar != nullptr ? m_pColorBar->RealizeColorPalette(pDC) : nullptr;
  const UINT savedStyle = m_nStyle;
  if (m_bSelectedCell) m_nStyle |= TBBS_CHECKED;
  const BOOL disabled = (m_nStyle & TBBS_DISABLED) != 0;

  FillInterior(pDC, rect, bHighlight);

  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  if (!disabled && !m_bCaptionRow && HaveHotBorder() && bDrawBorder && !bCustomizeMode) {
    if (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED))
      manager->OnDrawButtonBorder(pDC, this, rect, PlxButtonPressed);
    else if (bHighlight && !(m_nStyle & (TBBS_CHECKED | TBBS_DISABLED | TBBS_INDETERMINATE)))
      manager->OnDrawButtonBorder(pDC, this, rect, PlxButtonHighlighted);
  }

  CRect inner = rect;
  inner.DeflateRect(kBorder2, kBorder2);

  if (IsColorCell()) {
    if (!disabled) ColorBox(pDC, inner, m_clrCell);
  } else {
    CRect text = rect;
    if (m_bAutomaticRow && m_clrCell != kNone) {
      CRect box = inner;
      box.DeflateRect(kBorder2 + 1, kBorder2 + 1);
      box.right = box.left + box.Height();
      if (!disabled)
        ColorBox(pDC, box, m_clrCell);
      else
        EngravedFrame(pDC, box);
      text.left = box.right + kBorder2;
    }
    pDC->SetTextColor(disabled && !m_bCaptionRow ? g_plxGlobalData.clrGrayedText
                                                 : g_plxGlobalData.clrBtnText);
    pDC->SetBkMode(TRANSPARENT);
    CFont* oldFont = bHorz ? nullptr : pDC->SelectObject(&g_plxGlobalData.fontRegular);
    const UINT align = m_bCaptionRow ? DT_LEFT : DT_CENTER;
    pDC->DrawText(m_strText, text, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    if (oldFont != nullptr) pDC->SelectObject(oldFont);
  }

  if (!m_bMoreColorsRow && !m_bCaptionRow) {
    if (disabled) {
      EngravedFrame(pDC, inner);
    } else {
      pDC->Draw3dRect(inner, g_plxGlobalData.clrBtnShadow, g_plxGlobalData.clrBtnShadow);
    }
  }

  m_nStyle = savedStyle;
  if (oldPalette != nullptr) pDC->SelectPalette(oldPalette, FALSE);
}

// ---- construction ----

void CPlxColorBar::Init() {
  m_nGridColumns = 0;
  m_nRowsWhenDockedHorz = 0;
  m_nColumnsWhenDockedVert = 0;
  m_sizeCell = CSize(0, 0);
  m_nTextRowHeight = 0;
  m_clrCurrent = kNone;
  m_clrAutomatic = kNone;
  m_uiColorCommand = 0;
  m_bSystemColorDialog = FALSE;
  m_bCmdEnabled = TRUE;
  m_bStandalone = TRUE;
  m_bInPopup = FALSE;
  m_pOwnerColorButton = nullptr;
  m_nCenterOffsetX = 0;
  m_nCenterOffsetY = 0;
  m_cxMargin = 4;
  m_cyMargin = 4;
  m_bLocked = TRUE;
}

CPlxColorBar::CPlxColorBar() {
  Init();
}

CPlxColorBar::CPlxColorBar(const CArray<COLORREF, COLORREF>& colors, COLORREF color, LPCTSTR lpszAutoColor,
                           LPCTSTR lpszOtherColor, LPCTSTR lpszDocColors,
                           CList<COLORREF, COLORREF>& lstDocColors, int nColumns, int nRowsDockHorz,
                           int nColDockVert, COLORREF colorAutomatic, UINT nCommandID,
                           CPlxColorButton* pParentBtn) {
  Init();
  m_arrPalette.Copy(colors);
  for (POSITION pos = lstDocColors.GetHeadPosition(); pos != nullptr;)
    m_lstDocumentColors.AddTail(lstDocColors.GetNext(pos));
  m_clrCurrent = color;
  m_strAutomaticText = lpszAutoColor != nullptr ? lpszAutoColor : "";
  m_strMoreColorsText = lpszOtherColor != nullptr ? lpszOtherColor : "";
  m_strDocumentText = lpszDocColors != nullptr ? lpszDocColors : "";
  m_nGridColumns = nColumns;
  m_nRowsWhenDockedHorz = nRowsDockHorz;
  m_nColumnsWhenDockedVert = nColDockVert;
  m_clrAutomatic = colorAutomatic;
  m_uiColorCommand = nCommandID;
  m_pOwnerColorButton = pParentBtn;
  m_bStandalone = FALSE;
  m_bInPopup = TRUE;
  // A push button asks for the system dialog when it does not ask for the toolkit's.
  m_bSystemColorDialog = pParentBtn != nullptr && !pParentBtn->m_bAltColorDlg;
}

CPlxColorBar::CPlxColorBar(CPlxColorBar& src, UINT uiCommandID) {
  Init();
  m_nGridColumns = src.m_nGridColumns;
  m_nRowsWhenDockedHorz = src.m_nRowsWhenDockedHorz;
  m_nColumnsWhenDockedVert = src.m_nColumnsWhenDockedVert;
  m_clrCurrent = src.m_clrCurrent;
  m_clrAutomatic = src.m_clrAutomatic;
  m_strAutomaticText = src.m_strAutomaticText;
  m_strMoreColorsText = src.m_strMoreColorsText;
  m_strDocumentText = src.m_strDocumentText;
  m_arrPalette.Copy(src.m_arrPalette);
  for (POSITION pos = src.m_lstDocumentColors.GetHeadPosition(); pos != nullptr;)
    m_lstDocumentColors.AddTail(src.m_lstDocumentColors.GetNext(pos));
  m_bSystemColorDialog = src.m_bSystemColorDialog;
  m_uiColorCommand = uiCommandID;
}

CPlxColorBar::~CPlxColorBar() {
  m_lstDocumentColors.RemoveAll();
  m_logPalette.DeleteObject();
  m_arrPalette.RemoveAll();
}

// ---- model ----

int CPlxColorBar::FillFromPalette(CPalette* pPalette, CArray<COLORREF, COLORREF>& arColors) {
  HPALETTE palette = pPalette != nullptr ? static_cast<HPALETTE>(pPalette->GetSafeHandle())
                                         : static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
  const UINT count = palette != nullptr ? ::GetPaletteEntries(palette, 0, 0, nullptr) : 0;
  arColors.RemoveAll();
  if (count == 0) return 0;
  std::vector<PALETTEENTRY> entries(count);
  const UINT read = ::GetPaletteEntries(palette, 0, count, entries.data());
  arColors.SetSize(read);
  for (UINT i = 0; i < read; ++i) arColors[i] = RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
  return static_cast<int>(read);
}

BOOL CPlxColorBar::CreatePalette(const CArray<COLORREF, COLORREF>& arColors, CPalette& palette) {
  palette.DeleteObject();
  if (g_plxGlobalData.nBitsPerPixel != 8 || arColors.GetSize() == 0) return FALSE;
  const int count = static_cast<int>(std::min<INT_PTR>(arColors.GetSize(), 100));
  std::vector<BYTE> block(sizeof(LOGPALETTE) + static_cast<size_t>(count) * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(count);
  for (int i = 0; i < count; ++i) {
    const COLORREF color = arColors[i];
    log->palPalEntry[i] = PALETTEENTRY{GetRValue(color), GetGValue(color), GetBValue(color), 0};
  }
  return palette.CreatePalette(log);
}

CPalette* CPlxColorBar::RealizeColorPalette(CDC* pDC) {
  if (g_plxGlobalData.nBitsPerPixel != 8) {
    m_logPalette.DeleteObject();
    return nullptr;
  }
  CPalette* palette = m_pOwnerColorButton != nullptr ? m_pOwnerColorButton->GetPalette() : nullptr;
  if (palette == nullptr || palette->GetSafeHandle() == nullptr) {
    if (m_logPalette.GetSafeHandle() == nullptr) CreatePalette(m_arrPalette, m_logPalette);
    palette = &m_logPalette;
  }
  if (palette->GetSafeHandle() == nullptr) return nullptr;
  CPalette* old = pDC->SelectPalette(palette, FALSE);
  pDC->RealizePalette();
  return old;
}

void CPlxColorBar::SetDocumentColors(LPCTSTR lpszCaption, CList<COLORREF, COLORREF>& lstColors) {
  m_strDocumentText = lpszCaption != nullptr ? lpszCaption : "";
  m_lstDocumentColors.RemoveAll();
  for (POSITION pos = lstColors.GetHeadPosition(); pos != nullptr;)
    m_lstDocumentColors.AddTail(lstColors.GetNext(pos));
  RebuildCells();
  AdjustLayout();
}

void CPlxColorBar::EnableOtherButton(LPCTSTR lpszLabel, BOOL bAltColorDlg, BOOL bEnable) {
  m_bSystemColorDialog = !bAltColorDlg;
  m_strMoreColorsText = (bEnable && lpszLabel != nullptr) ? lpszLabel : "";
  RebuildCells();
  AdjustLayout();
}

void CPlxColorBar::SetHorzMargin(int nMargin) {
  m_cxMargin = nMargin;
  AdjustLayout();
}

void CPlxColorBar::SetVertMargin(int nMargin) {
  m_cyMargin = nMargin;
  AdjustLayout();
}

void CPlxColorBar::RebuildCells() {
  if (GetSafeHwnd() == nullptr) return;
  RemoveAllButtons();
  BOOL found = FALSE;
  auto add = [this](CPlxToolBarColorButton* cell, BOOL highlight) {
    cell->m_bSelectedCell = highlight;
    if (InsertButtonObject(cell) < 0) delete cell;
  };
  if (!m_strAutomaticText.IsEmpty()) {
    add(new CPlxToolBarColorButton(m_clrAutomatic, TRUE, FALSE, m_strAutomaticText), m_clrCurrent == kNone);
    found = m_clrCurrent == kNone;
  }
  for (INT_PTR i = 0; i < m_arrPalette.GetSize(); ++i) {
    const BOOL match = m_arrPalette[i] == m_clrCurrent;
    add(new CPlxToolBarColorButton(m_arrPalette[i]), match);
    found = found || match;
  }
  if (HasDocumentBlock()) {
    InsertSeparator();
    add(new CPlxToolBarColorButton(kNone, FALSE, FALSE, m_strDocumentText, TRUE, TRUE), FALSE);
    for (POSITION pos = m_lstDocumentColors.GetHeadPosition(); pos != nullptr;) {
      const COLORREF color = m_lstDocumentColors.GetNext(pos);
      add(new CPlxToolBarColorButton(color, FALSE, FALSE, nullptr, FALSE, TRUE),
          !found && color == m_clrCurrent);
    }
  }
  if (!m_strMoreColorsText.IsEmpty()) {
    InsertSeparator();
    add(new CPlxToolBarColorButton(kNone, FALSE, TRUE, m_strMoreColorsText), FALSE);
    add(new CPlxToolBarColorButton(m_clrCurrent, FALSE, FALSE, nullptr, FALSE, FALSE, TRUE), !found);
  }
}

void CPlxColorBar::SetColor(COLORREF color) {
  if (color == m_clrCurrent) return;
  m_clrCurrent = color;
  if (GetSafeHwnd() == nullptr) return;
  m_iHot = -1;
  BOOL needBox = !(color == kNone && m_clrAutomatic != kNone);
  BOOL boxShown = FALSE;
  int index = 0;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr; ++index) {
    auto* cell =
        dynamic_cast<CPlxToolBarColorButton*>(static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos)));
    if (cell == nullptr || (cell->m_nStyle & TBBS_SEPARATOR) || cell->m_bMoreColorsRow || cell->m_bCaptionRow)
      continue;
    if (cell->m_bCurrentColorBox) {
      cell->m_clrCell = color;
      cell->m_bSelectedCell = TRUE;
      boxShown = !cell->m_rect.IsRectEmpty();
      InvalidateButton(index);
      continue;
    }
    if (cell->m_bSelectedCell) {
      cell->m_bSelectedCell = FALSE;
      InvalidateButton(index);
    }
    if (cell->m_clrCell == color || (cell->m_bAutomaticRow && color == kNone)) {
      cell->m_bSelectedCell = TRUE;
      m_iHot = index;
      InvalidateButton(index);
      needBox = FALSE;
    }
  }
  // The box beside the other-colour row is hidden once a grid cell shows the colour.
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
    auto* cell =
        dynamic_cast<CPlxToolBarColorButton*>(static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos)));
    if (cell != nullptr && cell->m_bCurrentColorBox) {
      cell->m_bSelectedCell = needBox;
      if (boxShown != needBox) {
        AdjustLocations();
        Invalidate();
      }
      break;
    }
  }
  UpdateWindow();
}

// ---- grid ----

BOOL CPlxColorBar::IsDockedStandalone() const {
  return m_bStandalone && GetSafeHwnd() != nullptr && !IsFloating() && m_pDockBar != nullptr;
}

void CPlxColorBar::CalcGrid(BOOL bVertical, int& nColumns, int& nRows) const {
  const int n = static_cast<int>(m_arrPalette.GetSize());
  nColumns = 0;
  if (IsDockedStandalone()) {
    if (!bVertical && m_nRowsWhenDockedHorz > 0) {
      nRows = m_nRowsWhenDockedHorz;
      nColumns = std::max(1, DivUp(n, nRows));
      return;
    }
    if (m_nColumnsWhenDockedVert > 0) nColumns = m_nColumnsWhenDockedVert;
  }
  if (nColumns <= 0) {
    nColumns = m_nGridColumns;
    if (nColumns <= 0) {
      int root = 0;
      while ((root + 1) * (root + 1) <= n) ++root;
      nColumns = root + 1;
    }
  }
  nRows = DivUp(n, nColumns);
}

int CPlxColorBar::CalcExtraHeight(int nColumns) const {
  int extra = 0;
  if (!m_strAutomaticText.IsEmpty())
    extra = m_nTextRowHeight;
  else if (!m_strMoreColorsText.IsEmpty())
    extra = m_cxMargin;
  if (!m_strMoreColorsText.IsEmpty()) extra += m_nTextRowHeight;
  if (HasDocumentBlock() && (m_bInPopup || (GetSafeHwnd() != nullptr && IsFloating()))) {
    const int count = static_cast<int>(m_lstDocumentColors.GetCount());
    extra += 4 + DivUp(count, nColumns) * m_sizeCell.cy + m_cxMargin + m_nTextRowHeight;
  }
  return extra;
}

CSize CPlxColorBar::CalcSize(BOOL bVertDock) {
  int columns = 0, rows = 0;
  CalcGrid(bVertDock, columns, rows);
  return CSize(m_sizeCell.cx * columns + 2 * m_cxMargin,
               CalcExtraHeight(columns) + m_sizeCell.cy * rows + 2 * m_cyMargin);
}

void CPlxColorBar::AdjustLocations() {
  if (GetSafeHwnd() == nullptr) return;
  CRect work;
  GetClientRect(work);
  work.DeflateRect(m_nCenterOffsetX + m_cyMargin, m_nCenterOffsetY + m_cxMargin);
  const BOOL dockedStandalone = IsDockedStandalone();
  BOOL showBox = !(!m_strAutomaticText.IsEmpty() && m_clrCurrent == kNone);
  int x = work.left, y = work.top;
  BOOL lastSeparator = FALSE;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    CRect rect = button->m_rect;
    auto* cell = dynamic_cast<CPlxToolBarColorButton*>(button);
    if (button->m_nStyle & TBBS_SEPARATOR) {
      if (lastSeparator) {
        rect.SetRectEmpty();
      } else {
        if (x > work.left) {
          x = work.left;
          y += m_sizeCell.cy + m_cxMargin;
        }
        rect = CRect(x, y, x + work.Width(), y + 2);
        y += 4;
      }
      lastSeparator = TRUE;
    } else if (cell == nullptr) {
      lastSeparator = FALSE;
    } else if (cell->m_bDocumentCell && dockedStandalone) {
      // Hidden with its block: the separator after it would follow the one before it.
      rect.SetRectEmpty();
    } else if (cell->IsTextRow()) {
      if (x > work.left) {
        y += m_sizeCell.cy;
        x = work.left;
      }
      const int height = m_nTextRowHeight - m_cxMargin / 2;
      if (cell->m_bMoreColorsRow && showBox) {
        rect = CRect(x, y, work.right - m_sizeCell.cx, y + height);
        x = rect.right;
        y += (m_nTextRowHeight - m_cxMargin / 2 - m_sizeCell.cy) / 2;
      } else {
        rect = CRect(x, y, work.right, y + height);
        x = work.left;
        y += m_nTextRowHeight;
      }
      if (cell->m_bMoreColorsRow) rect.DeflateRect(m_cyMargin / 2, m_cxMargin / 2);
      lastSeparator = FALSE;
    } else {
      if (x + m_sizeCell.cx > work.right) {
        x = work.left;
        y += m_sizeCell.cy;
      }
      if (cell->m_bCurrentColorBox && !showBox) {
        rect.SetRectEmpty();
      } else {
        rect = CRect(x, y, x + m_sizeCell.cx, y + m_sizeCell.cy);
        x += m_sizeCell.cx;
      }
      if (!cell->m_bCurrentColorBox && cell->m_clrCell == m_clrCurrent) showBox = FALSE;
      lastSeparator = FALSE;
    }
    if (rect != button->m_rect) {
      button->m_rect = rect;
      button->OnMove();
    }
  }
}

void CPlxColorBar::FitCellsToWindow(BOOL bSquare, BOOL bCenter) {
  if (GetSafeHwnd() == nullptr) return;
  CRect client;
  GetClientRect(client);
  // Each dimension walks one pixel at a time toward the client's, inside [1, client size]; a
  // step that leaves the size where it was (no rows, margins wider than the window) ends it.
  auto fit = [this](LONG& cell, LONG limit, auto measure, int target) {
    limit = std::max<LONG>(limit, 1);
    int size = measure();
    if (size == target) return;
    const int step = size < target ? 1 : -1;
    while (size != target) {
      const LONG next = cell + step;
      if (next < 1 || next > limit) break;
      cell = next;
      m_nTextRowHeight = m_sizeCell.cy * 3 / 2;
      const int now = measure();
      if (now == size) break;
      if (step > 0 && now > target) {
        cell -= step;
        m_nTextRowHeight = m_sizeCell.cy * 3 / 2;
        break;
      }
      if (step < 0 && now < target) break;
      size = now;
    }
  };
  fit(
      m_sizeCell.cy, client.Height(), [this] { return static_cast<int>(CalcSize(FALSE).cy); },
      client.Height());
  fit(
      m_sizeCell.cx, client.Width(), [this] { return static_cast<int>(CalcSize(FALSE).cx); }, client.Width());
  m_sizeCell.cx = std::max<LONG>(1, m_sizeCell.cx - 1);
  m_sizeCell.cy = std::max<LONG>(1, m_sizeCell.cy - 1);
  if (bSquare) m_sizeCell.cx = m_sizeCell.cy = std::min(m_sizeCell.cx, m_sizeCell.cy);
  m_nTextRowHeight = m_sizeCell.cy * 3 / 2;
  if (bCenter) {
    const CSize size = CalcSize(FALSE);
    m_nCenterOffsetX = std::max<int>(0, (client.Width() - size.cx) / 2);
    m_nCenterOffsetY = std::max<int>(0, (client.Height() - size.cy) / 2);
  } else {
    m_nCenterOffsetX = m_nCenterOffsetY = 0;
  }
  RebuildCells();
  AdjustLayout();
}

int CPlxColorBar::ColumnsForControl(int nCount, const CRect& rect, int cxMargin, int cyMargin) {
  for (int n = nCount; n >= 1; --n) {
    const int cell = (rect.Width() - 2 * cyMargin) / n;
    if (cell != 0 && (nCount / n) * cell > rect.Height() - 2 * cxMargin) return n + 1;
  }
  return -1;
}

// ---- painting ----

void CPlxColorBar::DoPaint(CDC* pDC) {
  CPalette* old = RealizeColorPalette(pDC);
  CPlxPopupMenuBar::DoPaint(pDC);
  if (old != nullptr) pDC->SelectPalette(old, FALSE);
}

// ---- archive ----

void CPlxColorBar::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_nGridColumns << m_nRowsWhenDockedHorz << m_nColumnsWhenDockedVert;
    ar << static_cast<DWORD>(m_clrAutomatic);
    ar << m_strAutomaticText << m_strMoreColorsText << m_strDocumentText;
    ar << m_bStandalone << m_uiColorCommand << m_bSystemColorDialog;
    ar << static_cast<int>(m_arrPalette.GetSize());
    for (INT_PTR i = 0; i < m_arrPalette.GetSize(); ++i) ar << static_cast<DWORD>(m_arrPalette[i]);
    return;
  }
  // Everything is read into locals first, so damaged data leaves the bar as it was; the colours
  // grow only by what the data really holds, whatever count it claims.
  int columns = 0, rowsHorz = 0, columnsVert = 0, count = 0;
  DWORD automatic = 0;
  CString autoText, otherText, docText;
  BOOL standalone = FALSE, systemDialog = FALSE;
  UINT command = 0;
  ar >> columns >> rowsHorz >> columnsVert >> automatic;
  ar >> autoText >> otherText >> docText;
  ar >> standalone >> command >> systemDialog;
  ar >> count;
  if (count < 0) AfxThrowArchiveException(CArchiveException::badIndex);
  std::vector<COLORREF> colors;
  colors.reserve(static_cast<size_t>(std::min(count, 4096)));
  for (int i = 0; i < count; ++i) {
    DWORD color = 0;
    ar.EnsureRead(&color, kColorSize);
    colors.push_back(color);
  }
  m_nGridColumns = columns;
  m_nRowsWhenDockedHorz = rowsHorz;
  m_nColumnsWhenDockedVert = columnsVert;
  m_clrAutomatic = automatic;
  m_strAutomaticText = autoText;
  m_strMoreColorsText = otherText;
  m_strDocumentText = docText;
  m_bStandalone = standalone;
  m_uiColorCommand = command;
  m_bSystemColorDialog = systemDialog;
  m_arrPalette.SetSize(static_cast<INT_PTR>(colors.size()));
  for (size_t i = 0; i < colors.size(); ++i) m_arrPalette[static_cast<INT_PTR>(i)] = colors[i];
  RebuildCells();
  AdjustLocations();
}

BOOL CPlxColorBar::ReadStoredState(CArchive& ar) {
  Serialize(ar);  // throws on damaged data before the bar changes
  return TRUE;
}
