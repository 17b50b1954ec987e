// The colour push button: its handlers, its colour and its palette.
#include "toolkit/core/PlxColorButton.h"

#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/user/Input.h"
#include "toolkit/core/PlxColorBar.h"
#include "toolkit/core/PlxColorPopup.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_DYNAMIC(CPlxColorButton, CPlxButton)

BEGIN_MESSAGE_MAP(CPlxColorButton, CPlxButton)
ON_WM_KEYDOWN()
ON_WM_LBUTTONDOWN()
ON_WM_GETDLGCODE()
ON_WM_SYSCOLORCHANGE()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

namespace {

// A LOGPALETTE of the entries, version 0x300.
BOOL MakePalette(CPalette& palette, const std::vector<PALETTEENTRY>& entries) {
  if (entries.empty()) return FALSE;
  std::vector<BYTE> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) log->palPalEntry[i] = entries[i];
  return palette.CreatePalette(log);
}

std::vector<PALETTEENTRY> EntriesOf(HPALETTE palette) {
  const UINT count = palette != nullptr ? ::GetPaletteEntries(palette, 0, 0, nullptr) : 0;
  std::vector<PALETTEENTRY> entries(count);
  if (count > 0) entries.resize(::GetPaletteEntries(palette, 0, count, entries.data()));
  return entries;
}

}  // namespace

CPlxColorButton::CPlxColorButton() {
  CPlxColorBar::FillFromPalette(nullptr, m_Colors);
}

CPlxColorButton::~CPlxColorButton() {
  delete m_pPalette;
}

void CPlxColorButton::SetColor(COLORREF color) {
  m_Color = color;
  if (GetSafeHwnd() != nullptr) {
    InvalidateRect(nullptr, TRUE);
    UpdateWindow();
  }
}

void CPlxColorButton::UpdateColor(COLORREF color) {
  SetColor(color);
  CWnd* parent = GetSafeHwnd() != nullptr ? GetParent() : nullptr;
  if (parent != nullptr)
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
}

void CPlxColorButton::RebuildPalette(CPalette* pPalette) {
  delete m_pPalette;
  m_pPalette = new CPalette;
  std::vector<PALETTEENTRY> entries;
  if (pPalette != nullptr) {
    entries = EntriesOf(static_cast<HPALETTE>(pPalette->GetSafeHandle()));
  } else {
    // The display's palette; a true-colour display has none and writes nothing, so the default
    // palette stands in rather than 256 entries nobody set.
    entries.assign(256, PALETTEENTRY{0, 0, 0, 0});
    UINT read = 0;
    if (GetSafeHwnd() != nullptr) {
      CClientDC dc(this);
      read = ::GetSystemPaletteEntries(dc.GetSafeHdc(), 0, 256, entries.data());
    }
    if (read == 0)
      entries = EntriesOf(static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)));
    else
      entries.resize(read);
  }
  MakePalette(*m_pPalette, entries);
}

void CPlxColorButton::OnShowColorPopup() {
  if (m_pPopup != nullptr) {
    m_pPopup->SendMessage(WM_CLOSE);
    m_pPopup = nullptr;
    return;
  }
  // A popup refused inside its creation is gone before Create returns; customize mode refuses it.
  if (CPlxToolBar::m_bCustomizeMode) return;
  CRect rect;
  GetWindowRect(rect);
  auto* popup =
      new CColorPopup(m_Colors, m_Color, m_strAutoColorText.IsEmpty() ? nullptr : (LPCTSTR)m_strAutoColorText,
                      m_strOtherText.IsEmpty() ? nullptr : (LPCTSTR)m_strOtherText,
                      m_strDocColorsText.IsEmpty() ? nullptr : (LPCTSTR)m_strDocColorsText, m_lstDocColors,
                      m_nColumns, 0, 0, m_ColorAutomatic, static_cast<UINT>(GetDlgCtrlID()), this);
  // The popup deletes itself when its window goes, also when creation fails.
  m_pPopup = popup;
  if (!popup->Create(this, rect.left, rect.bottom, nullptr, TRUE)) m_pPopup = nullptr;
}

void CPlxColorButton::OnDraw(CDC* pDC, const CRect& rect, UINT uiState) {
  CRect box = rect;
  box.DeflateRect(4, 4);
  if (box.IsRectEmpty()) return;
  CPalette* old = nullptr;
  if (m_pPalette != nullptr && m_pPalette->GetSafeHandle() != nullptr && g_plxGlobalData.nBitsPerPixel == 8) {
    old = pDC->SelectPalette(m_pPalette, FALSE);
    pDC->RealizePalette();
  }
  const BOOL disabled = (GetStyle() & WS_DISABLED) != 0;
  if (m_Color == (COLORREF)-1 || disabled) {
    pDC->Draw3dRect(box, g_plxGlobalData.clrBtnShadow, g_plxGlobalData.clrBtnHilite);
  } else {
    pDC->FillSolidRect(box, m_Color & 0xFFFFFF);
    pDC->Draw3dRect(box, g_plxGlobalData.clrBtnShadow, g_plxGlobalData.clrBtnShadow);
  }
  if (old != nullptr) pDC->SelectPalette(old, FALSE);
  (void)uiState;
}

void CPlxColorButton::OnKeyDown(UINT nChar, UINT, UINT) {
  if (nChar == VK_SPACE || nChar == VK_DOWN) {
    OnShowColorPopup();
    return;
  }
  Default();
}

void CPlxColorButton::OnLButtonDown(UINT, CPoint) {
  SetFocus();
  OnShowColorPopup();
}

UINT CPlxColorButton::OnGetDlgCode() {
  return DLGC_WANTARROWS;
}

void CPlxColorButton::OnSysColorChange() {
  Default();
  RebuildPalette(nullptr);
  InvalidateRect(nullptr, TRUE);
  UpdateWindow();
}

void CPlxColorButton::OnMouseMove(UINT nFlags, CPoint point) {
  if (IsThemeDrawable() && CPlxVisualManager::GetInstance()->IsWinXPThemeActive()) {
    const int saved = m_nFlatStyle;
    m_nFlatStyle = BUTTONSTYLE_SEMIFLAT;
    CPlxButton::OnMouseMove(nFlags, point);
    m_nFlatStyle = saved;
    return;
  }
  CPlxButton::OnMouseMove(nFlags, point);
}
